#include "Ipu_EventData.h"

namespace Ipu {

EventData::EventData(const Task& task, const CustomizedIP& ip)
    : task(task), component(ip.GetIPComponent())
{
}

}  // namespace Ipu
