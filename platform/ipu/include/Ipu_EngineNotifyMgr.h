#pragma once

#include "Ipu_Event.h"
#include "Ipu_EventData.h"
#include "Port_StringBase.h"

namespace Ipu {

class DefaultEngineNotify;

// The process-wide list of engine-report receivers and the cancel flags of runs.
//
// The engine's worker threads deliver through it while other threads register and remove
// receivers. Delivery calls each receiver without holding the list's lock, so a receiver may
// register or remove receivers (itself too) from inside its call. A receiver added during a
// delivery gets the next report, one removed during a delivery is not called for it any more
// and, once RemoveEngineNotify has returned, is never called again: the removal waits for a
// call into it on another thread to end. A receiver must therefore never wait, inside its
// call, for a thread that may be removing it.
class EngineNotifyMgr {
public:
    EngineNotifyMgr() = delete;

    // 0 when added; 1 for a null receiver or one registered already.
    static unsigned AddEngineNotify(DefaultEngineNotify* receiver);
    // 0 when removed; 1 when it was not registered.
    static unsigned RemoveEngineNotify(DefaultEngineNotify* receiver);

    // Deliver to every receiver in the order of registration; each answers the number of
    // receivers called. A receiver that throws is reported with a warning and the rest are
    // still called.
    static unsigned NotifyEvent(Event& event);
    static unsigned NotifyAddSource(const Port::String& file, const Port::String& other);
    static unsigned NotifyUpdateSource(const Port::String& file, const Port::String& other);

    // The process-wide flag: every run is to stop.
    static void SetCancelled(bool cancelled);
    // The flag of one run, known by its task's action id and generation id (either one
    // finds it, since a run is started under the first and the engine reports the second).
    static void SetCancelled(const EventData& run, bool cancelled);
    static bool IsCancelled();
    // What a worker asks between steps: the process-wide flag or this run's.
    static bool IsCancelled(const EventData& run);
};

}  // namespace Ipu
