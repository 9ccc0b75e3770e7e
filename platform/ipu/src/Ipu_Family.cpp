#include "Ipu_Family.h"

namespace Ipu {

Family::Family(const Port::String& name) : name(name) {}

Family::Family(const Port::String& name, const Port::String& visibleName)
    : name(name), visibleName(visibleName)
{
}

unsigned Family::GetName(Port::String& out) const
{
    if (name.IsEmpty()) {
        return 1;
    }
    out = name;
    return 0;
}

unsigned Family::GetVisibleName(Port::String& out) const
{
    if (!visibleName.IsEmpty()) {
        out = visibleName;
        return 0;
    }
    return GetName(out);
}

bool Family::Matches(const Port::String& familyName) const
{
    return !name.IsEmpty() && name.Compare(familyName, Port::CompareIgnoreCase) == 0;
}

bool operator==(const Family& a, const Family& b)
{
    return a.name == b.name && a.visibleName == b.visibleName;
}

}  // namespace Ipu
