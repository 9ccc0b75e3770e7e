#include "EngineFixture.h"
#include "Ipu_ProjectOptions.h"
#include "MessageCapture.h"
#include "SimC_IMigrationManager.h"
#include "TestDevices.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const char* const kFifo = "pellor:test:fifo:1.0";
const char* const kIdentifier = "pellor:project:radio:1.0";

// A member as the engine hands it out: name, identifier, display name and parameters.
QStringList DescribeMembers(const Ipu::IPComposite& design)
{
    QStringList out;
    for (const auto& element : design.GetElements()) {
        const auto* member = dynamic_cast<const Ipu::IPComponent*>(element.get());
        QString line = Q(member->GetName()) + " " + Q(member->GetIdentifier().GetKey()) + " [" +
                       Q(member->GetDisplayName()) + "]";
        for (const auto& parameter : member->GetParameters())
            line += " " + Q(parameter.name) + "=" + Q(parameter.value);
        out << line;
    }
    return out;
}

QString Option(const Ipu::IPComposite& design, const char* key)
{
    Ipu::ProjectOptions options;
    Port::String value;
    if (design.GetProjectOptions(options) != 0 || options.GetValue(key, value) != 0)
        return "<none>";
    return Q(value);
}

}  // namespace

class TestMigration : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void bothFormatsGiveTheSameDesign_data();
    void bothFormatsGiveTheSameDesign();
    void emptyFileGivesDefaultProject();
    void malformedLine_data();
    void malformedLine();
    void migrationDirectoryMissing();
    void directoryInTheWay();
    void refused_data();
    void refused();

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    bool migrate(const QString& legacy, const QString& target,
                 const char* identifier = kIdentifier);
    boost::shared_ptr<Ipu::IPComposite> open(const QString& file);

    CitP::Ref<SimC::IMigrationManager> migration;
    Engine engine;
    std::unique_ptr<QTemporaryDir> dir;
};

void TestMigration::initTestCase()
{
    engine = Engine::make();
    QVERIFY2(engine.complete(), CitP::Factory::LastError().c_str());
    migration = engine.projects.Query<SimC::IMigrationManager>();
    QVERIFY(migration);
    QVERIFY(TestDevices::load());
    AddCatalogueEntry(kFifo, {{"depth", "16"}, {"width", "8"}});
}

void TestMigration::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

bool TestMigration::migrate(const QString& legacy, const QString& target, const char* identifier)
{
    return migration->Migrate(P(legacy), P(target), identifier);
}

boost::shared_ptr<Ipu::IPComposite> TestMigration::open(const QString& file)
{
    const Port::String id = engine.projects->OpenDesign(P(file));
    const auto design = Design(id);
    engine.projects->CloseDesign(id);
    return design;
}

void TestMigration::bothFormatsGiveTheSameDesign_data()
{
    QTest::addColumn<QString>("sample");
    QTest::newRow("legacy .gtp") << "radio.gtp";
    QTest::newRow("deprecated .gpr, CRLF lines") << "radio.gpr";
}

void TestMigration::bothFormatsGiveTheSameDesign()
{
    QFETCH(QString, sample);
    const QString legacy = path(sample);
    QVERIFY(QFile::copy(QString(LEGACY_SAMPLES) + "/" + sample, legacy));
    const QByteArray before = ReadAll(legacy);
    MessageCapture capture;
    QVERIFY(migrate(legacy, path("radio.gtcfg")));
    QCOMPARE(capture.lines(), std::vector<std::string>());
    QCOMPARE(ReadAll(legacy), before);
    const auto design = open(path("radio.gtcfg"));
    QVERIFY(design);
    QCOMPARE(Q(design->GetIdentifier().GetKey()), QString(kIdentifier));
    const QStringList options{
        Option(*design, "DeviceFamily"),    Option(*design, "Device"),
        Option(*design, "Package"),         Option(*design, "SpeedGrade"),
        Option(*design, "DesignEntry"),     Option(*design, "FlowVendor"),
        Option(*design, "BusFormat"),       Option(*design, "ProjectName"),
        Option(*design, "OutputDirectory"), Option(*design, "WorkingDirectory")};
    QCOMPARE(options, (QStringList{"alpha", "a20", "p2", "-2", "Verilog", "Brellix",
                                   "BusFormatSquareRange", "radio", dir->path(), "tmp"}));
    // The catalogue's IP keeps its catalogue data; the unknown one is kept as the file says.
    QCOMPARE(DescribeMembers(*design),
             (QStringList{"rx_fifo pellor:test:fifo:1.0 [fifo (catalogue)] depth=512 width=8",
                          "ctl reg pellor:custom:register_bank:3.1 [] count=4 "
                          "label=control and status"}));
}

