#include "BatchCommand.h"

#include <QDir>
#include <QFileInfo>

#include "En_CommandExecutor.h"
#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_ProjectManager.h"
#include "Sim_Command.h"
#include "Sim_CommandBuilder.h"
#include "Sim_Utility.h"

namespace {

Port::String ToPort(const QString& text)
{
    return Sim::Utility::QStringToPortString(text);
}

// The commands up to the first END, which ends the run, with the projects they name made
// absolute against the command path: the working directory is never changed, since the
// engine's workers share it.
std::vector<Sim::Command> Prepared(const std::vector<Sim::Command>& commands,
                                   const QString& commandPath)
{
    std::vector<Sim::Command> run;
    for (const Sim::Command& command : commands) {
        std::vector<Port::String> arguments = command.GetArguments();
        const bool namesProject = command.GetType() == Sim::Command::NEWPROJECT ||
                                  command.GetType() == Sim::Command::SETPROJECT;
        if (namesProject && arguments.size() == 1)
            arguments[0] =
                ToPort(QDir(commandPath)
                           .absoluteFilePath(Sim::Utility::PortStringToQString(arguments[0])));
        run.emplace_back(command.GetType(), arguments, command.GetFile(), command.GetLine());
        if (command.GetType() == Sim::Command::END)
            break;
    }
    return run;
}

}  // namespace

int BatchCommand::Run(const QString& file, const QString& commandPath)
{
    Ipu::RuntimeOptions& options = En::Global::_batchCommandRuntimeOptions;
    options.EnableBatchMode(true);
    options.SetStartupPath(ToPort(QDir::currentPath()));
    const QString base =
        commandPath.isEmpty() ? QDir::currentPath() : QFileInfo(commandPath).absoluteFilePath();
    options.SetBatchCommandPath(ToPort(base));
    Sim::CommandBuilder builder(options);
    if (builder.AddCommandFile(ToPort(QFileInfo(file).absoluteFilePath())) != 0)
        return 1;

    En::ProjectManager* manager = En::ProjectManager::GetInstance();
    manager->RefreshAllRepositories();
    En::EndWatchThread::Start();
    En::CommandExecutor executor(options);
    if (manager->ProjectOpen())
        executor.SetExternalProjectOptions(*manager->GetProjectOptions());
    const unsigned status = executor.Execute(Prepared(builder.GetCommands(), base), false, true);
    En::EndWatchThread::SetFinished();
    return status == 0 ? 0 : 1;
}
