#pragma once

#include "Ipu_EventData.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Status.h"
#include "Ipu_Task.h"

#include <boost/shared_ptr.hpp>

namespace Ipu {

// One report of the engine about a run: what happened (type), its outcome so far (status
// code and message) and, when the engine knows it, the run's event data. A copyable value,
// so it can be queued from the engine's thread to another.
class Event {
public:
    enum Type {
        TYPE_NONE = 0,
        TYPE_END_OF_RUN = 1,  // the run is over; the status is its result
        TYPE_STEP = 4,        // a step of the run, named by the status message
        TYPE_MEMBER_END = 5,  // one IP of a project's run is done; the status is its result
    };

    // TYPE_NONE, a success status and no event data.
    Event() = default;
    Event(Type type, const Status& status);
    Event(Type type, const Status& status, const EventData& data);

    Type GetType() const { return type; }
    const Status& GetStatus() const { return status; }

    bool IsEventDataSet() const { return dataSet; }
    // An empty EventData while none is set.
    const EventData& GetEventData() const { return data; }
    void SetEventData(const EventData& value);

    // The event data's task and component; an empty task and a null component without it.
    const Task& GetTask() const { return data.GetTask(); }
    boost::shared_ptr<IPComponent> GetComponent() const { return data.GetIPComponent(); }

private:
    Type type = TYPE_NONE;
    Status status;
    EventData data;
    bool dataSet = false;
};

}  // namespace Ipu