void TestMigration::emptyFileGivesDefaultProject()
{
    QVERIFY(WriteAll(path("empty.gtp"), "# nothing yet\n"));
    QVERIFY(migrate(path("empty.gtp"), path("empty.gtcfg"), "pellor:project:empty:1.0"));
    const auto design = open(path("empty.gtcfg"));
    QVERIFY(design);
    QCOMPARE(design->CountElements(), std::size_t(0));
    // The device database's default part, whole; the migration file names the project.
    QCOMPARE(Option(*design, "DeviceFamily") + " " + Option(*design, "Device") + " " +
                 Option(*design, "Package") + " " + Option(*design, "SpeedGrade"),
             QString("alpha a10 p1 -1"));
    QCOMPARE(Option(*design, "ProjectName"), QString("empty"));
}

void TestMigration::malformedLine_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");  // "line N: ..." as the warning gives it

    const QByteArray fifo = "SELECT \"fifo\" pellor test 1.0\n";
    QTest::newRow("gtp unknown command")
        << "gtp" << QByteArray("SET Device = a10\nFROB x\n") << "line 2: unknown command 'FROB'";
    QTest::newRow("gtp SET without =")
        << "gtp" << QByteArray("SET Device a10\n") << "line 1: '=' missing";
    QTest::newRow("gtp option value refused")
        << "gtp" << QByteArray("# c\n\nSET DesignEntry = Cobol\n")
        << "line 3: option DesignEntry = 'Cobol' not accepted (value not allowed)";
    QTest::newRow("gtp unknown option") << "gtp" << QByteArray("SET Colour = red\n")
                                        << "line 1: option Colour = 'red' not accepted "
                                           "(unknown option)";
    QTest::newRow("gtp CSET outside a block")
        << "gtp" << QByteArray("CSET depth = 4\n") << "line 1: CSET outside an IP block";
    QTest::newRow("gtp END without SELECT")
        << "gtp" << QByteArray("END\n") << "line 1: END without SELECT";
    QTest::newRow("gtp END with argument") << "gtp" << fifo + "CSET component_name = a\nEND now\n"
                                           << "line 3: END takes no";
    QTest::newRow("gtp SELECT arguments") << "gtp" << QByteArray("SELECT \"fifo\" pellor test\n")
                                          << "line 1: SELECT takes four arguments";
    QTest::newRow("gtp identifier with colon")
        << "gtp" << QByteArray("SELECT \"a:b\" pellor test 1.0\n")
        << "line 1: invalid IP identifier 'pellor:test:a:b:1.0'";
    QTest::newRow("gtp unterminated quote")
        << "gtp" << QByteArray("SELECT \"fifo pellor test 1.0\n") << "line 1: unterminated quote";
    QTest::newRow("gtp SELECT inside a block") << "gtp" << fifo + "CSET component_name = a\n" + fifo
                                               << "line 3: SELECT inside the IP block of line 1";
    QTest::newRow("gtp SET inside a block") << "gtp" << fifo + "SET Device = a10\n"
                                            << "line 2: SET inside the IP block of line 1";
    QTest::newRow("gtp block not closed")
        << "gtp"
        << "SET Device = a10\n" + fifo + "CSET component_name = a\n"
        << "line 2: the IP block of this SELECT is not closed by END";
    QTest::newRow("gtp block without component_name")
        << "gtp" << fifo + "CSET depth = 4\nEND\n"
        << "line 3: the IP block of line 1 has no CSET component_name";
    QTest::newRow("gtp member name twice")
        << "gtp" << fifo + "CSET component_name = a\nEND\n" + fifo + "CSET component_name = a\n"
        << "line 5: member name 'a' given twice";
    QTest::newRow("gtp parameter twice, letter case ignored")
        << "gtp" << fifo + "CSET depth = 4\nCSET DEPTH = 5\n"
        << "line 3: parameter 'DEPTH' given twice";
    QTest::newRow("gtp NUL byte") << "gtp"
                                  << QByteArray("SET Device = a10\nSET Pack") + '\0' + "age = p1\n"
                                  << "line 2: binary data";
    QTest::newRow("gpr neither option nor component")
        << "gpr" << QByteArray("Device=a10\njunk line\n")
        << "line 2: neither key=value nor a component line";
    QTest::newRow("gpr component arguments")
        << "gpr" << QByteArray("component rx\n") << "line 1: a component line takes";
    QTest::newRow("gpr identifier of three fields")
        << "gpr" << QByteArray("component rx pellor:test:fifo\n")
        << "line 1: invalid IP identifier 'pellor:test:fifo'";
    QTest::newRow("gpr empty identifier field")
        << "gpr" << QByteArray("component rx pellor::fifo:1.0\n") << "line 1: invalid IP";
    QTest::newRow("gpr member name twice")
        << "gpr" << QByteArray("component a pellor:test:fifo:1.0\ncomponent a pellor:x:y:1\n")
        << "line 2: member name 'a' given twice";
    // Names that would leave the project's directory or hide text on a terminal.
    const QString refused = "line %1: member name refused: the name '%2' ";
    const QString separator = "holds the character '%1', which a file name cannot hold\n";
    QTest::newRow("gtp member name with a slash")
        << "gtp" << fifo + "CSET component_name = ../evil\nEND\n"
        << refused.arg(2).arg("../evil") + separator.arg('/');
    QTest::newRow("gtp member name with a backslash")
        << "gtp" << fifo + "CSET component_name = \"a\\b\"\nEND\n"
        << refused.arg(2).arg("a\\b") + separator.arg('\\');
    QTest::newRow("gtp member name ..") << "gtp" << fifo + "CSET component_name = ..\nEND\n"
                                        << refused.arg(2).arg("..") + "cannot name a file\n";
    QTest::newRow("gtp member name with an escape character")
        << "gtp" << fifo + "CSET component_name = a\x1b[2Jb\nEND\n"
        << refused.arg(2).arg("a\\x1b[2Jb") + "holds a control character\n";
    QTest::newRow("gtp member name not UTF-8")
        << "gtp" << fifo + "CSET component_name = caf\xe9\nEND\n"
        << refused.arg(2).arg("caf\\xe9") + "holds bytes that are not UTF-8\n";
    QTest::newRow("gtp project name with a slash")
        << "gtp" << QByteArray("SET ProjectName = ../../etc/x\n")
        << "line 1: project name refused: the name '../../etc/x' " + separator.arg('/');
    QTest::newRow("gpr member name with a control character")
        << "gpr" << QByteArray("component a\x01 pellor:test:fifo:1.0\n")
        << refused.arg(1).arg("a\\x01") + "holds a control character\n";
    QTest::newRow("gpr project name .") << "gpr" << QByteArray("projectname=.\n")
                                        << "line 1: project name refused: the name '.' cannot "
                                           "name a file\n";
    QTest::newRow("gpr no name before =") << "gpr" << QByteArray("=5\n") << "line 1: no name";
    QTest::newRow("gpr blank in a name")
        << "gpr" << QByteArray("component a pellor:test:fifo:1.0\nmy depth = 5\n")
        << "line 2: the name 'my depth' holds a blank";
}

