#include "Ipu_Task.h"

#include "Ipu_GeneratorChain.h"
#include "Ipu_VendorExtensions.h"

#include <array>

namespace Ipu {

namespace {

enum Trait : unsigned {
    PROJECT = 1u << 0,   // IsProjectTask
    MODIFIES = 1u << 1,  // ModifiesIP
    MUTEX = 1u << 2,     // RequiresMutex
    OPEN = 1u << 3,      // RequiresOpenProject
    CURRENT = 1u << 4,   // UsesCurrentProjectOptions
    ORIGINAL = 1u << 5,  // UsesOriginalProjectOptions
};

// A run that changes an IP's files holds the locks and needs the project it writes into.
constexpr unsigned kWrites = MODIFIES | MUTEX | OPEN;

struct Traits {
    const char* name;
    unsigned traits;
};

// Known task names. Viewing tasks (data sheet, options, families) need nothing: they stay
// usable while a generation runs and without a project. Changing the project options only
// marks the project as needing a save, so it neither modifies nor locks; its dialog turns
// read-only while another task holds the locks. Import holds the locks while the user
// picks a file; the IPs it brings in are added by tasks of their own.
constexpr std::array<Traits, 31> kByName{{
    {Task::CUSTOMIZE, kWrites | CURRENT},
    {Task::CUSTOMIZE_AND_GENERATE, kWrites | CURRENT},
    {Task::CUSTOMIZE_AND_GENERATE_ORIGINAL, kWrites | ORIGINAL},
    {Task::CUSTOMIZE_AND_GENERATE_CURRENT, kWrites | CURRENT},
    {Task::RECUSTOMIZE, kWrites | CURRENT},
    {Task::RECUSTOMIZE_ORIGINAL, kWrites | ORIGINAL},
    {Task::RECUSTOMIZE_CURRENT, kWrites | CURRENT},
    {Task::GENERATE, kWrites | CURRENT},
    {Task::REGENERATE_ORIGINAL, kWrites | ORIGINAL},
    {Task::REGENERATE_CURRENT, kWrites | CURRENT},
    {Task::REGENERATE_PROJECT, PROJECT | kWrites | CURRENT},
    {Task::UPGRADE_PROJECT, PROJECT | kWrites | CURRENT},
    {Task::UPGRADE_AND_REGENERATE_PROJECT, PROJECT | kWrites | CURRENT},
    {Task::UPGRADE_IP_LATEST_VERSION, kWrites | CURRENT},
    {Task::UPGRADE_AND_REGENERATE, kWrites | CURRENT},
    {Task::SELECT_UPGRADE_AND_REGENERATE, kWrites | CURRENT},
    {Task::UPGRADE_REGENERATE_IP_LATEST_VERSION, kWrites | CURRENT},
    {Task::UPGRADE_REGENERATE_IP_SELECTED_VERSION, kWrites | CURRENT},
    {Task::VALIDATE_IP, OPEN | CURRENT},
    {Task::VALIDATE_PROJECT, PROJECT | OPEN | CURRENT},
    {Task::VIEW_RESOURCE_UTILIZATION, 0},
    {Task::VIEW_README_FILE, 0},
    {Task::VIEW_DATASHEET, 0},
    {Task::VIEW_PRODUCT_WEBPAGE, 0},
    {Task::VIEW_VERSION_INFO, 0},
    {Task::VIEW_SOLUTION_RECORDS, 0},
    {Task::SUPPORTED_FAMILIES, 0},
    {Task::CURRENT_OPTIONS, OPEN},
    {Task::ORIGINAL_OPTIONS, 0},
    {Task::CHANGE_PROJECT_OPTIONS, PROJECT | OPEN},
    {Task::IMPORT_GTC_FILE, PROJECT | MUTEX | OPEN},
}};

// For chains of other names: what their groups say.
constexpr std::array<Traits, 11> kByGroup{{
    {GeneratorChain::GENERATE_ORIGINAL_CHAINGROUP, kWrites | ORIGINAL},
    {GeneratorChain::CUSTOMIZE_ORIGINAL_CHAINGROUP, kWrites | ORIGINAL},
    {GeneratorChain::CUSTOMIZE_AND_GENERATE_ORIGINAL_CHAINGROUP, kWrites | ORIGINAL},
    {GeneratorChain::CUSTOMIZE_AND_GENERATE_ORIGINAL_TVR_CHAINGROUP, kWrites | ORIGINAL},
    {GeneratorChain::GENERATE_CURRENT_CHAINGROUP, kWrites | CURRENT},
    {GeneratorChain::CUSTOMIZE_CURRENT_CHAINGROUP, kWrites | CURRENT},
    {GeneratorChain::CUSTOMIZE_AND_GENERATE_CURRENT_CHAINGROUP, kWrites | CURRENT},
    {GeneratorChain::UPGRADE_CHAINGROUP, kWrites | CURRENT},
    {GeneratorChain::UPGRADE_AND_REGENERATE_CHAINGROUP, kWrites | CURRENT},
    {GeneratorChain::SELECT_UPGRADE_AND_REGENERATE_CHAINGROUP, kWrites | CURRENT},
    {GeneratorChain::IP_GTC_CHAINGROUP, kWrites},
}};

bool ReadProperty(const GeneratorChain& chain, const char* name, Port::String& out)
{
    return chain.GetPropertyValue(name, out) == 0;
}

std::int32_t IPTypeOf(const GeneratorChain& chain)
{
    Port::String value;
    if (ReadProperty(chain, VendorExtensions::CHAIN_IPTYPE, value)) {
        if (value.Compare(Task::CUSTOMIZED_IP, Port::CompareIgnoreCase) == 0) {
            return Task::IPTYPE_CUSTOMIZED;
        }
        if (value.Compare(Task::UNCUSTOMIZED_IP, Port::CompareIgnoreCase) == 0) {
            return Task::IPTYPE_UNCUSTOMIZED;
        }
    }
    return Task::IPTYPE_ANY;
}

std::int32_t FamilyDependenceOf(const GeneratorChain& chain)
{
    Port::String value;
    if (ReadProperty(chain, VendorExtensions::CHAIN_FAMILYDEPENDENT, value) &&
        value.Compare(Task::FAMILY_NOT_DEPENDENT, Port::CompareIgnoreCase) == 0) {
        return Task::FAMILYDEPENDENCE_INDEPENDENT;
    }
    return Task::FAMILYDEPENDENCE_DEPENDENT;
}

bool IsMarkedDefault(const GeneratorChain& chain)
{
    Port::String value;
    return ReadProperty(chain, VendorExtensions::CHAIN_DEFAULT, value) &&
           value.Compare("true", Port::CompareIgnoreCase) == 0;
}

// A hidden chain is reached by name or group only, never offered as an action of its own.
int VisibilityOf(const GeneratorChain& chain)
{
    Port::String value;
    return ReadProperty(chain, VendorExtensions::CHAIN_VISIBILITY, value) && value == "1"
               ? Task::VISIBILITY_HIDDEN
               : Task::VISIBILITY_VISIBLE;
}

}  // namespace

Task::Task() = default;

Task::Task(boost::shared_ptr<GeneratorChain> chain) : chain(chain)
{
    if (!chain) {
        return;
    }
    internalName = chain->GetName();
    visibleName = chain->GetDisplayName().IsEmpty() ? internalName : chain->GetDisplayName();
    ipType = IPTypeOf(*chain);
    familyDependence = FamilyDependenceOf(*chain);
    isDefault = IsMarkedDefault(*chain);
    visibility = VisibilityOf(*chain);
    traits = ComputeTraits();
}

Task::Task(const Port::String& internalName, const Port::String& visibleName, bool isDefault,
           int visibility, int ipType, int familyDependence)
    : internalName(internalName)
    , visibleName(visibleName)
    , isDefault(isDefault)
    , visibility(visibility)
    , ipType(ipType)
    , familyDependence(familyDependence)
    , traits(ComputeTraits())
{
}

void Task::SetInternalName(const Port::String& value)
{
    internalName = value;
    traits = ComputeTraits();
}

unsigned Task::ComputeTraits() const
{
    if (internalName.IsEmpty()) {
        return 0;
    }
    for (const auto& entry : kByName) {
        if (internalName.Compare(entry.name, Port::CompareIgnoreCase) == 0) {
            return entry.traits;
        }
    }
    unsigned traits = 0;
    if (chain) {
        for (const auto& entry : kByGroup) {
            if (chain->HasGroup(entry.name)) {
                traits |= entry.traits;
            }
        }
    }
    return traits;
}

bool Task::IsProjectTask() const
{
    return (traits & PROJECT) != 0;
}

bool Task::ModifiesIP() const
{
    return (traits & MODIFIES) != 0;
}

bool Task::RequiresMutex() const
{
    return (traits & MUTEX) != 0;
}

bool Task::RequiresOpenProject() const
{
    return (traits & OPEN) != 0;
}

bool Task::UsesCurrentProjectOptions() const
{
    return (traits & CURRENT) != 0;
}

bool Task::UsesOriginalProjectOptions() const
{
    return (traits & ORIGINAL) != 0;
}

bool Task::IsForIPType(IPType type) const
{
    return ipType == IPTYPE_ANY || ipType == type;
}

}  // namespace Ipu
