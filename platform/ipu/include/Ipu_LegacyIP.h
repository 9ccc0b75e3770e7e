#pragma once

#include "Ipu_Element.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Task.h"
#include "Ipu_TaskList.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <vector>

namespace Ipu {

// An IP described the old way, by name, version and a task list, as a wizard file gives
// it. IP(legacy) turns it into a component (CreateComponent).
class LegacyIP : public Element {
public:
    // Property naming the tool that customizes the IP.
    static constexpr const char* CUSTOMIZER = "customizer";
    // Library of the identifier the component gets (vendor Keyword::GANTREL_VENDOR).
    static constexpr const char* LIBRARY = "legacy";

    LegacyIP() = default;
    LegacyIP(const Port::String& name, const Port::String& version, const Port::String& dataSheet,
             const Port::String& description, const std::vector<Port::String>& taxonomies,
             const std::vector<Port::String>& families, std::int32_t ipType);
    ~LegacyIP() override;

    Port::String GetVersion() const { return version; }
    void SetVersion(const Port::String& value) { version = value; }
    Port::String GetDataSheet() const { return dataSheet; }
    void SetDataSheet(const Port::String& value) { dataSheet = value; }
    const std::vector<Port::String>& GetTaxonomies() const { return taxonomies; }
    void SetTaxonomies(const std::vector<Port::String>& value) { taxonomies = value; }
    const std::vector<Port::String>& GetFamilies() const { return families; }
    void SetFamilies(const std::vector<Port::String>& value) { families = value; }
    std::int32_t GetIPType() const { return ipType; }
    void SetIPType(std::int32_t value) { ipType = value; }

    TaskList& GetTaskList() { return tasks; }
    const TaskList& GetTaskList() const { return tasks; }
    // TaskList::AddTask.
    unsigned AddTask(const Task& task) { return tasks.AddTask(task); }

    // A new uncustomized component: identity pellor:legacy:<name>:<version> (unique and
    // unconfigured id = that key), texts, properties, families, data sheet and IP type as
    // here; each task becomes a chain of its name with one generator per command, and the
    // task's IP type, family dependence and default mark as chain properties. Not
    // registered in the ElementIndex.
    boost::shared_ptr<IPComponent> CreateComponent() const;

private:
    Port::String version;
    Port::String dataSheet;
    std::vector<Port::String> taxonomies;
    std::vector<Port::String> families;
    std::int32_t ipType = 1;
    TaskList tasks;
};

}  // namespace Ipu
