#include "Sim_CatalogFormat.h"

#include "Ipu_Generator.h"
#include "Ipu_Keyword.h"
#include "Ipu_Task.h"
#include "Ipu_VendorExtensions.h"

#include <array>
#include <vector>

namespace Sim {

namespace {

constexpr std::array<const char*, 13> kGeneratorKinds{{
    CatalogFormat::GENERATOR_VALIDATE,
    CatalogFormat::GENERATOR_WRITE_HDL,
    CatalogFormat::GENERATOR_WRITE_TEMPLATE,
    CatalogFormat::GENERATOR_WRITE_GTC,
    CatalogFormat::GENERATOR_WRITE_ASY,
    CatalogFormat::GENERATOR_WRITE_FLIST,
    CatalogFormat::GENERATOR_MOVE_OUT,
    CatalogFormat::GENERATOR_OPEN_DATASHEET,
    CatalogFormat::GENERATOR_RUN_WIZARD,
    CatalogFormat::GENERATOR_UPGRADE_LATEST,
    CatalogFormat::GENERATOR_UPGRADE_SELECTED,
    CatalogFormat::GENERATOR_WRITE_RESOURCES,
    CatalogFormat::GENERATOR_OPEN_REPORT,
}};

struct DefaultChain {
    const char* task;
    const char* display;
    const char* identifier;
    const char* familyDependent;
    const char* group;  // null for none
    bool isDefault;
    std::vector<const char*> steps;
};

Ipu::VersionedIdentifier ChainIdentifier(const char* name)
{
    return Ipu::VersionedIdentifier(Ipu::Keyword::GANTREL_VENDOR,
                                    Ipu::Keyword::GENERATOR_CHAINS_LIBRARY, name,
                                    Ipu::Keyword::GENERATOR_CHAINS_VERSION);
}

void AddChain(Ipu::IPComponent& component, const DefaultChain& entry)
{
    auto chain = CatalogFormat::NewChain(entry.task, ChainIdentifier(entry.identifier));
    chain->SetDisplayName(entry.display);
    if (entry.group) {
        chain->AddGroup(entry.group);
    }
    chain->SetProperty(Ipu::VendorExtensions::CHAIN_IPTYPE, Ipu::Task::ANY_IP);
    chain->SetProperty(Ipu::VendorExtensions::CHAIN_FAMILYDEPENDENT, entry.familyDependent);
    if (entry.isDefault) {
        chain->SetProperty(Ipu::VendorExtensions::CHAIN_DEFAULT, "true");
    }
    double phase = 1;
    for (const char* step : entry.steps) {
        chain->AddGenerator(
            boost::shared_ptr<Ipu::Generator>(new Ipu::Generator(step, phase++, step)));
    }
    component.GetGeneratorChains().Add(chain);
}

}  // namespace

bool CatalogFormat::IsGeneratorKind(const Port::String& kind)
{
    for (const char* known : kGeneratorKinds) {
        if (kind == known) {
            return true;
        }
    }
    return false;
}

boost::shared_ptr<Ipu::GeneratorChain> CatalogFormat::NewChain(const Port::String& task,
                                                               const Ipu::VersionedIdentifier& id)
{
    boost::shared_ptr<Ipu::GeneratorChain> chain(new Ipu::GeneratorChain);
    Port::String name = task;
    chain->SetName(name.MakeLower());
    chain->SetIdentifier(id);
    return chain;
}

void CatalogFormat::SetChainIDs(Ipu::IPComponent& component)
{
    const Port::String key = component.GetIdentifier().GetKey();
    for (const auto& chain : component.GetGeneratorChains()) {
        chain->SetUniqueID(key + "/" + chain->GetName());
    }
}

void CatalogFormat::AddDefaultChains(Ipu::IPComponent& component)
{
    using Ipu::GeneratorChain;
    using Ipu::Task;
    const DefaultChain chains[] = {
        {Task::CUSTOMIZE,
         "Customize",
         CUSTOMIZE_CHAIN,
         Task::FAMILY_DEPENDENT,
         GeneratorChain::CUSTOMIZE_CURRENT_CHAINGROUP,
         true,
         {GENERATOR_VALIDATE, GENERATOR_WRITE_GTC, GENERATOR_MOVE_OUT}},
        {Task::GENERATE,
         "Generate",
         Ipu::Keyword::GENERATE_CURRENT_CHAIN,
         Task::FAMILY_DEPENDENT,
         GeneratorChain::GENERATE_CURRENT_CHAINGROUP,
         false,
         {GENERATOR_VALIDATE, GENERATOR_WRITE_HDL, GENERATOR_WRITE_TEMPLATE, GENERATOR_WRITE_GTC,
          GENERATOR_WRITE_FLIST, GENERATOR_MOVE_OUT}},
        {Task::VIEW_DATASHEET,
         "View Data Sheet",
         VIEW_DATASHEET_CHAIN,
         Task::FAMILY_NOT_DEPENDENT,
         nullptr,
         false,
         {GENERATOR_OPEN_DATASHEET}},
    };
    for (const DefaultChain& entry : chains) {
        AddChain(component, entry);
    }
}

}  // namespace Sim
