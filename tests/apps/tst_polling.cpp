#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "GantrelRun.h"
#include "PollingClient.h"
#include "PollingServer.h"
#include "TestFiles.h"

namespace {

QByteArray counter(const QByteArray& name, const QByteArray& width = "8")
{
    return "SELECT \"Binary Counter\" pellor ip 1.1\nCSET component_name = " + name +
           "\nCSET WIDTH = " + width + "\nGENERATE\n";
}

// Makes a file the process cannot delete, or undoes that: root, whom permissions do not
// stop, marks it immutable; anyone else loses the write permission of its directory.
bool protect(const QString& file, bool on)
{
    if (::geteuid() == 0)
        return QProcess::execute("chattr", {on ? "+i" : "-i", file}) == 0;
    const QFileDevice::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
    return QFile::setPermissions(QFileInfo(file).path(),
                                 on ? readOnly : readOnly | QFile::WriteOwner);
}

// Appends with one write per line, as independent writers of one file do.
void appendLines(const QString& file, int count)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    for (int i = 0; i < count && fd >= 0; ++i) {
        if (::write(fd, "SET designentry = VHDL\n", 23) != 23)
            break;
    }
    if (fd >= 0)
        ::close(fd);
}

// One server's share of the stress run: command files of every kind, one after another.
class StressClient {
public:
    StressClient(QString directory, int server) : dir(std::move(directory)), server(server) {}

    // Empty when every file was treated as the protocol says; else the first fault.
    QString run(int files)
    {
        for (int i = 0; i < files && failure.isEmpty(); ++i) {
            if (QFile::exists(dir + "/gantrel.fin"))
                fail(i, "an answer nobody asked for");
            dropOne(i);
        }
        return failure;
    }

    int executed = 0;  // complete files dropped, each to be run exactly once
    QStringList generated;

private:
    QString commandFile() const { return dir + "/gantrel.cmd"; }

    void fail(int i, const QString& what)
    {
        if (failure.isEmpty())
            failure = QStringLiteral("server %1, file %2: %3").arg(server).arg(i).arg(what);
    }

    void dropOne(int i)
    {
        const QByteArray name = QStringLiteral("g_%1_%2").arg(server).arg(i).toUtf8();
        switch (i % 25) {
            case 0:
                generated << name;
                return complete(i, counter(name), name + " Binary_Counter 1.1\nSUCCESS\n");
            case 3:
                return unreadable(i);
            case 5:
                return complete(i, randomBytes(4096), "ERROR\n");
            case 7:  // a directory in the command file's place
                QDir().mkpath(commandFile());
                return leftAlone(i, true);
            case 10:
                TestFiles::write(commandFile(), QByteArray());
                return leftAlone(i, false);
            case 12:
                return concurrentWriters(i);
            case 15:
                return complete(i, QByteArray("SET designentry = VHDL\n").repeated(60000),
                                "ERROR\n");
            case 18:  // truncated, then completed
                return complete(i, "SELECT \"Binary Cou", "ERROR\n");
            case 20:  // truncated and abandoned
                TestFiles::write(commandFile(), "SET designentry = Ver");
                return leftAlone(i, false);
            default:
                return complete(i, "SET designentry = Verilog\nSET busformat = BusFormatNone\n",
                                "SUCCESS\n");
        }
    }

    void expectAnswer(int i, const QByteArray& expected)
    {
        ++executed;
        const QByteArray answer = PollingClient::takeAnswer(dir, 60000);
        if (answer != expected)
            fail(i, "answered '" + answer + "', expected '" + expected + "'");
    }

    // The marker comes in the same write as the commands, or appended after them.
    void complete(int i, QByteArray commands, const QByteArray& expected)
    {
        if (!commands.endsWith('\n'))
            commands += '\n';
        PollingClient::drop(dir, i % 3 ? commands : commands + "COMPLETE\n");
        if (i % 3)
            PollingClient::complete(dir);
        expectAnswer(i, expected);
    }

    // Looked at, never run: the client takes it back after a while.
    void leftAlone(int i, bool directory)
    {
        QThread::msleep(800);
        if (QFileInfo(commandFile()).isDir() != directory || !QFile::exists(commandFile()) ||
            QFile::exists(dir + "/gantrel.fin"))
            fail(i, "an incomplete command file was taken");
        directory ? QDir(commandFile()).removeRecursively() : QFile::remove(commandFile());
    }

    // Root reads it anyway; anyone else gets it back readable after a look.
    void unreadable(int i)
    {
        TestFiles::write(commandFile(), "SET designentry = VHDL\nCOMPLETE\n");
        QFile::setPermissions(commandFile(), {});
        if (::geteuid() != 0) {
            QThread::msleep(800);
            QFile::setPermissions(commandFile(), QFile::ReadOwner | QFile::WriteOwner);
        }
        expectAnswer(i, "SUCCESS\n");
    }

    void concurrentWriters(int i)
    {
        std::vector<std::thread> writers;
        for (int w = 0; w < 4; ++w)
            writers.emplace_back(appendLines, commandFile(), 50);
        for (std::thread& writer : writers)
            writer.join();
        PollingClient::complete(dir);
        expectAnswer(i, "SUCCESS\n");
    }

    QByteArray randomBytes(int size)
    {
        QByteArray bytes(size, '\0');
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        return bytes;
    }

    QString dir;
    int server;
    QString failure;
    QRandomGenerator random{quint32(server)};
};

}  // namespace