void TestMigration::malformedLine()
{
    QFETCH(QString, extension);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString legacy = path("bad." + extension);
    QVERIFY(WriteAll(legacy, content));
    QVERIFY(WriteAll(path("bad.gtcfg"), "earlier"));
    MessageCapture capture;
    QVERIFY(!migrate(legacy, path("bad.gtcfg")));
    const auto messages = capture.messages();
    QCOMPARE(int(messages.size()), 1);
    QCOMPARE(messages[0].kind, Port_MsgManData::Warning);
    QCOMPARE(QString::fromStdString(messages[0].module), QString("simc"));
    const QString text = QString::fromStdString(messages[0].text);
    QVERIFY2(text.startsWith("Cannot migrate project file " + legacy + ": " + reason),
             qPrintable(text));
    // Nothing written: the earlier file untouched, no temporary file left behind.
    QCOMPARE(ReadAll(path("bad.gtcfg")), QByteArray("earlier"));
    QStringList files{"bad." + extension, "bad.gtcfg"};
    files.sort();
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), files);
}

void TestMigration::migrationDirectoryMissing()
{
    QVERIFY(QFile::copy(QString(LEGACY_SAMPLES) + "/radio.gtp", path("radio.gtp")));
    const QString target = path("new/deeper/radio.gtcfg");
    QVERIFY(migrate(path("radio.gtp"), target));
    const auto design = open(target);
    QVERIFY(design);
    QCOMPARE(design->CountElements(), std::size_t(2));
}

