#include "Ipu_DebugMessengerFactory.h"
#include "StderrCapture.h"

#include <QtTest>

using Ipu::DebugMessengerFactory;

class TestDebugMessenger : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { qunsetenv("GANTREL_DEBUG"); }
    void enabledByVariable_data();
    void enabledByVariable();
    void variableIsReadAgainOnEachGet();
    void timerMeasuresUntilStopped();
};

void TestDebugMessenger::enabledByVariable_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("logger");
    QTest::addColumn<bool>("normal");
    QTest::addColumn<bool>("detailed");
    QTest::newRow("unset") << QByteArray() << "polling" << false << false;
    QTest::newRow("list with blanks")
        << QByteArray(" cmdexec , polling ") << "polling" << true << false;
    QTest::newRow("name is exact") << QByteArray("vipc") << "VipcClient" << false << false;
    QTest::newRow("letter case counts") << QByteArray("Polling") << "polling" << false << false;
    QTest::newRow("detailed") << QByteArray("projmgr:detailed") << "projmgr" << true << true;
    QTest::newRow("detailed for another")
        << QByteArray("vipc:detailed,projmgr") << "projmgr" << true << false;
    QTest::newRow("all") << QByteArray("all") << "api" << true << false;
    QTest::newRow("all detailed") << QByteArray("all:detailed") << "syvinfo" << true << true;
}

void TestDebugMessenger::enabledByVariable()
{
    QFETCH(QByteArray, variable);
    QFETCH(QString, logger);
    QFETCH(bool, normal);
    QFETCH(bool, detailed);
    qputenv("GANTREL_DEBUG", variable);
    const QStringList lines = StderrCapture::lines([&] {
        Ipu::DebugMessenger& messenger = DebugMessengerFactory::GetLogger(logger.toStdString());
        messenger.Normal("Set Project: %s\n", "/tmp/a.gtp");
        messenger.Detailed("Running sylv as: %d", 7);  // no line feed: one is added
    });
    QStringList expected;
    if (normal)
        expected << "DEBUG:" + logger + " - Set Project: /tmp/a.gtp";
    if (detailed)
        expected << "DEBUG:" + logger + " - Running sylv as: 7";
    QCOMPARE(lines, expected);
}

void TestDebugMessenger::variableIsReadAgainOnEachGet()
{
    qputenv("GANTREL_DEBUG", "cmdexec");
    Ipu::DebugMessenger& first = DebugMessengerFactory::GetLogger("cmdexec");
    QVERIFY(first.IsEnabled());
    qputenv("GANTREL_DEBUG", "polling");
    Ipu::DebugMessenger& again = DebugMessengerFactory::GetLogger("cmdexec");
    QCOMPARE(&again, &first);
    QVERIFY(!again.IsEnabled());
}

void TestDebugMessenger::timerMeasuresUntilStopped()
{
    Ipu::DebugMessenger& logger = DebugMessengerFactory::GetLogger("projmgr");
    QCOMPARE(logger.GetTimerText("setup"), Port::String("0.000 s"));
    logger.StartTimer("setup");
    QThread::msleep(30);
    const QString running = QString::fromStdString(logger.GetTimerText("setup").str());
    QVERIFY2(QRegularExpression("^\\d+\\.\\d{3} s$").match(running).hasMatch(),
             qPrintable(running));
    QVERIFY2(running.section(' ', 0, 0).toDouble() >= 0.030, qPrintable(running));
    logger.StopTimer("setup");
    const Port::String stopped = logger.GetTimerText("setup");
    QThread::msleep(20);
    QCOMPARE(logger.GetTimerText("setup"), stopped);
}

QTEST_GUILESS_MAIN(TestDebugMessenger)
#include "tst_debugmessenger.moc"
