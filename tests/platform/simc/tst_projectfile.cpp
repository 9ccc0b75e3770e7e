#include "EngineFixture.h"
#include "Ipu_ProjectOptions.h"
#include "MessageCapture.h"
#include "TestDevices.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>
#include <cstdio>

namespace {

const char* const kKey = "pellor:test:adder:2.0";
const char* const kGone = "acme:misc:gone:3.1";

QByteArray Project(const QByteArray& members, const QByteArray& version = "1")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<project xmlns=\"urn:pellor:gantrel:project\" formatVersion=\"" +
           version + "\" vlnv=\"pellor:Gantrel:hand:1.0\">\n  <members>\n" + members +
           "  </members>\n</project>\n";
}

QByteArray Component(const QByteArray& name, const QByteArray& inner = QByteArray())
{
    return "    <component vlnv=\"" + QByteArray(kKey) + "\" name=\"" + name + "\">" + inner +
           "</component>\n";
}

// Everything the file holds, as the engine hands it out, for comparing designs.
QStringList Describe(const Ipu::IPComposite& design)
{
    QStringList out;
    auto options = [&out](const Ipu::VendorExtensions& owner) {
        Ipu::ProjectOptions value;
        Ipu::ProjectOptions::KeyValueList pairs;
        if (owner.GetProjectOptions(value) == 0)
            value.GetKeyValuePairs(pairs);
        else
            out.append("  no options");
        for (const auto& [key, text] : pairs)
            out.append("  " + Q(key) + "=" + Q(text));
    };
    out << Q(design.GetIdentifier().GetKey()) << QString::number(design.IsFileModifiedByUser());
    for (const Port::String& name : design.GetPropertyNames()) {
        std::vector<Port::String> values;
        design.GetPropertyValues(name, values);
        for (const Port::String& value : values)
            out << "property " + Q(name) + "=" + Q(value);
    }
    options(design);
    for (const auto& member : design.GetElements()) {
        out << "member " + Q(member->GetName()) + " " + Q(member->GetIdentifier().GetKey());
        if (const auto* nested = dynamic_cast<const Ipu::IPComposite*>(member.get())) {
            out << "  design " + Q(nested->GetProjectFileName().GetAbsolutePath());
            continue;
        }
        const auto& component = dynamic_cast<const Ipu::IPComponent&>(*member);
        out << "  " + Q(component.GetUnconfiguredID()) << "  " + Q(component.GetDisplayName())
            << "  " + Q(component.GetDescription())
            << QString("  %1 %2")
                   .arg(component.IsFileModifiedByUser())
                   .arg(component.GetChangeTime());
        for (const auto& parameter : component.GetParameters())
            out << "  " + Q(parameter.name) + "=" + Q(parameter.value) + " " + Q(parameter.type);
        options(component);
    }
    return out;
}

}  // namespace

class TestProjectFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void roundTrip();
    void unknownCatalogueIpSurvives();
    void storedValuesMeetTheCatalogue();
    void nestedDesignsAreReferences();
    void refusedOptionValueIsReported();
    void badFile_data();
    void badFile();
    void nameNotUtf8IsRefused();
    void saveCreatesTheDirectory();
    void saveFailure_data();
    void saveFailure();
    void interruptedSaveKeepsPreviousFile_data();
    void interruptedSaveKeepsPreviousFile();

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    Port::String buildProject(const QString& file);

    Engine engine;
    std::unique_ptr<QTemporaryDir> dir;
};

void TestProjectFile::initTestCase()
{
    engine = Engine::make();
    QVERIFY2(engine.complete(), CitP::Factory::LastError().c_str());
    QVERIFY(TestDevices::load());
    AddCatalogueEntry(kKey, {{"width", "8"}, {"signed", "0"}});
}

void TestProjectFile::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

