#pragma once

#include "Ipu_DefaultEngineNotify.h"
#include "Ipu_IPComponent.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <condition_variable>
#include <map>
#include <mutex>

namespace Sim {

// Lets a thread wait for the end of an engine run it started. Registered with the
// engine-notify manager for its lifetime, it notes every run's end, so an end that comes
// before the wait begins is not missed.
class GenerationWait : public Ipu::DefaultEngineNotify {
public:
    struct End {
        unsigned status = 0;
        // The IP the end event carries (the project's member after a successful run).
        boost::shared_ptr<Ipu::IPComponent> component;
    };

    GenerationWait();
    GenerationWait(const GenerationWait&) = delete;
    GenerationWait& operator=(const GenerationWait&) = delete;
    ~GenerationWait() override;

    // Blocks until the run of that generation id has ended.
    End For(const Port::String& generationId);

    bool EventNotify(Ipu::Event& event) override;

private:
    std::mutex guard;
    std::condition_variable ended;
    std::map<Port::String, End> ends;
};

}  // namespace Sim
