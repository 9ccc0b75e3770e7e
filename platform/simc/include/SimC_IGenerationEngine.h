#pragma once

#include "CitP_Interface.h"
#include "Port_StringBase.h"

namespace SimC {

// Runs generator chains on the engine's worker threads and reports each run through the
// engine-notify manager's events.
class IGenerationEngine : public CitP::Interface {
public:
    static constexpr const char* IID = "SimC.IGenerationEngine";

    // Starts the chain chainId on the element elementId and answers the run's generation
    // id at once; empty when nothing was started.
    virtual Port::String StartGeneration(const Port::String& elementId,
                                         const Port::String& chainId) = 0;
};

}  // namespace SimC
