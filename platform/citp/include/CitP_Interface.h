#pragma once

namespace CitP {

// A reference-counted object of a component library, reached only through the abstract
// interfaces it offers. Counting is atomic; the object deletes itself at zero.
class Interface {
public:
    virtual unsigned long AddRef() = 0;
    virtual unsigned long Release() = 0;
    // 0 with *out set (and a reference added for the caller) when the object offers the
    // interface named interfaceId; 1 with *out null otherwise.
    virtual unsigned QueryInterface(const char* interfaceId, Interface** out) = 0;

protected:
    virtual ~Interface() = default;
};

}  // namespace CitP

// What each component library exports: a new object of the class named classId with one
// reference held by the caller, or null when the library has no such class.
extern "C" {
using CitP_CreateInstanceFunction = CitP::Interface* (*)(const char* classId);
}
#define CITP_CREATE_INSTANCE_SYMBOL "CitP_CreateInstance"
