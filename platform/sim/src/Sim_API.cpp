#include "Sim_API.h"

#include "Ipu_ElementIndex.h"
#include "Ipu_Filter.h"
#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_LifeCycleStatus.h"
#include "Ipu_ProjectOptions.h"

#include <boost/pointer_cast.hpp>

#include <algorithm>
#include <utility>

namespace Sim {

namespace {

struct Entry {
    Port::String key;
    boost::shared_ptr<Ipu::IPComponent> component;
};

// Catalogue lists run to thousands of IPs and the compatibility checker asks for them on
// every change of options: one pass over the index, each key computed once.
bool IsListed(const Ipu::IPComponent& component, const Ipu::PelPart& part,
              const Ipu::ProjectOptions& family, const Ipu::Filter& filter)
{
    return !component.IsCustomized() && component.IsValidForPart(part) &&
           component.GetLifecycleStatus(family).GetValue() != Ipu::LifeCycleStatus::REMOVED &&
           filter.Accepts(component.GetIdentifier());
}

}  // namespace

unsigned API::GetIPList(const Ipu::RuntimeOptions&, const Ipu::ProjectOptions& options,
                        const Ipu::Filter& filter, std::vector<boost::shared_ptr<Ipu::IP>>& out)
{
    out.clear();
    const Ipu::PelPart part = options.GetPelPart();
    if (!part.IsDefined()) {
        return 1;
    }
    Ipu::ProjectOptions family;
    family.SetDeviceFamily(part.GetFamily());
    bool catalogue = false;
    std::vector<Entry> entries;
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (!component) {
            continue;
        }
        catalogue = catalogue || !component->IsCustomized();
        if (IsListed(*component, part, family, filter)) {
            entries.push_back(Entry{component->GetIdentifier().GetKey(), std::move(component)});
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.key < b.key; });
    out.reserve(entries.size());
    for (Entry& entry : entries) {
        out.push_back(boost::shared_ptr<Ipu::IP>(new Ipu::IP(std::move(entry.component))));
    }
    return catalogue ? 0 : 1;
}

}  // namespace Sim
