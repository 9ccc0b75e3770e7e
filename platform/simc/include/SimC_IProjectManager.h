#pragma once

#include "CitP_Interface.h"
#include "Port_StringBase.h"

namespace SimC {

// Designs (projects) of the engine, each stored in a project configuration file.
// A design is an Ipu::IPComposite registered in the element index under a unique id that
// is fresh for every creation or opening; its members are registered too. Thread-safe.
class IProjectManager : public CitP::Interface {
public:
    static constexpr const char* IID = "SimC.IProjectManager";

    // A new, unsaved design for the file with the identifier key
    // ("vendor:library:name:version"), default project options whose part is the device
    // database's default and whose project name is the file's base. Its unique id, or
    // empty on failure.
    virtual Port::String CreateDesign(const Port::String& file,
                                      const Port::String& identifierKey) = 0;
    // Reads the file into a new design; its unique id, or empty after a warning naming the
    // file, line, column and reason. The file is never changed.
    virtual Port::String OpenDesign(const Port::String& file) = 0;
    // Writes the design atomically to its file: a failed save leaves the previous file.
    virtual bool SaveDesign(const Port::String& designId) = 0;
    // Removes the design and its members from the element index. An unknown or already
    // closed id is harmless (1).
    virtual unsigned CloseDesign(const Port::String& designId) = 0;
};

}  // namespace SimC
