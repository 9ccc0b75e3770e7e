#pragma once

#include "Ipu_Task.h"
#include "Port_StringBase.h"

#include <cstddef>
#include <vector>

namespace Ipu {

// Tasks in the order they were added; internal names are unique ignoring letter case.
class TaskList {
public:
    using const_iterator = std::vector<Task>::const_iterator;

    // 1 (nothing added) when a task of the same internal name (ignoring case) is present.
    unsigned AddTask(const Task& task);
    bool HasTask(const Port::String& internalName) const;
    // 1 (out untouched) when absent; names compare ignoring case.
    unsigned GetTask(const Port::String& internalName, Task& out) const;
    // The first task marked default (Task::IsDefault); 1 (out untouched) when none is.
    unsigned GetDefaultTask(Task& out) const;
    // The first task marked default that is meant for an IP of this type
    // (Task::IsForIPType); 1 (out untouched) when none is.
    unsigned GetDefaultTask(Task& out, Task::IPType type) const;

    void Clear() { tasks.clear(); }
    std::size_t Size() const { return tasks.size(); }
    bool IsEmpty() const { return tasks.empty(); }
    const std::vector<Task>& GetTasks() const { return tasks; }
    const_iterator begin() const { return tasks.begin(); }
    const_iterator end() const { return tasks.end(); }

private:
    std::vector<Task> tasks;
};

}  // namespace Ipu
