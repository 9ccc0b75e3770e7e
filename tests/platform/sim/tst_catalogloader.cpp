#include "Ipu_ElementIndex.h"
#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Keyword.h"
#include "MessageCapture.h"
#include "Port_File.h"
#include "Sim_CatalogLoader.h"
#include "Sim_DataLocation.h"
#include "Sim_FamilySupport.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <boost/pointer_cast.hpp>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

using Sim::CatalogLoader;

namespace {

// Built without a multi-line raw string: moc misreads "//" inside one.
QByteArray Component(const char* name, const char* version, const char* extension = "")
{
    return QByteArray(
               "<?xml version=\"1.0\"?>\n"
               "<ipxact:component xmlns:ipxact=\"http://www.accellera.org/XMLSchema/"
               "IPXACT/1685-2014\">\n"
               "  <ipxact:vendor>tst</ipxact:vendor><ipxact:library>lib</ipxact:library>\n"
               "  <ipxact:name>") +
           name + "</ipxact:name><ipxact:version>" + version +
           "</ipxact:version>\n  <ipxact:vendorExtensions>" + extension +
           "</ipxact:vendorExtensions>\n</ipxact:component>\n";
}

bool Write(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

Port::String P(const QString& text)
{
    return Port::String(text.toStdString());
}

QString Q(const Port::String& text)
{
    return QString::fromStdString(text.str());
}

boost::shared_ptr<Ipu::IPComponent> Indexed(const char* key)
{
    return boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(key));
}

// An IP-XACT catalog document naming these files; the first is on line 5.
QByteArray CatalogDocument(const QStringList& names)
{
    QByteArray xml =
        "<?xml version=\"1.0\"?>\n"
        "<ipxact:catalog xmlns:ipxact=\"http://www.accellera.org/XMLSchema/IPXACT/1685-2014\">\n"
        "  <ipxact:vendor>tst</ipxact:vendor><ipxact:library>lib</ipxact:library>"
        "<ipxact:name>index</ipxact:name><ipxact:version>1.0</ipxact:version>\n"
        "  <ipxact:components>\n";
    for (const QString& name : names) {
        xml +=
            "    <ipxact:ipxactFile><ipxact:vlnv vendor=\"tst\" library=\"lib\" name=\"x\" "
            "version=\"1.0\"/><ipxact:name>" +
            name.toUtf8() + "</ipxact:name></ipxact:ipxactFile>\n";
    }
    return xml + "  </ipxact:components>\n</ipxact:catalog>\n";
}

// "%D" stands for the test's directory.
std::vector<std::string> Expand(const QStringList& lines, const QString& directory)
{
    std::vector<std::string> result;
    for (QString line : lines) {
        result.push_back(line.replace("%D", directory).toStdString());
    }
    return result;
}

struct Loaded {
    unsigned result;
    CatalogLoader::Counts counts;
};

Loaded Load(const QStringList& directories)
{
    std::vector<Port::String> list;
    for (const QString& directory : directories) {
        list.push_back(P(directory));
    }
    Loaded loaded{0, {}};
    loaded.result = CatalogLoader::Load(list, loaded.counts);
    return loaded;
}

}  // namespace

class TestCatalogLoader : public QObject {
    Q_OBJECT

private slots:
    void init() { Ipu::ElementIndex::Clear(); }
    void cleanupTestCase() { Ipu::ElementIndex::Clear(); }
    void walksTreeAndSkipsBadFiles_data();
    void walksTreeAndSkipsBadFiles();
    void skipsRepeatedVlnv();
    void walksLinkLoopOnce();
    void reportsMissingDirectory();
    void marksLatestVersions();
    void unloadKeepsCustomizedIPs();
    void embeddedCatalogueLoadsCleanly();
    void namesMistakesByFileAndLine();
    void followsCatalogDocuments_data();
    void followsCatalogDocuments();
    void skipsNamesThatAreNotUtf8_data();
    void skipsNamesThatAreNotUtf8();
};

void TestCatalogLoader::walksTreeAndSkipsBadFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("malformed") << QByteArray("<ipxact:component") << "malformed XML at line 1";
    QTest::newRow("binary") << QByteArray("\0\1\2", 3) << "binary data";
    QTest::newRow("not a component") << QByteArray("<project/>") << "not an IP-XACT";
    QTest::newRow("bad extension")
        << Component(
               "w", "1",
               R"(<g:ip xmlns:g="urn:pellor:gantrel:ipxact-extensions:1.0"><g:ipType>x</g:ipType></g:ip>)")
        << "invalid Gantrel extension at line 5: ipType 'x' is not an unsigned number";
    QTest::newRow("dangling link") << QByteArray() << "cannot be read: dangling symbolic link";
}

