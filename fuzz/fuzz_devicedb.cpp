#include "Port_MsgManData.h"
#include "Sim_FamilySupport.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using Sim::FamilySupport;

// A broken promise of the loader is a finding, not just a wrong answer.
void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void WalkPackage(const Port::String& family, const Port::String& device,
                 const Port::String& package)
{
    std::vector<Port::String> speedGrades;
    Require(FamilySupport::GetAvailableSpeedGrades(family, device, package, speedGrades) == 0);
    Require(!speedGrades.empty());
}

void WalkFamily(const Port::String& family)
{
    Port::String visible;
    Port::String internal;
    Require(FamilySupport::GetVisibleFamilyName(family, visible) == 0);
    Require(FamilySupport::GetInternalFamilyName(visible, internal) == 0 && internal == family);
    std::vector<Port::String> devices;
    Require(FamilySupport::GetAvailableDevices(family, devices) == 0 && !devices.empty());
    for (const Port::String& device : devices) {
        std::vector<Port::String> packages;
        Require(FamilySupport::GetAvailablePackages(family, device, packages) == 0);
        Require(!packages.empty());
        for (const Port::String& package : packages)
            WalkPackage(family, device, package);
    }
    Port::String device, package, speedGrade;
    Require(FamilySupport::GetDefaultPart(family, device, package, speedGrade) == 0);
}

// The default part must be one that the lists offer.
void CheckDefaultPart()
{
    Port::String family, device, package, speedGrade;
    Require(FamilySupport::GetDefaultFamilyAndPart(family, device, package, speedGrade) == 0);
    std::vector<Port::String> speedGrades;
    Require(FamilySupport::GetAvailableSpeedGrades(family, device, package, speedGrades) == 0);
    bool found = false;
    for (const Port::String& candidate : speedGrades)
        found = found || candidate == speedGrade;
    Require(found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Every rejected input warns; printing them all would only slow the run down.
    static const bool quiet = [] {
        Port_MsgManData::setSink([](const Port_MsgManData::Message&) {});
        return true;
    }();
    (void)quiet;

    const unsigned status =
        FamilySupport::LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz input");
    std::vector<Port::String> families;
    const unsigned listed = FamilySupport::GetAvailableFamilies(families);
    Require((status == 0) == (listed == 0));
    if (status != 0)
        return 0;
    for (const Port::String& family : families)
        WalkFamily(family);
    CheckDefaultPart();
    return 0;
}
