#include "SimC_DesignFactory.h"

#include "Ipu_ElementIndex.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_Keyword.h"
#include "Ipu_Task.h"
#include "Ipu_VendorExtensions.h"
#include "Port_FileName.h"
#include "Sim_FamilySupport.h"

#include <boost/pointer_cast.hpp>

namespace SimC {

namespace {

struct ProjectChain {
    const char* task;
    const char* displayName;
    const char* identifierName;
    const char* group;
};

constexpr ProjectChain kProjectChains[] = {
    {Ipu::Task::REGENERATE_PROJECT, "Regenerate Project", "regenerate_project_chain",
     Ipu::GeneratorChain::GENERATE_CURRENT_CHAINGROUP},
    {Ipu::Task::UPGRADE_AND_REGENERATE_PROJECT, "Upgrade and Regenerate Project",
     "upgrade_and_regenerate_project_chain",
     Ipu::GeneratorChain::UPGRADE_AND_REGENERATE_CHAINGROUP},
};

boost::shared_ptr<Ipu::GeneratorChain> NewChain(const ProjectChain& spec)
{
    boost::shared_ptr<Ipu::GeneratorChain> chain(new Ipu::GeneratorChain);
    chain->SetName(spec.task);
    chain->SetDisplayName(spec.displayName);
    chain->SetIdentifier(Ipu::VersionedIdentifier(
        Ipu::Keyword::GANTREL_VENDOR, Ipu::Keyword::GENERATOR_CHAINS_LIBRARY, spec.identifierName,
        Ipu::Keyword::GENERATOR_CHAINS_VERSION));
    chain->AddGroup(spec.group);
    chain->SetProperty(Ipu::VendorExtensions::CHAIN_IPTYPE, Ipu::Task::ANY_IP);
    chain->SetProperty(Ipu::VendorExtensions::CHAIN_FAMILYDEPENDENT, Ipu::Task::FAMILY_DEPENDENT);
    return chain;
}

// A catalogue entry, not a customized IP that happens to be registered under the key.
boost::shared_ptr<Ipu::IPComponent> CatalogueEntry(const Port::String& key)
{
    auto entry = boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(key));
    return entry && !entry->IsCustomized() ? entry : boost::shared_ptr<Ipu::IPComponent>();
}

}  // namespace

boost::shared_ptr<Ipu::IPComposite> DesignFactory::NewDesign(
    const Port::String& file, const Ipu::VersionedIdentifier& identifier)
{
    const Port::FileName path(Port::FileName(file).GetAbsolutePath());
    boost::shared_ptr<Ipu::IPComposite> design(new Ipu::IPComposite);
    design->SetName(path.GetBase());
    design->SetIdentifier(identifier);
    design->SetUnconfiguredID(identifier.GetKey());
    design->SetProjectFileName(path);
    AddProjectChains(*design);
    return design;
}

Ipu::ProjectOptions DesignFactory::DefaultOptions(const Port::String& file)
{
    const Port::FileName path(Port::FileName(file).GetAbsolutePath());
    Ipu::ProjectOptions options;
    Port::String family, device, package, speedGrade;
    if (Sim::FamilySupport::GetDefaultFamilyAndPart(family, device, package, speedGrade) == 0) {
        options.SetDeviceFamily(family);
        options.SetDevice(device);
        options.SetPackage(package);
        options.SetSpeedGrade(speedGrade);
    }
    options.SetProjectName(path.GetBase());
    options.SetOutputDirectory(path.GetHead());
    return options;
}

boost::shared_ptr<Ipu::IPComponent> DesignFactory::NewMember(const Port::String& identifierKey)
{
    Ipu::VersionedIdentifier identifier;
    if (Ipu::VersionedIdentifier::FromKey(identifierKey, identifier) != 0) {
        return {};
    }
    boost::shared_ptr<Ipu::IPComponent> member;
    const auto entry = CatalogueEntry(identifierKey);
    if (entry) {
        member = entry->Clone();
    } else {
        member.reset(new Ipu::IPComponent);
        member->SetIdentifier(identifier);
    }
    member->SetUnconfiguredID(identifierKey);
    member->SetUniqueID(Port::String());
    return member;
}

void DesignFactory::AddProjectChains(Ipu::IPComposite& design)
{
    for (const ProjectChain& spec : kProjectChains) {
        design.GetGeneratorChains().Add(NewChain(spec));
    }
}

}  // namespace SimC
