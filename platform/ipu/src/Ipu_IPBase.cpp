#include "Ipu_IPBase.h"

#include "Ipu_Keyword.h"
#include "Ipu_PelPart.h"
#include "Ipu_ProjectOptions.h"

#include <algorithm>

namespace Ipu {

IPBase::~IPBase() = default;

void IPBase::SetIdentifier(const VersionedIdentifier& identifier)
{
    VersionedIdentifier::operator=(identifier);
}

const IPBase::FamilyEntry* IPBase::FindFamily(const Port::String& familyName) const
{
    auto it = std::find_if(families.begin(), families.end(), [&](const FamilyEntry& entry) {
        return entry.family.Matches(familyName);
    });
    return it == families.end() ? nullptr : &*it;
}

IPBase::FamilyEntry* IPBase::FindFamily(const Port::String& familyName)
{
    return const_cast<FamilyEntry*>(std::as_const(*this).FindFamily(familyName));
}

std::vector<Family> IPBase::GetFamilies() const
{
    std::vector<Family> result;
    result.reserve(families.size());
    for (const FamilyEntry& entry : families) {
        result.push_back(entry.family);
    }
    return result;
}

void IPBase::AddFamily(const Family& family)
{
    Port::String name;
    family.GetName(name);
    if (!FindFamily(name)) {
        families.push_back(FamilyEntry{family, false, LifeCycleStatus()});
    }
}

void IPBase::AddFamily(const Family& family, const LifeCycleStatus& status)
{
    Port::String name;
    family.GetName(name);
    AddFamily(family);
    FamilyEntry* entry = FindFamily(name);
    entry->hasLifecycle = true;
    entry->lifecycle = status;
}

bool IPBase::HasFamily(const Port::String& familyName) const
{
    return FindFamily(familyName) != nullptr;
}

bool IPBase::IsFamilyIndependent() const
{
    return std::all_of(families.begin(), families.end(), [](const FamilyEntry& entry) {
        return entry.family.Matches(Keyword::EMPTY_FAMILY);
    });
}

LifeCycleStatus IPBase::GetLifecycleStatus(const ProjectOptions& options) const
{
    const Port::String familyName = options.GetPelPart().GetFamily();
    if (!familyName.IsEmpty()) {
        const FamilyEntry* entry = FindFamily(familyName);
        if (entry && entry->hasLifecycle) {
            return entry->lifecycle;
        }
    }
    return GetLifecycleStatus();
}

bool IPBase::IsValidForPart(const PelPart& part) const
{
    const Port::String familyName = part.GetFamily();
    if (familyName.IsEmpty()) {
        return false;
    }
    return IsFamilyIndependent() || HasFamily(familyName);
}

}  // namespace Ipu
