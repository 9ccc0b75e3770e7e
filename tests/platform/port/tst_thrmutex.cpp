#include "Port_ThrMutex.h"

#include <QtTest>

#include <thread>
#include <vector>

class TestThrMutex : public QObject {
    Q_OBJECT

private slots:
    void ownerTakesAndReleases();
    void heldMutexRefusesEveryone();
    void unlockWithoutLock();
    void otherThreadCannotUnlock();
    void lockedByOtherThread();
    void stress();
};

void TestThrMutex::ownerTakesAndReleases()
{
    Port_ThrMutex mutex;
    QCOMPARE(mutex.trylock(), 0);
    QCOMPARE(mutex.unlock(), 0);
    QCOMPARE(mutex.trylock(), 0);
    QCOMPARE(mutex.unlock(), 0);
}

void TestThrMutex::heldMutexRefusesEveryone()
{
    Port_ThrMutex mutex;
    QCOMPARE(mutex.trylock(), 0);
    QCOMPARE(mutex.trylock(), 11);  // not recursive
    QCOMPARE(mutex.unlock(), 0);
}

void TestThrMutex::unlockWithoutLock()
{
    Port_ThrMutex mutex;
    QCOMPARE(mutex.unlock(), 15);
    QCOMPARE(mutex.trylock(), 0);
    QCOMPARE(mutex.unlock(), 0);
    QCOMPARE(mutex.unlock(), 15);
}

void TestThrMutex::otherThreadCannotUnlock()
{
    Port_ThrMutex mutex;
    QCOMPARE(mutex.trylock(), 0);
    int answer = -1;
    std::thread([&] { answer = mutex.unlock(); }).join();
    QCOMPARE(answer, 11);
    QCOMPARE(mutex.unlock(), 0);
}

void TestThrMutex::lockedByOtherThread()
{
    Port_ThrMutex mutex;
    int taken = -1;
    std::thread([&] { taken = mutex.trylock(); }).join();
    QCOMPARE(taken, 0);
    QCOMPARE(mutex.trylock(), 11);
    QCOMPARE(mutex.unlock(), 11);
}

// Guards a plain counter; a lost update or a data race (under TSan) shows a broken mutex.
void TestThrMutex::stress()
{
    constexpr int threads = 4;
    constexpr int rounds = 2000;
    Port_ThrMutex mutex;
    long counter = 0;
    std::vector<int> badUnlocks(threads, 0);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < rounds; ++i) {
                while (mutex.trylock() != 0)
                    std::this_thread::yield();
                ++counter;
                if (mutex.unlock() != 0)
                    ++badUnlocks[t];
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    QCOMPARE(counter, long(threads) * rounds);
    QCOMPARE(badUnlocks, std::vector<int>(threads, 0));
}

QTEST_GUILESS_MAIN(TestThrMutex)
#include "tst_thrmutex.moc"
