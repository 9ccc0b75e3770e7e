#pragma once

#include "SimC_Wrapper.h"

#include <QString>

namespace SimC {

// The Verilog texts of a wrapper: the module (<name>.v) and its instantiation template
// (<name>.veo). Verilog-2001, so that every simulator and synthesis tool takes them.
class VerilogWriter {
public:
    VerilogWriter() = delete;

    static QString Module(const Wrapper& wrapper);
    static QString Template(const Wrapper& wrapper);
};

}  // namespace SimC
