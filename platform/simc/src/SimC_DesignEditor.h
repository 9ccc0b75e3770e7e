#pragma once

#include "Port_StringBase.h"

namespace SimC {

// The work of the engine's design interface: new members of open designs.
class DesignEditor {
public:
    DesignEditor() = delete;

    static Port::String AddComponent(const Port::String& designId,
                                     const Port::String& identifierKey, const Port::String& name,
                                     const Port::String& displayName,
                                     const Port::String& description);
};

}  // namespace SimC
