#pragma once

#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Port_StringBase.h"
#include "SimC_GenerationRun.h"
#include "SimC_WorkerPool.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>

namespace SimC {

// Starts generator chains on IPs and designs and runs them on its worker threads. All that
// a run needs is gathered when it starts, on the caller's thread; from then on the run
// only reports, through the engine-notify manager: a step event per step, for a design one
// member event per IP, and an end-of-run event with the run's status.
class GenerationEngine {
public:
    GenerationEngine() = default;
    GenerationEngine(const GenerationEngine&) = delete;
    GenerationEngine& operator=(const GenerationEngine&) = delete;

    // The run's generation id, or empty (with an error message) when the element or the
    // chain is unknown or the IP has no output directory.
    Port::String Start(const Port::String& elementId, const Port::String& chainId);
    // Waits for the queued runs, then runs this many at a time.
    void SetWorkerCount(std::size_t count) { pool.Resize(count); }

private:
    Port::String StartIp(const boost::shared_ptr<Ipu::IPComponent>& ip,
                         const boost::shared_ptr<Ipu::GeneratorChain>& chain);
    Port::String StartDesign(const boost::shared_ptr<Ipu::IPComposite>& design,
                             const boost::shared_ptr<Ipu::GeneratorChain>& chain);
    bool Prepare(const boost::shared_ptr<Ipu::IPComponent>& ip, const Ipu::Task& task,
                 GenerationRun::Setup& setup) const;

    WorkerPool pool;
};

}  // namespace SimC
