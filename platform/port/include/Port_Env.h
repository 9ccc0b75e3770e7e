#pragma once

#include "Port_StringBase.h"

class Port_Env {
public:
    Port_Env() = delete;

    // The absolute path of the executable name. A name with a '/' is taken as a path;
    // otherwise, with searchPath non-zero, the directories of PATH are searched in order.
    // Empty when nothing executable is found.
    static Port::String GetExecFileName(const Port::String& name, int searchPath);
    // The value of an environment variable; empty when unset.
    static Port::String GetVariable(const char* name);
};
