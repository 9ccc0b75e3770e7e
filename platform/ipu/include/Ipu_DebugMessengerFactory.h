#pragma once

#include "Ipu_DebugMessenger.h"
#include "Port_StringBase.h"

namespace Ipu {

// Hands out the process's debug loggers, one per name, each living until the process ends.
//
// The environment variable GANTREL_DEBUG switches them on: a comma-separated list of logger
// names (exact spelling, "vipc" and "VipcClient" are two loggers), "all" for every one, and
// an entry "name:detailed" (or "all:detailed") that enables the Detailed traces as well.
// Each GetLogger call reads the variable again, so a change applies from the next call.
class DebugMessengerFactory {
public:
    DebugMessengerFactory() = delete;

    static DebugMessenger& GetLogger(const Port::String& name);
    // The level GANTREL_DEBUG gives the named logger now.
    static DebugMessenger::Level LevelFor(const Port::String& name);
};

}  // namespace Ipu
