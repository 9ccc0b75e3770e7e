#pragma once

#include "Port_StringBase.h"

#include <QString>

namespace Sim {

// Conversion between the engine side's 8-bit strings and Qt's. The 8-bit side is taken
// as UTF-8, which is what every file we read and write holds.
class Utility {
public:
    Utility() = delete;

    // Invalid UTF-8 sequences become U+FFFD; embedded NUL bytes are kept.
    static QString PortStringToQString(const Port::String& text);
    static Port::String QStringToPortString(const QString& text);
};

}  // namespace Sim
