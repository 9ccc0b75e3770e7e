#pragma once

#include "Ipu_RuntimeOptions.h"
#include "Port_StringBase.h"
#include "Sim_Command.h"
#include "Sim_CommandExecutor.h"

namespace En {

// The engine's executor with the commands that concern the whole project taken over: new
// and set project go to the project manager, the same object that serves the interactive
// side, and END never reaches the engine; everything else is the engine's.
//
// One executor serves one command file, on the thread that calls Execute (the polling
// thread or a batch driver), which holds the action mutex for the whole file.
class CommandExecutor : public Sim::CommandExecutor {
public:
    explicit CommandExecutor(const Ipu::RuntimeOptions& options);
    CommandExecutor(const CommandExecutor& other);
    CommandExecutor& operator=(const CommandExecutor& other);
    ~CommandExecutor() override;

    unsigned ExecuteCmd(const Sim::Command& command, bool first, bool second) override;

private:
    unsigned NewProject(const Sim::Command& command);
    unsigned SetProject(const Sim::Command& command);
    unsigned SetProjectUnattended(const Port::String& path);
    unsigned End() const;
    unsigned Generate(const Sim::Command& command, bool first, bool second);
    bool IsUnattended() const;
    // -p moves the batch commands away from where the tool was started: a project command
    // then may not land where the user expects, so say so.
    void WarnWhenPathMoved(const Sim::Command& command) const;
    // After a project was created or opened the commands work on its options.
    void RefreshOptions();
};

}  // namespace En
