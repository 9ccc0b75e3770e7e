#include "En_EngineCallback.h"

#include "Ipu_EngineNotifyMgr.h"

namespace En {

EngineCallback::EngineCallback()
{
    Ipu::EngineNotifyMgr::AddEngineNotify(this);
}

// Removing here, before the QObject part goes, also waits for a delivery in progress.
EngineCallback::~EngineCallback()
{
    Ipu::EngineNotifyMgr::RemoveEngineNotify(this);
}

bool EngineCallback::EventNotify(Ipu::Event& event)
{
    emit EngineEvent(EngineEventDetails(event));
    return true;
}

}  // namespace En
