#pragma once

#include "Port_StringBase.h"

#include <cstdint>

namespace Ipu {

// Where an IP stands in its life: a 32-bit value with a text form. Values outside 0..6
// are kept as given and read as "Unknown".
class LifeCycleStatus {
public:
    enum Value : std::int32_t {
        UNKNOWN = 0,
        PRE_PRODUCTION = 1,
        PRODUCTION = 2,
        BETA = 3,
        SUPERSEDED = 4,
        DEPRECATED = 5,
        REMOVED = 6,
    };

    LifeCycleStatus() = default;
    LifeCycleStatus(std::int32_t value) : value(value) {}  // NOLINT: a value is a status

    std::int32_t GetValue() const { return value; }
    void SetValue(std::int32_t newValue) { value = newValue; }

    // "Unknown", "Pre-Production", "Production", "Beta", "Superseded", "Deprecated",
    // "Removed".
    Port::String ToString() const;
    // Reads the text form or the catalogue spelling ("pre-production"), ignoring letter
    // case and surrounding blanks; 1 (out untouched) for anything else.
    static unsigned FromString(const Port::String& text, LifeCycleStatus& out);

    friend bool operator==(const LifeCycleStatus& a, const LifeCycleStatus& b)
    {
        return a.value == b.value;
    }
    friend bool operator!=(const LifeCycleStatus& a, const LifeCycleStatus& b)
    {
        return a.value != b.value;
    }

private:
    std::int32_t value = UNKNOWN;
};

}  // namespace Ipu
