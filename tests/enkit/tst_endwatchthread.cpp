#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <thread>

#include "En_EndWatchThread.h"

class tst_EndWatchThread : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { En::EndWatchThread::SetFinished(); }

    void stopWithoutWatcherReturnsAtOnce()
    {
        QElapsedTimer timer;
        timer.start();
        En::EndWatchThread::SetFinished();
        En::EndWatchThread::EncounteredEnd();
        QVERIFY(!En::EndWatchThread::IsRunning());
        QVERIFY2(timer.elapsed() < 400, "nothing waited for the half second");
    }

    void startTwiceMakesOneWatcher()
    {
        En::EndWatchThread::Start();
        En::EndWatchThread::Start();
        QVERIFY(En::EndWatchThread::IsRunning());
        En::EndWatchThread::SetFinished();
        QVERIFY2(!En::EndWatchThread::IsRunning(), "one finish ends the only watcher");
    }

    void finishedKeepsTheEventLoopRunning()
    {
        En::EndWatchThread::Start();
        bool ranAfterwards = false;
        QTimer::singleShot(0, [] { En::EndWatchThread::SetFinished(); });
        QTimer::singleShot(700, [&ranAfterwards] {
            ranAfterwards = true;
            QCoreApplication::exit(7);
        });
        QCOMPARE(QCoreApplication::exec(), 7);
        QVERIFY(ranAfterwards);
        QVERIFY(!En::EndWatchThread::IsRunning());
    }

    void endEncounteredExitsTheEventLoop_data()
    {
        QTest::addColumn<bool>("fromOtherThread");
        QTest::newRow("from the application's thread") << false;
        QTest::newRow("from a polling thread") << true;
    }

    // The exit is queued to the application's thread: TSan checks that nothing else of
    // the application is touched from the watcher.
    void endEncounteredExitsTheEventLoop()
    {
        QFETCH(bool, fromOtherThread);
        En::EndWatchThread::Start();
        QElapsedTimer timer;
        timer.start();
        std::thread poller;
        QTimer::singleShot(0, [&poller, fromOtherThread] {
            if (fromOtherThread)
                poller = std::thread([] { En::EndWatchThread::EncounteredEnd(); });
            else
                En::EndWatchThread::EncounteredEnd();
        });
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        safety.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
        if (poller.joinable())
            poller.join();
        QVERIFY2(timer.elapsed() >= 500, "the application ends half a second later");
        QVERIFY(!En::EndWatchThread::IsRunning());

        En::EndWatchThread::Start();
        QVERIFY2(En::EndWatchThread::IsRunning(), "a new watcher may start afterwards");
    }
};

QTEST_GUILESS_MAIN(tst_EndWatchThread)
#include "tst_endwatchthread.moc"
