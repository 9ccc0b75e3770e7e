#include "Ipu_Filter.h"

#include "Ipu_VersionedIdentifier.h"

namespace Ipu {

namespace {

bool Matches(const Port::String& criterion, const Port::String& value)
{
    return criterion.IsEmpty() || criterion.Compare(value, Port::CompareIgnoreCase) == 0;
}

}  // namespace

bool Filter::Accepts(const VersionedIdentifier& identifier) const
{
    return Matches(vendor, identifier.GetVendor()) && Matches(library, identifier.GetLibrary()) &&
           Matches(name, identifier.GetName());
}

}  // namespace Ipu
