#include "Ipu_IPComposite.h"

#include "Ipu_AppException.h"

#include <algorithm>

namespace Ipu {

namespace {

using Members = std::vector<boost::shared_ptr<IPBase>>;

// Unique ids first, then names, then aliases: an id always wins over a member whose name
// happens to look like it.
Members::const_iterator Lookup(const Members& members, const Port::String& key)
{
    Port::String (Element::*const passes[])()
        const = {&Element::GetUniqueID, &Element::GetName, &Element::GetAlias};
    for (auto pass : passes) {
        auto it =
            std::find_if(members.begin(), members.end(),
                         [&](const boost::shared_ptr<IPBase>& m) { return ((*m).*pass)() == key; });
        if (it != members.end()) {
            return it;
        }
    }
    return members.end();
}

}  // namespace

IPComposite::~IPComposite() = default;

unsigned IPComposite::AddElement(boost::shared_ptr<IPBase> element)
{
    if (!element || element->GetName().IsEmpty()) {
        return 1;
    }
    for (const boost::shared_ptr<IPBase>& member : elements) {
        if (member->GetName() == element->GetName()) {
            return 1;
        }
    }
    elements.push_back(std::move(element));
    return 0;
}

bool IPComposite::HasElement(const Port::String& key) const
{
    return Lookup(elements, key) != elements.end();
}

boost::shared_ptr<IPBase> IPComposite::GetElement(const Port::String& key) const
{
    auto it = Lookup(elements, key);
    if (it == elements.end()) {
        Port::String message;
        message.Format("Cannot find element %s\n", key.c_str());
        throw AppException(message);
    }
    return *it;
}

boost::shared_ptr<IPBase> IPComposite::FindElement(const Port::String& key) const
{
    auto it = Lookup(elements, key);
    return it == elements.end() ? boost::shared_ptr<IPBase>() : *it;
}

unsigned IPComposite::RemoveElement(const Port::String& key)
{
    auto it = Lookup(elements, key);
    if (it == elements.end()) {
        return 1;
    }
    elements.erase(it);
    return 0;
}

}  // namespace Ipu
