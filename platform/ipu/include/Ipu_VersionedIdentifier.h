#pragma once

#include "Port_StringBase.h"

namespace Ipu {

// Vendor, library, name and version: the identity of a catalogue IP, a generator chain or
// a design. Keys compare exactly.
class VersionedIdentifier {
public:
    VersionedIdentifier() = default;
    VersionedIdentifier(const Port::String& vendor, const Port::String& library,
                        const Port::String& name, const Port::String& version);
    VersionedIdentifier(const VersionedIdentifier&) = default;
    VersionedIdentifier& operator=(const VersionedIdentifier&) = default;
    virtual ~VersionedIdentifier();

    Port::String GetVendor() const { return vendor; }
    Port::String GetLibrary() const { return library; }
    Port::String GetName() const { return name; }
    Port::String GetVersion() const { return version; }
    void SetVendor(const Port::String& value) { vendor = value; }
    void SetLibrary(const Port::String& value) { library = value; }
    void SetName(const Port::String& value) { name = value; }
    void SetVersion(const Port::String& value) { version = value; }

    // "vendor:library:name:version".
    Port::String GetKey() const;
    // The identifier with its fields set from a key; 1 (out untouched) unless the key has
    // exactly four ':'-separated fields.
    static unsigned FromKey(const Port::String& key, VersionedIdentifier& out);

    // Same key.
    bool IsSameAs(const VersionedIdentifier& other) const;

private:
    Port::String vendor;
    Port::String library;
    Port::String name;
    Port::String version;
};

}  // namespace Ipu
