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

QTEST_GUILESS_MAIN(TestCatalogLoader)
#include "tst_catalogloader.moc"
