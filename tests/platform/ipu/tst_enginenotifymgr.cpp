#include "Ipu_DefaultEngineNotify.h"
#include "Ipu_EngineNotifyMgr.h"

#include <QtTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using Ipu::EngineNotifyMgr;

namespace {

std::mutex logGuard;
QStringList received;  // every call of every recorder, in order

class Recorder : public Ipu::DefaultEngineNotify {
public:
    explicit Recorder(QString name) : name(std::move(name)) {}
    ~Recorder() override { EngineNotifyMgr::RemoveEngineNotify(this); }

    bool EventNotify(Ipu::Event& event) override
    {
        record("event " + QString::fromStdString(event.GetStatus().GetMessage().str()));
        if (onEvent)
            onEvent();
        return true;
    }
    void AddSourceNotify(const Port::String& file, const Port::String&) override
    {
        record("add " + QString::fromStdString(file.str()));
    }
    void UpdateSourceNotify(const Port::String& file, const Port::String&) override
    {
        record("update " + QString::fromStdString(file.str()));
    }

    std::function<void()> onEvent;

private:
    void record(const QString& text)
    {
        std::lock_guard<std::mutex> lock(logGuard);
        received << name + ": " + text;
    }
    QString name;
};

unsigned notifyStep(const char* message)
{
    Ipu::Event event(Ipu::Event::TYPE_STEP, Ipu::Status(0, message));
    return EngineNotifyMgr::NotifyEvent(event);
}

Ipu::EventData run(const QString& actionId, const QString& generationId)
{
    Ipu::Task task;
    task.SetActionID(actionId.toStdString());
    task.SetGenerationID(generationId.toStdString());
    return Ipu::EventData(task, Ipu::CustomizedIP());
}

}  // namespace

class TestEngineNotifyMgr : public QObject {
    Q_OBJECT

private slots:
    void init() { received.clear(); }
    void deliversToEveryReceiverInOrder_data();
    void deliversToEveryReceiverInOrder();
    void listChangesInsideACall();
    void destroyedReceiverIsForgotten();
    void removalWaitsForCallOnAnotherThread();
    void receiversComeAndGoWhileEnginesDeliver();
    void cancelledFlags_data();
    void cancelledFlags();
};

void TestEngineNotifyMgr::deliversToEveryReceiverInOrder_data()
{
    QTest::addColumn<int>("report");
    QTest::addColumn<QString>("text");
    QTest::newRow("event") << 0 << "event Moving files";
    QTest::newRow("added source") << 1 << "add /p/fifo.v";
    QTest::newRow("updated source") << 2 << "update /p/fifo.v";
}

void TestEngineNotifyMgr::deliversToEveryReceiverInOrder()
{
    QFETCH(int, report);
    QFETCH(QString, text);
    Recorder b("b"), a("a"), c("c");
    for (Recorder* receiver : {&b, &a, &c})
        QCOMPARE(EngineNotifyMgr::AddEngineNotify(receiver), 0u);
    QCOMPARE(EngineNotifyMgr::AddEngineNotify(&a), 1u);  // once only
    const unsigned called = report == 0 ? notifyStep("Moving files")
                            : report == 1
                                ? EngineNotifyMgr::NotifyAddSource("/p/fifo.v", "/p/p.gtp")
                                : EngineNotifyMgr::NotifyUpdateSource("/p/fifo.v", "/p/p.gtp");
    QCOMPARE(called, 3u);
    QCOMPARE(received, QStringList({"b: " + text, "a: " + text, "c: " + text}));
}

// A receiver may change the list from inside its own call without deadlocking: it removes
// itself and the next receiver and adds a new one, which waits for the next report.
void TestEngineNotifyMgr::listChangesInsideACall()
{
    Recorder a("a"), b("b"), late("late");
    EngineNotifyMgr::AddEngineNotify(&a);
    EngineNotifyMgr::AddEngineNotify(&b);
    unsigned removedSelf = 9, removedNext = 9;
    a.onEvent = [&] {
        removedSelf = EngineNotifyMgr::RemoveEngineNotify(&a);
        removedNext = EngineNotifyMgr::RemoveEngineNotify(&b);
        EngineNotifyMgr::AddEngineNotify(&late);
    };
    QCOMPARE(notifyStep("1"), 1u);
    QCOMPARE(removedSelf, 0u);
    QCOMPARE(removedNext, 0u);
    QCOMPARE(notifyStep("2"), 1u);
    QCOMPARE(received, QStringList({"a: event 1", "late: event 2"}));
}

