#pragma once

#include "Port_StringBase.h"

namespace SimC {

// The work of the engine's migration interface: a project file of an older line format
// (docs/legacy-project-formats.md) becomes a project configuration file. The legacy file
// is only read; the configuration file is written atomically and only when the whole
// legacy file could be read.
class Migration {
public:
    Migration() = delete;

    // True when migrationFile was written; false after one warning naming the legacy file
    // and the reason (for a fault in the file: its line).
    static bool Migrate(const Port::String& legacyFile, const Port::String& migrationFile,
                        const Port::String& projectIdentifier);
};

}  // namespace SimC
