#include "Ipu_TaskMutexSingleton.h"

#include <QtTest>

#include <atomic>
#include <thread>

#include "MessageCapture.h"

using Ipu::TaskMutexSingleton;

class TestTaskMutexSingleton : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void holderIsKeptWhileLocked();
    void unlockRefused_data();
    void unlockRefused();
    void queryNeverDisturbsTryLock();
};

// The lock is process-wide: whatever a failed case left behind must not leak into the next.
void TestTaskMutexSingleton::cleanup()
{
    MessageCapture quiet;
    TaskMutexSingleton::Unlock();
}

void TestTaskMutexSingleton::holderIsKeptWhileLocked()
{
    QVERIFY(!TaskMutexSingleton::IsLocked());
    QVERIFY(TaskMutexSingleton::TryLock("Generating IP"));
    QVERIFY(TaskMutexSingleton::IsLocked());
    // Not recursive: the holder's own thread is refused too, and the name stays.
    QVERIFY(!TaskMutexSingleton::TryLock("Processing command file"));
    QCOMPARE(TaskMutexSingleton::GetHolder(), Port::String("Generating IP"));
    QVERIFY(TaskMutexSingleton::Unlock());
    QVERIFY(!TaskMutexSingleton::IsLocked());
    QVERIFY(TaskMutexSingleton::GetHolder().IsEmpty());
}

void TestTaskMutexSingleton::unlockRefused_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("warning");
    const QString prefix = "WARNING:ipu:Ipu_TaskMutexSingleton - Cannot unlock task mutex";
    QTest::newRow("free") << false << prefix + " - not locked\n";
    QTest::newRow("held by another thread")
        << true << prefix + " held by 'Generating IP' - locked by another thread\n";
}

// Only the thread that took the lock may release it; a refused unlock warns once and a
// held lock stays held under its holder's name.
void TestTaskMutexSingleton::unlockRefused()
{
    QFETCH(bool, locked);
    QFETCH(QString, warning);
    if (locked)
        QVERIFY(TaskMutexSingleton::TryLock("Generating IP"));
    MessageCapture capture;
    bool unlocked = true;
    std::thread([&] { unlocked = TaskMutexSingleton::Unlock(); }).join();
    QVERIFY(!unlocked);
    QCOMPARE(capture.lines(), std::vector<std::string>{warning.toStdString()});
    QCOMPARE(TaskMutexSingleton::IsLocked(), locked);
    QCOMPARE(TaskMutexSingleton::GetHolder(), Port::String(locked ? "Generating IP" : ""));
}

// The polling thread asks IsLocked twice a second while the GUI thread takes the lock; a
// query that briefly took the lock itself would make those TryLock calls fail at random.
void TestTaskMutexSingleton::queryNeverDisturbsTryLock()
{
    std::atomic<bool> stop{false};
    std::thread asker([&] {
        while (!stop.load())
            TaskMutexSingleton::IsLocked();
    });
    int refused = 0;
    for (int i = 0; i < 20000; ++i) {
        if (TaskMutexSingleton::TryLock("Generating IP"))
            TaskMutexSingleton::Unlock();
        else
            ++refused;
    }
    stop = true;
    asker.join();
    QCOMPARE(refused, 0);
}

QTEST_GUILESS_MAIN(TestTaskMutexSingleton)
#include "tst_taskmutexsingleton.moc"
