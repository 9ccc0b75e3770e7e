#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

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

    void endEncounteredExitsTheEventLoop()
    {
        En::EndWatchThread::Start();
        QElapsedTimer timer;
        timer.start();
        QTimer::singleShot(0, [] { En::EndWatchThread::EncounteredEnd(); });
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        safety.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY2(timer.elapsed() >= 500, "the application ends half a second later");
        QVERIFY(!En::EndWatchThread::IsRunning());

        En::EndWatchThread::Start();
        QVERIFY2(En::EndWatchThread::IsRunning(), "a new watcher may start afterwards");
    }
};

QTEST_GUILESS_MAIN(tst_EndWatchThread)
#include "tst_endwatchthread.moc"
