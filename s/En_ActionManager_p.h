#pragma once

#include "En_ActionManager.h"
#include "Ipu_Status.h"
#include "Ipu_Task.h"

namespace En {

// The seam through which tests set the action manager's flags and id counter, which in
// use follow the locks and the project manager.
struct ActionManagerSeam {
    struct Flags {
        bool taskMutexLocked;
        bool actionMutexLocked;
        bool projectOpen;
        bool projectOptionsValid;
    };

    static void SetFlags(const Flags& flags)
    {
        ActionManager* manager = ActionManager::GetInstance();
        manager->taskMutexLocked = flags.taskMutexLocked;
        manager->actionMutexLocked = flags.actionMutexLocked;
        manager->projectOpen = flags.projectOpen;
        manager->projectOptionsValid = flags.projectOptionsValid;
    }
    static bool IsTaskEnabled(const Ipu::Task& task, bool optionsUsable, bool dataSheetEncrypted)
    {
        return ActionManager::GetInstance()->IsTaskEnabled(task, optionsUsable, dataSheetEncrypted);
    }
    static Port::String NextActionId()
    {
        return ActionManager::GetInstance()->GetNextAvailableActionId();
    }
    static void SetLastActionId(std::uint32_t id)
    {
        ActionManager::GetInstance()->nextActionId = id;
    }
    static bool HasEngine() { return static_cast<bool>(ActionManager::GetInstance()->engine); }
    // As a triggered action reaches the manager: questions, then the task.
    static void Trigger(Ip& ip, Ipu::Task& task)
    {
        Ipu::Status status;
        ActionManager::GetInstance()->ActionTriggered(ip, task, status);
    }
    static unsigned DoTask(Ip& ip, Ipu::Task& task)
    {
        Ipu::Status status;
        return ActionManager::GetInstance()->DoTask(ip, task, status);
    }
    static unsigned DoTask(Project& project, Ipu::Task& task)
    {
        Ipu::Status status;
        return ActionManager::GetInstance()->DoTask(project, task, status);
    }
};

}  // namespace En
