#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "En_EndWatchThread.h"
#include "En_Project.h"
#include "GantrelRun.h"
#include "Ipu_CustomizedIP.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "Sim_CatalogLoader.h"
#include "TestCatalog.h"
#include "TestDevices.h"
#include "TestFiles.h"
#include "TestNavigator.h"

// The host program as a user or a script runs it.
class tst_Gantrel : public QObject {
    Q_OBJECT

private:
    using Run = GantrelRun;

    // Runs gantrel with the catalogue and device database of the test unless told otherwise.
    static Run run(const QStringList& arguments, const QProcessEnvironment& environment = {})
    {
        return runGantrel(arguments, environment);
    }

    static QJsonArray jsonArray(const QByteArray& text)
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(text, &error);
        if (error.error != QJsonParseError::NoError)
            qWarning("not JSON: %s", qPrintable(error.errorString()));
        return document.array();
    }

    // A project of the shipped binary counter twice: count_a 8 bits wide, count_b as given.
    static void writeCounterProject(const QString& file, const QString& widthB)
    {
        Sim::CatalogLoader::Counts counts;
        QCOMPARE(Sim::CatalogLoader::Load({GANTREL_SOURCE_DIR "/data/catalog"}, counts), 0u);
        {
            En::EndWatchThread::Start();
            En::Project project(Port::FileName(file.toStdString()), true);
            Ipu::ProjectOptions options;
            project.GetProjectOptions(options);
            const auto counter = boost::dynamic_pointer_cast<Ipu::IPComponent>(
                Ipu::ElementIndex::GetElement("pellor:ip:counter_binary:1.1"));
            for (const auto& [name, width] :
                 {std::pair<QString, QString>{"count_a", "8"}, {"count_b", widthB}}) {
                const auto ip = TestCatalog::customize(counter, name);
                ip->GetParameters().SetValue("WIDTH", width.toStdString());
                Ipu::CustomizedIP(ip).SetProjectOptions(options);
                QVERIFY(project.AddIP(En::Ip(ip)));
            }
            QVERIFY(project.SaveProject());
            En::EndWatchThread::SetFinished();
        }
        Ipu::ElementIndex::Clear();
    }

    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        using TestCatalog::Component;
        TestFiles::write(
            dir.filePath("catalog/a/alpha.xml"),
            TestCatalog::toXml(
                Component("alpha").withDisplayName("Alpha").withFamilies({"korvane"})));
        TestFiles::write(dir.filePath("catalog/b/beta_v2.xml"),
                         TestCatalog::toXml(Component("beta").withVersion("2.0")));
        TestFiles::write(dir.filePath("catalog/b/broken.xml"), "<component><vendor>");
        TestFiles::write(dir.filePath("catalog/b/readme.txt"), "not a component");
    }

    void version()
    {
        const Run result = run({"--version"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("Pellor Gantrel " GANTREL_VERSION "\n"));
    }

    void unknownOptionFails()
    {
        const Run result = run({"--no-such-option"});
        QVERIFY(result.exitCode != 0);
        QVERIFY2(result.err.contains("no-such-option"), result.err.constData());
    }

    // A damaged file is skipped with a warning naming it; the listing is still produced.
    void listIpsAsJson()
    {
        const Run result = run(
            {"--catalog", dir.filePath("catalog"), "--no-default-catalog", "--list-ips", "--json"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.err.contains("WARNING:sim:Sim_CatalogLoader") &&
                     result.err.contains("broken.xml"),
                 result.err.constData());
        const QJsonArray ips = jsonArray(result.out);
        QCOMPARE(ips.size(), 2);
        const QJsonObject alpha = ips[0].toObject();
        QCOMPARE(alpha["vlnv"].toString(), QString("pellor:test:alpha:1.0"));
        QCOMPARE(alpha["displayName"].toString(), QString("Alpha"));
        QCOMPARE(alpha["status"].toString(), QString("Production"));
        QCOMPARE(alpha["families"].toArray(), QJsonArray{"korvane"});
        QVERIFY(alpha["file"].toString().endsWith("catalog/a/alpha.xml"));
        for (const char* key : {"name", "version", "description", "parameters"})
            QVERIFY2(alpha.contains(key), key);
        // An IP-XACT file of another tool: no display name, no families.
        const QJsonObject beta = ips[1].toObject();
        QCOMPARE(beta["displayName"].toString(), QString("beta"));
        QCOMPARE(beta["families"].toArray(), QJsonArray{"all"});
        QCOMPARE(beta["latest"], QJsonValue(true));
    }

    // Versions order by their numbers, the highest is the latest; choices keep their labels.
    void listIpsOrdersVersions()
    {
        for (const char* version : {"1.10", "1.2", "1.9"}) {
            const QByteArray xml =
                QByteArray(
                    "<ipxact:component xmlns:ipxact=\"http://www.accellera.org/XMLSchema/"
                    "IPXACT/1685-2014\"><ipxact:vendor>other</ipxact:vendor>"
                    "<ipxact:library>lib</ipxact:library><ipxact:name>w</ipxact:name>"
                    "<ipxact:version>") +
                version +
                "</ipxact:version><ipxact:choices><ipxact:choice><ipxact:name>modes</ipxact:name>"
                "<ipxact:enumeration text=\"Fast mode\">\"fast\"</ipxact:enumeration>"
                "<ipxact:enumeration>\"small\"</ipxact:enumeration></ipxact:choice>"
                "</ipxact:choices><ipxact:parameters><ipxact:parameter parameterId=\"MODE\" "
                "choiceRef=\"modes\"><ipxact:name>MODE</ipxact:name><ipxact:value>\"fast\""
                "</ipxact:value></ipxact:parameter></ipxact:parameters></ipxact:component>";
            TestFiles::write(dir.filePath(QString("versions/w_%1.xml").arg(version)), xml);
        }
        const Run result = run({"--catalog", dir.filePath("versions"), "--no-default-catalog",
                                "--list-ips", "--json"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        const QJsonArray ips = jsonArray(result.out);
        QStringList order;
        for (const QJsonValue& ip : ips)
            order << ip["version"].toString() + (ip["latest"].toBool() ? " latest" : "");
        QCOMPARE(order, (QStringList{"1.2", "1.9", "1.10 latest"}));
        const QJsonObject mode = ips[0]["parameters"][0].toObject();
        QCOMPARE(mode["choices"].toArray(), (QJsonArray{"fast", "small"}));
        QCOMPARE(mode["choiceLabels"].toArray(), (QJsonArray{"Fast mode", "small"}));
    }

    void catalogAddsToEmbedded_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("environment");  // GANTREL_CATALOG_PATH; null: unset
        QTest::addColumn<bool>("ours");
        QTest::addColumn<bool>("embedded");
        const QString a = dir.filePath("catalog/a");
        QTest::newRow("embedded only") << QStringList() << QByteArray() << false << true;
        QTest::newRow("--catalog adds")
            << QStringList{"--catalog", a} << QByteArray() << true << true;
        QTest::newRow("--no-default-catalog leaves it out")
            << QStringList{"--catalog", a, "--no-default-catalog"} << QByteArray() << true << false;
        QTest::newRow("environment adds") << QStringList() << a.toUtf8() << true << true;
    }

    void catalogAddsToEmbedded()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, environment);
        QFETCH(bool, ours);
        QFETCH(bool, embedded);
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        variables.remove("GANTREL_CATALOG_PATH");
        if (!environment.isNull())
            variables.insert("GANTREL_CATALOG_PATH", QString::fromUtf8(environment));
        const Run result = run(arguments + QStringList{"--list-ips", "--json"}, variables);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        QStringList vlnvs;
        for (const QJsonValue& ip : jsonArray(result.out))
            vlnvs << ip.toObject()["vlnv"].toString();
        QCOMPARE(vlnvs.contains("pellor:test:alpha:1.0"), ours);
        QCOMPARE(vlnvs.contains("pellor:ip:fifo_sync:2.1"), embedded);
    }

    void catalogFromEnvironment()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GANTREL_CATALOG_PATH",
                           dir.filePath("catalog/a") + ":" + dir.filePath("nowhere"));
        const Run result = run({"--list-ips", "--no-default-catalog"}, environment);
        QVERIFY2(result.err.contains("nowhere"), "a missing directory is named");
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.out.contains("pellor:test:alpha:1.0") && !result.out.contains("beta"),
                 result.out.constData());
    }

    void embeddedCatalogueLoadsCleanly()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("GANTREL_CATALOG_PATH");
        const Run result = run({"--list-ips", "--json"}, environment);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        QVERIFY(jsonArray(result.out).size() >= 10);
    }

    void listParts_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("family");
        QTest::newRow("all") << QStringList{"--list-parts", "--json"} << 0 << "";
        QTest::newRow("by internal name")
            << QStringList{"--list-parts", "--family", "KORVANE", "--json"} << 0 << "korvane";
        QTest::newRow("unknown family")
            << QStringList{"--list-parts", "--family", "nosuch", "--json"} << 1 << "";
    }

    void listParts()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, family);
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode != 0) {
            QVERIFY2(result.err.contains("nosuch"), result.err.constData());
            return;
        }
        const QJsonArray parts = jsonArray(result.out);
        QVERIFY(parts.size() >= 20);
        for (const QJsonValue& part : parts) {
            const QJsonObject object = part.toObject();
            QCOMPARE(object.keys(), QStringList({"device", "family", "package", "speedgrade"}));
            if (!family.isEmpty())
                QCOMPARE(object["family"].toString(), family);
        }
    }

    void damagedDeviceDatabaseFails()
    {
        TestFiles::write(dir.filePath("devices.json"), "{ \"formatVersion\": 1, ");
        const Run result = run({"--devices", dir.filePath("devices.json"), "--list-parts"});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains("devices.json"), result.err.constData());
    }

    // A project made here with one IP, then read back by the host.
    void projectInfo()
    {
        using TestCatalog::Component;
        TestFiles::write(dir.filePath("devices.json"), TestDevices::json());
        QVERIFY(TestDevices::load());
        const auto catalogue = TestCatalog::load(Component("alpha").withFamilies({"alpha"}));
        TestFiles::write(dir.filePath("info/alpha.xml"),
                         TestCatalog::toXml(Component("alpha").withFamilies({"alpha"})));
        const QString file = dir.filePath("info/board.gtcfg");
        {
            En::EndWatchThread::Start();
            En::Project project(Port::FileName(file.toStdString()), true);
            const auto ip = TestCatalog::customize(catalogue, "my_alpha");
            Ipu::Parameters::Parameter depth;
            depth.name = "DEPTH";
            depth.value = "16";
            ip->GetParameters().Add(depth);
            Ipu::CustomizedIP(ip).SetProjectOptions([&] {
                Ipu::ProjectOptions options;
                project.GetProjectOptions(options);
                return options;
            }());
            QVERIFY(project.AddIP(En::Ip(ip)));
            QVERIFY(project.SaveProject());
            En::EndWatchThread::SetFinished();
        }
        Ipu::ElementIndex::Clear();

        const QStringList data{"--catalog", dir.filePath("info"), "--no-default-catalog",
                               "--devices", dir.filePath("devices.json")};
        const Run result = run(data + QStringList{"--info", file, "--json"});
        QCOMPARE(result.exitCode, 0);
        const QJsonObject info = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(info["name"].toString(), QString("board"));
        QCOMPARE(info["file"].toString(), QFileInfo(file).absoluteFilePath());
        const QString date = info["date"].toString();
        QVERIFY2(QDateTime::fromString(date, Qt::ISODate).isValid() && date.endsWith('Z'),
                 qPrintable(date));
        QCOMPARE(info["part"].toObject()["device"].toString(), QString("a10"));
        QCOMPARE(info["options"].toObject()["DeviceFamily"].toString(), QString("alpha"));
        const QJsonArray ips = info["ips"].toArray();
        QCOMPARE(ips.size(), 1);
        QCOMPARE(ips[0].toObject()["vlnv"].toString(), QString("pellor:test:alpha:1.0"));
        QCOMPARE(ips[0].toObject()["name"].toString(), QString("my_alpha"));
        const QJsonObject depth{{"name", "DEPTH"}, {"value", "16"}};
        QCOMPARE(ips[0].toObject()["parameters"].toArray(), QJsonArray{depth});

        const Run text = run(data + QStringList{"--info", file});
        QCOMPARE(text.exitCode, 0);
        QVERIFY2(text.out.contains("Date:  on ") &&
                     text.out.contains("\nParameters of my_alpha:\n  DEPTH = 16\n"),
                 text.out.constData());
    }

    // Every IP is regenerated on the engine's workers with a line each; an IP that fails
    // fails the run but not the others, and the project file is left as it was.
    void regenerateProject_data()
    {
        QTest::addColumn<QString>("badWidth");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("all good") << "12" << 0;
        QTest::newRow("one refused") << "99" << 1;
    }

    void regenerateProject()
    {
        QFETCH(QString, badWidth);
        QFETCH(int, exitCode);
        const QTemporaryDir projectDir;
        const QString file = projectDir.filePath("board.gtcfg");
        writeCounterProject(file, badWidth);
        QVERIFY(!QTest::currentTestFailed());
        const QByteArray saved = TestFiles::read(file);

        const Run result = run({"--regenerate", file, "--jobs", "2"});
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.contains("[1/2] ") && result.err.contains("[2/2] "),
                 result.err.constData());
        QVERIFY(QFile::exists(projectDir.filePath("count_a.vhd")));
        QCOMPARE(QFile::exists(projectDir.filePath("count_b.vhd")), exitCode == 0);
        if (exitCode != 0) {
            QVERIFY2(result.err.contains("ERROR:simc:SimC_GenerationRun - Generation of count_b "
                                         "failed: WIDTH: 99 is above the maximum 64\n"),
                     result.err.constData());
            QCOMPARE(TestFiles::read(file), saved);
        }
    }

    // An IP generated in one project joins another, regenerated there; without a user at
    // hand a hand-edited file is not taken, and a name the project has is skipped.
    void importsCustomizedIpFile_data()
    {
        QTest::addColumn<QString>("into");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        QTest::newRow("another project") << "other" << false << 0 << "Imported count_a into ";
        QTest::newRow("name taken") << "board.gtcfg" << false << 1 << "Skipping import.";
        QTest::newRow("hand-edited") << "other" << true << 1 << "(answered No)";
    }

    void importsCustomizedIpFile()
    {
        QFETCH(QString, into);
        QFETCH(bool, edited);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        const QTemporaryDir projectDir;
        const QString file = projectDir.filePath("board.gtcfg");
        writeCounterProject(file, "12");
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(run({"--regenerate", file}).exitCode, 0);
        const QString gtc = projectDir.filePath("count_a.gtc");
        if (edited)
            TestFiles::write(gtc, TestFiles::read(gtc).replace("WIDTH = 8", "WIDTH = 9"));
        const QString target = projectDir.filePath(into);
        if (into == "other")
            QCOMPARE(run({"--new", target}).exitCode, 0);

        const Run result = run({"--import", gtc, "--project", target});
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2((result.out + result.err).contains(said.toUtf8()), result.err.constData());
        QCOMPARE(QFile::exists(projectDir.filePath("other/count_a.vhd")), exitCode == 0);
    }

    // Each source file a regeneration writes is reported to the navigator, whichever worker
    // generated it.
    void regenerationTellsTheNavigator()
    {
        const QTemporaryDir projectDir;
        const QString file = projectDir.filePath("board.gtcfg");
        writeCounterProject(file, "12");
        QVERIFY(!QTest::currentTestFailed());
        TestNavigator navigator;
        const Run result = run({"--regenerate", file, "--jobs", "2", "--navigator",
                                QStringLiteral("127.0.0.1:%1").arg(navigator.port())});
        QCOMPARE(result.exitCode, 0);
        const QStringList received = navigator.received();
        for (const char* ip : {"count_a.vhd", "count_b.vhd"}) {
            const QString line = "PJ::AddSource " + projectDir.filePath(QString::fromLatin1(ip));
            QVERIFY2(received.contains(line), qPrintable(received.join('\n')));
        }
        QCOMPARE(navigator.connectionsAccepted(), 1);
    }

    // A batch file runs to its end, or stops at the first refused command with its line;
    // a file that cannot be read runs nothing; the project is left as it was.
    void batchFiles_data()
    {
        QTest::addColumn<QByteArray>("commands");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QByteArray counter = "SETPROJECT p.gtcfg\nSELECT \"Binary Counter\" pellor ip 1.1\n";
        QTest::newRow("good") << counter + "CSET component_name = c8\nCSET WIDTH = 8\nGENERATE\n"
                              << 0 << "";
        QTest::newRow("stops at END") << counter + "END\nCSET WIDTH = 99\n" << 0 << "";
        QTest::newRow("malformed line") << counter + "CSET WIDTH 8\nGENERATE\n"
                                        << 1 << "b.gtb:3: CSET needs name = value";
        QTest::newRow("unknown command") << counter + "FROB\nGENERATE\n"
                                         << 1 << "b.gtb:3: unknown command 'FROB'";
        QTest::newRow("value refused") << counter + "CSET WIDTH = 99\nGENERATE\n"
                                       << 1 << "b.gtb:3: WIDTH: 99 is above the maximum 64";
        QTest::newRow("unknown IP") << QByteArray("SELECT \"Frobnicator\" pellor ip 1.0\n") << 1
                                    << "b.gtb:1: the catalogue has no IP";
    }

    void batchFiles()
    {
        QFETCH(QByteArray, commands);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QTemporaryDir here;
        QVERIFY(run({"--new", here.filePath("p.gtcfg")}).exitCode == 0);
        const QByteArray project = TestFiles::read(here.filePath("p.gtcfg"));
        TestFiles::write(here.filePath("b.gtb"), commands);
        const Run result = run({"-b", here.filePath("b.gtb"), "-p", here.path()});
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.contains(message.toUtf8()), result.err.constData());
        QCOMPARE(QFile::exists(here.filePath("c8.vhd")),
                 exitCode == 0 && message.isEmpty() && commands.contains("GENERATE"));
        if (exitCode != 0)
            QCOMPARE(TestFiles::read(here.filePath("p.gtcfg")), project);
    }

    void projectInfoOfMissingOrDamagedFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("damaged") << QByteArray("<gantrelproject><design");
    }

    void projectInfoOfMissingOrDamagedFile()
    {
        QFETCH(QByteArray, content);
        const QString file = dir.filePath("bad/project.gtcfg");
        QFile::remove(file);
        if (!content.isEmpty())
            TestFiles::write(file, content);
        const Run result = run({"--info", file});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains("ERROR:enkit:En_Project - Project " +
                                     QFileInfo(file).absoluteFilePath().toUtf8() +
                                     " could not be opened"),
                 result.err.constData());
        if (!content.isEmpty())
            QCOMPARE(QFile(file).size(), qint64(content.size()));
    }

    // A new project in a directory, then read back by naming the directory; a legacy file
    // is migrated on the way.
    void newProjectThenInfo()
    {
        const QStringList data{"--catalog", dir.filePath("info"), "--no-default-catalog",
                               "--devices", dir.filePath("devices.json")};
        TestFiles::write(dir.filePath("devices.json"), TestDevices::json());
        const QString project = dir.filePath("fresh/design");
        const Run created = run(data + QStringList{"--new", project});
        QCOMPARE(created.exitCode, 0);
        const QString file = QFileInfo(project + "/gantrel.gtcfg").absoluteFilePath();
        QCOMPARE(created.out.trimmed(), file.toUtf8());
        const Run shown = run(data + QStringList{"--info", project, "--json"});
        QCOMPARE(shown.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(shown.out).object()["file"].toString(), file);

        TestFiles::write(dir.filePath("legacy/old.gtp"),
                         "SET DeviceFamily = alpha\nSET Device = a10\nSET Package = p1\n"
                         "SET SpeedGrade = -1\n");
        const Run migrated = run(data + QStringList{"--info", dir.filePath("legacy/old.gtp")});
        QCOMPARE(migrated.exitCode, 0);
        QVERIFY2(!QFile::exists(dir.filePath("legacy/old.gtcfg")), "showing writes nothing");
    }

    // A mistake on the command line is refused with one line and status 2, never guessed at.
    void usageErrors_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("reason");
        QTest::newRow("plain argument") << "--list-ips stray"
                                        << "unexpected argument 'stray'";
        QTest::newRow("two modes") << "--list-ips --info p.gtcfg"
                                   << "--list-ips, --info cannot be given together";
        QTest::newRow("json without a mode")
            << "--json"
            << "--json only goes with --list-ips, --list-parts, --info, --actions or --updates";
        QTest::newRow("family without listing parts") << "--list-ips --family alpha"
                                                      << "--family only goes with --list-parts";
        QTest::newRow("force without new") << "--info p.gtcfg --force"
                                           << "--force only goes with --new or --properties-xml";
        QTest::newRow("force with updates") << "--updates --force"
                                            << "--force only goes with --new or --properties-xml";
        QTest::newRow("json with properties") << "--properties-xml p.xml --json"
                                              << "--json only goes with --list-ips, --list-parts, "
                                                 "--info, --actions or --updates";
        QTest::newRow("properties and updates") << "--updates --properties-xml p.xml"
                                                << "--properties-xml, --updates cannot be given "
                                                   "together";
        QTest::newRow("properties without a file") << "--properties-xml"
                                                   << "Missing value after '--properties-xml'.";
        QTest::newRow("jobs without regenerate") << "--info p.gtcfg --jobs 2"
                                                 << "--jobs only goes with --regenerate";
        QTest::newRow("jobs not a count") << "--regenerate p.gtcfg --jobs 0"
                                          << "--jobs takes a whole number from 1 to 256, not '0'";
        QTest::newRow("two batch modes") << "-b a.gtb -poll dir"
                                         << "-b, -poll cannot be given together";
        QTest::newRow("-p without a batch mode") << "--info p.gtcfg -p dir"
                                                 << "-p only goes with -b or -poll";
        QTest::newRow("navigator without a generating mode")
            << "--info p.gtcfg --navigator localhost:4000"
            << "--navigator only goes with -b, -poll, --regenerate or --import";
        QTest::newRow("import without a project") << "--import a.gtc"
                                                  << "--import needs --project PROJECT";
        QTest::newRow("project without import") << "--info p.gtcfg --project q.gtcfg"
                                                << "--project only goes with --import";
        QTest::newRow("navigator without a port")
            << "-b a.gtb --navigator localhost"
            << "--navigator takes HOST:PORT with a port from 1 to 65535, not 'localhost'";
        QTest::newRow("navigator without a host")
            << "-b a.gtb --navigator :4000"
            << "--navigator takes HOST:PORT with a port from 1 to 65535, not ':4000'";
        QTest::newRow("navigator port out of range")
            << "-poll dir --navigator localhost:65536"
            << "--navigator takes HOST:PORT with a port from 1 to 65535, not 'localhost:65536'";
        QTest::newRow("navigator port zero")
            << "--regenerate p.gtcfg --navigator localhost:0"
            << "--navigator takes HOST:PORT with a port from 1 to 65535, not 'localhost:0'";
        QTest::newRow("unknown option") << "--no-such-option"
                                        << "Unknown option 'no-such-option'.";
        // Decoded, the byte would name another file; it is refused instead.
        QTest::newRow("not UTF-8") << "--info \"$(printf 'a\\377.gtcfg')\""
                                   << "argument 'a\\xff.gtcfg' is not UTF-8 text";
    }

    void usageErrors()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, reason);
        // Through the shell, so that an argument can reach gantrel as raw bytes.
        QProcess process;
        process.start("/bin/sh", {"-c", "exec \"$0\" " + arguments, GANTREL_EXECUTABLE});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 "gantrel: " + reason + " (see gantrel --help)\n");
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }

    // Without a mode gantrel opens the main window, modifiers or not; with no display to
    // show it on, it says so in one line instead of aborting.
    void windowNeedsADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no arguments") << QStringList{};
        QTest::newRow("catalogue only") << QStringList{"--catalog", "/tmp", "--quiet"};
    }

    void windowNeedsADisplay()
    {
        QFETCH(QStringList, arguments);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(name);
        const Run result = run(arguments, environment);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(QString::fromUtf8(result.err),
                 QString("gantrel: no display to show the main window on (DISPLAY is not set); "
                         "give a command instead (see gantrel --help)\n"));
        QVERIFY(result.out.isEmpty());
    }

    // An existing project is replaced only when asked; a file of another kind never.
    void newProjectKeepsExistingFiles_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("message");
        const QString exists = "Project file %1 exists already; give --force to replace it";
        QTest::newRow("project") << "p/gantrel.gtcfg"
                                 << "p" << false << exists;
        QTest::newRow("legacy project") << "old/gantrel.gtp"
                                        << "old" << false << exists;
        QTest::newRow("project, forced") << "f/gantrel.gtcfg"
                                         << "f" << true << "";
        QTest::newRow("another kind, forced")
            << "notes.txt"
            << "notes.txt" << true << "%1 is not a project file; it is left as it is";
    }

    void newProjectKeepsExistingFiles()
    {
        QFETCH(QString, existing);
        QFETCH(QString, target);
        QFETCH(bool, force);
        QFETCH(QString, message);
        QTemporaryDir work;
        const QString file = work.filePath(existing);
        TestFiles::write(file, "the user's");
        const Run result = run(QStringList{"--new", work.filePath(target)} +
                               (force ? QStringList{"--force"} : QStringList{}));
        if (message.isEmpty()) {
            QCOMPARE(result.exitCode, 0);
            QVERIFY(TestFiles::read(file).contains("<"));
            return;
        }
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(
            result.err.contains("ERROR:gantrel:gantrel - " + message.arg(file).toUtf8() + "\n"),
            result.err.constData());
        QCOMPARE(TestFiles::read(file), QByteArray("the user's"));
        QCOMPARE(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    }

    // Showing a legacy project migrates it in a copy: a read-only directory stays as it was.
    void infoWritesNothing()
    {
        QTemporaryDir work;
        const QString legacy = work.filePath("ro/old.gtp");
        TestFiles::write(legacy, "SET DeviceFamily = alpha\nSET Device = a10\n");
        const QString directory = work.filePath("ro");
        QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const Run result = run({"--info", legacy, "--json"});
        QFile::setPermissions(
            directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(result.out).object()["file"].toString(), legacy);
        QCOMPARE(QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList("old.gtp"));
        QCOMPARE(TestFiles::read(legacy),
                 QByteArray("SET DeviceFamily = alpha\nSET Device = a10\n"));
    }

    // Warnings and errors always show; --quiet hides only the chatter.
    void quietHidesStatusLines_data()
    {
        QTest::addColumn<bool>("quiet");
        QTest::newRow("normal") << false;
        QTest::newRow("quiet") << true;
    }

    void quietHidesStatusLines()
    {
        QFETCH(bool, quiet);
        QTemporaryDir work;
        const Run result =
            run(QStringList{"--catalog", dir.filePath("catalog/b"), "--new", work.path()} +
                (quiet ? QStringList{"--quiet"} : QStringList{}));
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.err.contains("WARNING:") && result.err.contains("broken.xml"),
                 result.err.constData());
        QCOMPARE(result.err.contains("STATUS:"), !quiet);
    }

    // Without the engine component no project opens; the user is told why, once.
    void missingEngineComponentIsNamed()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GANTREL_COMPONENT_PATH", dir.filePath("no-components"));
        QTemporaryDir work;
        const Run result = run({"--new", work.path()}, environment);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err.count("ERROR:gantrel:gantrel - The engine component gantrel_simc "
                                  "could not be loaded: "),
                 1);
        QVERIFY2(result.err.contains("no-components"), result.err.constData());
    }

    // The actions a user would be offered, in their order, with text, name and state.
    void listActions_data()
    {
        QTest::addColumn<QStringList>("ip");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("project") << QStringList() << 0
                                 << QStringList{"import_gtc_file", "change_project_options"};
        QTest::newRow("catalogue IP")
            << QStringList{"--ip", "pellor:test:alpha:1.0"} << 0
            << QStringList{"view_datasheet", "supported_families", "current_options"};
        QTest::newRow("unknown IP")
            << QStringList{"--ip", "pellor:test:none:1.0"} << 1 << QStringList();
    }

    void listActions()
    {
        QFETCH(QStringList, ip);
        QFETCH(int, exitCode);
        QFETCH(QStringList, names);
        QTemporaryDir work;
        QCOMPARE(run({"--new", work.path()}).exitCode, 0);
        const Run result = run(QStringList{"--catalog", dir.filePath("catalog/a"), "--actions",
                                           work.path(), "--json"} +
                               ip);
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode != 0) {
            QVERIFY2(result.err.contains("No IP pellor:test:none:1.0 in project"),
                     result.err.constData());
            return;
        }
        QStringList listed;
        for (const QJsonValue& action : jsonArray(result.out)) {
            const QJsonObject object = action.toObject();
            QCOMPARE(object.keys(), QStringList({"default", "enabled", "icon", "name", "text"}));
            listed << object["name"].toString();
        }
        QVERIFY2(listed == names, qPrintable(listed.join(",")));
    }

    // The properties file follows the installation's cores patch; an existing file is
    // replaced only when asked.
    void propertiesXml_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("force");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("new file") << false << false << 0;
        QTest::newRow("existing file kept") << true << false << 1;
        QTest::newRow("existing file, forced") << true << true << 0;
    }

    void propertiesXml()
    {
        QFETCH(bool, existing);
        QFETCH(bool, force);
        QFETCH(int, exitCode);
        QTemporaryDir work;
        QVERIFY(TestFiles::write(work.filePath("home/gantrel/install/names/p.name"),
                                 "Cores patch: GP-7\n"));
        const QString file = work.filePath("properties.xml");
        if (existing)
            QVERIFY(TestFiles::write(file, "the user's"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GANTREL_HOME", work.filePath("home"));
        const Run result = run(QStringList{"--properties-xml", file} +
                                   (force ? QStringList{"--force"} : QStringList{}),
                               environment);
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode != 0) {
            QCOMPARE(result.err, "ERROR:gantrel:gantrel - " + file.toUtf8() +
                                     " exists already; give --force to replace it\n");
            QCOMPARE(TestFiles::read(file), QByteArray("the user's"));
            return;
        }
        QCOMPARE(result.out, file.toUtf8() + "\n");
        const QByteArray written = TestFiles::read(file);
        QVERIFY2(written.startsWith("<?xml version=\"1.0\" standalone='yes'?>\n") &&
                     written.contains("\n   <gantrelpatch>GP-7</gantrelpatch>\n") &&
                     written.endsWith("   </property>\n</gantrelproperties>\n"),
                 written.constData());
    }

    // One line per update, or an array of lines each; nothing at all when none is installed.
    void listUpdates_data()
    {
        QTest::addColumn<QStringList>("files");  // name, content, ...
        QTest::addColumn<bool>("json");
        QTest::addColumn<QByteArray>("out");
        const QStringList two{"b.name", "# pack\nDevice pack 3\n  Cores patch: GP-7\n",
                              "a.name", "Fix 12\n",
                              "c.txt",  "not an update\n"};
        QTest::newRow("none") << QStringList() << false << QByteArray();
        QTest::newRow("text") << two << false
                              << QByteArray("Fix 12\nDevice pack 3; Cores patch: GP-7\n");
        QTest::newRow("JSON") << two << true
                              << QByteArray(
                                     "[\n    [\n        \"Fix 12\"\n    ],\n    [\n"
                                     "        \"Device pack 3\",\n"
                                     "        \"Cores patch: GP-7\"\n    ]\n]\n");
    }

    void listUpdates()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, json);
        QFETCH(QByteArray, out);
        QTemporaryDir work;
        for (int i = 0; i + 1 < files.size(); i += 2)
            QVERIFY(TestFiles::write(work.filePath("gantrel/install/names/" + files[i]),
                                     files[i + 1].toUtf8()));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GANTREL_HOME", work.path());
        const Run result = run(
            QStringList{"--updates"} + (json ? QStringList{"--json"} : QStringList{}), environment);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.err.isEmpty(), result.err.constData());
        QCOMPARE(result.out, out);
    }

    void tableIsAligned()
    {
        const Run result =
            run({"--catalog", dir.filePath("catalog/a"), "--no-default-catalog", "--list-ips"});
        QCOMPARE(result.exitCode, 0);
        const QList<QByteArray> lines = result.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith("VLNV"));
        QCOMPARE(lines[0].indexOf("NAME"), lines[1].indexOf("Alpha"));
    }
};

QTEST_GUILESS_MAIN(tst_Gantrel)
#include "tst_gantrel.moc"
