#pragma once

#include "Port_StringBase.h"

namespace Port {

// Facts of the installed product: "version" (for example "1.0.0") and "product".
// An unknown key answers an empty string.
class Version {
public:
    Version() = delete;
    static String getValue(const String& key);
};

}  // namespace Port
