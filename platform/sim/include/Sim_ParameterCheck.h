#pragma once

#include "Ipu_Parameters.h"
#include "Port_StringBase.h"

#include <QString>

namespace Sim {

// Whether the values given to an IP are ones its catalogue entry allows. The engine checks
// every customization with it before writing anything; the parameter dialog shows its
// reasons beside the fields.
class ParameterCheck {
public:
    ParameterCheck() = delete;

    // How values of a catalogue type are written; an unknown or empty type is free text.
    enum class ValueKind { Integer, Bit, Boolean, Real, Text };
    static ValueKind KindOf(const Port::String& type);

    // Whether value suits the parameter's type, choices and bounds. Otherwise false and the
    // reason, naming the parameter and the value ("WIDTH: 70 is above the maximum 64").
    static bool CheckValue(const Ipu::Parameters::Parameter& parameter, const Port::String& value,
                           QString& reason);
    // Every parameter's own value; the reason of the first one refused.
    static bool CheckAll(const Ipu::Parameters& parameters, QString& reason);
    // Whether name can name a customized IP: a legal Verilog and VHDL identifier that is no
    // keyword of either language, so that it names the wrapper, its files and its instance.
    static bool CheckComponentName(const Port::String& name, QString& reason);
};

}  // namespace Sim
