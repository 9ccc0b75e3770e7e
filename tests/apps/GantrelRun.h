#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QtGlobal>

// The host program run as a user or a script runs it; GANTREL_EXECUTABLE is set by CMake.
struct GantrelRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// An empty environment means the test process's own.
inline GantrelRun runGantrel(const QStringList& arguments,
                             const QProcessEnvironment& environment = {})
{
    QProcess process;
    process.setProcessEnvironment(environment.isEmpty() ? QProcessEnvironment::systemEnvironment()
                                                        : environment);
    process.start(QStringLiteral(GANTREL_EXECUTABLE), arguments);
    if (!process.waitForFinished(60000))
        qWarning("gantrel did not finish");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
