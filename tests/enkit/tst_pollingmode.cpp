#include <QDir>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <boost/pointer_cast.hpp>
#include <memory>

#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_ActionMutexSingleton.h"
#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_PollingMode.h"
#include "En_PollingMode_p.h"
#include "En_ProjectManager.h"
#include "Ipu_DefaultEngineNotify.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_EngineNotifyMgr.h"
#include "Ipu_Event.h"
#include "Ipu_IPComponent.h"
#include "Ipu_TaskMutexSingleton.h"
#include "MessageCapture.h"
#include "PollingClient.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

using En::PollingMode;

namespace {

// Holds the engine at its first step until opened, so that the polling thread stays inside
// its command file for as long as the test needs.
class StepGate : public Ipu::DefaultEngineNotify {
public:
    StepGate() { Ipu::EngineNotifyMgr::AddEngineNotify(this); }
    ~StepGate() override
    {
        gate.release();
        Ipu::EngineNotifyMgr::RemoveEngineNotify(this);
    }
    bool EventNotify(Ipu::Event& event) override
    {
        if (event.GetType() == Ipu::Event::TYPE_STEP && !held.exchange(true)) {
            reached.release();
            gate.tryAcquire(1, 30000);
        }
        return false;
    }
    bool waitForStep() { return reached.tryAcquire(1, 20000); }
    void open() { gate.release(); }

private:
    std::atomic<bool> held{false};
    QSemaphore reached;
    QSemaphore gate;
};

}  // namespace

