#include "PollingCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <atomic>

#include "En_ActionManager.h"
#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_PollingMode.h"
#include "En_ProjectManager.h"
#include "Port_MsgManData.h"
#include "Sim_Utility.h"

namespace {

void error(const QString& text)
{
    Port_MsgManData::createObject("gantrel", "gantrel", __LINE__)
        .issueError("%s\n", qPrintable(text));
}

// An existing directory as an absolute path, or empty after saying why not.
QString existingDirectory(const QString& path, const char* what)
{
    const QFileInfo directory(QDir::current(), path);
    if (directory.isDir())
        return directory.absoluteFilePath();
    error(QStringLiteral("The %1 %2 is not a directory").arg(QLatin1String(what), path));
    return {};
}

void setRuntimeOptions(const QString& pollingDirectory, const QString& batchCommandPath)
{
    Ipu::RuntimeOptions& options = En::Global::_batchCommandRuntimeOptions;
    options.EnablePollingMode(true);
    options.EnableBatchMode(true);
    QString directory = pollingDirectory;
    if (!directory.endsWith('/'))
        directory += '/';
    options.SetPollingModeDir(Sim::Utility::QStringToPortString(directory));
    options.SetBatchCommandPath(Sim::Utility::QStringToPortString(batchCommandPath));
    options.SetStartupPath(Sim::Utility::QStringToPortString(QDir::currentPath()));
}

// Polling whose stale finish file cannot be deleted never begins; PollingMode tells it by
// this one error, which the host turns into its exit status. Set from the polling thread.
std::atomic<bool> startRefused{false};

void watchForRefusedStart()
{
    static Port_MsgManData::Sink previous;
    previous = Port_MsgManData::setSink([](const Port_MsgManData::Message& message) {
        if (message.kind == Port_MsgManData::Error && message.source == "En_PollingMode" &&
            message.text.rfind("Error deleting pre-existing polling mode finish file", 0) == 0)
            startRefused = true;
        if (previous)
            previous(message);
        else
            Port_MsgManData::printToStderr(message);
    });
}

}  // namespace

int PollingCommand::Run(const QString& directory, const QString& batchCommandPath)
{
    const QString pollingDirectory = existingDirectory(directory, "polling directory");
    const QString commandPath = batchCommandPath.isEmpty()
                                    ? QDir::currentPath()
                                    : existingDirectory(batchCommandPath, "-p directory");
    if (pollingDirectory.isEmpty() || commandPath.isEmpty())
        return 1;
    setRuntimeOptions(pollingDirectory, commandPath);
    watchForRefusedStart();
    // The project manager queues the catalogue's loading; it runs now, on this thread, so
    // that it never overlaps a command file selecting from the catalogue.
    En::ProjectManager::GetInstance();
    QCoreApplication::sendPostedEvents();
    // Made on this thread, so that the engine's events and the polling thread's lock
    // changes reach it here.
    En::ActionManager::GetInstance();
    En::EndWatchThread::Start();
    En::PollingMode polling;
    QObject::connect(&polling, &En::PollingMode::CloseMainWindow, QCoreApplication::instance(),
                     &QCoreApplication::quit);
    polling.start();
    QCoreApplication::exec();
    En::EndWatchThread::SetFinished();
    polling.wait();
    return startRefused ? 1 : 0;
}
