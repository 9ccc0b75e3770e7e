#pragma once

#include "En_Project.h"
#include "Ipu_Task.h"
#include "Ipu_TaskList.h"

namespace En {

// The seam through which tests reach what the project keeps for itself and the action
// manager: choosing the default part and the project's own task list.
struct ProjectSeam {
    static unsigned SetDefaultPart(Project& project) { return project.SetDefaultPart(); }
    static Ipu::TaskList GetTaskList(const Project& project) { return project.GetTaskList(); }
    static Ipu::Task GetDefaultTask(const Project& project) { return project.GetDefaultTask(); }
};

}  // namespace En
