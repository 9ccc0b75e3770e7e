#include "Sim_GenerationWait.h"

#include "Ipu_EngineNotifyMgr.h"
#include "Ipu_Event.h"

namespace Sim {

GenerationWait::GenerationWait()
{
    Ipu::EngineNotifyMgr::AddEngineNotify(this);
}

GenerationWait::~GenerationWait()
{
    Ipu::EngineNotifyMgr::RemoveEngineNotify(this);
}

GenerationWait::End GenerationWait::For(const Port::String& generationId)
{
    std::unique_lock<std::mutex> lock(guard);
    ended.wait(lock, [&] { return ends.count(generationId) != 0; });
    End end = ends[generationId];
    ends.erase(generationId);
    return end;
}

// Called on the engine's workers.
bool GenerationWait::EventNotify(Ipu::Event& event)
{
    if (event.GetType() != Ipu::Event::TYPE_END_OF_RUN) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(guard);
        ends[event.GetTask().GetGenerationID()] = {event.GetStatus().GetCode(),
                                                   event.GetComponent()};
    }
    ended.notify_all();
    return true;
}

}  // namespace Sim
