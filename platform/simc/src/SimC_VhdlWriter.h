#pragma once

#include "SimC_Wrapper.h"

#include <QString>

namespace SimC {

// The VHDL texts of a wrapper: the entity with its architecture (<name>.vhd), compiled
// into library work, and its instantiation template (<name>.vho). The core is bound by
// direct entity instantiation, so no component declaration can drift from it.
class VhdlWriter {
public:
    VhdlWriter() = delete;

    static QString Entity(const Wrapper& wrapper);
    static QString Template(const Wrapper& wrapper);
};

}  // namespace SimC
