#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_PelPart.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <vector>

namespace Sim {

// The upgrades of an IP for a part: the newer versions of the same vendor, library and
// name among the catalogue components in the element index that are valid for the part
// and whose life-cycle for the part's family is neither deprecated nor removed, oldest
// first. A snapshot: later changes to the catalogue do not change it.
//
// An upgrade can be regenerated (moved to and generated again without a new
// customization) when the newer version has a chain of the group
// Ipu::GeneratorChain::UPGRADE_AND_REGENERATE_CHAINGROUP with at least one generator: by
// carrying it, a version says that its generators take an older version's parameters as
// they are.
class Upgrades {
public:
    struct Entry {
        boost::shared_ptr<Ipu::IPComponent> component;
        bool canBeRegenerated = false;
    };
    using const_iterator = std::vector<Entry>::const_iterator;

    // No upgrades for an empty component.
    Upgrades(const Ipu::PelPart& part, const boost::shared_ptr<Ipu::IPComponent>& component);

    bool IsEmpty() const { return entries.empty(); }
    std::size_t Size() const { return entries.size(); }
    const std::vector<Entry>& GetEntries() const { return entries; }
    const_iterator begin() const { return entries.begin(); }
    const_iterator end() const { return entries.end(); }
    // Whether at least one entry can be regenerated.
    bool CanAnyBeRegenerated() const;

    static bool CanBeRegenerated(const Ipu::IPComponent& newer);

private:
    std::vector<Entry> entries;
};

}  // namespace Sim
