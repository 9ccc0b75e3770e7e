#pragma once

#include "Port_StringBase.h"

namespace Ipu {

// A version text such as "2.1" or "3.0.a" that orders the way people read it: the text
// is split at '.', '-' and '_'; runs of digits compare as numbers ("1.10" > "1.9"),
// anything else byte-wise; a missing part sorts first ("1.0" < "1.0.1").
class Version {
public:
    Version() = default;
    explicit Version(const Port::String& text);

    Port::String ToString() const { return text; }
    bool IsEmpty() const { return text.IsEmpty(); }

    // <0, 0 or >0. "1.0" and "1.00" compare equal.
    int Compare(const Version& other) const;
    friend bool operator<(const Version& a, const Version& b) { return a.Compare(b) < 0; }
    friend bool operator>(const Version& a, const Version& b) { return a.Compare(b) > 0; }
    friend bool operator==(const Version& a, const Version& b) { return a.Compare(b) == 0; }
    friend bool operator!=(const Version& a, const Version& b) { return a.Compare(b) != 0; }

private:
    Port::String text;
};

}  // namespace Ipu
