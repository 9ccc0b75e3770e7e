#pragma once

#include "Ipu_Command.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <vector>

namespace Ipu {

class GeneratorChain;

// One thing the user can ask of a project or an IP: its internal name (one of the
// constants below, compared ignoring case), its visible name, and what running it
// involves. A task made from a generator chain carries the chain; a task made from
// names only (information tasks, project options, import) has none.
//
// What a task involves (IsProjectTask, ModifiesIP, RequiresMutex, RequiresOpenProject,
// UsesCurrentProjectOptions, UsesOriginalProjectOptions) follows from its internal name
// when the name is one of the constants below; a chain of another name takes it from its
// groups (GeneratorChain::*_CHAINGROUP); the table is in Ipu_Task.cpp.
//
// The action id and generation id are filled by whoever starts the task; copies carry
// them along.
class Task {
public:
    // ---- Task names ----
    static constexpr const char* CUSTOMIZE = "customize";
    static constexpr const char* CUSTOMIZE_AND_GENERATE = "customize_and_generate";
    static constexpr const char* CUSTOMIZE_AND_GENERATE_ORIGINAL =
        "customize_and_generate_original";
    static constexpr const char* CUSTOMIZE_AND_GENERATE_CURRENT = "customize_and_generate_current";
    static constexpr const char* RECUSTOMIZE = "recustomize";
    static constexpr const char* RECUSTOMIZE_ORIGINAL = "recustomize_original";
    static constexpr const char* RECUSTOMIZE_CURRENT = "recustomize_current";
    static constexpr const char* GENERATE = "generate";
    static constexpr const char* REGENERATE_ORIGINAL = "regenerate_original";
    static constexpr const char* REGENERATE_CURRENT = "regenerate_current";
    static constexpr const char* REGENERATE_PROJECT = "regenerate_project";
    static constexpr const char* UPGRADE_PROJECT = "upgrade_project";
    static constexpr const char* UPGRADE_AND_REGENERATE_PROJECT = "upgrade_and_regenerate_project";
    static constexpr const char* UPGRADE_IP_LATEST_VERSION = "upgrade_ip_latest_version";
    static constexpr const char* UPGRADE_AND_REGENERATE = "upgrade_and_regenerate";
    static constexpr const char* SELECT_UPGRADE_AND_REGENERATE = "select_upgrade_and_regenerate";
    static constexpr const char* UPGRADE_REGENERATE_IP_LATEST_VERSION =
        "upgrade_regenerate_ip_latest_version";
    static constexpr const char* UPGRADE_REGENERATE_IP_SELECTED_VERSION =
        "upgrade_regenerate_ip_selected_version";
    static constexpr const char* VALIDATE_IP = "validate_ip";
    static constexpr const char* VALIDATE_PROJECT = "validate_project";
    static constexpr const char* VIEW_RESOURCE_UTILIZATION = "view_resource_utilization";
    static constexpr const char* VIEW_README_FILE = "view_readme_file";
    static constexpr const char* VIEW_DATASHEET = "view_datasheet";
    static constexpr const char* VIEW_PRODUCT_WEBPAGE = "view_product_webpage";
    static constexpr const char* VIEW_VERSION_INFO = "view_version_info";
    static constexpr const char* VIEW_SOLUTION_RECORDS = "view_solution_records";
    static constexpr const char* SUPPORTED_FAMILIES = "supported_families";
    static constexpr const char* CURRENT_OPTIONS = "current_options";
    static constexpr const char* ORIGINAL_OPTIONS = "original_options";
    static constexpr const char* CHANGE_PROJECT_OPTIONS = "change_project_options";
    static constexpr const char* IMPORT_GTC_FILE = "import_gtc_file";

