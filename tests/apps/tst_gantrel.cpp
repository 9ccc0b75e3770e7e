#include <QProcess>
#include <QtTest>

// The host program as a user or a script runs it.
class tst_Gantrel : public QObject {
    Q_OBJECT

private:
    static QProcess* run(const QStringList& arguments)
    {
        auto* process = new QProcess;
        process->start(QStringLiteral(GANTREL_EXECUTABLE), arguments);
        if (!process->waitForFinished(30000))
            qWarning("gantrel did not finish");
        return process;
    }

private slots:
    void version()
    {
        QScopedPointer<QProcess> process(run({QStringLiteral("--version")}));
        QCOMPARE(process->exitCode(), 0);
        QCOMPARE(process->readAllStandardOutput(),
                 QByteArray("Pellor Gantrel " GANTREL_VERSION "\n"));
    }

    void unknownOptionFails()
    {
        QScopedPointer<QProcess> process(run({QStringLiteral("--no-such-option")}));
        QVERIFY(process->exitCode() != 0);
        QVERIFY2(process->readAllStandardError().contains("no-such-option"), "names the option");
    }
};

QTEST_GUILESS_MAIN(tst_Gantrel)
#include "tst_gantrel.moc"
