#pragma once

#include "CitP_Interface.h"
#include "CitP_Ref.h"
#include "Port_StringBase.h"

namespace CitP {

// Loads component libraries at run time and creates their objects. Component libraries
// are found in the component directory: GANTREL_COMPONENT_PATH when set, else the
// directory of this library (beside the installed libraries, and in the build tree the
// same). A library that is missing, not loadable or without the entry point is a failure
// status with the reason available, never a crash. Thread-safe; libraries stay loaded
// until the process ends.
class Factory {
public:
    Factory() = delete;

    // 0 when the library "lib<name>.so" is loaded (now or before); 1 otherwise.
    static unsigned LoadLibraryFactory(const Port::String& libraryName);
    // A new object of the class from the first loaded library that makes it; empty when
    // none does.
    static Ref<Interface> CreateInstanceRef(const Port::String& classId);
    static Port::String ComponentDirectory();
    // Why the last LoadLibraryFactory of this thread failed; empty after a success.
    static Port::String LastError();
};

}  // namespace CitP