void TestMigration::directoryInTheWay()
{
    QVERIFY(QFile::copy(QString(LEGACY_SAMPLES) + "/radio.gpr", path("radio.gpr")));
    QVERIFY(QDir(dir->path()).mkdir("radio.gtcfg"));
    MessageCapture capture;
    QVERIFY(!migrate(path("radio.gpr"), path("radio.gtcfg")));
    QCOMPARE(capture.lines(),
             std::vector<std::string>{"WARNING:simc:SimC_Migration - Cannot migrate project file " +
                                      path("radio.gpr").toStdString() + " to " +
                                      path("radio.gtcfg").toStdString() +
                                      ": a directory of that name is in the way\n"});
    QVERIFY(QFileInfo(path("radio.gtcfg")).isDir());
}

void TestMigration::refused_data()
{
    QTest::addColumn<QString>("legacy");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QByteArray>("identifier");
    QTest::addColumn<QString>("reason");
    QTest::newRow("legacy file missing")
        << "gone.gtp"
        << "gone.gtcfg" << QByteArray(kIdentifier) << ": line 1: no such file";
    QTest::newRow("legacy file is a directory")
        << "sub.gtp"
        << "sub.gtcfg" << QByteArray(kIdentifier) << ": line 1: not a regular file";
    QTest::newRow("not a legacy extension")
        << "radio.txt"
        << "radio.gtcfg" << QByteArray(kIdentifier) << "not a .gtp or .gpr";
    QTest::newRow("identifier of three fields")
        << "radio.gtp"
        << "radio.gtcfg" << QByteArray("pellor:project:radio") << "is not a project identifier";
    QTest::newRow("migration onto itself")
        << "radio.gtp"
        << "radio.gtp" << QByteArray(kIdentifier) << "would overwrite itself";
}

void TestMigration::refused()
{
    QFETCH(QString, legacy);
    QFETCH(QString, target);
    QFETCH(QByteArray, identifier);
    QFETCH(QString, reason);
    QVERIFY(QDir(dir->path()).mkdir("sub.gtp"));
    for (const char* name : {"radio.gtp", "radio.txt"})
        QVERIFY(QFile::copy(QString(LEGACY_SAMPLES) + "/radio.gtp", path(name)));
    const QStringList before = QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QByteArray content = ReadAll(path("radio.gtp"));
    MessageCapture capture;
    QVERIFY(!migrate(path(legacy), path(target), identifier.constData()));
    QCOMPARE(int(capture.messages().size()), 1);
    const QString text = QString::fromStdString(capture.messages()[0].text);
    QVERIFY2(text.contains(path(legacy)) && text.contains(reason), qPrintable(text));
    QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(ReadAll(path("radio.gtp")), content);
}

QTEST_GUILESS_MAIN(TestMigration)
#include "tst_migration.moc"
