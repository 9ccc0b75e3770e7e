#include "TestTools.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace TestTools {

QString find(const char* name, const char* package)
{
    const QString path = QStandardPaths::findExecutable(QLatin1String(name));
    if (path.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("'%1' is not on PATH: install the Debian package %2")
                                    .arg(QLatin1String(name), QLatin1String(package))),
                     __FILE__, __LINE__);
    }
    return path;
}

Run execute(const QString& program, const QStringList& arguments, const QString& dir)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        run.output = QStringLiteral("%1 did not finish: %2").arg(program, process.errorString());
        return run;
    }
    run.output = QString::fromLocal8Bit(process.readAll());
    run.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!run.ok) {
        run.output = QStringLiteral("%1 %2\n%3").arg(program, arguments.join(u' '), run.output);
    }
    return run;
}

}  // namespace TestTools
