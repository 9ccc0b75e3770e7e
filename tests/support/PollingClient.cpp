#include "PollingClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include "TestFiles.h"

namespace PollingClient {

namespace {

QString commandFile(const QString& directory)
{
    return QDir(directory).filePath("gantrel.cmd");
}

QString finishFile(const QString& directory)
{
    return QDir(directory).filePath("gantrel.fin");
}

}  // namespace

bool drop(const QString& directory, const QByteArray& commands)
{
    return TestFiles::write(commandFile(directory), commands);
}

bool complete(const QString& directory)
{
    QFile file(commandFile(directory));
    return file.open(QIODevice::Append) && file.write("COMPLETE\n") == 9;
}

bool answered(const QString& directory)
{
    // The finish file exists, empty, between its opening and its closing.
    const QByteArray text = TestFiles::read(finishFile(directory));
    return text.endsWith("SUCCESS\n") || text.endsWith("ERROR\n") ||
           text.endsWith("APPLICATION CANCELLED\n");
}

QByteArray waitForAnswer(const QString& directory, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!(answered(directory) && !QFile::exists(commandFile(directory)))) {
        if (deadline.hasExpired())
            return {};
        // Answers given on this thread (by an in-process action manager) need its events.
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        QThread::msleep(2);
    }
    return TestFiles::read(finishFile(directory));
}

QByteArray takeAnswer(const QString& directory, int timeoutMs)
{
    const QByteArray answer = waitForAnswer(directory, timeoutMs);
    if (!answer.isEmpty())
        QFile::remove(finishFile(directory));
    return answer;
}

}  // namespace PollingClient
