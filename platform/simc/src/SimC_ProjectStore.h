#pragma once

#include "Port_StringBase.h"

namespace SimC {

// The work of the engine's project interface: designs created, opened from and saved to
// project configuration files, and closed. The open designs are process-wide
// (DesignRegistry), so any engine object may act on any of them.
class ProjectStore {
public:
    ProjectStore() = delete;

    static Port::String CreateDesign(const Port::String& file, const Port::String& identifierKey);
    static Port::String OpenDesign(const Port::String& file);
    static bool SaveDesign(const Port::String& designId);
    static unsigned CloseDesign(const Port::String& designId);
};

}  // namespace SimC
