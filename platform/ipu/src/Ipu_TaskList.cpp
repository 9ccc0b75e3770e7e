#include "Ipu_TaskList.h"

namespace Ipu {

namespace {

bool SameName(const Task& task, const Port::String& internalName)
{
    return task.GetInternalName().Compare(internalName, Port::CompareIgnoreCase) == 0;
}

}  // namespace

unsigned TaskList::AddTask(const Task& task)
{
    if (HasTask(task.GetInternalName())) {
        return 1;
    }
    tasks.push_back(task);
    return 0;
}

bool TaskList::HasTask(const Port::String& internalName) const
{
    for (const Task& task : tasks) {
        if (SameName(task, internalName)) {
            return true;
        }
    }
    return false;
}

unsigned TaskList::GetTask(const Port::String& internalName, Task& out) const
{
    for (const Task& task : tasks) {
        if (SameName(task, internalName)) {
            out = task;
            return 0;
        }
    }
    return 1;
}

unsigned TaskList::GetDefaultTask(Task& out) const
{
    for (const Task& task : tasks) {
        if (task.IsDefault()) {
            out = task;
            return 0;
        }
    }
    return 1;
}

unsigned TaskList::GetDefaultTask(Task& out, Task::IPType type) const
{
    for (const Task& task : tasks) {
        if (task.IsDefault() && task.IsForIPType(type)) {
            out = task;
            return 0;
        }
    }
    return 1;
}

}  // namespace Ipu