void TestEngineNotifyMgr::destroyedReceiverIsForgotten()
{
    auto plain = std::make_unique<Ipu::DefaultEngineNotify>();
    QCOMPARE(EngineNotifyMgr::AddEngineNotify(plain.get()), 0u);
    plain.reset();
    QCOMPARE(notifyStep("after"), 0u);
}

// The action manager's callback removes itself in its destructor on the GUI thread while an
// engine thread may be inside its EventNotify; the removal must wait for that call, or the
// object is freed under the engine (ASan shows the use after free).
void TestEngineNotifyMgr::removalWaitsForCallOnAnotherThread()
{
    auto* receiver = new Recorder("r");
    std::atomic<bool> entered{false}, callEnded{false};
    receiver->onEvent = [&] {
        entered = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        callEnded = true;
    };
    EngineNotifyMgr::AddEngineNotify(receiver);
    std::thread engine([] { notifyStep("slow"); });
    while (!entered.load())
        std::this_thread::yield();
    const unsigned removed = EngineNotifyMgr::RemoveEngineNotify(receiver);
    const bool endedBeforeRemoval = callEnded.load();
    delete receiver;
    engine.join();
    QCOMPARE(removed, 0u);
    QVERIFY(endedBeforeRemoval);
    QCOMPARE(notifyStep("after"), 0u);
}

// Two engine threads deliver without pause while receivers are registered, removed and
// freed; TSan and ASan watch for races and uses after free.
void TestEngineNotifyMgr::receiversComeAndGoWhileEnginesDeliver()
{
    Recorder resident("resident");
    EngineNotifyMgr::AddEngineNotify(&resident);
    std::atomic<bool> stop{false};
    std::atomic<int> events{0};
    std::vector<std::thread> engines;
    for (int e = 0; e < 2; ++e) {
        engines.emplace_back([&] {
            while (!stop.load()) {
                notifyStep("tick");
                ++events;
            }
        });
    }
    int lost = 0;
    for (int i = 0; i < 300; ++i) {
        auto visitor = std::make_unique<Recorder>("visitor");
        EngineNotifyMgr::AddEngineNotify(visitor.get());
        std::this_thread::yield();
        lost += static_cast<int>(EngineNotifyMgr::RemoveEngineNotify(visitor.get()));
    }
    stop = true;
    for (auto& engine : engines)
        engine.join();
    QCOMPARE(lost, 0);
    QCOMPARE(received.count("resident: event tick"), events.load());
}

void TestEngineNotifyMgr::cancelledFlags_data()
{
    QTest::addColumn<bool>("everything");
    QTest::addColumn<QStringList>("set");  // action id, generation id of the cancelled run
    QTest::addColumn<bool>("clear");
    QTest::addColumn<QStringList>("ask");
    QTest::addColumn<bool>("cancelled");
    const QStringList run1{"a1", "g1"};
    QTest::newRow("nothing") << false << QStringList{"", ""} << false << run1 << false;
    QTest::newRow("process-wide") << true << QStringList{"", ""} << false << run1 << true;
    QTest::newRow("by action id") << false << QStringList{"a1", ""} << false << run1 << true;
    QTest::newRow("by generation id") << false << run1 << false << QStringList{"", "g1"} << true;
    QTest::newRow("another run") << false << run1 << false << QStringList{"a2", "g2"} << false;
    QTest::newRow("cleared") << false << run1 << true << run1 << false;
}

void TestEngineNotifyMgr::cancelledFlags()
{
    QFETCH(bool, everything);
    QFETCH(QStringList, set);
    QFETCH(bool, clear);
    QFETCH(QStringList, ask);
    QFETCH(bool, cancelled);
    const Ipu::EventData cancelledRun = run(set[0], set[1]);
    EngineNotifyMgr::SetCancelled(everything);
    EngineNotifyMgr::SetCancelled(cancelledRun, true);
    if (clear)
        EngineNotifyMgr::SetCancelled(cancelledRun, false);
    const bool answer = EngineNotifyMgr::IsCancelled(run(ask[0], ask[1]));
    const bool answerEverything = EngineNotifyMgr::IsCancelled();
    // A run starts with both flags cleared, as the action manager does.
    EngineNotifyMgr::SetCancelled(false);
    EngineNotifyMgr::SetCancelled(cancelledRun, false);
    QCOMPARE(answer, cancelled);
    QCOMPARE(answerEverything, everything);
    QVERIFY(!EngineNotifyMgr::IsCancelled(cancelledRun));
}

QTEST_GUILESS_MAIN(TestEngineNotifyMgr)
#include "tst_enginenotifymgr.moc"
