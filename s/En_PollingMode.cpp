#include "En_PollingMode.h"

#include <mutex>

#include "En_ActionManager.h"
#include "En_ActionMutexSingleton.h"
#include "En_CommandExecutor.h"
#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_Message.h"
#include "En_ProjectManager.h"
#include "Ipu_DebugMessengerFactory.h"
#include "Ipu_SetWorkingDirectory.h"
#include "Ipu_TaskMutexSingleton.h"
#include "Port_File.h"
#include "Port_FileName.h"
#include "Sim_CommandBuilder.h"
#include "UT_DELAY.h"

namespace En {

const Port::StringBase<char> PollingMode::COMMAND_FILE_NAME = "gantrel.cmd";
const Port::StringBase<char> PollingMode::FINISH_FILE_NAME = "gantrel.fin";
unsigned PollingMode::_finishResult = 0;
std::vector<Port::StringBase<char>> PollingMode::_finishMessage;

namespace {

const char* const kHolder = "Processing command file";

// The finish state is set by the polling thread when a file has run and by the GUI thread
// when a generation moves its products out; the two may meet when a file fails after its
// generation, so the state and the finish file itself are written under this guard.
std::mutex& FinishGuard()
{
    static std::mutex guard;
    return guard;
}

Ipu::DebugMessenger& Logger()
{
    return Ipu::DebugMessengerFactory::GetLogger("polling");
}

const Ipu::RuntimeOptions& Options()
{
    return Global::_batchCommandRuntimeOptions;
}

// A marker counts only at the very start of a line, in any letter case.
bool HasMarkerLine(const Port::String& path, const Port::String& marker)
{
    Port::Stream* stream = Port::File::open(path, Port::Stream::Read);
    if (stream == nullptr) {
        EN_MESSAGE("En_PollingMode").issueWarning("Couldn't open %s for reading.\n", path.c_str());
        return false;
    }
    bool found = false;
    Port::String line;
    while (!found && stream->readline(line))
        found = line.Extract(0, marker.GetLength()).Compare(marker, Port::CompareIgnoreCase) == 0;
    Port::File::close(stream);
    return found;
}

// The core task lock is held only while the action mutex is taken under it, so a command
// file never starts while an interactive action or an engine task is under way.
bool TakeLocks(const Port::String& commandFile)
{
    if (!Port::File::exist(commandFile) || Ipu::TaskMutexSingleton::IsLocked())
        return false;
    if (!Ipu::TaskMutexSingleton::TryLock(kHolder))
        return false;
    const bool taken = ActionMutexSingleton::TryLock(kHolder);
    if (Ipu::TaskMutexSingleton::Unlock())
        return taken;
    if (taken)
        ActionMutexSingleton::Unlock();
    return false;
}

bool RemoveStaleFinishFile(const Port::String& finishFile)
{
    if (!Port::File::isfile(finishFile) || Port::File::remove_f(finishFile))
        return true;
    EN_MESSAGE("En_PollingMode")
        .issueError("Error deleting pre-existing polling mode finish file %s\n",
                    finishFile.c_str());
    return false;
}

struct Execution {
    unsigned status = 0;
    bool generates = false;
};

// A file that cannot be read as commands fails like a failing command: the client is told.
Execution ExecuteCommandFile(const Port::String& path)
{
    Sim::CommandBuilder builder(Options());
    CommandExecutor executor(Options());
    ProjectManager* manager = ProjectManager::GetInstance();
    const Ipu::ProjectOptions projectOptions = *manager->GetProjectOptions();
    if (manager->ProjectOpen())
        executor.SetExternalProjectOptions(projectOptions);
    Execution run;
    run.status = builder.AddCommandFile(path);
    if (run.status != 0)
        return run;
    const std::vector<Sim::Command>& commands = builder.GetCommands();
    for (const Sim::Command& command : commands)
        run.generates |= command.GetType() == Sim::Command::GENERATE;
    run.status = executor.Execute(commands, false, true);
    return run;
}

// A generation is answered by the action manager when it moves its products out; any other
// file would leave the client waiting, so the polling thread answers it here.
void AnswerWithoutGeneration(const Execution& run)
{
    if (run.status == 0 && run.generates)
        return;
    const unsigned result = run.status == 0 ? 0 : 1;
    PollingMode::WriteCommandFinishFile(result, Port::String(), Port::String(), Port::String());
}

const char* StatusLine(unsigned result)
{
    if (result == 0)
        return "SUCCESS";
    return result == 2 ? "APPLICATION CANCELLED" : "ERROR";
}

Port::String ResultLine(const Port::String& component, const Port::String& ipName,
                        const Port::String& version)
{
    Port::String name = ipName;
    name.Replace(" ", "_");
    Port::String line;
    line.Format("%s %s %s", component.c_str(), name.c_str(), version.c_str());
    return line;
}

}  // namespace

PollingMode::PollingMode() : QThread(nullptr)
{
    std::lock_guard<std::mutex> lock(FinishGuard());
    _finishResult = 0;
    _finishMessage.clear();
}

// Destroying a running thread would abort the program; the loop ends within half a second
// once the end-watch thread has stopped.
PollingMode::~PollingMode()
{
    if (isRunning())
        wait();
}

void PollingMode::run()
{
    EN_MESSAGE("En_PollingMode").issueInfo("Entering polling mode\n");
    FileMonitor();
    EN_MESSAGE("En_PollingMode").issueInfo("Leaving polling mode\n");
    if (EndWatchThread::IsRunning()) {
        EndWatchThread::SetFinished();
        emit CloseMainWindow();
    }
}

bool PollingMode::IsCompleteCommandFile(const Port::StringBase<char>& path)
{
    return HasMarkerLine(path, "COMPLETE");
}

bool PollingMode::IsEndCommandFile(const Port::StringBase<char>& path)
{
    return HasMarkerLine(path, "END");
}

void PollingMode::FileMonitor()
{
    Ipu::DebugMessenger& logger = Logger();
    const Ipu::SetWorkingDirectory inBatchPath(Options().GetBatchCommandPath());
    const Port::String commandFile = Options().GetPollingModeDir() + COMMAND_FILE_NAME;
    const Port::String finishFile = Options().GetPollingModeDir() + FINISH_FILE_NAME;
    connect(this, &PollingMode::MutexChanged, ActionManager::GetInstance(),
            &ActionManager::MutexChanged,
            Qt::ConnectionType(Qt::AutoConnection | Qt::UniqueConnection));
    if (!RemoveStaleFinishFile(finishFile))
        return;
    logger.Normal("Looking for polling mode command file %s\n", commandFile.c_str());
    bool stop = false;
    while (EndWatchThread::IsRunning() && !stop) {
        UT_DELAY::Millidelay(500);
        if (!TakeLocks(commandFile))
            continue;
        try {
            ProcessCommandFile(commandFile, stop);
        } catch (...) {
            EN_MESSAGE("En_PollingMode")
                .issueError("Exception while processing command file %s\n", commandFile.c_str());
        }
        ActionMutexSingleton::Unlock();
        emit MutexChanged();
    }
}

void PollingMode::ProcessCommandFile(const Port::StringBase<char>& path, bool& stop)
{
    Ipu::DebugMessenger& logger = Logger();
    emit MutexChanged();
    logger.Normal("Found polling mode command file %s\n", path.c_str());
    if (!Port::File::canread(path))
        return;
    if (!IsCompleteCommandFile(path)) {
        logger.Normal("Waiting for polling mode command file to be complete.\n");
        return;
    }
    logger.Normal("Executing polling mode command file.\n");
    const Execution run = ExecuteCommandFile(path);
    {
        std::lock_guard<std::mutex> lock(FinishGuard());
        _finishResult = run.status;
    }
    if (run.status != 0)
        EN_MESSAGE("En_PollingMode")
            .issueError("Polling mode command file not executed successfully %s\n", path.c_str());
    if (IsEndCommandFile(path)) {
        logger.Normal("Command file contains an END statement.\nPolling Mode will now exit.\n");
        stop = true;
    }
    if (!Port::File::isfile(path) || !Port::File::remove_f(path)) {
        EN_MESSAGE("En_PollingMode")
            .issueError("Error deleting polling mode command file %s\n", path.c_str());
        std::lock_guard<std::mutex> lock(FinishGuard());
        _finishResult = 1;
        stop = true;
        return;
    }
    // Answered once the file is gone, so that a client may drop the next one at once.
    AnswerWithoutGeneration(run);
}

unsigned PollingMode::WriteCommandFinishFile(unsigned result,
                                             const Port::StringBase<char>& componentName,
                                             const Port::StringBase<char>& ipName,
                                             const Port::StringBase<char>& version)
{
    std::lock_guard<std::mutex> lock(FinishGuard());
    _finishResult = result;
    _finishMessage.clear();
    if (!componentName.IsEmpty() && !ipName.IsEmpty() && !version.IsEmpty())
        _finishMessage.push_back(ResultLine(componentName, ipName, version));
    return WriteCommandFinishFile() ? 0 : 1;
}

// Called under the finish guard.
bool PollingMode::WriteCommandFinishFile()
{
    Port::FileName name;
    name.SetHead(Options().GetPollingModeDir());
    name.SetTail(FINISH_FILE_NAME);
    const Port::String path = name.GetFullName();
    const Port::String shown = name.GetAbsolutePath(true);
    const auto refuse = [&shown](const char* format, unsigned result) {
        EN_MESSAGE("En_PollingMode").issueError(format, shown.c_str());
        _finishMessage.clear();
        _finishResult = result;
        return false;
    };
    if (Port::File::isdir(path))
        return refuse("Finish file clashes with existing directory %s\n", 0);
    if (Port::File::exist(path) && !Port::File::remove(path))
        return refuse("Couldn't remove existing file %s\n", 1);
    Port::Stream* stream =
        Port::File::canwrite(path) ? Port::File::open(path, Port::Stream::Write) : nullptr;
    if (stream == nullptr)
        return refuse("Couldn't open %s for writing.\n", 1);
    // A failed write shows when the buffered stream is closed.
    for (const Port::String& line : _finishMessage)
        stream->writeline(line);
    stream->writeline(StatusLine(_finishResult));
    const bool closed = Port::File::close(stream);
    if (!closed)
        EN_MESSAGE("En_PollingMode").issueError("Couldn't close %s\n", shown.c_str());
    _finishResult = closed ? 0 : 1;
    _finishMessage.clear();
    return closed;
}

// Result lines derived from the commands themselves, for a client that wants one line per
// selected core whatever the engine reports.
Port::StringBase<char> PollingMode::ExtractCommandFinishFile(
    const std::vector<Sim::Command>& commands)
{
    Port::String component, ipName, version;
    int selections = 0;
    for (const Sim::Command& command : commands) {
        const std::vector<Port::String>& arguments = command.GetArguments();
        if (command.GetType() == Sim::Command::SELECT && arguments.size() == 4) {
            component = Port::String();
            ipName = arguments[0];
            ipName.Replace(" ", "_");
            version = arguments[3];
        } else if (command.GetType() == Sim::Command::CSET && arguments.size() == 2 &&
                   arguments[0].Compare("component_name", Port::CompareIgnoreCase) == 0) {
            component = arguments[1];
            if (ipName.IsEmpty() || version.IsEmpty())
                continue;
            std::lock_guard<std::mutex> lock(FinishGuard());
            _finishMessage.push_back(ResultLine(component, ipName, version));
            component = ipName = version = Port::String();
            ++selections;
        }
    }
    if (selections == 0)
        EN_MESSAGE("En_PollingMode")
            .issueWarning(
                "Polling Mode command file has not selected a core. The gantrel.fin file will "
                "not conform to the standard pattern.\n");
    if (selections > 1)
        EN_MESSAGE("En_PollingMode")
            .issueWarning(
                "Polling Mode command file has selected multiple cores. The gantrel.fin file "
                "will not conform to the standard pattern.\n");
    return component;
}

}  // namespace En
