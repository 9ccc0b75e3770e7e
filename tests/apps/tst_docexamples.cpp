#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "GantrelRun.h"
#include "TestFiles.h"

// The examples of the documentation, run as written through the host with the shipped
// catalogue and device database: a reader who copies one gets what the text promises.
class tst_DocExamples : public QObject {
    Q_OBJECT

private:
    using Run = GantrelRun;

    // The shipped data only: nothing of the caller's environment chooses other data, and
    // the user's settings stay in the test's directory.
    QProcessEnvironment shippedData() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"GANTREL_CATALOG_PATH", "GANTREL_DEVICE_DB", "GANTREL_DEBUG"})
            environment.remove(name);
        environment.insert("HOME", dir.filePath("home"));
        environment.insert("XDG_CONFIG_HOME", dir.filePath("home/.config"));
        return environment;
    }

    static Run run(const QStringList& arguments, const QProcessEnvironment& environment)
    {
        return runGantrel(arguments, environment);
    }

    static QString document(const QString& name)
    {
        const QString root = QStringLiteral(GANTREL_SOURCE_DIR);
        QFile file(name == "README.md" ? root + "/README.md" : root + "/docs/" + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The first fenced block of the document that holds marker; empty when none does.
    static QString codeBlock(const QString& name, const QString& marker)
    {
        static const QRegularExpression fence(QStringLiteral("```[a-z]*\\n(.*?)```"),
                                              QRegularExpression::DotMatchesEverythingOption);
        auto blocks = fence.globalMatch(document(name));
        while (blocks.hasNext()) {
            const QString text = blocks.next().captured(1);
            if (text.contains(marker))
                return text;
        }
        return QString();
    }

    // A vendorExtensions fragment of the catalogue format, as a component of its own.
    static QByteArray componentAround(const QString& fragment)
    {
        return "<?xml version=\"1.0\"?>\n<ipxact:component xmlns:ipxact=\"http:/"
               "/www.accellera.org/XMLSchema/IPXACT/1685-2014\">\n"
               "<ipxact:vendor>example</ipxact:vendor><ipxact:library>ip</ipxact:library>"
               "<ipxact:name>block_ram_sp</ipxact:name><ipxact:version>2.0</ipxact:version>\n" +
               fragment.toUtf8() + "</ipxact:component>\n";
    }

    static bool isClean(const Run& result)
    {
        return result.exitCode == 0 && !result.err.contains("WARNING:") &&
               !result.err.contains("ERROR:");
    }

    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString fragment = codeBlock("catalog-format.md", "<gantrel:ip xmlns");
        QVERIFY(!fragment.isEmpty());
        QVERIFY(
            TestFiles::write(dir.filePath("catalog/block_ram_sp.xml"), componentAround(fragment)));
        QVERIFY(isClean(run({"--new", dir.filePath("demo")}, shippedData())));
    }

    // The README's main job, run where a user would run it: a project with a generated
    // counter appears under the current directory, and its HDL compiles.
    void quickstartGenerates()
    {
        const QString command = "scripts/gantrel -b examples/quickstart.gtb && ls quickstart";
        QVERIFY(document("README.md").contains(command));
        const QTemporaryDir here;
        QProcess gantrel;
        gantrel.setProcessEnvironment(shippedData());
        gantrel.setWorkingDirectory(here.path());
        gantrel.start(GANTREL_EXECUTABLE, {"-b", GANTREL_SOURCE_DIR "/examples/quickstart.gtb"});
        QVERIFY(gantrel.waitForFinished(60000));
        QVERIFY2(gantrel.exitCode() == 0, gantrel.readAllStandardError().constData());
        const QDir project(here.filePath("quickstart"));
        for (const char* file : {"quickstart.gtcfg", "tick_counter.vhd", "tick_counter.v",
                                 "tick_counter.vho", "tick_counter.veo", "tick_counter.gtc",
                                 "tick_counter_flist.txt", "counter_binary_core.v"})
            QVERIFY2(project.exists(file), file);
        QVERIFY(TestFiles::read(project.filePath("quickstart.gtcfg")).contains("tick_counter"));
        QProcess iverilog;
        iverilog.setWorkingDirectory(project.path());
        iverilog.start("iverilog",
                       {"-g2012", "-o", "/dev/null", "tick_counter.v", "counter_binary_core.v"});
        QVERIFY(iverilog.waitForFinished(60000));
        QVERIFY2(iverilog.exitCode() == 0, iverilog.readAllStandardError().constData());
    }

    void commands_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("command");
        QTest::newRow("list the catalogue") << "README.md"
                                            << "scripts/gantrel --list-ips";
        QTest::newRow("list the parts") << "device-database.md"
                                        << "gantrel --list-parts";
        QTest::newRow("list a family's parts") << "device-database.md"
                                               << "gantrel --list-parts --family NAME";
        QTest::newRow("own catalogue alone")
            << "catalog-format.md"
            << "gantrel --list-ips --no-default-catalog --catalog DIR";
        QTest::newRow("trace a new project")
            << "debug-logging.md"
            << "GANTREL_DEBUG=projmgr scripts/gantrel --new /tmp/demo --force";
        QTest::newRow("trace an opened project")
            << "debug-logging.md"
            << "GANTREL_DEBUG=all:detailed scripts/gantrel --info /tmp/demo";
    }

    // Placeholders become real values: NAME a shipped family, DIR a catalogue directory,
    // /tmp/demo a project of this test.
    void commands()
    {
        QFETCH(QString, name);
        QFETCH(QString, command);
        QVERIFY2(document(name).contains(command), qPrintable(name));
        QProcessEnvironment environment = shippedData();
        QStringList words = command.split(' ');
        if (words[0].contains('=')) {
            const QString assignment = words.takeFirst();
            environment.insert(assignment.section('=', 0, 0), assignment.section('=', 1));
        }
        words.removeFirst();  // the program
        for (QString& word : words) {
            if (word == "NAME")
                word = "tellara3";
            else if (word == "DIR")
                word = QStringLiteral(GANTREL_SOURCE_DIR "/data/catalog");
            else if (word == "/tmp/demo")
                word = dir.filePath("demo");
        }
        const Run result = run(words, environment);
        QVERIFY2(isClean(result), result.err.constData());
        QVERIFY(!result.out.isEmpty());
    }

    void exampleFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("marker");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("arguments");  // FILE: the example's file
        QTest::addColumn<int>("count");              // of the listing, or of the project's IPs
        QTest::addColumn<QString>("shown");          // some text the output holds

        const QStringList info{"--info", "FILE", "--json"};
        QTest::newRow("legacy project") << "legacy-project-formats.md"
                                        << "SELECT \"fifo_sync\""
                                        << "receiver.gtp" << info << 2 << "\"Synchronous FIFO\"";
        QTest::newRow("deprecated project") << "legacy-project-formats.md"
                                            << "component rx_fifo"
                                            << "receiver.gpr" << info << 2 << "\"UART\"";
        QTest::newRow("project file") << "project-file-format.md"
                                      << "<project xmlns"
                                      << "demo.gtcfg" << info << 1 << "\"Receive FIFO\"";
        QTest::newRow("device database")
            << "device-database.md"
            << "\"formatVersion\": 1"
            << "devices.json" << QStringList{"--devices", "FILE", "--list-parts", "--json"} << 7
            << "\"tl3c100\"";
        // Loaded against the shipped device database, whose families it names.
        QTest::newRow("catalogue extension")
            << "catalog-format.md"
            << "<gantrel:ip xmlns"
            << "catalog/block_ram_sp.xml"
            << QStringList{"--list-ips", "--json", "--no-default-catalog", "--catalog", "DIR"} << 1
            << "\"Single-Port Block RAM\"";
    }

    void exampleFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, marker);
        QFETCH(QString, file);
        QFETCH(QStringList, arguments);
        QFETCH(int, count);
        QFETCH(QString, shown);
        const QString text = codeBlock(name, marker);
        QVERIFY2(!text.isEmpty(), qPrintable(marker));
        const QString path = dir.filePath("examples/" + file);
        QVERIFY(
            TestFiles::write(path, file.endsWith(".xml") ? componentAround(text) : text.toUtf8()));
        arguments.replaceInStrings(QRegularExpression("^FILE$"), path);
        arguments.replaceInStrings(QRegularExpression("^DIR$"), QFileInfo(path).absolutePath());

        const Run result = run(arguments, shippedData());
        QVERIFY2(isClean(result), result.err.constData());
        const QJsonDocument json = QJsonDocument::fromJson(result.out);
        const QJsonArray list = json.isArray() ? json.array() : json.object()["ips"].toArray();
        QCOMPARE(list.size(), count);
        QVERIFY2(result.out.contains(shown.toUtf8()), result.out.constData());
    }
};

QTEST_GUILESS_MAIN(tst_DocExamples)
#include "tst_docexamples.moc"
