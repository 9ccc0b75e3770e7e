#include "Ipu_LegacyIP.h"

#include "Ipu_Family.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_Keyword.h"
#include "Ipu_VendorExtensions.h"

namespace Ipu {

namespace {

const char* IPTypeValue(Task::IPType type)
{
    switch (type) {
        case Task::IPTYPE_CUSTOMIZED:
            return Task::CUSTOMIZED_IP;
        case Task::IPTYPE_UNCUSTOMIZED:
            return Task::UNCUSTOMIZED_IP;
        default:
            return Task::ANY_IP;
    }
}

boost::shared_ptr<GeneratorChain> ChainFromTask(const Task& task, const Port::String& ownerKey)
{
    boost::shared_ptr<GeneratorChain> chain(new GeneratorChain);
    chain->SetName(task.GetInternalName());
    chain->SetDisplayName(task.GetVisibleName());
    chain->SetUniqueID(ownerKey + "/" + task.GetInternalName());
    chain->SetProperty(VendorExtensions::CHAIN_IPTYPE, IPTypeValue(task.GetIPType()));
    chain->SetProperty(VendorExtensions::CHAIN_FAMILYDEPENDENT,
                       task.GetFamilyDependence() == Task::FAMILYDEPENDENCE_INDEPENDENT
                           ? Task::FAMILY_NOT_DEPENDENT
                           : Task::FAMILY_DEPENDENT);
    if (task.IsDefault()) {
        chain->SetProperty(VendorExtensions::CHAIN_DEFAULT, "true");
    }
    double phase = 0;
    for (const Command& command : task.GetCommands()) {
        chain->AddGenerator(boost::shared_ptr<Generator>(
            new Generator(command.GetName(), phase++, command.GetName())));
    }
    return chain;
}

}  // namespace

LegacyIP::LegacyIP(const Port::String& name, const Port::String& version,
                   const Port::String& dataSheet, const Port::String& description,
                   const std::vector<Port::String>& taxonomies,
                   const std::vector<Port::String>& families, std::int32_t ipType)
    : version(version)
    , dataSheet(dataSheet)
    , taxonomies(taxonomies)
    , families(families)
    , ipType(ipType)
{
    SetName(name);
    SetDescription(description);
}

LegacyIP::~LegacyIP() = default;

boost::shared_ptr<IPComponent> LegacyIP::CreateComponent() const
{
    boost::shared_ptr<IPComponent> component(new IPComponent);
    Element& element = *component;
    element = *this;  // names, texts and properties
    component->SetIdentifier(
        VersionedIdentifier(Keyword::GANTREL_VENDOR, LIBRARY, GetName(), version));
    const Port::String key = component->GetKey();
    component->SetUniqueID(key);
    component->SetUnconfiguredID(key);
    if (component->GetUnconfiguredDisplayName().IsEmpty()) {
        component->SetUnconfiguredDisplayName(GetDisplayName());
    }
    for (const Port::String& family : families) {
        component->AddFamily(Family(family));
    }
    component->SetDataSheet(dataSheet);
    component->SetIPType(ipType);
    for (const Task& task : tasks) {
        component->GetGeneratorChains().Add(ChainFromTask(task, key));
    }
    return component;
}

}  // namespace Ipu