// gantrel -poll as a client program drives it, in a temporary directory.
class tst_Polling : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    int servers = 0;

    // A polling directory and its server, not yet started.
    std::pair<QString, std::unique_ptr<PollingServer>> newServer()
    {
        const QString directory = dir.filePath(QStringLiteral("poll%1").arg(++servers));
        QDir().mkpath(directory);
        return {directory, std::make_unique<PollingServer>(GANTREL_EXECUTABLE, directory)};
    }

    static QByteArray answer(const QString& directory, const QByteArray& commands)
    {
        PollingClient::drop(directory, commands + "COMPLETE\n");
        return PollingClient::takeAnswer(directory, 30000);
    }

    static bool endPolling(PollingServer& polling, const QString& directory)
    {
        return answer(directory, "END\n") == "SUCCESS\n" && polling.waitForExit(5000) &&
               polling.exitStatus() == QProcess::NormalExit && polling.exitCode() == 0;
    }

    // The project file holds exactly the generated IPs.
    static void checkProject(const QString& project, QStringList generated)
    {
        const GantrelRun info = runGantrel({"--info", project, "--json"});
        QVERIFY2(info.exitCode == 0, info.err.constData());
        QStringList names;
        for (const QJsonValue ip : QJsonDocument::fromJson(info.out).object()["ips"].toArray())
            names << ip.toObject()["name"].toString();
        names.sort();
        generated.sort();
        QCOMPARE(names, generated);
    }

private slots:
    void incompleteFileWaitsThenGenerates()
    {
        auto [directory, polling] = newServer();
        QVERIFY(polling->start());
        const QByteArray project = QFile::encodeName(directory) + "/board";
        QVERIFY(
            PollingClient::drop(directory, "NEWPROJECT " + project + "\n" + counter("my_counter")));
        QTest::qWait(1200);
        QVERIFY2(QFile::exists(directory + "/gantrel.cmd"), "an incomplete file is left alone");
        QVERIFY(!QFile::exists(directory + "/gantrel.fin"));
        QVERIFY(PollingClient::complete(directory));
        QCOMPARE(PollingClient::takeAnswer(directory, 30000),
                 QByteArray("my_counter Binary_Counter 1.1\nSUCCESS\n"));
        QVERIFY(endPolling(*polling, directory));
        checkProject(QFile::decodeName(project), {"my_counter"});
    }

    void failureAnsweredError_data()
    {
        QTest::addColumn<QByteArray>("commands");
        QTest::newRow("unknown command") << QByteArray("FROBNICATE\n");
        QTest::newRow("value above maximum")
            << "NEWPROJECT " + QFile::encodeName(dir.path()) + "/wide\n" + counter("w", "70");
    }

    void failureAnsweredError()
    {
        QFETCH(QByteArray, commands);
        auto [directory, polling] = newServer();
        QVERIFY(polling->start());
        QCOMPARE(answer(directory, commands), QByteArray("ERROR\n"));
        QCOMPARE(answer(directory, "SET designentry = VHDL\n"), QByteArray("SUCCESS\n"));
        QVERIFY(endPolling(*polling, directory));
    }

    void staleFinishFile_data()
    {
        QTest::addColumn<bool>("deletable");
        QTest::newRow("deleted at start") << true;
        QTest::newRow("undeletable") << false;
    }

    void staleFinishFile()
    {
        QFETCH(bool, deletable);
        auto [directory, polling] = newServer();
        const QString finish = directory + "/gantrel.fin";
        QVERIFY(TestFiles::write(finish, "SUCCESS\n"));
        if (!deletable && !protect(finish, true))
            QSKIP("no file that cannot be deleted here (chattr +i refused)");
        const auto restore = qScopeGuard([&] {
            if (!deletable)
                protect(finish, false);
        });
        QVERIFY(polling->start());
        if (!deletable) {
            QVERIFY(polling->waitForExit(30000));
            QCOMPARE(polling->exitCode(), 1);
            QVERIFY(QFile::exists(finish));
            return;
        }
        QTRY_VERIFY(!QFile::exists(finish));
        QVERIFY(endPolling(*polling, directory));
    }

    // A thousand command files of every kind, dropped in turn into eight polling directories
    // at once (a server takes at most one file per half second): every server stays up,
    // runs each complete file exactly once and answers it, and keeps its project whole.
    void thousandFilesInTurn()
    {
        constexpr int count = 8, filesEach = 125;
        std::vector<std::pair<QString, std::unique_ptr<PollingServer>>> pollings;
        std::vector<std::unique_ptr<StressClient>> clients;
        for (int s = 0; s < count; ++s) {
            pollings.push_back(newServer());
            const QString& directory = pollings.back().first;
            QVERIFY(pollings.back().second->start());
            QCOMPARE(answer(directory, "NEWPROJECT " + QFile::encodeName(directory) + "/p\n"),
                     QByteArray("SUCCESS\n"));
            clients.push_back(std::make_unique<StressClient>(directory, s));
        }
        std::vector<QString> failures(count);
        std::vector<std::thread> threads;
        for (std::size_t s = 0; s < count; ++s)
            threads.emplace_back([&, s] { failures[s] = clients[s]->run(filesEach); });
        for (std::thread& thread : threads)
            thread.join();
        for (std::size_t s = 0; s < count; ++s) {
            auto& [directory, polling] = pollings[s];
            QVERIFY2(failures[s].isEmpty(), qPrintable(failures[s]));
            QVERIFY(endPolling(*polling, directory));
            // With the project's file and END.
            QCOMPARE(polling->messages().count("Executing polling mode command file."),
                     qsizetype(clients[s]->executed + 2));
            checkProject(directory + "/p", clients[s]->generated);
        }
    }
};

QTEST_GUILESS_MAIN(tst_Polling)
#include "tst_polling.moc"
