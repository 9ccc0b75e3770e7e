#pragma once

#include "Port_StringBase.h"

namespace Ipu {

// A device family an IP supports: the internal name used in parts and the device
// database, and an optional visible name for people.
class Family {
public:
    Family() = default;
    explicit Family(const Port::String& name);
    Family(const Port::String& name, const Port::String& visibleName);

    // 1 when the family has no name.
    unsigned GetName(Port::String& out) const;
    // The visible name, or the internal one when none was given; 1 when both are empty.
    unsigned GetVisibleName(Port::String& out) const;

    void SetName(const Port::String& value) { name = value; }
    void SetVisibleName(const Port::String& value) { visibleName = value; }

    // Whether familyName names this family (internal name, ignoring letter case).
    bool Matches(const Port::String& familyName) const;

    // Exact on both names.
    friend bool operator==(const Family& a, const Family& b);
    friend bool operator!=(const Family& a, const Family& b) { return !(a == b); }

private:
    Port::String name;
    Port::String visibleName;
};

}  // namespace Ipu