// Each bad file gets exactly one warning naming it; the good ones load around it, in
// sub-directories and whatever the letter case of ".xml"; other and hidden files are
// ignored.
void TestCatalogLoader::walksTreeAndSkipsBadFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString bad = dir.filePath("m/bad.xml");
    QVERIFY(Write(dir.filePath("a/one.xml"), Component("one", "1.0")));
    QVERIFY(Write(dir.filePath("z/y/two.XML"), Component("two", "1.0")));
    QVERIFY(Write(dir.filePath("a/notes.txt"), "not a catalogue file"));
    QVERIFY(Write(dir.filePath(".hidden/junk.xml"), "hidden, so never read"));
    if (content.isEmpty()) {
        QVERIFY(QDir().mkpath(dir.filePath("m")));
        QVERIFY(QFile::link(dir.filePath("gone.xml"), bad));
    } else {
        QVERIFY(Write(bad, content));
    }

    MessageCapture capture;
    const Loaded loaded = Load({dir.path()});
    QCOMPARE(loaded.result, 0u);
    QCOMPARE(loaded.counts.files, 3u);
    QCOMPARE(loaded.counts.loaded, 2u);
    QCOMPARE(loaded.counts.skipped, 1u);
    QVERIFY(Ipu::ElementIndex::HasElement("tst:lib:one:1.0"));
    QVERIFY(Ipu::ElementIndex::HasElement("tst:lib:two:1.0"));
    const auto messages = capture.messages();
    QCOMPARE(messages.size(), std::size_t(1));
    QCOMPARE(messages[0].kind, Port_MsgManData::Warning);
    QCOMPARE(QString::fromStdString(messages[0].module), QStringLiteral("sim"));
    QCOMPARE(QString::fromStdString(messages[0].source), QStringLiteral("Sim_CatalogLoader"));
    const QString text = QString::fromStdString(messages[0].text);
    QVERIFY2(text.startsWith("Skipping catalogue file " + bad + ": " + reason), qPrintable(text));
    QVERIFY(text.endsWith('\n'));
}

void TestCatalogLoader::skipsRepeatedVlnv()
{
    QTemporaryDir dir;
    QVERIFY(Write(dir.filePath("a.xml"), Component("w", "1.0")));
    QVERIFY(Write(dir.filePath("b.xml"), Component("w", "1.0")));
    MessageCapture capture;
    const Loaded loaded = Load({dir.path()});
    QCOMPARE(loaded.counts.loaded, 1u);
    QCOMPARE(loaded.counts.skipped, 1u);
    QCOMPARE(Q(Indexed("tst:lib:w:1.0")->GetSourceFile()), dir.filePath("a.xml"));
    QCOMPARE(
        capture.lines(),
        std::vector<std::string>{
            ("WARNING:sim:Sim_CatalogLoader - Skipping catalogue file " + dir.filePath("b.xml") +
             ": its VLNV tst:lib:w:1.0 is already loaded from " + dir.filePath("a.xml") + "\n")
                .toStdString()});
}

// A link back to an ancestor and a second link to a directory already walked: every
// directory and file is read once, and the walk ends.
void TestCatalogLoader::walksLinkLoopOnce()
{
    QTemporaryDir dir;
    QVERIFY(Write(dir.filePath("sub/w.xml"), Component("w", "1.0")));
    QVERIFY(QFile::link(dir.path(), dir.filePath("sub/loop")));
    QVERIFY(QFile::link(dir.filePath("sub"), dir.filePath("alias")));
    QVERIFY(QFile::link(dir.filePath("sub/w.xml"), dir.filePath("same.xml")));
    MessageCapture capture;
    const Loaded loaded = Load({dir.path(), dir.filePath("alias")});
    QCOMPARE(loaded.result, 0u);
    QCOMPARE(loaded.counts.files, 1u);
    QCOMPARE(loaded.counts.loaded, 1u);
    QVERIFY(capture.messages().empty());
}

void TestCatalogLoader::reportsMissingDirectory()
{
    QTemporaryDir dir;
    QVERIFY(Write(dir.filePath("w.xml"), Component("w", "1.0")));
    MessageCapture capture;
    const QString missing = dir.filePath("missing");
    const Loaded loaded = Load({missing, dir.path()});
    QCOMPARE(loaded.result, 1u);
    QCOMPARE(loaded.counts.loaded, 1u);
    QCOMPARE(capture.lines(), std::vector<std::string>{
                                  ("WARNING:sim:Sim_CatalogLoader - Skipping catalogue directory " +
                                   missing + ": not an existing directory\n")
                                      .toStdString()});
}

