#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>

#include "Ipu_DefaultEngineNotify.h"
#include "Port_StringBase.h"

namespace En {
class Project;
}

// Regenerates every IP of an open project on the engine's workers and waits for the end,
// printing a line on stderr as each IP is done.
class Regeneration : public Ipu::DefaultEngineNotify {
public:
    Regeneration();
    ~Regeneration() override;

    // 0 when every IP was regenerated and the project saved; 1 otherwise, with the reasons
    // told. jobs 0 leaves the engine's own count (one per core).
    int Run(En::Project& project, unsigned jobs);

    bool EventNotify(Ipu::Event& event) override;

private:
    std::mutex guard;
    std::condition_variable ended;
    Port::String generationId;
    bool done = false;
    unsigned status = 0;
    Port::String statusMessage;
    unsigned finishedIps = 0;
    std::size_t totalIps = 0;
};
