#pragma once

#include "Port_StringBase.h"

namespace Ipu {

class VersionedIdentifier;

// Narrows an IP list by vendor, library and name (each ignoring letter case). A
// default-constructed filter accepts every IP.
class Filter {
public:
    Filter() = default;

    void SetVendor(const Port::String& value) { vendor = value; }
    void SetLibrary(const Port::String& value) { library = value; }
    void SetName(const Port::String& value) { name = value; }

    // True when every criterion that is set matches.
    bool Accepts(const VersionedIdentifier& identifier) const;

private:
    Port::String vendor;
    Port::String library;
    Port::String name;
};

}  // namespace Ipu
