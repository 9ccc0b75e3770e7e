#include "PollingServer.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QThread>

#include "TestFiles.h"

PollingServer::PollingServer(const QString& executable, const QString& directory)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"GANTREL_CATALOG_PATH", "GANTREL_DEVICE_DB"})
        environment.remove(name);
    environment.insert("GANTREL_DEBUG", "polling");
    environment.insert("HOME", home.filePath("home"));
    environment.insert("XDG_CONFIG_HOME", home.filePath("home/.config"));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(home.filePath("messages.txt"));
    process.setProgram(executable);
    process.setArguments({"-poll", directory});
}

PollingServer::~PollingServer()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool PollingServer::start()
{
    process.start();
    if (!process.waitForStarted(10000))
        return false;
    const QDeadlineTimer deadline(30000);
    // A server that stops at once (an undeletable stale finish file) may be gone before its
    // first line is read: look at what it printed once more.
    while (!messages().contains("Entering polling mode")) {
        if (deadline.hasExpired())
            return false;
        if (process.waitForFinished(10))
            return messages().contains("Entering polling mode");
    }
    return true;
}

bool PollingServer::waitForExit(int timeoutMs)
{
    // waitForFinished answers false for a process that has already ended, as start() may
    // have seen it do.
    return process.state() == QProcess::NotRunning || process.waitForFinished(timeoutMs);
}

QByteArray PollingServer::messages() const
{
    return TestFiles::read(home.filePath("messages.txt"));
}
