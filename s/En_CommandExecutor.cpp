#include "En_CommandExecutor.h"

#include "En_Global.h"
#include "En_Message.h"
#include "En_ProjectManager.h"
#include "Ipu_SetWorkingDirectory.h"
#include "Ipu_Utilities.h"
#include "Port_File.h"

namespace En {

CommandExecutor::CommandExecutor(const Ipu::RuntimeOptions& options) : Sim::CommandExecutor(options)
{
}

CommandExecutor::CommandExecutor(const CommandExecutor& other) = default;

CommandExecutor& CommandExecutor::operator=(const CommandExecutor& other) = default;

CommandExecutor::~CommandExecutor() = default;

unsigned CommandExecutor::ExecuteCmd(const Sim::Command& command, bool first, bool second)
{
    switch (command.GetType()) {
        case Sim::Command::NEWPROJECT:
            return NewProject(command);
        case Sim::Command::SETPROJECT:
            return SetProject(command);
        case Sim::Command::END:
            return End();
        case Sim::Command::GENERATE:
            return Generate(command, first, second);
        default:
            return Sim::CommandExecutor::ExecuteCmd(command, first, second);
    }
}

unsigned CommandExecutor::NewProject(const Sim::Command& command)
{
    if (command.GetArguments().size() != 1)
        return 0;
    if (IsUnattended())
        WarnWhenPathMoved(command);
    const unsigned status = ProjectManager::GetInstance()->NewProject(command.GetArguments()[0]);
    if (status != 0)
        return status;
    RefreshOptions();
    return 0;
}

unsigned CommandExecutor::SetProject(const Sim::Command& command)
{
    if (command.GetArguments().size() != 1)
        return 0;
    const Port::String& path = command.GetArguments()[0];
    // A missing project is not the command's failure: the commands go on with the options
    // of whatever project is open.
    if (!Port::File::exist(path)) {
        EN_MESSAGE("En_CommandExecutor")
            .issueWarning("Cannot set project to %s - it does not exist\n", path.c_str());
        RefreshOptions();
        return 0;
    }
    if (IsUnattended())
        WarnWhenPathMoved(command);
    const unsigned status = IsUnattended() ? SetProjectUnattended(path)
                                           : ProjectManager::GetInstance()->SetProject(path);
    if (status != 0)
        return status;
    RefreshOptions();
    return 0;
}

// Relative names inside the project resolve against its own directory while it opens.
unsigned CommandExecutor::SetProjectUnattended(const Port::String& path)
{
    Ipu::RuntimeOptions options = RuntimeOptions();
    options.SetProjectPath(path);
    ReplaceRuntimeOptions(options);
    const Port::String absolute = Ipu::Utilities::GetAbsolutePath(path);
    const Ipu::SetWorkingDirectory inProject(
        Ipu::Utilities::GetAbsolutePath(options.GetProjectPath()));
    return ProjectManager::GetInstance()->SetProject(absolute);
}

unsigned CommandExecutor::End() const
{
    if (IsUnattended())
        EN_MESSAGE("En_CommandExecutor")
            .issueStatus("The END command has been encountered, stopping batch file execution.\n");
    return 0;
}

// Only a generation uses the project's options: they are checked first, and in an
// unattended run handed to the open project so that the products follow them.
unsigned CommandExecutor::Generate(const Sim::Command& command, bool first, bool second)
{
    unsigned status = ProjectManager::VerifyProjectOptions(ProjectOptions());
    if (second && !first) {
        if (status != 0)
            return status;
        status = ProjectManager::GetInstance()->SetProjectOptions(ProjectOptions());
    }
    if (status != 0)
        return status;
    return Sim::CommandExecutor::ExecuteCmd(command, first, second);
}

bool CommandExecutor::IsUnattended() const
{
    return RuntimeOptions().IsEnabledBatchMode() || RuntimeOptions().IsEnabledPollingMode();
}

void CommandExecutor::WarnWhenPathMoved(const Sim::Command& command) const
{
    if (Ipu::Utilities::GetAbsolutePath(RuntimeOptions().GetBatchCommandPath()) !=
        Ipu::Utilities::GetAbsolutePath(RuntimeOptions().GetStartupPath()))
        EN_MESSAGE("En_CommandExecutor")
            .issueWarning("Command \"%s\" has been encountered while the -p flag is set\n",
                          command.ToString().c_str());
}

void CommandExecutor::RefreshOptions()
{
    ReplaceProjectOptions(*ProjectManager::GetInstance()->GetProjectOptions());
    ReplaceRuntimeOptions(Global::_batchCommandRuntimeOptions);
}

}  // namespace En