// A design with changed options and properties, one member from the catalogue and one
// whose IP the catalogue lacks, and texts that XML cannot carry as they are.
Port::String TestProjectFile::buildProject(const QString& file)
{
    const Port::String id = engine.projects->CreateDesign(P(file), "pellor:Gantrel:rt:1.0");
    const auto design = Design(id);
    Ipu::ProjectOptions options;
    design->GetProjectOptions(options);
    options.SetDesignEntry("Verilog");
    options.SetFlowVendor("Brellix");
    options.SetCreateNDF(true);
    options.SetWorkingDirectory("tmp work");
    design->SetProjectOptions(options);
    design->SetFileModifiedByUser(true);
    design->AddPropertyValue("note", "first");
    design->AddPropertyValue("note", "second\r\nline");

    const auto adder =
        Member(engine.designs->AddComponent(id, kKey, "adder_0", "Adder", "adds\tthings\n"));
    adder->GetParameters().SetValue("width", "32");
    adder->SetChangeTime(1700000000);
    adder->SetFileModifiedByUser(true);
    options.SetDesignEntry("VHDL");
    adder->SetProjectOptions(options);

    const auto gone = Member(engine.designs->AddComponent(id, kGone, "odd name\xef\xbf\xbe",
                                                          "\xff\xfe not UTF-8", "ctrl \x02 char"));
    gone->GetParameters().Add({"mode", "a&b <c> \"d\" ]]>", "", {}, "", ""});
    gone->GetParameters().Add({"raw", Port::String("\0\x1f", 2), "", {}, "", ""});
    return id;
}

void TestProjectFile::roundTrip()
{
    MessageCapture capture;
    const Port::String id = buildProject(path("rt.gtcfg"));
    const QStringList before = Describe(*Design(id));
    QVERIFY(engine.projects->SaveDesign(id));
    QCOMPARE(engine.projects->CloseDesign(id), 0u);

    const Port::String reopened = engine.projects->OpenDesign(P(path("rt.gtcfg")));
    QVERIFY(!reopened.IsEmpty());
    QCOMPARE(Describe(*Design(reopened)), before);
    QVERIFY(Member(reopened + "/adder_0"));
    QVERIFY(Member(reopened + "/odd name\xef\xbf\xbe"));
    QVERIFY(capture.messages().empty());
    QCOMPARE(engine.projects->CloseDesign(reopened), 0u);
}

// Saving a member whose IP left the catalogue writes back exactly what was read.
void TestProjectFile::unknownCatalogueIpSurvives()
{
    const Port::String id = buildProject(path("rt.gtcfg"));
    QVERIFY(engine.projects->SaveDesign(id));
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
    const QByteArray written = ReadAll(path("rt.gtcfg"));

    const auto entry = Ipu::ElementIndex::GetElement(kKey);
    QCOMPARE(Ipu::ElementIndex::RemoveElement(kKey), 0u);
    const Port::String bare = engine.projects->OpenDesign(P(path("rt.gtcfg")));
    Ipu::ElementIndex::AddElement(entry);
    QVERIFY(!bare.IsEmpty());
    const auto adder = Member(bare + "/adder_0");
    QCOMPARE(Q(adder->GetUnconfiguredID()), QString(kKey));
    QCOMPARE(adder->GetParameters().Size(), std::size_t(2));
    QVERIFY(engine.projects->SaveDesign(bare));
    QCOMPARE(ReadAll(path("rt.gtcfg")), written);
    QCOMPARE(engine.projects->CloseDesign(bare), 0u);
}

// The catalogue gives the constraints and the parameters the file does not name; the file
// gives the values, and parameters the catalogue no longer has are kept.
void TestProjectFile::storedValuesMeetTheCatalogue()
{
    QVERIFY(WriteAll(path("p.gtcfg"),
                     Project(Component("a",
                                       "<parameters><parameter name=\"WIDTH\">12</parameter>"
                                       "<parameter name=\"extra\">x</parameter>"
                                       "</parameters>"))));
    const Port::String id = engine.projects->OpenDesign(P(path("p.gtcfg")));
    QVERIFY(!id.IsEmpty());
    const auto member = Member(id + "/a");
    QVERIFY(!Design(id)->HasProjectOptions());
    QCOMPARE(Q(member->GetDisplayName()), QString("adder (catalogue)"));
    const auto& list = member->GetParameters().GetList();
    QCOMPARE(int(list.size()), 3);
    QCOMPARE(Q(list[0].name) + "=" + Q(list[0].value) + " " + Q(list[0].type),
             QString("width=12 int"));
    QCOMPARE(Q(list[1].name) + "=" + Q(list[1].value), QString("signed=0"));
    QCOMPARE(Q(list[2].name) + "=" + Q(list[2].value), QString("extra=x"));
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
}

