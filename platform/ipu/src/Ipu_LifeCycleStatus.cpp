#include "Ipu_LifeCycleStatus.h"

#include <array>

namespace Ipu {

namespace {

struct Spelling {
    const char* text;       // ToString
    const char* catalogue;  // as catalogue files write it
};

constexpr std::array<Spelling, 7> kSpellings{{
    {"Unknown", "unknown"},
    {"Pre-Production", "pre-production"},
    {"Production", "production"},
    {"Beta", "beta"},
    {"Superseded", "superseded"},
    {"Deprecated", "deprecated"},
    {"Removed", "removed"},
}};

}  // namespace

Port::String LifeCycleStatus::ToString() const
{
    if (value < 0 || value >= static_cast<std::int32_t>(kSpellings.size())) {
        return kSpellings[UNKNOWN].text;
    }
    return kSpellings[static_cast<std::size_t>(value)].text;
}

unsigned LifeCycleStatus::FromString(const Port::String& text, LifeCycleStatus& out)
{
    Port::String trimmed = text;
    trimmed.Trim();
    for (std::size_t i = 0; i < kSpellings.size(); ++i) {
        if (trimmed.Compare(kSpellings[i].text, Port::CompareIgnoreCase) == 0 ||
            trimmed.Compare(kSpellings[i].catalogue, Port::CompareIgnoreCase) == 0) {
            out = LifeCycleStatus(static_cast<std::int32_t>(i));
            return 0;
        }
    }
    return 1;
}

}  // namespace Ipu
