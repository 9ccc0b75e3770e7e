#pragma once

#include "Port_StringBase.h"

#include <vector>

namespace Sim {

// Where the IP catalogue and the device database are found. For the device database the
// first source that names a file wins: the host's command line (through the setter), then
// GANTREL_DEVICE_DB, then the embedded default under DataDirectory(). The catalogue is the
// user's directories (from the command line, else GANTREL_CATALOG_PATH, directories
// separated by ':') followed by the embedded catalogue, which is left out only on request.
// Every answer is an absolute path; relative command-line values are taken against the
// current directory at the time they are set, relative environment values at the time
// they are asked for. Thread-safe.
class DataLocation {
public:
    DataLocation() = delete;

    // From --catalog DIR (repeatable): searched before the embedded catalogue. An empty
    // list hands the choice back to the environment.
    static void SetCatalogDirectories(const std::vector<Port::String>& directories);
    // From --no-default-catalog (false): whether the embedded catalogue follows the
    // user's directories. True until set.
    static void SetDefaultCatalogUsed(bool used);
    static bool IsDefaultCatalogUsed();
    // From --devices FILE; an empty name hands the choice back to the environment.
    static void SetDeviceDatabaseFile(const Port::String& file);

    static std::vector<Port::String> CatalogDirectories();
    static Port::String DeviceDatabaseFile();

    // The root of the embedded default data: share/gantrel beside the installed library,
    // or the source tree's data directory when the library runs from its build tree.
    static Port::String DataDirectory();
};

}  // namespace Sim
