#pragma once

#include "Port_StringBase.h"

namespace Ipu {

// What the installed updates say about the IP cores.
//
// Every installed update leaves a text file "*.name" in "gantrel/install/names/" of the
// installation (Utilities::GetFullPellorPathOf). Its meaningful lines are those that, with
// blanks trimmed, are not empty and do not start with '#'. An update that patches the cores
// has a meaningful line "Cores patch: <identifier>" (the key in any letter case), which also
// reads well where the descriptions are shown to the user.
class IPUpdateInfo {
public:
    enum CoresLevel {
        CORES_LEVEL_UNKNOWN = 0,  // the installation cannot be located
        CORES_LEVEL_BASE = 1,     // no update installed
        CORES_LEVEL_UPDATED = 2,  // updates installed, none of them patches the cores
        CORES_LEVEL_PATCHED = 3,  // a cores patch is installed
    };

    IPUpdateInfo() = delete;

    // The level of the installed cores. At CORES_LEVEL_PATCHED patch receives the patch's
    // identifier, taken from the last patching file in byte-wise order of file names;
    // otherwise patch is emptied.
    static unsigned GetCoresLevel(Port::String& patch);
};

}  // namespace Ipu
