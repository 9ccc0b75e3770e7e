#pragma once

#include "Port_StringBase.h"

#include <vector>

namespace Ipu {

// One target part: family (internal name), device, package and speed grade.
// Texts are kept exactly as given; comparing them loosely is the caller's choice.
class PelPart {
public:
    // The speed grade of a part that has none of its own, as the device database lists it.
    static constexpr const char* NO_SPEED_GRADE = "-";

    PelPart() = default;
    PelPart(const Port::String& family, const Port::String& device, const Port::String& package,
            const Port::String& speedGrade);

    Port::String GetFamily() const { return family; }
    Port::String GetDevice() const { return device; }
    Port::String GetPackage() const { return package; }
    Port::String GetSpeedGrade() const { return speedGrade; }

    void SetFamily(const Port::String& value) { family = value; }
    void SetDevice(const Port::String& value) { device = value; }
    void SetPackage(const Port::String& value) { package = value; }
    void SetSpeedGrade(const Port::String& value) { speedGrade = value; }

    // All four texts are non-empty.
    bool IsDefined() const;

    // Device, package and speed grade run together, the grade after a '-' unless it
    // already starts with one: "tl2x50" "qf100" "-4" gives "tl2x50qf100-4", and grade
    // "4" gives the same. The family is left out: device names are unique across
    // families. Empty fields are skipped, and so is the grade NO_SPEED_GRADE, so an
    // undefined part may give "".
    Port::String GetFullPartName() const;

    // Exact, byte for byte, on all four texts.
    friend bool operator==(const PelPart& a, const PelPart& b);
    friend bool operator!=(const PelPart& a, const PelPart& b) { return !(a == b); }

private:
    Port::String family;
    Port::String device;
    Port::String package;
    Port::String speedGrade;
};

using PelPartList = std::vector<PelPart>;

}  // namespace Ipu
