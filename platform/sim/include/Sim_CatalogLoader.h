#pragma once

#include "Port_StringBase.h"

#include <vector>

namespace Sim {

// Fills the process-wide element index (Ipu::ElementIndex) with the catalogue: every
// "*.xml" file under the given directories, read by CatalogReader, and the files that an
// IP-XACT catalog document among them names. Directories are walked recursively in name
// order, hidden names left out, symbolic links followed, each directory and each file once
// (so a link loop ends). A file that cannot be used gets one warning naming it and the
// reason, and is skipped; so is a file whose VLNV is already in the index (the first one
// loaded wins), and a file or directory whose name is not UTF-8. A component that loads
// with mistakes gets one warning per mistake naming the file and the line. Calls are
// serialized; the index itself may be read from any thread.
class CatalogLoader {
public:
    struct Counts {
        unsigned files = 0;    // "*.xml" files found, and files named by catalog documents
        unsigned loaded = 0;   // components added to the index
        unsigned skipped = 0;  // files skipped with a warning
    };

    CatalogLoader() = delete;

    // Loads the directories (counts add up over all of them), then marks the latest
    // versions. 0 when every directory could be walked; 1 when one was missing or
    // unreadable (one warning each), the others being loaded all the same.
    static unsigned Load(const std::vector<Port::String>& directories, Counts& counts);
    // Removes every catalogue component (read from a file, not customized) from the index,
    // so that a refresh can load the catalogue afresh.
    static void Unload();
    // Among the catalogue components in the index, marks the highest version of each
    // vendor, library and name as the latest and every other as not.
    static void MarkLatestVersions();
};

}  // namespace Sim
