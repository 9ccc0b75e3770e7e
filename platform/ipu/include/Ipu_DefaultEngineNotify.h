#pragma once

#include "Ipu_Event.h"
#include "Port_StringBase.h"

namespace Ipu {

// A receiver of the engine's reports. Register it with EngineNotifyMgr::AddEngineNotify;
// the engine then calls it on the engine's own threads, so an override must be safe there.
// Each operation does nothing by default, so a receiver overrides only what it wants.
//
// A receiver is removed from the manager when it is destroyed, but only after its derived
// part is gone; one that may receive on another thread must call RemoveEngineNotify in its
// own destructor, which also waits for a delivery in progress to end.
class DefaultEngineNotify {
public:
    DefaultEngineNotify() = default;
    // A copy is a new receiver: it is not registered, whatever the original was.
    DefaultEngineNotify(const DefaultEngineNotify&) = default;
    DefaultEngineNotify& operator=(const DefaultEngineNotify&) = default;

    // A run's step or end; the answer tells the engine whether the receiver took it.
    virtual bool EventNotify(Event& event);
    // The engine added (or updated) a source file of a design; other is a second name the
    // engine may give, such as the design's file.
    virtual void AddSourceNotify(const Port::String& file, const Port::String& other);
    virtual void UpdateSourceNotify(const Port::String& file, const Port::String& other);
    virtual ~DefaultEngineNotify();
};

}  // namespace Ipu
