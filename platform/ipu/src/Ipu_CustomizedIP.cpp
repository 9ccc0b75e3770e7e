#include "Ipu_CustomizedIP.h"

#include "Ipu_ElementIndex.h"
#include "Ipu_ProjectOptions.h"

#include <atomic>

namespace Ipu {

namespace {

// Registers the component under its own id, or under "<unconfigured id>#<n>" when it has
// none of its own yet or another element holds that id.
unsigned Register(const boost::shared_ptr<IPComponent>& component, bool needsFreshID)
{
    static std::atomic<unsigned long> counter{0};
    if (!needsFreshID) {
        boost::shared_ptr<Element> holder = ElementIndex::GetElement(component->GetUniqueID());
        if (holder.get() == component.get() || ElementIndex::AddElement(component) == 0) {
            return 0;
        }
    }
    for (int attempt = 0; attempt < 1000; ++attempt) {
        Port::String id;
        id.Format("%s#%lu", component->GetUnconfiguredID().c_str(), ++counter);
        component->SetUniqueID(id);
        if (ElementIndex::AddElement(component) == 0) {
            return 0;
        }
    }
    return 1;
}

}  // namespace

CustomizedIP::CustomizedIP(boost::shared_ptr<IPComponent> component)
    : component(std::move(component))
{
}

CustomizedIP::~CustomizedIP() = default;

unsigned CustomizedIP::SetIP(const IP& ip)
{
    boost::shared_ptr<IPComponent> source = ip.GetIPComponent();
    if (!source) {
        return 1;
    }
    const bool fresh = !source->IsCustomized();
    boost::shared_ptr<IPComponent> configuration = fresh ? source->Clone() : source;
    if (Register(configuration, fresh) != 0) {
        return 1;
    }
    component = configuration;
    return 0;
}

unsigned CustomizedIP::SetParameters(const Parameters& parameters)
{
    if (!component) {
        return 1;
    }
    Parameters& own = component->GetParameters();
    for (const Parameters::Parameter& parameter : parameters) {
        if (own.SetValue(parameter.name, parameter.value) != 0) {
            own.Add(parameter);
        }
    }
    return 0;
}

unsigned CustomizedIP::GetParameters(Parameters& out) const
{
    if (!component) {
        return 1;
    }
    out = component->GetParameters();
    return 0;
}

unsigned CustomizedIP::SetProjectOptions(const ProjectOptions& options)
{
    return component ? component->SetProjectOptions(options) : 1;
}

unsigned CustomizedIP::GetProjectOptions(ProjectOptions& out) const
{
    return component ? component->GetProjectOptions(out) : 1;
}

unsigned CustomizedIP::SetTime(std::int64_t time)
{
    if (!component) {
        return 1;
    }
    component->SetChangeTime(time);
    return 0;
}

unsigned CustomizedIP::SetFileModifiedByUser(bool modified)
{
    if (!component) {
        return 1;
    }
    component->SetFileModifiedByUser(modified);
    return 0;
}

unsigned CustomizedIP::SetName(const Port::String& name)
{
    if (!component) {
        return 1;
    }
    component->SetName(name);
    return 0;
}

}  // namespace Ipu