void TestProjectFile::nestedDesignsAreReferences()
{
    QVERIFY(QDir().mkpath(path("top")));
    QVERIFY(WriteAll(path("top/p.gtcfg"),
                     Project("    <design name=\"sub\" vlnv=\"pellor:Gantrel:sub:1.0\" "
                             "file=\"../lib/sub.gtcfg\"/>\n" +
                             Component("a"))));
    const Port::String id = engine.projects->OpenDesign(P(path("top/p.gtcfg")));
    QVERIFY(!id.IsEmpty());
    QCOMPARE(Design(id)->CountElements(), std::size_t(2));
    const auto sub = Design(id + "/sub");
    QVERIFY(sub);
    QCOMPARE(Q(sub->GetProjectFileName().GetAbsolutePath()), path("lib/sub.gtcfg"));
    QVERIFY(engine.projects->SaveDesign(id));
    QVERIFY(ReadAll(path("top/p.gtcfg")).contains("file=\"../lib/sub.gtcfg\""));
    QVERIFY(!QFile::exists(path("lib/sub.gtcfg")));
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
    QVERIFY(!Ipu::ElementIndex::HasElement(id + "/sub"));
}

// A value the options refuse does not cost the user the project; the warning names it.
void TestProjectFile::refusedOptionValueIsReported()
{
    QByteArray text = Project(Component("a"));
    text.replace("  <members>",
                 "  <options>\n    <option key=\"DesignEntry\">Cobol</option>\n"
                 "    <option key=\"Device\">a20</option>\n  </options>\n  <members>");
    QVERIFY(WriteAll(path("p.gtcfg"), text));
    MessageCapture capture;
    const Port::String id = engine.projects->OpenDesign(P(path("p.gtcfg")));
    QVERIFY(!id.IsEmpty());
    Ipu::ProjectOptions options;
    QCOMPARE(Design(id)->GetProjectOptions(options), 0u);
    Port::String value;
    options.GetDevice(value);
    QCOMPARE(Q(value), QString("a20"));
    QCOMPARE(options.GetInternalDesignEntry(value), 0u);
    QCOMPARE(Q(value), QString("VHDL"));
    QCOMPARE(
        capture.lines(),
        (std::vector<std::string>{
            "WARNING:simc:SimC_ProjectFileReader - Project file " + path("p.gtcfg").toStdString() +
            ": line 4, column 30: option DesignEntry = 'Cobol' not accepted (value not "
            "allowed); it keeps its previous value\n"}));
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
}

void TestProjectFile::badFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("size");  // made sparse to this size when not 0
    QTest::addColumn<QString>("reason");
    const QByteArray good = Project(Component("a") + Component("b"));
    QTest::newRow("empty") << QByteArray() << qint64(0) << "line 1, column 1: malformed XML";
    QTest::newRow("truncated") << good.left(good.size() - 30) << qint64(0) << "malformed XML";
    QTest::newRow("mismatched tag")
        << QByteArray(good).replace("</members>", "</member>") << qint64(0) << "malformed XML";
    QTest::newRow("binary") << QByteArray("<?xml version=\"1.0\"?>\n<pro") + '\0' + "ject/>"
                            << qint64(0) << "line 2, column 5: binary data";
    QTest::newRow("foreign root")
        << QByteArray("<catalog xmlns=\"urn:pellor:gantrel:project\"/>") << qint64(0)
        << "not a Gantrel project configuration file (root element 'catalog'";
    QTest::newRow("foreign namespace")
        << QByteArray(good).replace("urn:pellor:gantrel:project", "urn:other") << qint64(0)
        << "in namespace 'urn:other'";
    QTest::newRow("newer format") << Project(Component("a"), "2") << qint64(0)
                                  << "newer format (version 2; this program reads up to version 1)";
    QTest::newRow("no format version")
        << QByteArray(good).replace("formatVersion=\"1\" ", "") << qint64(0) << "no format version";
    QTest::newRow("bad format version")
        << Project(Component("a"), "1.5") << qint64(0) << "invalid format version '1.5'";
    QTest::newRow("bad VLNV") << QByteArray(good).replace(kKey, "pellor:test") << qint64(0)
                              << "line 4, column 43: invalid VLNV 'pellor:test'";
    QTest::newRow("unknown element") << QByteArray(good).replace("<members>", "<members><widget/>")
                                     << qint64(0) << "unexpected element 'widget'";
    QTest::newRow("unknown attribute")
        << QByteArray(good).replace("name=\"a\"", "name=\"a\" colour=\"red\"") << qint64(0)
        << "unexpected attribute 'colour'";
    QTest::newRow("same member twice")
        << Project(Component("a") + Component("a")) << qint64(0) << "member name 'a' given twice";
    QTest::newRow("stray text") << QByteArray(good).replace("<members>", "<members>hello")
                                << qint64(0) << "unexpected text";
    QTest::newRow("bad base64") << QByteArray(good).replace("name=\"a\"", "nameBase64=\"!!\"")
                                << qint64(0) << "attribute 'nameBase64' is not valid base64";
    QTest::newRow("document type")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE project [<!ENTITY e \"x\">]>\n") +
               good.mid(39)
        << qint64(0) << "a document type declaration is not allowed";
    QTest::newRow("huge") << QByteArray() << qint64(64 * 1024 * 1024 + 1)
                          << "line 1, column 1: larger than 64 MiB (67108865 bytes)";
    QTest::newRow("directory") << QByteArray() << qint64(-1) << "not a regular file";
    // Names that would leave the project's directory or hide text on a terminal.
    const QString refused = "member name refused: the name '%1' ";
    const QString separator = "holds the character '%1', which a file name cannot hold\n";
    QTest::newRow("member name with a slash")
        << Project(Component("../up")) << qint64(0)
        << "line 4, column 57: " + refused.arg("../up") + separator.arg('/');
    QTest::newRow("member name with a backslash")
        << Project(Component("a\\b")) << qint64(0)
        << "line 4, column 55: " + refused.arg("a\\b") + separator.arg('\\');
    QTest::newRow("member name with a colon")
        << Project(Component("c:x")) << qint64(0)
        << "line 4, column 55: " + refused.arg("c:x") + separator.arg(':');
    QTest::newRow("member name ..")
        << Project(Component("..")) << qint64(0)
        << "line 4, column 54: " + refused.arg("..") + "cannot name a file\n";
    QTest::newRow("member name .")
        << Project(Component(".")) << qint64(0)
        << "line 4, column 53: " + refused.arg(".") + "cannot name a file\n";
    QTest::newRow("member name with an escape character")
        << QByteArray(good).replace("name=\"a\"", "nameBase64=\"YRtbMko=\"") << qint64(0)
        << "line 4, column 66: " + refused.arg("a\\x1b[2J") + "holds a control character\n";
    QTest::newRow("member name not UTF-8")
        << QByteArray(good).replace("name=\"a\"", "nameBase64=\"Y2Fm6Q==\"") << qint64(0)
        << "line 4, column 66: " + refused.arg("caf\\xe9") + "holds bytes that are not UTF-8\n";
    QTest::newRow("project name with a slash")
        << QByteArray(good).replace(
               "  <members>",
               "  <options><option key=\"ProjectName\">../../x</option></options>\n  <members>")
        << qint64(0)
        << "line 3, column 53: project name refused: the name '../../x' " + separator.arg('/');
}