void TestCatalogLoader::marksLatestVersions()
{
    QTemporaryDir dir;
    for (const char* version : {"1.9", "1.10", "1.2"}) {
        QVERIFY(
            Write(dir.filePath(QStringLiteral("w%1.xml").arg(version)), Component("w", version)));
    }
    QVERIFY(Write(dir.filePath("other.xml"), Component("other", "0.1")));
    Load({dir.path()});
    QVERIFY(Indexed("tst:lib:w:1.10")->IsLatestVersion());
    QVERIFY(!Indexed("tst:lib:w:1.9")->IsLatestVersion());
    QVERIFY(!Indexed("tst:lib:w:1.2")->IsLatestVersion());
    QVERIFY(Indexed("tst:lib:other:0.1")->IsLatestVersion());
    // A newer version loaded later takes the flag over.
    QTemporaryDir later;
    QVERIFY(Write(later.filePath("w2.xml"), Component("w", "2.0")));
    Load({later.path()});
    QVERIFY(!Indexed("tst:lib:w:1.10")->IsLatestVersion());
    QVERIFY(Indexed("tst:lib:w:2.0")->IsLatestVersion());
}

void TestCatalogLoader::unloadKeepsCustomizedIPs()
{
    QTemporaryDir dir;
    QVERIFY(Write(dir.filePath("w.xml"), Component("w", "1.0")));
    Load({dir.path()});
    auto customized = Indexed("tst:lib:w:1.0")->Clone();
    customized->SetUniqueID("my_w");
    QCOMPARE(Ipu::ElementIndex::AddElement(customized), 0u);
    CatalogLoader::Unload();
    QVERIFY(!Ipu::ElementIndex::HasElement("tst:lib:w:1.0"));
    QVERIFY(Ipu::ElementIndex::HasElement("my_w"));
    // A refresh loads the same files again without complaint.
    MessageCapture capture;
    QCOMPARE(Load({dir.path()}).counts.loaded, 1u);
    QVERIFY(capture.messages().empty());
}

// The sample catalogue holds what the tool's tests and first run rely on.
void TestCatalogLoader::embeddedCatalogueLoadsCleanly()
{
    MessageCapture capture;
    const Loaded loaded = Load({Q(Sim::DataLocation::DataDirectory()) + "/catalog"});
    QCOMPARE(loaded.result, 0u);
    QVERIFY(capture.messages().empty());
    QCOMPARE(loaded.counts.skipped, 0u);
    QVERIFY(loaded.counts.loaded >= 10u);

    std::vector<Port::String> families;
    QCOMPARE(Sim::FamilySupport::GetAvailableFamilies(families), 0u);
    QSet<int> lifeCycles;
    QSet<int> ipTypes;
    bool dummy = false;
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        QVERIFY(component);
        lifeCycles.insert(component->GetLifecycleValue());
        ipTypes.insert(component->GetIPType());
        dummy = dummy || component->HasProperty(Ipu::Keyword::IS_DUMMY_IP);
        for (const Ipu::Family& family : component->GetFamilies()) {
            Port::String name;
            family.GetName(name);
            QVERIFY2(std::count(families.begin(), families.end(), name) == 1, name.c_str());
        }
        Port::String sheet;
        QCOMPARE(Ipu::IP(component).GetDataSheet(sheet, true), 0u);
        QVERIFY2(Port::File::isfile(sheet), sheet.c_str());
    }
    QVERIFY(lifeCycles.contains(5) && lifeCycles.contains(6));
    QVERIFY(ipTypes.contains(0) && ipTypes.contains(1));
    QVERIFY(dummy);
    QVERIFY(Indexed("pellor:ip:fifo_sync:2.1")->IsLatestVersion());
    QVERIFY(!Indexed("pellor:ip:fifo_sync:1.0")->IsLatestVersion());
}

// A mistake that leaves the IP usable is a warning of its own; the IP still loads.
void TestCatalogLoader::namesMistakesByFileAndLine()
{
    QTemporaryDir dir;
    QVERIFY(Write(dir.filePath("w.xml"), Component("w", "1.0 beta")));
    MessageCapture capture;
    QCOMPARE(Load({dir.path()}).counts.loaded, 1u);
    QCOMPARE(capture.textLines(),
             QStringList("WARNING:sim:Sim_CatalogLoader - Catalogue file " + dir.filePath("w.xml") +
                         ", line 4: version '1.0 beta' is not numeric (numbers separated by "
                         "'.')\n"));
}

