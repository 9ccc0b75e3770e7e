#pragma once

#include <QMetaType>

#include "Ipu_Event.h"

namespace En {

// A copy of one engine event, carried from the engine's thread to the GUI thread by a
// queued signal; registered with Qt under the name "EngineEventDetails".
class EngineEventDetails {
public:
    EngineEventDetails() = default;
    explicit EngineEventDetails(const Ipu::Event& event);

    Ipu::Event event() const { return eventCopy; }
    bool hasEvent() const { return present; }

private:
    bool present = false;
    Ipu::Event eventCopy;
};

}  // namespace En

Q_DECLARE_METATYPE(En::EngineEventDetails)
