#include "SocketPair.h"
#include "Vipc_ConnectionStream.h"

#include <QElapsedTimer>
#include <QtTest>

#include <climits>

using Status = Vipc_ConnectionStream::Status;

class TestConnectionStream : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void oversizedFrameIsRefusedUnsent();
    void receivedInput_data();
    void receivedInput();
    void silentPeerTimesOut();
    void unreadPeerTimesOutTheSend();
};

void TestConnectionStream::roundTrip_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("number");
    // The largest string that still fits beside its tags, its length and the integer.
    const int largest = static_cast<int>(Vipc_ConnectionStream::s_maxFrameSize) - 10;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("path") << QByteArray("/work/p/ip/fifo.vhd") << 7;
    QTest::newRow("opaque bytes") << QByteArray("a\0b\xff\n", 5) << -1;
    QTest::newRow("lowest integer") << QByteArray("x") << INT_MIN;
    QTest::newRow("highest integer") << QByteArray("x") << INT_MAX;
    QTest::newRow("largest frame") << QByteArray(largest, 'p') << 1;
}

void TestConnectionStream::roundTrip()
{
    QFETCH(QByteArray, text);
    QFETCH(int, number);
    SocketPair pair;
    *pair.near << Port::String(text.constData(), static_cast<size_t>(text.size())) << number;
    QCOMPARE(pair.near->SendFrame(1000), Vipc_ConnectionStream::Ok);
    QCOMPARE(pair.far->ReceiveFrame(1000), Vipc_ConnectionStream::Ok);
    Port::String readText;
    int readNumber = 0;
    *pair.far >> readText >> readNumber;
    QVERIFY(pair.far->IsGood());
    QVERIFY(pair.far->AtEnd());
    QCOMPARE(QByteArray(readText.c_str(), static_cast<int>(readText.GetLength())), text);
    QCOMPARE(readNumber, number);
}

// A refused frame must leave the stream in step, so the next frame still arrives whole.
void TestConnectionStream::oversizedFrameIsRefusedUnsent()
{
    SocketPair pair;
    *pair.near << Port::String(std::string(Vipc_ConnectionStream::s_maxFrameSize, 'p'));
    QCOMPARE(pair.near->SendFrame(1000), Vipc_ConnectionStream::Oversized);
    *pair.near << 42;
    QCOMPARE(pair.near->SendFrame(1000), Vipc_ConnectionStream::Ok);
    QCOMPARE(pair.far->ReceiveFrame(1000), Vipc_ConnectionStream::Ok);
    int number = 0;
    *pair.far >> number;
    QVERIFY(pair.far->IsGood() && pair.far->AtEnd());
    QCOMPARE(number, 42);
}

void TestConnectionStream::receivedInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("close");
    QTest::addColumn<int>("frameStatus");
    QTest::addColumn<bool>("fieldsRead");
    const int ok = Vipc_ConnectionStream::Ok;
    QTest::newRow("string then integer")
        << QByteArray("\0\0\0\x0bs\0\0\0\1ai\0\0\1\0", 15) << false << ok << true;
    QTest::newRow("header beyond the limit")
        << QByteArray("\0\1\0\1", 4) << false << int(Vipc_ConnectionStream::Oversized) << false;
    QTest::newRow("closed before the header")
        << QByteArray("\0\0", 2) << true << int(Vipc_ConnectionStream::Closed) << false;
    QTest::newRow("closed inside the body")
        << QByteArray("\0\0\0\x0bs\0", 6) << true << int(Vipc_ConnectionStream::Closed) << false;
    QTest::newRow("integer where a string belongs")
        << QByteArray("\0\0\0\x0ai\0\0\0\1i\0\0\1\0", 14) << false << ok << false;
    QTest::newRow("string length past the frame")
        << QByteArray("\0\0\0\x0bs\0\0\0\x09ai\0\0\1\0", 15) << false << ok << false;
    QTest::newRow("unknown field tag")
        << QByteArray("\0\0\0\x0bq\0\0\0\1ai\0\0\1\0", 15) << false << ok << false;
    QTest::newRow("integer cut short")
        << QByteArray("\0\0\0\x08s\0\0\0\0i\0\0", 12) << false << ok << false;
}

void TestConnectionStream::receivedInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, close);
    QFETCH(int, frameStatus);
    QFETCH(bool, fieldsRead);
    SocketPair pair;
    pair.sendRaw(bytes);
    if (close)
        pair.far.reset();
    QCOMPARE(int(pair.near->ReceiveFrame(1000)), frameStatus);
    Port::String text;
    int number = 0;
    *pair.near >> text >> number;
    QCOMPARE(pair.near->IsGood(), fieldsRead);
    if (fieldsRead)
        QVERIFY2(text == "a" && number == 256, text.c_str());
}

void TestConnectionStream::silentPeerTimesOut()
{
    SocketPair pair;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(pair.near->ReceiveFrame(100), Vipc_ConnectionStream::TimedOut);
    QVERIFY2(timer.elapsed() >= 90 && timer.elapsed() < 2000,
             qPrintable(QString::number(timer.elapsed())));
}

// A peer that stops reading fills the socket buffers; the send must give up, not block.
void TestConnectionStream::unreadPeerTimesOutTheSend()
{
    SocketPair pair;
    const Port::String chunk(std::string(Vipc_ConnectionStream::s_maxFrameSize - 5, 'p'));
    QElapsedTimer timer;
    timer.start();
    Status status = Vipc_ConnectionStream::Ok;
    for (int i = 0; i < 1000 && status == Vipc_ConnectionStream::Ok; ++i) {
        *pair.near << chunk;
        status = pair.near->SendFrame(100);
    }
    QCOMPARE(status, Vipc_ConnectionStream::TimedOut);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(TestConnectionStream)
#include "tst_connectionstream.moc"
