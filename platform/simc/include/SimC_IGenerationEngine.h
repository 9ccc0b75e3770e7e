#pragma once

#include "CitP_Interface.h"
#include "Port_StringBase.h"

namespace SimC {

// Runs generator chains on the engine's worker threads and reports each run through the
// engine-notify manager's events: Ipu::Event::TYPE_STEP for each step (moving the products
// into place reports Ipu::Command::MOVEOUT_MSG), TYPE_MEMBER_END for each IP of a project
// run, TYPE_END_OF_RUN at the end with the run's status (0 done, 1 failed, 2 cancelled). The
// events' task carries the generation id; an IP run's events carry a copy of the IP, its
// end event the project's member after success.
class IGenerationEngine : public CitP::Interface {
public:
    static constexpr const char* IID = "SimC.IGenerationEngine";

    // Starts the chain chainId on the element elementId and answers the run's generation
    // id at once; empty when nothing was started.
    virtual Port::String StartGeneration(const Port::String& elementId,
                                         const Port::String& chainId) = 0;
    // Waits for the runs already started, then runs up to count at a time (at least one);
    // the engine starts with one per core.
    virtual void SetWorkerCount(unsigned count) = 0;
};

}  // namespace SimC
