#include "Sim_IPMgr.h"

#include "Ipu_ElementIndex.h"
#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_LifeCycleStatus.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Version.h"
#include "Sim_CatalogLoader.h"
#include "Sim_FamilySupport.h"

#include <boost/pointer_cast.hpp>

#include <map>
#include <mutex>
#include <vector>

namespace Sim {

namespace {

using ComponentPtr = boost::shared_ptr<Ipu::IPComponent>;

// Two resolutions at once would set each other's flags half-way.
std::mutex& ResolveMutex()
{
    static std::mutex mutex;
    return mutex;
}

Port::String SeriesKey(const Ipu::VersionedIdentifier& id)
{
    return id.GetVendor() + ":" + id.GetLibrary() + ":" + id.GetName();
}

// Options that carry only the family: enough to ask an IP for its life-cycle there.
Ipu::ProjectOptions FamilyOnly(const Ipu::PelPart& part)
{
    Ipu::ProjectOptions options;
    options.SetDeviceFamily(part.GetFamily());
    return options;
}

bool IsUsable(const Ipu::IPComponent& component, const Ipu::PelPart& part,
              const Ipu::ProjectOptions& family)
{
    return component.IsValidForPart(part) &&
           component.GetLifecycleStatus(family).GetValue() != Ipu::LifeCycleStatus::REMOVED;
}

std::vector<ComponentPtr> CatalogueComponents()
{
    std::vector<ComponentPtr> result;
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (component && !component->IsCustomized()) {
            result.push_back(std::move(component));
        }
    }
    return result;
}

void MarkLatestForPart(const Ipu::PelPart& part)
{
    const Ipu::ProjectOptions family = FamilyOnly(part);
    std::map<Port::String, ComponentPtr> newest;
    for (const ComponentPtr& component : CatalogueComponents()) {
        component->SetLatestVersion(false);
        if (!IsUsable(*component, part, family)) {
            continue;
        }
        ComponentPtr& best = newest[SeriesKey(component->GetIdentifier())];
        if (!best || Ipu::Version(best->GetIdentifier().GetVersion()) <
                         Ipu::Version(component->GetIdentifier().GetVersion())) {
            best = component;
        }
    }
    for (const auto& entry : newest) {
        entry.second->SetLatestVersion(true);
    }
}

void AddParts(const Port::String& family, Ipu::PelPartList& parts)
{
    std::vector<Port::String> devices, packages, grades;
    FamilySupport::GetAvailableDevices(family, devices);
    for (const Port::String& device : devices) {
        FamilySupport::GetAvailablePackages(family, device, packages);
        for (const Port::String& package : packages) {
            FamilySupport::GetAvailableSpeedGrades(family, device, package, grades);
            for (const Port::String& grade : grades) {
                parts.emplace_back(family, device, package, grade);
            }
        }
    }
}

}  // namespace

IPMgr* IPMgr::GetInstance()
{
    static IPMgr instance;
    return &instance;
}

// The device database answers each query from one whole database, old or new, so a
// refresh needs no lock of its own here.
unsigned IPMgr::RefreshFamilyCache()
{
    return FamilySupport::Refresh();
}

unsigned IPMgr::ResolveLatestIP(const Ipu::ProjectOptions& options)
{
    const Ipu::PelPart part = options.GetPelPart();
    std::lock_guard<std::mutex> lock(ResolveMutex());
    if (part.IsDefined()) {
        MarkLatestForPart(part);
    } else {
        CatalogLoader::MarkLatestVersions();
    }
    return 0;
}

// A refresh during the walk may mix the old and the new database in one answer; the walk
// itself never fails on it.
unsigned IPMgr::GetCompatibleParts(const Ipu::IP& ip, Ipu::PelPartList& parts)
{
    parts.clear();
    const ComponentPtr component = ip.GetIPComponent();
    if (!component) {
        return 1;
    }
    const bool independent = component->IsFamilyIndependent();
    std::vector<Port::String> families;
    FamilySupport::GetAvailableFamilies(families);
    for (const Port::String& family : families) {
        if (independent || component->HasFamily(family)) {
            AddParts(family, parts);
        }
    }
    return 0;
}

}  // namespace Sim
