#include "Port_Process.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

using Port::Process;

namespace {

struct Collected : Port::ChildOutput {
    std::string data;
    int exitCode = -1;
    int exits = 0;

    void Receive(const char* bytes, std::size_t size) override { data.append(bytes, size); }
    void Exited(int code) override
    {
        exitCode = code;
        ++exits;
    }
};

std::vector<Port::String> toArguments(const QStringList& list)
{
    std::vector<Port::String> result;
    for (const QString& item : list)
        result.emplace_back(item.toStdString());
    return result;
}

QStringList fromArguments(const std::vector<Port::String>& arguments)
{
    QStringList result;
    for (const Port::String& argument : arguments)
        result << QString::fromStdString(argument.str());
    return result;
}

// What port_echo_args wrote: its arguments, each NUL-terminated.
QStringList echoed(const std::string& data)
{
    QStringList result = QString::fromStdString(data).split(QChar(0));
    result.removeLast();
    return result;
}

int run(const QStringList& arguments, Collected& output, unsigned timeoutMs = 0,
        bool collectStdout = true, bool collectStderr = false)
{
    return Process::RunNoWindow(toArguments(arguments), &output, timeoutMs, true, collectStdout,
                                collectStderr);
}

}  // namespace

class TestProcess : public QObject {
    Q_OBJECT

private slots:
    void splitCommandLine_data();
    void splitCommandLine();
    void refusedCommands_data();
    void refusedCommands();
    void exitCodes_data();
    void exitCodes();
    void argumentsArriveUnchanged();
    void commandLineQuoting();
    void chosenStreams_data();
    void chosenStreams();
    void largeOutputOnBothStreams();
    void timeoutKills_data();
    void timeoutKills();
    void inheritedDescriptorsAreClosed();
    void noWaitLeavesNoZombie();
};

void TestProcess::splitCommandLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("blanks and tabs") << " a \t b  c\t" << true << QStringList{"a", "b", "c"};
    QTest::newRow("quotes join text") << R"(a"b c"d)" << true << QStringList{"ab cd"};
    QTest::newRow("escapes in quotes")
        << R"("say \"hi\" \\ \n")" << true << QStringList{R"(say "hi" \ \n)"};
    QTest::newRow("backslash outside quotes")
        << R"(a\b c\\)" << true << QStringList{R"(a\b)", R"(c\\)"};
    QTest::newRow("empty quoted argument") << R"(a "" b)" << true << QStringList{"a", "", "b"};
    QTest::newRow("unbalanced") << R"(a "b c)" << false << QStringList{};
    QTest::newRow("escaped closing quote") << R"("a\")" << false << QStringList{};
    QTest::newRow("empty") << "" << false << QStringList{};
    QTest::newRow("only blanks") << " \t " << false << QStringList{};
}

void TestProcess::splitCommandLine()
{
    QFETCH(QString, line);
    QFETCH(bool, ok);
    QFETCH(QStringList, expected);
    std::vector<Port::String> arguments;
    QCOMPARE(Process::SplitCommandLine(line.toStdString(), arguments), ok);
    QCOMPARE(fromArguments(arguments), expected);
}

void TestProcess::refusedCommands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("result");
    QTest::newRow("no arguments") << QStringList{} << int(Process::BAD_COMMAND);
    QTest::newRow("not on PATH") << QStringList{"gantrel-no-such-program"}
                                 << int(Process::NOT_STARTED);
    QTest::newRow("missing path") << QStringList{"/nonexistent/gantrel/prog"}
                                  << int(Process::NOT_STARTED);
    QTest::newRow("directory") << QStringList{"/tmp"} << int(Process::NOT_STARTED);
}

void TestProcess::refusedCommands()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, result);
    Collected output;
    QCOMPARE(run(arguments, output), result);
    QCOMPARE(output.exits, 0);
    QCOMPARE(Process::RunNoWindow(Port::String("a \"b"), &output, 0, true, true, true),
             int(Process::BAD_COMMAND));
}

void TestProcess::exitCodes_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("zero") << "exit 0" << int(Process::RAN) << 0;
    QTest::newRow("nonzero") << "exit 7" << int(Process::EXITED_NONZERO) << 7;
    QTest::newRow("signalled") << "kill -KILL $$" << int(Process::SIGNALLED) << -1;
    QTest::newRow("stdin is empty") << "cat; exit 3" << int(Process::EXITED_NONZERO) << 3;
}

