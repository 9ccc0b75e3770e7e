#include "Ipu_Event.h"

namespace Ipu {

Event::Event(Type type, const Status& status) : type(type), status(status) {}

Event::Event(Type type, const Status& status, const EventData& data)
    : type(type), status(status), data(data), dataSet(true)
{
}

void Event::SetEventData(const EventData& value)
{
    data = value;
    dataSet = true;
}

}  // namespace Ipu
