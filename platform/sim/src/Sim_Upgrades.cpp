#include "Sim_Upgrades.h"

#include "Ipu_ElementIndex.h"
#include "Ipu_LifeCycleStatus.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Version.h"

#include <boost/pointer_cast.hpp>

#include <algorithm>

namespace Sim {

namespace {

bool SameFamily(const Ipu::VersionedIdentifier& a, const Ipu::VersionedIdentifier& b)
{
    return a.GetVendor() == b.GetVendor() && a.GetLibrary() == b.GetLibrary() &&
           a.GetName() == b.GetName();
}

bool IsUsableFor(const Ipu::IPComponent& candidate, const Ipu::PelPart& part)
{
    if (!candidate.IsValidForPart(part)) {
        return false;
    }
    Ipu::ProjectOptions options;
    options.SetDeviceFamily(part.GetFamily());
    const std::int32_t status = candidate.GetLifecycleStatus(options).GetValue();
    return status != Ipu::LifeCycleStatus::DEPRECATED && status != Ipu::LifeCycleStatus::REMOVED;
}

bool IsUpgradeOf(const Ipu::IPComponent& candidate, const Ipu::VersionedIdentifier& current,
                 const Ipu::PelPart& part)
{
    const Ipu::VersionedIdentifier& id = candidate.GetIdentifier();
    return !candidate.IsCustomized() && SameFamily(id, current) &&
           Ipu::Version(current.GetVersion()) < Ipu::Version(id.GetVersion()) &&
           IsUsableFor(candidate, part);
}

bool OlderFirst(const Upgrades::Entry& a, const Upgrades::Entry& b)
{
    return Ipu::Version(a.component->GetIdentifier().GetVersion()) <
           Ipu::Version(b.component->GetIdentifier().GetVersion());
}

}  // namespace

Upgrades::Upgrades(const Ipu::PelPart& part, const boost::shared_ptr<Ipu::IPComponent>& component)
{
    if (!component) {
        return;
    }
    const Ipu::VersionedIdentifier current = component->GetIdentifier();
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto candidate = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (candidate && IsUpgradeOf(*candidate, current, part)) {
            entries.push_back(Entry{candidate, CanBeRegenerated(*candidate)});
        }
    }
    std::stable_sort(entries.begin(), entries.end(), OlderFirst);
}

bool Upgrades::CanAnyBeRegenerated() const
{
    return std::any_of(entries.begin(), entries.end(),
                       [](const Entry& entry) { return entry.canBeRegenerated; });
}

bool Upgrades::CanBeRegenerated(const Ipu::IPComponent& newer)
{
    for (const auto& chain : newer.GetGeneratorChains()) {
        if (chain->HasGroup(Ipu::GeneratorChain::UPGRADE_AND_REGENERATE_CHAINGROUP) &&
            !chain->GetOrderedGenerators().empty()) {
            return true;
        }
    }
    return false;
}

}  // namespace Sim
