#include "Ipu_GeneratorBase.h"

#include <algorithm>

namespace Ipu {

GeneratorBase::~GeneratorBase() = default;

void GeneratorBase::SetIdentifier(const VersionedIdentifier& identifier)
{
    VersionedIdentifier::operator=(identifier);
}

bool GeneratorBase::HasGroup(const Port::String& group) const
{
    return std::any_of(groups.begin(), groups.end(), [&](const Port::String& g) {
        return g.Compare(group, Port::CompareIgnoreCase) == 0;
    });
}

void GeneratorBase::AddGroup(const Port::String& group)
{
    if (!HasGroup(group)) {
        groups.push_back(group);
    }
}

}  // namespace Ipu
