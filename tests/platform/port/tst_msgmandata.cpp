#include "Port_MsgManData.h"

#include <QtTest>

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "MessageCapture.h"

using Msg = Port_MsgManData;

class TestMsgManData : public QObject {
    Q_OBJECT

private slots:
    void formatLine_data();
    void formatLine();
    void sourceName_data();
    void sourceName();
    void kindsReachTheSink();
    void longText();
    void defaultSinkWritesStderr();
    void concurrentIssuers();
};

void TestMsgManData::formatLine_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("error") << int(Msg::Error) << "text"
                           << "ERROR:enkit:En_Project - text";
    QTest::newRow("one newline") << int(Msg::Warning) << "a\n"
                                 << "WARNING:enkit:En_Project - a";
    QTest::newRow("only one newline") << int(Msg::Info) << "a\n\n"
                                      << "INFO:enkit:En_Project - a\\n";
    QTest::newRow("crlf") << int(Msg::Status) << "a\r\n"
                          << "STATUS:enkit:En_Project - a";
    // Control characters from file contents never reach the terminal raw.
    QTest::newRow("inner newline") << int(Msg::Error) << "a\nb"
                                   << "ERROR:enkit:En_Project - a\\nb";
    QTest::newRow("tab") << int(Msg::Error) << "a\tb\n"
                         << "ERROR:enkit:En_Project - a\\tb";
    QTest::newRow("escape sequence") << int(Msg::Error) << "\x1b[2Jgone\n"
                                     << "ERROR:enkit:En_Project - \\x1b[2Jgone";
    QTest::newRow("inner carriage return") << int(Msg::Warning) << "shown\rhidden\n"
                                           << "WARNING:enkit:En_Project - shown\\rhidden";
    QTest::newRow("bell and delete") << int(Msg::Info)
                                     << QString(
                                            "a\x07"
                                            "b\x7f")
                                     << "INFO:enkit:En_Project - a\\x07b\\x7f";
    QTest::newRow("c1 control") << int(Msg::Info)
                                << QString::fromUtf8(
                                       "a\xc2\x9b"
                                       "1m")
                                << "INFO:enkit:En_Project - a\\u009b1m";
    QTest::newRow("other text kept")
        << int(Msg::Info) << QString::fromUtf8("caf\xc3\xa9 \\ 50%")
        << QString::fromUtf8("INFO:enkit:En_Project - caf\xc3\xa9 \\ 50%");
    QTest::newRow("empty") << int(Msg::Error) << ""
                           << "ERROR:enkit:En_Project - ";
}

void TestMsgManData::formatLine()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const Msg::Message message{Msg::Kind(kind), "enkit", "En_Project", 1, text.toStdString()};
    QCOMPARE(QString::fromStdString(Msg::formatLine(message)), expected);
}

void TestMsgManData::sourceName_data()
{
    QTest::addColumn<QString>("sourceFile");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bare") << "En_Project"
                          << "En_Project";
    QTest::newRow("file") << "En_Project.cpp"
                          << "En_Project";
    QTest::newRow("path") << "/src/enkit/En_Project.cpp"
                          << "En_Project";
    QTest::newRow("last dot only") << "dir.d/En.Project.cpp"
                                   << "En.Project";
    QTest::newRow("this file") << __FILE__ << "tst_msgmandata";
}

void TestMsgManData::sourceName()
{
    QFETCH(QString, sourceFile);
    QFETCH(QString, expected);
    MessageCapture capture;
    const QByteArray file = sourceFile.toLocal8Bit();
    Msg::createObject("enkit", file.constData(), 42).issueError("value %d", 7);
    const auto messages = capture.messages();
    QCOMPARE(messages.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(messages[0].source), expected);
    QCOMPARE(messages[0].module, std::string("enkit"));
    QCOMPARE(messages[0].line, 42);
    QCOMPARE(messages[0].text, std::string("value 7"));
}

void TestMsgManData::kindsReachTheSink()
{
    MessageCapture capture;
    const Msg msg = Msg::createObject("dsgn", "Ds_Core.cpp", 1);
    msg.issueError("e%s\n", "1");
    msg.issueWarning("w%d", 2);
    msg.issueInfo("i%c", '3');
    msg.issueStatus("s%.1f\r\n", 4.0);
    Msg::createObject("other", "Ot_Part", 2).issueInfo("done");
    // Each text whole as issued: the prefix is the only thing the capture adds.
    QCOMPARE(capture.lines(),
             (std::vector<std::string>{"ERROR:dsgn:Ds_Core - e1\n", "WARNING:dsgn:Ds_Core - w2",
                                       "INFO:dsgn:Ds_Core - i3", "STATUS:dsgn:Ds_Core - s4.0\r\n",
                                       "INFO:other:Ot_Part - done"}));
    QCOMPARE(capture.messages()[0].text, std::string("e1\n"));
}

void TestMsgManData::longText()
{
    MessageCapture capture;
    const std::string big(100000, 'x');
    Msg::createObject("enkit", "En_Big", 1).issueWarning("<%s|%d>", big.c_str(), 12345);
    QCOMPARE(capture.messages().at(0).text, "<" + big + "|12345>");
}

// The stderr printer, captured by pointing descriptor 2 at a file for a moment.
void TestMsgManData::defaultSinkWritesStderr()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("stderr.txt");
    std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "w");
    QVERIFY(file);
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(::fileno(file), STDERR_FILENO);
    const Msg::Sink previous = Msg::setSink(Msg::Sink());
    Msg::createObject("enkit", "En_Project.cpp", 1).issueError("bad %s\n", "thing");
    Msg::createObject("enkit", "En_Project.cpp", 1).issueStatus("ok");
    Msg::Message stored;
    const Msg::Sink printer = Msg::setSink([&stored](const Msg::Message& m) { stored = m; });
    Msg::createObject("enkit", "En_Project.cpp", 1).issueInfo("a\x1b]0;b\n");
    Msg::setSink(printer);
    Msg::createObject("enkit", "En_Project.cpp", 1).issueInfo("a\x1b]0;b\n");
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::fclose(file);
    Msg::setSink(previous);
    QFile result(path);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(result.readAll(),
             QByteArray("ERROR:enkit:En_Project - bad thing\nSTATUS:enkit:En_Project - ok\n"
                        "INFO:enkit:En_Project - a\\x1b]0;b\n"));
    QCOMPARE(stored.text, std::string("a\x1b]0;b\n"));
}

// Issuers and a sink swap running together; TSan checks the sink hand-over.
void TestMsgManData::concurrentIssuers()
{
    MessageCapture capture;
    constexpr int threads = 4;
    constexpr int rounds = 200;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t] {
            const Msg msg = Msg::createObject("enkit", "En_Thread", t);
            for (int i = 0; i < rounds; ++i)
                msg.issueInfo("%d:%d", t, i);
        });
    }
    std::atomic<int> elsewhere{0};
    for (int i = 0; i < 50; ++i)
        Msg::setSink(Msg::setSink([&](const Msg::Message&) { ++elsewhere; }));
    for (auto& worker : workers)
        worker.join();
    QCOMPARE(int(capture.messages().size()) + elsewhere, threads * rounds);
}

QTEST_GUILESS_MAIN(TestMsgManData)
#include "tst_msgmandata.moc"
