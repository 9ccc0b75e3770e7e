#include "Ipu_GeneratorChainList.h"

#include <algorithm>

namespace Ipu {

GeneratorChainList::const_iterator GeneratorChainList::Find(const Port::String& name) const
{
    return std::find_if(chains.begin(), chains.end(),
                        [&](const boost::shared_ptr<GeneratorChain>& chain) {
                            return chain->GetName().Compare(name, Port::CompareIgnoreCase) == 0;
                        });
}

unsigned GeneratorChainList::Add(boost::shared_ptr<GeneratorChain> chain)
{
    if (!chain || chain->GetName().IsEmpty() || Has(chain->GetName())) {
        return 1;
    }
    // Keyed in lower case, so the key a caller lowers always matches.
    Port::String key = chain->GetName();
    if (key.MakeLower() != chain->GetName()) {
        chain->SetName(key);
    }
    chains.push_back(std::move(chain));
    return 0;
}

bool GeneratorChainList::Has(const Port::String& name) const
{
    return Find(name) != chains.end();
}

boost::shared_ptr<GeneratorChain> GeneratorChainList::Get(const Port::String& name) const
{
    auto it = Find(name);
    return it == chains.end() ? boost::shared_ptr<GeneratorChain>() : *it;
}

bool GeneratorChainList::Has(const VersionedIdentifier& identifier) const
{
    return static_cast<bool>(Get(identifier));
}

boost::shared_ptr<GeneratorChain> GeneratorChainList::Get(
    const VersionedIdentifier& identifier) const
{
    for (const boost::shared_ptr<GeneratorChain>& chain : chains) {
        if (chain->GetIdentifier().IsSameAs(identifier)) {
            return chain;
        }
    }
    return boost::shared_ptr<GeneratorChain>();
}

boost::shared_ptr<GeneratorChain> GeneratorChainList::GetByUniqueID(
    const Port::String& uniqueID) const
{
    for (const boost::shared_ptr<GeneratorChain>& chain : chains) {
        if (chain->GetUniqueID() == uniqueID) {
            return chain;
        }
    }
    return boost::shared_ptr<GeneratorChain>();
}

unsigned GeneratorChainList::Remove(const Port::String& name)
{
    auto it = Find(name);
    if (it == chains.end()) {
        return 1;
    }
    chains.erase(it);
    return 0;
}

}  // namespace Ipu