    // ---- Values of the chain properties (VendorExtensions::CHAIN_IPTYPE, CHAIN_FAMILYDEPENDENT)
    static constexpr const char* ANY_IP = "any";
    static constexpr const char* CUSTOMIZED_IP = "customized";
    static constexpr const char* UNCUSTOMIZED_IP = "uncustomized";
    static constexpr const char* FAMILY_DEPENDENT = "dependent";
    static constexpr const char* FAMILY_NOT_DEPENDENT = "independent";

    // Which IPs a task is for.
    enum IPType : std::int32_t {
        IPTYPE_ANY = 0,
        IPTYPE_CUSTOMIZED = 1,
        IPTYPE_UNCUSTOMIZED = 2,
    };
    // Whether a task's outputs depend on the target family.
    enum FamilyDependence : std::int32_t {
        FAMILYDEPENDENCE_DEPENDENT = 0,
        FAMILYDEPENDENCE_INDEPENDENT = 1,
    };
    // Only visible tasks (0) become actions.
    enum Visibility : std::int32_t {
        VISIBILITY_VISIBLE = 0,
        VISIBILITY_HIDDEN = 1,
    };

    // No names, no chain; every predicate false.
    Task();
    // From a chain: internal name = the chain's name, visible name = its display name (its
    // name when that is empty); IP type, family dependence and the default mark from the
    // chain's properties (any, dependent and not default when absent or unreadable). An
    // empty pointer gives the same as Task().
    explicit Task(boost::shared_ptr<GeneratorChain> chain);
    // A task without a chain. isDefault marks the list's default task; visibility,
    // ipType and familyDependence take the enum values above.
    Task(const Port::String& internalName, const Port::String& visibleName, bool isDefault,
         int visibility, int ipType, int familyDependence);

    Port::String GetInternalName() const { return internalName; }
    void SetInternalName(const Port::String& value);
    Port::String GetVisibleName() const { return visibleName; }
    void SetVisibleName(const Port::String& value) { visibleName = value; }
    int GetVisibility() const { return visibility; }
    IPType GetIPType() const { return static_cast<IPType>(ipType); }
    FamilyDependence GetFamilyDependence() const
    {
        return static_cast<FamilyDependence>(familyDependence);
    }
    bool IsDefault() const { return isDefault; }
    void SetDefault(bool value) { isDefault = value; }
    // The chain the engine runs; empty for a task made from names.
    boost::shared_ptr<GeneratorChain> GetGeneratorChain() const { return chain; }

    Port::String GetActionID() const { return actionID; }
    void SetActionID(const Port::String& value) { actionID = value; }
    Port::String GetGenerationID() const { return generationID; }
    void SetGenerationID(const Port::String& value) { generationID = value; }

    void AddCommand(const Command& command) { commands.push_back(command); }
    const std::vector<Command>& GetCommands() const { return commands; }

    // Runs on a whole design rather than on one IP.
    bool IsProjectTask() const;
    // Changes or produces an IP (or a design's IPs) and its outputs.
    bool ModifiesIP() const;
    // Must hold the task mutex (and the action mutex) while it runs.
    bool RequiresMutex() const;
    bool RequiresOpenProject() const;
    // Runs with the open project's options (invalid options make it unusable).
    bool UsesCurrentProjectOptions() const;
    // Runs with the options the IP was made with (unusable when those are invalid).
    bool UsesOriginalProjectOptions() const;
    // Whether the task is meant for an IP of this type: its own type is IPTYPE_ANY or
    // equals type.
    bool IsForIPType(IPType type) const;

private:
    // What the task involves, worked out once: the predicates are asked for every action
    // on every request.
    unsigned ComputeTraits() const;

    Port::String internalName;
    Port::String visibleName;
    bool isDefault = false;
    std::int32_t visibility = VISIBILITY_VISIBLE;
    std::int32_t ipType = IPTYPE_ANY;
    std::int32_t familyDependence = FAMILYDEPENDENCE_DEPENDENT;
    boost::shared_ptr<GeneratorChain> chain;
    Port::String actionID;
    Port::String generationID;
    std::vector<Command> commands;
    unsigned traits = 0;
};

}  // namespace Ipu
