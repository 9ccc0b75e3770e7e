#include "Ipu_Element.h"

#include <algorithm>

namespace Ipu {

Element::~Element() = default;

const Element::Property* Element::FindProperty(const Port::String& propertyName) const
{
    auto it = std::find_if(properties.begin(), properties.end(),
                           [&](const Property& p) { return p.first == propertyName; });
    return it == properties.end() ? nullptr : &*it;
}

Element::Property* Element::FindProperty(const Port::String& propertyName)
{
    return const_cast<Property*>(std::as_const(*this).FindProperty(propertyName));
}

bool Element::HasProperty(const Port::String& propertyName) const
{
    return FindProperty(propertyName) != nullptr;
}

unsigned Element::GetPropertyValue(const Port::String& propertyName, Port::String& out) const
{
    const Property* property = FindProperty(propertyName);
    if (!property || property->second.empty()) {
        return 1;
    }
    out = property->second.front();
    return 0;
}

unsigned Element::GetPropertyValues(const Port::String& propertyName,
                                    std::vector<Port::String>& out) const
{
    const Property* property = FindProperty(propertyName);
    if (!property) {
        out.clear();
        return 1;
    }
    out = property->second;
    return 0;
}

void Element::SetProperty(const Port::String& propertyName, const Port::String& value)
{
    if (Property* property = FindProperty(propertyName)) {
        property->second.assign(1, value);
        return;
    }
    properties.emplace_back(propertyName, std::vector<Port::String>{value});
}

void Element::AddPropertyValue(const Port::String& propertyName, const Port::String& value)
{
    if (Property* property = FindProperty(propertyName)) {
        property->second.push_back(value);
        return;
    }
    properties.emplace_back(propertyName, std::vector<Port::String>{value});
}

void Element::RemoveProperty(const Port::String& propertyName)
{
    properties.erase(std::remove_if(properties.begin(), properties.end(),
                                    [&](const Property& p) { return p.first == propertyName; }),
                     properties.end());
}

std::vector<Port::String> Element::GetPropertyNames() const
{
    std::vector<Port::String> names;
    names.reserve(properties.size());
    for (const Property& property : properties) {
        names.push_back(property.first);
    }
    return names;
}

}  // namespace Ipu
