#pragma once

#include "CitP_Interface.h"
#include "Port_StringBase.h"

namespace SimC {

// Changes to the members of an open design.
class IDesignManager : public CitP::Interface {
public:
    static constexpr const char* IID = "SimC.IDesignManager";

    // Adds a new customized member named name, made from the catalogue IP identifierKey
    // (a bare component with that identifier when the catalogue lacks it), and registers
    // it in the element index. Its unique id, or empty when the design is unknown or a
    // member of that name exists.
    virtual Port::String AddComponent(const Port::String& designId,
                                      const Port::String& identifierKey, const Port::String& name,
                                      const Port::String& displayName,
                                      const Port::String& description) = 0;
};

}  // namespace SimC
