#pragma once

#include "Ipu_GeneratorChain.h"
#include "Ipu_VersionedIdentifier.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <vector>

namespace Ipu {

// An IP's or a design's chains in catalogue order, looked up by chain name. Names are
// keyed in lower case and looked up ignoring letter case, so "GENERATE" finds "generate".
// Copies share the chains (chains are not changed once the catalogue has built them).
class GeneratorChainList {
public:
    using const_iterator = std::vector<boost::shared_ptr<GeneratorChain>>::const_iterator;

    // 1 (nothing added) for an empty pointer, an empty name or a name already present
    // (ignoring case). The chain's name is lowered on the way in: it is its task's name.
    unsigned Add(boost::shared_ptr<GeneratorChain> chain);
    bool Has(const Port::String& name) const;
    // An empty pointer when absent.
    boost::shared_ptr<GeneratorChain> Get(const Port::String& name) const;
    // Whether a chain carries this identifier (exact key comparison).
    bool Has(const VersionedIdentifier& identifier) const;
    boost::shared_ptr<GeneratorChain> Get(const VersionedIdentifier& identifier) const;
    // The chain with this unique id (exact); an empty pointer when absent.
    boost::shared_ptr<GeneratorChain> GetByUniqueID(const Port::String& uniqueID) const;
    // 1 when absent.
    unsigned Remove(const Port::String& name);
    void Clear() { chains.clear(); }

    std::size_t Size() const { return chains.size(); }
    bool IsEmpty() const { return chains.empty(); }
    const std::vector<boost::shared_ptr<GeneratorChain>>& GetChains() const { return chains; }
    const_iterator begin() const { return chains.begin(); }
    const_iterator end() const { return chains.end(); }

private:
    const_iterator Find(const Port::String& name) const;

    std::vector<boost::shared_ptr<GeneratorChain>> chains;
};

}  // namespace Ipu
