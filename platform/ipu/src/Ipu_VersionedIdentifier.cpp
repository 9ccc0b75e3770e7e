#include "Ipu_VersionedIdentifier.h"

#include <string>
#include <vector>

namespace Ipu {

VersionedIdentifier::VersionedIdentifier(const Port::String& vendor, const Port::String& library,
                                         const Port::String& name, const Port::String& version)
    : vendor(vendor), library(library), name(name), version(version)
{
}

VersionedIdentifier::~VersionedIdentifier() = default;

Port::String VersionedIdentifier::GetKey() const
{
    Port::String key = vendor;
    key.Append(':').Append(library).Append(':').Append(name).Append(':').Append(version);
    return key;
}

unsigned VersionedIdentifier::FromKey(const Port::String& key, VersionedIdentifier& out)
{
    std::vector<Port::String> fields;
    std::size_t start = 0;
    const std::string& text = key.str();
    for (;;) {
        const std::size_t colon = text.find(':', start);
        fields.push_back(key.Extract(start, colon == std::string::npos ? colon : colon - start));
        if (colon == std::string::npos) {
            break;
        }
        start = colon + 1;
    }
    if (fields.size() != 4) {
        return 1;
    }
    out = VersionedIdentifier(fields[0], fields[1], fields[2], fields[3]);
    return 0;
}

bool VersionedIdentifier::IsSameAs(const VersionedIdentifier& other) const
{
    return vendor == other.vendor && library == other.library && name == other.name &&
           version == other.version;
}

}  // namespace Ipu
