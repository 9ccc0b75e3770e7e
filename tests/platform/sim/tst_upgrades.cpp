#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Sim_CatalogLoader.h"
#include "Sim_DataLocation.h"
#include "Sim_Upgrades.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <boost/pointer_cast.hpp>

using Sim::Upgrades;

namespace {

// One version of an IP; "regenerate" gives it an upgrade-and-regenerate chain, with steps
// or without.
QByteArray Version(const char* library, const char* name, const char* version, const char* families,
                   const char* lifeCycle = "production", const char* regenerate = nullptr)
{
    QByteArray chains;
    if (regenerate) {
        chains = QByteArray(
                     "<g:generatorChains><g:generatorChain task=\"upgrade_regenerate_ip_"
                     "latest_version\" vendor=\"pellor\" library=\"generatorchains\" "
                     "name=\"up\" version=\"1.0\"><g:group>upgrade_and_regenerate</g:group>"
                     "<g:property name=\"ipType\">customized</g:property>"
                     "<g:property name=\"familyDependent\">dependent</g:property>") +
                 regenerate + "</g:generatorChain></g:generatorChains>";
    }
    // No multi-line raw string here: moc misreads "//" inside one.
    return QByteArray(
               "<ipxact:component xmlns:ipxact=\"http://www.accellera.org/XMLSchema/"
               "IPXACT/1685-2014\"><ipxact:vendor>tst</ipxact:vendor><ipxact:library>") +
           library + "</ipxact:library><ipxact:name>" + name + "</ipxact:name><ipxact:version>" +
           version +
           "</ipxact:version><ipxact:vendorExtensions><g:ip xmlns:g=\"urn:pellor:gantrel:"
           "ipxact-extensions:1.0\"><g:lifeCycle>" +
           lifeCycle + "</g:lifeCycle><g:families>" + families + "</g:families>" + chains +
           "</g:ip></ipxact:vendorExtensions></ipxact:component>\n";
}

const char* const Step = R"(<g:generator kind="upgrade-latest"/>)";

boost::shared_ptr<Ipu::IPComponent> Indexed(const char* key)
{
    return boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(key));
}

QStringList Describe(const Upgrades& upgrades)
{
    QStringList result;
    for (const Upgrades::Entry& entry : upgrades) {
        result << QString::fromStdString(entry.component->GetIdentifier().GetVersion().str()) +
                      (entry.canBeRegenerated ? ":regenerate" : "");
    }
    return result;
}

Ipu::PelPart Part(const char* family)
{
    return Ipu::PelPart(family, "dev", "pkg", "-1");
}

}  // namespace

class TestUpgrades : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase() { Ipu::ElementIndex::Clear(); }
    void listsNewerVersionsForPart_data();
    void listsNewerVersionsForPart();
    void customizedIPHasItsCatalogueUpgrades();
    void noComponentAndLatestHaveNone();
    void embeddedCatalogue_data();
    void embeddedCatalogue();

private:
    QTemporaryDir dir;
};

void TestUpgrades::init()
{
    Ipu::ElementIndex::Clear();
    const struct {
        const char* file;
        QByteArray content;
    } files[] = {
        {"w09", Version("lib", "widget", "0.9", "<g:family>tellara3</g:family>")},
        {"w10", Version("lib", "widget", "1.0",
                        "<g:family>tellara3</g:family><g:family>korvane</g:family>")},
        {"w11",
         Version("lib", "widget", "1.1", "<g:family>tellara3</g:family>", "production", Step)},
        {"w20",
         Version(
             "lib", "widget", "2.0",
             R"(<g:family>tellara3</g:family><g:family lifeCycle="deprecated">korvane</g:family>)")},
        {"w21",
         Version("lib", "widget", "2.1",
                 "<g:family>tellara3</g:family><g:family>korvane</g:family>", "removed", Step)},
        {"w30", Version("lib", "widget", "3.0", "", "beta", "")},
        {"g50", Version("lib", "gadget", "5.0", "<g:family>tellara3</g:family>")},
        {"o90", Version("other", "widget", "9.0", "<g:family>tellara3</g:family>")},
    };
    for (const auto& file : files) {
        QFile out(dir.filePath(QStringLiteral("%1.xml").arg(file.file)));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.content);
    }
    Sim::CatalogLoader::Counts counts;
    QCOMPARE(Sim::CatalogLoader::Load({dir.path().toStdString()}, counts), 0u);
    QCOMPARE(counts.loaded, 8u);
    // A customized configuration of a newer version is no upgrade.
    auto customized = Indexed("tst:lib:widget:2.0")->Clone();
    customized->SetUniqueID("my_widget");
    QCOMPARE(Ipu::ElementIndex::AddElement(customized), 0u);
}

void TestUpgrades::listsNewerVersionsForPart_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("expected");
    // 3.0 names no family, so it suits every part; its upgrade chain has no step.
    QTest::newRow("all families") << "tellara3" << QStringList{"1.1:regenerate", "2.0", "3.0"};
    QTest::newRow("letter case") << "TELLARA3" << QStringList{"1.1:regenerate", "2.0", "3.0"};
    QTest::newRow("deprecated for the family") << "korvane" << QStringList{"3.0"};
    QTest::newRow("family-independent only") << "mistrel" << QStringList{"3.0"};
    QTest::newRow("no family") << "" << QStringList{};
}

void TestUpgrades::listsNewerVersionsForPart()
{
    QFETCH(QString, family);
    QFETCH(QStringList, expected);
    const Upgrades upgrades(Part(family.toUtf8().constData()), Indexed("tst:lib:widget:1.0"));
    QCOMPARE(Describe(upgrades), expected);
    QCOMPARE(upgrades.IsEmpty(), expected.isEmpty());
    QCOMPARE(upgrades.CanAnyBeRegenerated(), !expected.filter(":regenerate").isEmpty());
}

void TestUpgrades::customizedIPHasItsCatalogueUpgrades()
{
    auto customized = Indexed("tst:lib:widget:1.0")->Clone();
    customized->SetUniqueID("mine");
    customized->SetName("mine");
    QCOMPARE(Describe(Upgrades(Part("tellara3"), customized)),
             (QStringList{"1.1:regenerate", "2.0", "3.0"}));
}

void TestUpgrades::noComponentAndLatestHaveNone()
{
    QVERIFY(Upgrades(Part("tellara3"), nullptr).IsEmpty());
    QVERIFY(Upgrades(Part("tellara3"), Indexed("tst:lib:widget:3.0")).IsEmpty());
}

void TestUpgrades::embeddedCatalogue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("deprecated FIFO") << "pellor:ip:fifo_sync:1.0" << QStringList{"2.1:regenerate"};
    QTest::newRow("counter, ports changed") << "pellor:ip:counter_binary:1.0" << QStringList{"1.1"};
    QTest::newRow("single version") << "pellor:ip:block_ram_sp:2.0" << QStringList{};
}

void TestUpgrades::embeddedCatalogue()
{
    QFETCH(QString, key);
    QFETCH(QStringList, expected);
    Ipu::ElementIndex::Clear();
    Sim::CatalogLoader::Counts counts;
    const std::string catalogue = Sim::DataLocation::DataDirectory().str() + "/catalog";
    QCOMPARE(Sim::CatalogLoader::Load({catalogue}, counts), 0u);
    QCOMPARE(Describe(Upgrades(Ipu::PelPart("tellara3", "tl3c100", "gb256", "-2"),
                               Indexed(key.toUtf8().constData()))),
             expected);
}

QTEST_GUILESS_MAIN(TestUpgrades)
#include "tst_upgrades.moc"
