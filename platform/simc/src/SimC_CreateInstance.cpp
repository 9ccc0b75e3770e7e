#include "CitP_Interface.h"
#include "SimC_CIPEngine.h"
#include "SimC_Identifiers.h"

#include <cstring>

// The entry point the component factory looks up in this library.
extern "C" __attribute__((visibility("default"))) CitP::Interface* CitP_CreateInstance(
    const char* classId)
{
    if (classId == nullptr || std::strcmp(classId, SimC::CLSID_CIPEngine) != 0) {
        return nullptr;
    }
    return static_cast<SimC::IProjectManager*>(new SimC::CIPEngine);
}