void TestCatalogLoader::followsCatalogDocuments_data()
{
    QTest::addColumn<QStringList>("names");  // in %D/cat/index.xml
    QTest::addColumn<QStringList>("files");  // components "c0", "c1", ... at these paths
    QTest::addColumn<unsigned>("loaded");
    QTest::addColumn<QStringList>("warnings");

    QTest::newRow("relative name")
        << QStringList("../ip/one.ipxact") << QStringList("ip/one.ipxact") << 1u << QStringList();
    QTest::newRow("absolute name")
        << QStringList("%D/ip/one.ipxact") << QStringList("ip/one.ipxact") << 1u << QStringList();
    QTest::newRow("named and found by the walk")
        << QStringList("sub/one.xml") << QStringList("cat/sub/one.xml") << 1u << QStringList();
    QTest::newRow("named twice, and itself")
        << QStringList({"../ip/one.ipxact", "index.xml", "../ip/../ip/one.ipxact"})
        << QStringList("ip/one.ipxact") << 1u << QStringList();
    QTest::newRow("missing file")
        << QStringList({"../ip/one.ipxact", "../ip/gone.xml"}) << QStringList("ip/one.ipxact") << 1u
        << QStringList(
               "WARNING:sim:Sim_CatalogLoader - Skipping catalogue file %D/ip/gone.xml "
               "(named in %D/cat/index.xml, line 6): cannot be read: no such file\n");
}

// A catalog document's entries are files relative to the document; each is read once.
void TestCatalogLoader::followsCatalogDocuments()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, files);
    QFETCH(unsigned, loaded);
    QFETCH(QStringList, warnings);
    QTemporaryDir dir;
    for (QString& name : names) {
        name.replace("%D", dir.path());
    }
    QVERIFY(Write(dir.filePath("cat/index.xml"), CatalogDocument(names)));
    QVERIFY(Write(dir.filePath("ip/one.ipxact"), "<junk/>"));
    for (int i = 0; i < files.size(); ++i) {
        QVERIFY(Write(dir.filePath(files[i]), Component(qPrintable(QString("c%1").arg(i)), "1.0")));
    }
    MessageCapture capture;
    const Loaded result = Load({dir.filePath("cat")});
    QCOMPARE(result.counts.loaded, loaded);
    QCOMPARE(capture.lines(), Expand(warnings, dir.path()));
}

void TestCatalogLoader::skipsNamesThatAreNotUtf8_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("directory");
    QTest::addColumn<QString>("warning");
    QTest::newRow("file") << QByteArray("caf\xE9.xml") << false
                          << "WARNING:sim:Sim_CatalogLoader - Skipping catalogue file "
                             "%D/caf\\xE9.xml: its name is not valid UTF-8\n";
    QTest::newRow("directory") << QByteArray("d\xFF\x01") << true
                               << "WARNING:sim:Sim_CatalogLoader - Skipping catalogue directory "
                                  "%D/d\\xFF\\x01: its name is not valid UTF-8\n";
}

// Such a name has no faithful text: it would be read under another name, or not at all.
void TestCatalogLoader::skipsNamesThatAreNotUtf8()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, directory);
    QFETCH(QString, warning);
    QTemporaryDir dir;
    QVERIFY(Write(dir.filePath("good.xml"), Component("good", "1.0")));
    const QByteArray raw = QFile::encodeName(dir.path()) + '/' + name;
    const QByteArray inner = raw + "/w.xml";
    const QByteArray other = QFile::encodeName(dir.path()) + "/notes\xE9.txt";
    const QByteArray xml = Component("w", "1.0");
    if (directory) {
        QCOMPARE(mkdir(raw.constData(), 0700), 0);
    }
    for (const QByteArray& path : {directory ? inner : raw, other}) {
        FILE* file = std::fopen(path.constData(), "w");
        QVERIFY(file);
        std::fwrite(xml.constData(), 1, xml.size(), file);
        std::fclose(file);
    }
    MessageCapture capture;
    const Loaded loaded = Load({dir.path()});
    // Removed here: the temporary directory's own clean-up goes by decoded names.
    ::unlink(other.constData());
    ::unlink((directory ? inner : raw).constData());
    if (directory) {
        ::rmdir(raw.constData());
    }
    QCOMPARE(loaded.counts.loaded, 1u);
    QCOMPARE(loaded.counts.skipped, directory ? 0u : 1u);
    QCOMPARE(capture.lines(), Expand({warning}, dir.path()));
}

QTEST_GUILESS_MAIN(TestCatalogLoader)
#include "tst_catalogloader.moc"
