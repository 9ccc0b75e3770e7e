#pragma once

#include "Ipu_CustomizedIP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Task.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

namespace Ipu {

// What an engine event is about: the task of the run (with its action and generation ids)
// and the IP component it works on. A project-level run carries no component. Copies share
// the component.
class EventData {
public:
    EventData() = default;
    EventData(const Task& task, const CustomizedIP& ip);

    const Task& GetTask() const { return task; }
    Port::String GetTaskInternalName() const { return task.GetInternalName(); }
    // Empty for a project-level run.
    boost::shared_ptr<IPComponent> GetIPComponent() const { return component; }

private:
    Task task;
    boost::shared_ptr<IPComponent> component;
};

}  // namespace Ipu