class tst_PollingMode : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    QTemporaryDir dir;
    std::unique_ptr<PollingMode> polling;

    QString commandPath() const { return dir.filePath("gantrel.cmd"); }
    QString finishPath() const { return dir.filePath("gantrel.fin"); }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        // The shipped catalogue: a command file generates its counter.
        TestEnvironment::useShippedData();
        QVERIFY(TestEnvironment::waitForCatalog());
        En::Global::_batchCommandRuntimeOptions.EnablePollingMode(true);
        En::Global::_batchCommandRuntimeOptions.SetPollingModeDir(dir.path().toStdString());
        // Made on this thread, as the host does: lock changes are queued to it.
        En::ActionManager::GetInstance();
    }

    void init()
    {
        En::EndWatchThread::Start();
        polling = std::make_unique<PollingMode>();
    }

    void cleanup()
    {
        En::EndWatchThread::SetFinished();
        QVERIFY(polling->wait(2000));
        QFile::remove(commandPath());
        QDir(finishPath()).removeRecursively();
        QFile::remove(finishPath());
        QVERIFY(!En::ActionMutexSingleton::IsLocked());
        QVERIFY(!Ipu::TaskMutexSingleton::IsLocked());
    }

    void markers_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<bool>("end");
        QTest::newRow("complete") << QByteArray("SET a = b\ncomplete\n") << true << false;
        QTest::newRow("COMPLETED") << QByteArray("COMPLETED") << true << false;
        QTest::newRow(" COMPLETE") << QByteArray(" COMPLETE\n") << false << false;
        QTest::newRow("end") << QByteArray("end\n") << false << true;
        QTest::newRow("ENDING") << QByteArray("ENDING\r\nCOMPLETE\r\n") << true << true;
        QTest::newRow(" END") << QByteArray(" END\n") << false << false;
        QTest::newRow("inside a line") << QByteArray("SET x = COMPLETE\n") << false << false;
        QTest::newRow("after NUL bytes") << QByteArray("\0\n", 2) + "COMPLETE" << true << false;
    }

    void markers()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, complete);
        QFETCH(bool, end);
        QVERIFY(TestFiles::write(commandPath(), content));
        QCOMPARE(En::PollingModeSeam::IsComplete(commandPath().toStdString()), complete);
        QCOMPARE(En::PollingModeSeam::IsEnd(commandPath().toStdString()), end);
    }

    // Each row replaces the answer before it: no result line outlives its answer.
    void finishFile_data()
    {
        QTest::addColumn<uint>("result");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("0") << 0u << "1.0" << QByteArray("abc two_words 1.0\nSUCCESS\n");
        QTest::newRow("2") << 2u << "1.0"
                           << QByteArray("abc two_words 1.0\nAPPLICATION CANCELLED\n");
        QTest::newRow("5") << 5u << "1.0" << QByteArray("abc two_words 1.0\nERROR\n");
        QTest::newRow("no version") << 0u << "" << QByteArray("SUCCESS\n");
    }

    void finishFile()
    {
        QFETCH(uint, result);
        QFETCH(QString, version);
        QFETCH(QByteArray, expected);
        QCOMPARE(
            PollingMode::WriteCommandFinishFile(result, "abc", "two words", version.toStdString()),
            0u);
        QCOMPARE(TestFiles::read(finishPath()), expected);
    }

    void finishFileClashesWithDirectory()
    {
        QVERIFY(QDir().mkpath(finishPath() + "/inside"));
        MessageCapture capture;
        QCOMPARE(PollingMode::WriteCommandFinishFile(0, "abc", "ip", "1.0"), 1u);
        QCOMPARE(PollingMode::WriteCommandFinishFile(0, "abc", "ip", "1.0"), 1u);
        const QString clash =
            "ERROR:enkit:En_PollingMode - Finish file clashes with existing directory " +
            finishPath() + "\n";
        QCOMPARE(capture.textLines(), QStringList({clash, clash}));
        QVERIFY(QFileInfo(finishPath() + "/inside").isDir());
    }

    // An interactive action holds both locks for its whole run; the file waits for them.
    void fileWaitsForInteractiveLocks()
    {
        QVERIFY(Ipu::TaskMutexSingleton::TryLock("Generating IP"));
        QVERIFY(En::ActionMutexSingleton::TryLock("Generating IP"));
        polling->start();
        QVERIFY(PollingClient::drop(dir.path(), "SET designentry = VHDL\nCOMPLETE\n"));
        QTest::qWait(1200);
        const bool waited = QFile::exists(commandPath()) && !QFile::exists(finishPath());
        En::ActionMutexSingleton::Unlock();
        Ipu::TaskMutexSingleton::Unlock();
        QVERIFY2(waited, "the file ran while the locks were held");
        QCOMPARE(PollingClient::waitForAnswer(dir.path(), 5000), QByteArray("SUCCESS\n"));
    }

    // The main window re-reads its actions on Update: while a command file runs, those that
    // need the action mutex are offered disabled, and enabled again after it.
    void actionsDisabledWhilePollingHoldsTheMutex()
    {
        En::Ip ip(boost::dynamic_pointer_cast<Ipu::IPComponent>(
            Ipu::ElementIndex::GetElement("pellor:ip:counter_binary:1.1")));
        QVERIFY(ip.GetIPComponent());
        QCOMPARE(En::ProjectManager::GetInstance()->NewProject(dir.filePath("held").toStdString()),
                 0u);
        En::ActionManager* manager = En::ActionManager::GetInstance();
        manager->ProjectChanged();
        QVERIFY(ip.GetAction(Ipu::Task::CUSTOMIZE)->isEnabled());
        QSignalSpy updates(manager, &En::ActionManager::Update);
        StepGate gate;
        polling->start();
        QVERIFY(PollingClient::drop(dir.path(),
                                    "SELECT \"Binary Counter\" pellor ip 1.1\n"
                                    "CSET component_name = my_counter\n"
                                    "GENERATE\nCOMPLETE\n"));
        QVERIFY(gate.waitForStep());
        QVERIFY(updates.wait(5000));
        QVERIFY2(!ip.GetAction(Ipu::Task::CUSTOMIZE)->isEnabled(), "offered while polling runs");
        gate.open();
        QCOMPARE(PollingClient::waitForAnswer(dir.path(), 20000),
                 QByteArray("my_counter Binary_Counter 1.1\nSUCCESS\n"));
        QTRY_VERIFY(ip.GetAction(Ipu::Task::CUSTOMIZE)->isEnabled());
    }
};

QTEST_MAIN(tst_PollingMode)
#include "tst_pollingmode.moc"
