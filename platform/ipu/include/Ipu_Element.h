#pragma once

#include "Port_StringBase.h"

#include <utility>
#include <vector>

namespace Ipu {

// Something with an identity in the model: a catalogue IP, a customized IP, a design, a
// generator chain. A catalogue IP's unique id equals its unconfigured id (its
// vendor:library:name:version key); a customized IP has its own unique id and keeps the
// catalogue's id as its unconfigured id.
//
// Named properties may hold several values each, kept in the order they were added;
// names are compared exactly. Plain value type, no locking: one thread at a time.
class Element {
public:
    Element() = default;
    Element(const Element&) = default;
    Element& operator=(const Element&) = default;
    virtual ~Element();

    Port::String GetName() const { return name; }
    void SetName(const Port::String& value) { name = value; }
    Port::String GetDisplayName() const { return displayName; }
    void SetDisplayName(const Port::String& value) { displayName = value; }
    Port::String GetDescription() const { return description; }
    void SetDescription(const Port::String& value) { description = value; }
    Port::String GetAlias() const { return alias; }
    void SetAlias(const Port::String& value) { alias = value; }
    Port::String GetUniqueID() const { return uniqueID; }
    void SetUniqueID(const Port::String& value) { uniqueID = value; }
    Port::String GetUnconfiguredID() const { return unconfiguredID; }
    void SetUnconfiguredID(const Port::String& value) { unconfiguredID = value; }
    Port::String GetUnconfiguredDisplayName() const { return unconfiguredDisplayName; }
    void SetUnconfiguredDisplayName(const Port::String& value) { unconfiguredDisplayName = value; }

    bool HasProperty(const Port::String& propertyName) const;
    // The first value; 1 (out untouched) when the property is absent.
    unsigned GetPropertyValue(const Port::String& propertyName, Port::String& out) const;
    // All values in order; 1 (out emptied) when the property is absent.
    unsigned GetPropertyValues(const Port::String& propertyName,
                               std::vector<Port::String>& out) const;
    // Replaces every value of the property with this one.
    void SetProperty(const Port::String& propertyName, const Port::String& value);
    // Appends a value, creating the property when needed.
    void AddPropertyValue(const Port::String& propertyName, const Port::String& value);
    void RemoveProperty(const Port::String& propertyName);
    // Property names in the order they were first set.
    std::vector<Port::String> GetPropertyNames() const;

private:
    using Property = std::pair<Port::String, std::vector<Port::String>>;
    const Property* FindProperty(const Port::String& propertyName) const;
    Property* FindProperty(const Port::String& propertyName);

    Port::String name;
    Port::String displayName;
    Port::String description;
    Port::String alias;
    Port::String uniqueID;
    Port::String unconfiguredID;
    Port::String unconfiguredDisplayName;
    std::vector<Property> properties;
};

}  // namespace Ipu
