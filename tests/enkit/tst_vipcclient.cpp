#include "En_VipcClient.h"
#include "En_VipcEngineNotify.h"
#include "Ipu_EngineNotifyMgr.h"
#include "MessageCapture.h"
#include "StderrCapture.h"
#include "TestNavigator.h"

#include <QElapsedTimer>
#include <QtTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <vector>

using En::VipcClient;

namespace {

constexpr int kLimitMs = 200;

// A port that refuses connections: bound, never listening, for as long as it lives.
class RefusingPort {
public:
    RefusingPort() : fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        number = ntohs(address.sin_port);
    }
    ~RefusingPort() { ::close(fd); }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    unsigned number = 0;

private:
    int fd;
};

void Connect(const TestNavigator& navigator)
{
    VipcClient::GetInstance()->EstablishConnection(navigator.port(), "127.0.0.1");
}

}  // namespace

class TestVipcClient : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { VipcClient::SetExchangeLimitMs(kLimitMs); }
    void init() { Ipu::EngineNotifyMgr::AddEngineNotify(&notify); }
    void cleanup();
    void reportsReachTheNavigator_data();
    void reportsReachTheNavigator();
    void failedConnectReplacesAndSendsNothing();
    void misbehavingNavigatorIsDropped_data();
    void misbehavingNavigatorIsDropped();
    void reportsFromManyThreadsArriveWhole();
    void limitFromTheEnvironment_data();
    void limitFromTheEnvironment();

private:
    En::VipcEngineNotify notify;
};

void TestVipcClient::cleanup()
{
    Ipu::EngineNotifyMgr::RemoveEngineNotify(&notify);
    qunsetenv("GANTREL_DEBUG");
    // Leaves the client unconnected for the next test.
    RefusingPort refusing;
    VipcClient::GetInstance()->EstablishConnection(refusing.number, "127.0.0.1");
}

void TestVipcClient::reportsReachTheNavigator_data()
{
    QTest::addColumn<bool>("added");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<QString>("expected");
    QTest::newRow("added") << true << QByteArray("/p/ip/fifo.v") << QByteArray("/p/p.gtcfg")
                           << "PJ::AddSource /p/ip/fifo.v";
    QTest::newRow("updated") << false << QByteArray("/p/my ip/a.vhd") << QByteArray()
                             << "PJ::UpdateSource /p/my ip/a.vhd";
    QTest::newRow("other is not sent")
        << true << QByteArray("a.v") << QByteArray("b.v") << "PJ::AddSource a.v";
}

void TestVipcClient::reportsReachTheNavigator()
{
    QFETCH(bool, added);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, other);
    QFETCH(QString, expected);
    TestNavigator navigator;
    Connect(navigator);
    if (added)
        Ipu::EngineNotifyMgr::NotifyAddSource(file.constData(), other.constData());
    else
        Ipu::EngineNotifyMgr::NotifyUpdateSource(file.constData(), other.constData());
    // The send waits for the answer, so the navigator holds the message already.
    QCOMPARE(navigator.received(), QStringList{expected});
}

// The failed connect replaces the working one; the reports are traced and return all the
// same, and none of them is a user message.
void TestVipcClient::failedConnectReplacesAndSendsNothing()
{
    TestNavigator navigator;
    Connect(navigator);
    RefusingPort refusing;
    MessageCapture messages;
    qputenv("GANTREL_DEBUG", "VipcClient,vipc");
    const QStringList traces = StderrCapture::lines([&] {
        VipcClient::GetInstance()->EstablishConnection(refusing.number, "127.0.0.1");
        Ipu::EngineNotifyMgr::NotifyAddSource("/p/a.v", "/p/p.gtcfg");
        Ipu::EngineNotifyMgr::NotifyUpdateSource("/p/b.v", "");
    });
    const QStringList expected{
        QStringLiteral("DEBUG:VipcClient - Warning: Could not connect to 127.0.0.1 on port %1.")
            .arg(refusing.number),
        "DEBUG:vipc - Sending VipcMessage AddSource: /p/a.v",
        "DEBUG:vipc - Sending VipcMessage UpdateSource: /p/b.v"};
    QCOMPARE(traces, expected);
    QVERIFY2(messages.textLines().isEmpty(), qPrintable(messages.textLines().join('\n')));
    QCOMPARE(navigator.received(), QStringList{});
}

