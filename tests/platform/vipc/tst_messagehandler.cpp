#include "SocketPair.h"
#include "Vif_PJ_AddSource.h"
#include "Vif_PJ_UpdateSource.h"
#include "Vipc_MessageHandler.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

// The path of either message class, for one comparison in the tests.
Port::String PathOf(const Vipc_MessageHandler* message)
{
    if (const auto* added = dynamic_cast<const Vif_PJ::AddSource*>(message))
        return added->GetPath();
    return dynamic_cast<const Vif_PJ::UpdateSource&>(*message).GetPath();
}

Vipc_MessageHandler* Make(const QByteArray& name, const Port::String& path)
{
    if (name == "PJ::AddSource") {
        auto* message = new Vif_PJ::AddSource;
        message->SetPath(path);
        return message;
    }
    auto* message = new Vif_PJ::UpdateSource;
    message->SetPath(path);
    return message;
}

// Wire encodings, so that each row shows its fields rather than counted bytes.
QByteArray Word(quint32 value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((value >> shift) & 0xff));
    return bytes;
}

QByteArray Text(const QByteArray& text)
{
    return 's' + Word(quint32(text.size())) + text;
}

QByteArray Integer(int value)
{
    return 'i' + Word(quint32(value));
}

QByteArray Frame(const QByteArray& body)
{
    return Word(quint32(body.size())) + body;
}

const Vif_PJ::AddSource kAddSource;
const Vif_PJ::UpdateSource kUpdateSource;

}  // namespace

class TestMessageHandler : public QObject {
    Q_OBJECT

private slots:
    void exchange_data();
    void exchange();
    void response_data();
    void response();
    void receivedMessage_data();
    void receivedMessage();
};

void TestMessageHandler::exchange_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("path");
    QTest::newRow("added") << QByteArray("PJ::AddSource") << QByteArray("/p/ip/fifo.v");
    QTest::newRow("updated") << QByteArray("PJ::UpdateSource") << QByteArray("/p/my ip/a.vhd");
    QTest::newRow("empty path") << QByteArray("PJ::AddSource") << QByteArray();
}

// The response is queued first, so that one thread can play both sides.
void TestMessageHandler::exchange()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, path);
    SocketPair pair;
    QCOMPARE(Vipc_MessageHandler::SendResponse(*pair.far, name.constData(), 3, 1000),
             Vipc_ConnectionStream::Ok);
    Vipc_MessageHandler* sent = Make(name, path.constData());
    QCOMPARE(sent->SendTheMessage(pair.near.get(), false, 1000), Vipc_ConnectionStream::Ok);
    QCOMPARE(sent->GetResponseStatus(), 3);
    sent->Release();

    Vipc_ConnectionStream::Status status = Vipc_ConnectionStream::Failed;
    Vipc_MessageHandler* received =
        Vipc_MessageHandler::ReceiveMessage(*pair.far, {&kAddSource, &kUpdateSource}, 1000, status);
    QCOMPARE(status, Vipc_ConnectionStream::Ok);
    QVERIFY(received != nullptr);
    QCOMPARE(QByteArray(received->GetMessageName().c_str()), name);
    QCOMPARE(QByteArray(PathOf(received).c_str()), path);
    received->Release();
}

void TestMessageHandler::response_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("close");
    QTest::addColumn<int>("expected");
    const int malformed = Vipc_ConnectionStream::Malformed;
    QTest::newRow("answer to another message")
        << Frame(Text("PJ::UpdateSource") + Integer(0)) << false << malformed;
    QTest::newRow("answer with a trailing field")
        << Frame(Text("PJ::AddSource") + Integer(0) + Integer(0)) << false << malformed;
    QTest::newRow("answer of another kind")
        << Frame(Integer(0) + Text("PJ::AddSource")) << false << malformed;
    QTest::newRow("no answer") << QByteArray() << false << int(Vipc_ConnectionStream::TimedOut);
    QTest::newRow("navigator gone") << QByteArray() << true << int(Vipc_ConnectionStream::Closed);
    QTest::newRow("answer beyond the limit") << Word(0x7f000000) << false << malformed;
}

// Every failure of the answer must come back within the exchange's time limit.
void TestMessageHandler::response()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, close);
    QFETCH(int, expected);
    SocketPair pair;
    pair.sendRaw(answer);
    if (close)
        ::shutdown(pair.far->GetSocket(), SHUT_WR);
    Vipc_MessageHandler* message = Make("PJ::AddSource", "/p/a.v");
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(int(message->SendTheMessage(pair.near.get(), false, 200)), expected);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    message->Release();
}

void TestMessageHandler::receivedMessage_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("expected");
    const int malformed = Vipc_ConnectionStream::Malformed;
    const QByteArray name = Text("PJ::AddSource");
    const QByteArray path = Text("/p/a.v");
    QTest::newRow("complete") << Frame(name + path + Integer(0)) << int(Vipc_ConnectionStream::Ok);
    QTest::newRow("unknown name") << Frame(Text("PJ::AddSourcx") + path + Integer(0)) << malformed;
    QTest::newRow("integer payload missing") << Frame(name + path) << malformed;
    QTest::newRow("payloads swapped") << Frame(name + Integer(0) + path) << malformed;
    QTest::newRow("trailing field") << Frame(name + path + Integer(0) + Integer(0)) << malformed;
    QTest::newRow("name missing") << Frame(QByteArray()) << malformed;
}

void TestMessageHandler::receivedMessage()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, expected);
    SocketPair pair;
    ::send(pair.near->GetSocket(), frame.constData(), static_cast<size_t>(frame.size()), 0);
    Vipc_ConnectionStream::Status status = Vipc_ConnectionStream::Failed;
    Vipc_MessageHandler* message =
        Vipc_MessageHandler::ReceiveMessage(*pair.far, {&kAddSource, &kUpdateSource}, 1000, status);
    QCOMPARE(int(status), expected);
    QCOMPARE(message != nullptr, expected == Vipc_ConnectionStream::Ok);
    if (message != nullptr)
        message->Release();
}

QTEST_GUILESS_MAIN(TestMessageHandler)
#include "tst_messagehandler.moc"