void TestProjectFile::badFile()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, size);
    QFETCH(QString, reason);
    const QString file = path("bad.gtcfg");
    if (size < 0) {
        QVERIFY(QDir().mkpath(file));
    } else {
        QVERIFY(WriteAll(file, content));
        if (size > 0)
            QVERIFY(QFile::resize(file, size));
    }
    const QByteArray before = size == 0 ? ReadAll(file) : QByteArray();
    const QDateTime modified = QFileInfo(file).lastModified();
    const std::size_t indexed = Ipu::ElementIndex::Count();
    MessageCapture capture;

    QVERIFY(engine.projects->OpenDesign(P(file)).IsEmpty());

    QCOMPARE(Ipu::ElementIndex::Count(), indexed);
    const auto messages = capture.messages();
    QCOMPARE(messages.size(), std::size_t(1));
    QCOMPARE(messages[0].kind, Port_MsgManData::Warning);
    QCOMPARE(QString::fromStdString(messages[0].module), QString("simc"));
    QCOMPARE(QString::fromStdString(messages[0].source), QString("SimC_ProjectFileReader"));
    const QString text = QString::fromStdString(messages[0].text);
    QVERIFY2(text.startsWith("Cannot open project file " + file + ": "), qPrintable(text));
    QVERIFY2(text.contains(QRegularExpression(": line \\d+, column \\d+: ")), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    QVERIFY(text.endsWith("\n"));
    if (size == 0)
        QCOMPARE(ReadAll(file), before);
    QCOMPARE(QFileInfo(file).lastModified(), modified);
}