void TestVipcClient::misbehavingNavigatorIsDropped_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<QString>("trace");
    QTest::newRow("never answers")
        << int(TestNavigator::Silent)
        << "DEBUG:VipcClient - Warning: Navigator connection dropped: no answer in time.";
    QTest::newRow("answers garbage")
        << int(TestNavigator::Garbage)
        << "DEBUG:VipcClient - Warning: Navigator connection dropped: answer out of step.";
    QTest::newRow("answers beyond the size limit")
        << int(TestNavigator::Oversized)
        << "DEBUG:VipcClient - Warning: Navigator connection dropped: answer out of step.";
}

// A navigator that hangs or babbles must cost one time limit at most, then nothing.
void TestVipcClient::misbehavingNavigatorIsDropped()
{
    QFETCH(int, behaviour);
    QFETCH(QString, trace);
    TestNavigator navigator(static_cast<TestNavigator::Behaviour>(behaviour));
    Connect(navigator);
    qputenv("GANTREL_DEBUG", "VipcClient");
    QElapsedTimer timer;
    timer.start();
    const QStringList traces = StderrCapture::lines([] {
        Ipu::EngineNotifyMgr::NotifyAddSource("/p/a.v", "");
        Ipu::EngineNotifyMgr::NotifyUpdateSource("/p/b.v", "");
    });
    QVERIFY2(timer.elapsed() < kLimitMs + 1500, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(traces, QStringList{trace});
    QCOMPARE(navigator.received(), QStringList{"PJ::AddSource /p/a.v"});
}

// Without serialized sends, frames of two threads interleave and the navigator drops us.
void TestVipcClient::reportsFromManyThreadsArriveWhole()
{
    constexpr int kThreads = 4;
    constexpr int kReports = 25;
    TestNavigator navigator;
    Connect(navigator);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kReports; ++i) {
                const Port::String file = Port::String().Format("/p/%d/%d.v", t, i);
                Ipu::EngineNotifyMgr::NotifyAddSource(file, "");
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    const QStringList received = navigator.received();
    QCOMPARE(received.size(), kThreads * kReports);
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kReports; ++i) {
            const QString line = QStringLiteral("PJ::AddSource /p/%1/%2.v").arg(t).arg(i);
            QVERIFY2(received.contains(line), qPrintable(line));
        }
    QCOMPARE(navigator.connectionsAccepted(), 1);
}

void TestVipcClient::limitFromTheEnvironment_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<int>("expected");
    QTest::newRow("unset") << QByteArray() << 10000;
    QTest::newRow("milliseconds") << QByteArray("250") << 250;
    QTest::newRow("zero") << QByteArray("0") << 10000;
    QTest::newRow("negative") << QByteArray("-5") << 10000;
    QTest::newRow("not a number") << QByteArray("soon") << 10000;
}

void TestVipcClient::limitFromTheEnvironment()
{
    QFETCH(QByteArray, variable);
    QFETCH(int, expected);
    VipcClient::SetExchangeLimitMs(0);
    variable.isNull() ? qunsetenv("GANTREL_VIPC_TIMEOUT_MS")
                      : qputenv("GANTREL_VIPC_TIMEOUT_MS", variable);
    const int limit = VipcClient::ExchangeLimitMs();
    qunsetenv("GANTREL_VIPC_TIMEOUT_MS");
    VipcClient::SetExchangeLimitMs(kLimitMs);
    QCOMPARE(limit, expected);
}

QTEST_GUILESS_MAIN(TestVipcClient)
#include "tst_vipcclient.moc"
