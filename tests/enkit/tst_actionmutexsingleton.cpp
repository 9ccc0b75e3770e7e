#include <QtTest>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "En_ActionMutexSingleton.h"
#include "MessageCapture.h"

using En::ActionMutexSingleton;

namespace {

// Holds the action mutex on a thread of its own until released, as polling mode does.
class Holder {
public:
    explicit Holder(const char* name)
        : thread([this, name] {
            std::unique_lock<std::mutex> lock(guard);
            taken = ActionMutexSingleton::TryLock(name);
            ready = true;
            changed.notify_all();
            changed.wait(lock, [this] { return done; });
            if (taken)
                ActionMutexSingleton::Unlock();
        })
    {
        std::unique_lock<std::mutex> lock(guard);
        changed.wait(lock, [this] { return ready; });
    }
    ~Holder()
    {
        {
            std::lock_guard<std::mutex> lock(guard);
            done = true;
        }
        changed.notify_all();
        thread.join();
    }
    bool taken = false;

private:
    std::mutex guard;
    std::condition_variable changed;
    bool ready = false;
    bool done = false;
    std::thread thread;
};

}  // namespace

class tst_ActionMutexSingleton : public QObject {
    Q_OBJECT

private slots:
    // The refused caller is named first, the holder second; without both names, silence.
    void refusal_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("both named")
            << "Generating IP"
            << "Customizing IP"
            << QStringList(
                   "STATUS:enkit:En_ActionMutexSingleton - Customizing IP is not possible "
                   "while Generating IP\n");
        QTest::newRow("caller without name") << "Generating IP"
                                             << "" << QStringList();
        QTest::newRow("holder without name") << ""
                                             << "Customizing IP" << QStringList();
    }

    void refusal()
    {
        QFETCH(QString, holder);
        QFETCH(QString, caller);
        QFETCH(QStringList, messages);
        Holder held(holder.toUtf8().constData());
        QVERIFY(held.taken);
        QVERIFY(ActionMutexSingleton::IsLocked());
        MessageCapture capture;
        QVERIFY(!ActionMutexSingleton::TryLock(caller.toStdString()));
        QCOMPARE(capture.textLines(), messages);
    }

    // Each refused unlock names its reason; the holder's name is cleared all the same, so a
    // later refusal has nobody to name.
    void unlockRefused_data()
    {
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("warning");
        const QString prefix = "WARNING:enkit:En_ActionMutexSingleton - Cannot unlock action mutex";
        QTest::newRow("free") << false << prefix + " - not owner\n";
        QTest::newRow("held by another thread")
            << true << prefix + " after Generating IP - locked by another thread\n";
    }

    void unlockRefused()
    {
        QFETCH(bool, held);
        QFETCH(QString, warning);
        std::unique_ptr<Holder> holder(held ? new Holder("Generating IP") : nullptr);
        MessageCapture capture;
        QVERIFY(!ActionMutexSingleton::Unlock());
        QCOMPARE(capture.textLines(), QStringList(warning));
        capture.clear();
        QCOMPARE(ActionMutexSingleton::TryLock("Customizing IP"), !held);
        QVERIFY(capture.textLines().isEmpty());
        if (!held)
            QVERIFY(ActionMutexSingleton::Unlock());
    }
};

QTEST_GUILESS_MAIN(tst_ActionMutexSingleton)
#include "tst_actionmutexsingleton.moc"
