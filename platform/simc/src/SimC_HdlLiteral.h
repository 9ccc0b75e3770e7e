#pragma once

#include "Ipu_Parameters.h"

#include <QString>

namespace SimC {

// A customized parameter value written as a literal that the core's declared parameter
// (Verilog) or generic (VHDL) type accepts. Values are held as the catalogue writes them:
// strings without their quotes, integers in decimal (or 0x hexadecimal), bits as 0 or 1,
// booleans as true or false, reals in decimal notation.
class HdlLiteral {
public:
    HdlLiteral() = delete;

    // type is CoreGenerics' text of the declaration. false with the reason when the value
    // does not suit it (a text for a number, a number too large for the type).
    static bool Verilog(const Ipu::Parameters::Parameter& parameter, const QString& type,
                        QString& out, QString& reason);
    static bool Vhdl(const Ipu::Parameters::Parameter& parameter, const QString& type, QString& out,
                     QString& reason);
};

}  // namespace SimC