// Qt reads the bytes "caf\xe9" as "caf\uFFFD": the file of that other name must not be
// opened in its place.
void TestProjectFile::nameNotUtf8IsRefused()
{
    const std::string root = QDir(dir->path()).absolutePath().toStdString();
    const Port::String id = buildProject(path("source.gtcfg"));
    QVERIFY(engine.projects->SaveDesign(id));
    engine.projects->CloseDesign(id);
    const QByteArray content = ReadAll(path("source.gtcfg"));
    QVERIFY(WriteAll(path(QString::fromUtf8("caf\xef\xbf\xbd.gtcfg")), content));
    QVERIFY(TestFiles::writeBytes(root + "/caf\xe9.gtcfg", content));
    MessageCapture capture;
    QVERIFY(engine.projects->OpenDesign(root + "/caf\xe9.gtcfg").IsEmpty());
    QCOMPARE(capture.lines(),
             std::vector<std::string>{
                 "WARNING:simc:SimC_ProjectFileReader - Cannot open project file " + root +
                 "/caf\\xe9.gtcfg: line 1, column 1: the name is not valid UTF-8\n"});
    std::remove((root + "/caf\xe9.gtcfg").c_str());  // Qt cannot name it to clean up
}

void TestProjectFile::saveCreatesTheDirectory()
{
    const QString file = path("new/deeper/p.gtcfg");
    const Port::String id = engine.projects->CreateDesign(P(file), "pellor:Gantrel:p:1.0");
    QVERIFY(engine.projects->SaveDesign(id));
    QVERIFY(QFileInfo(file).isFile());
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
    QCOMPARE(QDir(path("new/deeper")).entryList(QDir::Files), QStringList{"p.gtcfg"});
}

void TestProjectFile::saveFailure_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("obstacle");  // made a directory (or a file, for a parent)
    QTest::addColumn<QString>("reason");
    QTest::newRow("a directory in the way") << "p.gtcfg"
                                            << "p.gtcfg"
                                            << "a directory";
    QTest::newRow("directory cannot be made") << "plain/p.gtcfg"
                                              << "plain"
                                              << "cannot be created";
}

void TestProjectFile::saveFailure()
{
    QFETCH(QString, file);
    QFETCH(QString, obstacle);
    QFETCH(QString, reason);
    if (obstacle == file)
        QVERIFY(QDir().mkpath(path(obstacle)));
    else
        QVERIFY(WriteAll(path(obstacle), "keep me"));
    const Port::String id = engine.projects->CreateDesign(P(path(file)), "pellor:Gantrel:p:1.0");
    MessageCapture capture;
    QVERIFY(!engine.projects->SaveDesign(id));
    const auto messages = capture.messages();
    QCOMPARE(messages.size(), std::size_t(1));
    QCOMPARE(messages[0].kind, Port_MsgManData::Warning);
    const QString text = QString::fromStdString(messages[0].text);
    QVERIFY2(text.startsWith("Cannot save project file " + path(file) + ": "), qPrintable(text));
    QVERIFY2(text.contains(reason), qPrintable(text));
    if (obstacle != file)
        QCOMPARE(ReadAll(path(obstacle)), QByteArray("keep me"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{obstacle});
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
    QVERIFY(!engine.projects->SaveDesign(id));  // closed: nothing to save
}

// The helper writes another design through the project file writer; killed before it
// commits, it must leave the previous file untouched and still open.
void TestProjectFile::interruptedSaveKeepsPreviousFile_data()
{
    QTest::addColumn<bool>("commit");
    QTest::newRow("killed before commit") << false;
    QTest::newRow("committed") << true;
}

void TestProjectFile::interruptedSaveKeepsPreviousFile()
{
    QFETCH(bool, commit);
    const QString file = path("p.gtcfg");
    const Port::String id = buildProject(file);
    const QStringList saved = Describe(*Design(id));
    QVERIFY(engine.projects->SaveDesign(id));
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
    const QByteArray before = ReadAll(file);

    QProcess helper;
    QStringList arguments{file};
    if (commit)
        arguments << "--commit";
    helper.start(QStringLiteral(SAVE_HELPER), arguments);
    QVERIFY2(helper.waitForStarted(), qPrintable(helper.errorString()));
    QVERIFY(helper.waitForReadyRead(20000));
    QVERIFY(helper.readLine().startsWith("written "));
    if (!commit)
        helper.kill();
    QVERIFY(helper.waitForFinished(20000));
    QCOMPARE(helper.exitStatus(), commit ? QProcess::NormalExit : QProcess::CrashExit);

    QCOMPARE(ReadAll(file) == before, !commit);
    const Port::String reopened = engine.projects->OpenDesign(P(file));
    QVERIFY(!reopened.IsEmpty());
    QCOMPARE(Describe(*Design(reopened)) == saved, !commit);
    QCOMPARE(Design(reopened)->CountElements(), commit ? std::size_t(1000) : std::size_t(2));
    QCOMPARE(engine.projects->CloseDesign(reopened), 0u);
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
