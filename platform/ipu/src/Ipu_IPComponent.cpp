#include "Ipu_IPComponent.h"

#include "Ipu_Version.h"

namespace Ipu {

IPComponent::~IPComponent() = default;

bool IPComponent::IsCustomized() const
{
    return GetUniqueID() != GetUnconfiguredID();
}

bool IPComponent::LessThan(const IPComponent& other) const
{
    if (const int byDisplayName = GetDisplayName().Compare(other.GetDisplayName())) {
        return byDisplayName < 0;
    }
    if (const int byName = GetName().Compare(other.GetName())) {
        return byName < 0;
    }
    if (const int byVersion = Version(GetVersion()).Compare(Version(other.GetVersion()))) {
        return byVersion < 0;
    }
    return GetUniqueID().Compare(other.GetUniqueID()) < 0;
}

bool IPComponent::IsEqual(const IPComponent& other) const
{
    return GetUniqueID() == other.GetUniqueID();
}

void IPComponent::UpdateFrom(const IPComponent& source)
{
    if (&source == this) {
        return;
    }
    const Port::String keep = GetUniqueID();
    *this = source;
    SetUniqueID(keep);
}

boost::shared_ptr<IPComponent> IPComponent::Clone() const
{
    return boost::shared_ptr<IPComponent>(new IPComponent(*this));
}

}  // namespace Ipu