void TestProcess::exitCodes()
{
    QFETCH(QString, script);
    QFETCH(int, result);
    QFETCH(int, exitCode);
    Collected output;
    QCOMPARE(run({"sh", "-c", script}, output), result);
    QCOMPARE(output.exitCode, exitCode);
    QCOMPARE(output.exits, exitCode < 0 ? 0 : 1);
}

void TestProcess::argumentsArriveUnchanged()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString marker = dir.filePath("touched");
    const QStringList arguments{"it's \"quoted\"",
                                "two  blanks\tand a tab",
                                "$(touch " + marker + ")",
                                "`touch " + marker + "`; | * ? ~",
                                "",
                                R"(back\slash\")"};
    Collected output;
    QCOMPARE(run(QStringList{ECHO_ARGS} + arguments, output), int(Process::RAN));
    QCOMPARE(echoed(output.data), arguments);
    QVERIFY(!QFile::exists(marker));
}

void TestProcess::commandLineQuoting()
{
    const QString line =
        QStringLiteral(R"cl("%1" "a b" "say \"hi\"" "$(echo x)" plain "" x"y z")cl")
            .arg(QStringLiteral(ECHO_ARGS));
    Collected output;
    QCOMPARE(Process::RunNoWindow(line.toStdString(), &output, 0, true, true, false),
             int(Process::RAN));
    QCOMPARE(echoed(output.data),
             (QStringList{"a b", R"(say "hi")", "$(echo x)", "plain", "", "xy z"}));
}

void TestProcess::chosenStreams_data()
{
    QTest::addColumn<bool>("collectStdout");
    QTest::addColumn<bool>("collectStderr");
    QTest::addColumn<QString>("expected");
    QTest::newRow("stdout") << true << false << "out";
    QTest::newRow("stderr") << false << true << "err";
    QTest::newRow("both") << true << true << "outerr";
    QTest::newRow("neither") << false << false << "";
}

void TestProcess::chosenStreams()
{
    QFETCH(bool, collectStdout);
    QFETCH(bool, collectStderr);
    QFETCH(QString, expected);
    Collected output;
    // The pause keeps the order of the two streams fixed.
    QCOMPARE(run({"sh", "-c", "printf out; sleep 0.1; printf err >&2"}, output, 0, collectStdout,
                 collectStderr),
             int(Process::RAN));
    QCOMPARE(QString::fromStdString(output.data), expected);
    QCOMPARE(output.exitCode, 0);
}

// Either pipe left unread would fill up and stall the child.
void TestProcess::largeOutputOnBothStreams()
{
    Collected output;
    QCOMPARE(run({"sh", "-c", "head -c 300000 /dev/zero >&2; head -c 700000 /dev/zero"}, output,
                 20000, true, true),
             int(Process::RAN));
    QCOMPARE(output.data.size(), std::size_t(1000000));
}

void TestProcess::timeoutKills_data()
{
    QTest::addColumn<bool>("collect");
    QTest::newRow("reading output") << true;
    QTest::newRow("output discarded") << false;
}

void TestProcess::timeoutKills()
{
    QFETCH(bool, collect);
    Collected output;
    const auto start = std::chrono::steady_clock::now();
    QCOMPARE(run({"sleep", "30"}, output, 200, collect, collect), int(Process::SYSTEM_ERROR));
    QVERIFY(std::chrono::steady_clock::now() - start < std::chrono::seconds(10));
    QCOMPARE(output.exits, 0);
}

void TestProcess::inheritedDescriptorsAreClosed()
{
    if (!QFile::exists("/proc/self/fd"))
        QSKIP("needs /proc/self/fd to look at the child's descriptors");
    const int leaked = ::open("/dev/null", O_RDONLY);  // deliberately without O_CLOEXEC
    QVERIFY(leaked > 2);
    Collected output;
    const int result = run(
        {"sh", "-c", QString("test -e /proc/self/fd/%1 && exit 1; exit 0").arg(leaked)}, output);
    ::close(leaked);
    QCOMPARE(result, int(Process::RAN));
}

void TestProcess::noWaitLeavesNoZombie()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString marker = dir.filePath("done");
    Collected output;
    QCOMPARE(
        Process::RunNoWindow(toArguments({"sh", "-c", "sleep 0.5; touch \"$1\"", "sh", marker}),
                             &output, 0, false, true, true),
        int(Process::RAN));
    QVERIFY(!QFile::exists(marker));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    // Looks without reaping: no child of ours may remain, exited or not.
    siginfo_t info{};
    QTRY_VERIFY_WITH_TIMEOUT(
        waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD, 10000);
    QCOMPARE(output.exits, 0);
}

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
