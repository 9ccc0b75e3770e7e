#include "Ipu_IPComponent.h"
#include "Ipu_Task.h"
#include "Sim_CatalogReader.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// A broken promise of the reader is a finding, not just a wrong answer.
void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// What every component the reader hands out must satisfy, whatever the input.
void CheckComponent(const Ipu::IPComponent& component)
{
    const Port::String key = component.GetIdentifier().GetKey();
    Require(component.GetUniqueID() == key && component.GetUnconfiguredID() == key);
    Require(!component.IsCustomized());
    Require(!component.GetFamilies().empty());
    Require(!component.GetGeneratorChains().IsEmpty());
    for (const auto& chain : component.GetGeneratorChains()) {
        Port::String lower = chain->GetName();
        Require(!lower.IsEmpty() && lower.MakeLower() == chain->GetName());
        Require(chain->GetUniqueID() == key + "/" + chain->GetName());
        Require(component.GetGeneratorChains().Get(chain->GetName()) == chain);
        Require(chain->HasProperty("ipType") && chain->HasProperty("familyDependent"));
        const Ipu::Task task(chain);
        Require(task.GetInternalName() == chain->GetName());
    }
    for (const auto& parameter : component.GetParameters()) {
        Require(!parameter.name.IsEmpty());
        Require(parameter.choiceLabels.size() == parameter.choices.size());
    }
    // The name names output files: never a path, and an HDL identifier's first letter.
    const std::string name = component.GetName().str();
    Require(name.find('/') == std::string::npos && name.find('\\') == std::string::npos);
    Require((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    boost::shared_ptr<Ipu::IPComponent> component;
    Port::String reason;
    std::vector<Sim::CatalogReader::Warning> warnings;
    const unsigned status =
        Sim::CatalogReader::ReadData(bytes, "/fuzz/input.xml", component, reason, warnings);
    Require((status == 0) == static_cast<bool>(component));
    Require((status == 0) == reason.IsEmpty());
    for (const auto& warning : warnings)
        Require(warning.line >= 1 && !warning.text.IsEmpty());
    if (component)
        CheckComponent(*component);
    return 0;
}
