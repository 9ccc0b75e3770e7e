#pragma once

#include "CitP_Interface.h"
#include "Port_StringBase.h"

namespace SimC {

// Conversion of project files of the older line formats (.gtp, and the deprecated .gpr)
// into project configuration files.
class IMigrationManager : public CitP::Interface {
public:
    static constexpr const char* IID = "SimC.IMigrationManager";

    // Reads legacyFile and writes migrationFile (atomically) as a design identified by
    // projectIdentifier ("vendor:project:name:1.0"). True when the migration file was
    // written; false after a warning naming the legacy file, the line and the reason.
    virtual bool Migrate(const Port::String& legacyFile, const Port::String& migrationFile,
                         const Port::String& projectIdentifier) = 0;
};

}  // namespace SimC
