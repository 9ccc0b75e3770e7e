#include "EngineFixture.h"
#include "Ipu_ProjectOptions.h"
#include "MessageCapture.h"
#include "Sim_DataLocation.h"
#include "Sim_FamilySupport.h"
#include "TestCatalog.h"
#include "TestDevices.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

namespace {

const char* const kKey = "pellor:test:fifo:1.0";

}  // namespace

class TestCIPEngine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void factoryMakesTheEngine();
    void referencesAreCounted();
    void createdDesignHasDefaults();
    void createWithoutDeviceDatabaseLeavesPartEmpty();
    void createRefusesMalformedIdentifier();
    void addComponentFromCatalogue();
    void addComponentWithoutCatalogueEntry();
    void addComponentRefused_data();
    void addComponentRefused();
    void openingTwiceGivesFreshIds();
    void closeIsHarmless_data();
    void closeIsHarmless();
    void designsAreSharedBetweenEngines();
    void refreshLoadsTheCatalogue();
    void refreshReportsMissingDirectory();
    void concurrentDesigns();

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    Port::String create(const QString& name);

    Engine engine;
    std::unique_ptr<QTemporaryDir> dir;
};

void TestCIPEngine::initTestCase()
{
    engine = Engine::make();
    QVERIFY2(engine.complete(), CitP::Factory::LastError().c_str());
    QVERIFY(TestDevices::load());
    // The refresh tests count the IPs of their own catalogue only.
    Sim::DataLocation::SetDefaultCatalogUsed(false);
    if (!Ipu::ElementIndex::HasElement(kKey))
        AddCatalogueEntry(kKey, {{"depth", "16"}, {"width", "8"}});
}

void TestCIPEngine::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

Port::String TestCIPEngine::create(const QString& name)
{
    return engine.projects->CreateDesign(P(path(name)), "pellor:Gantrel:demo:1.0");
}

void TestCIPEngine::factoryMakesTheEngine()
{
    const CitP::Ref<CitP::Interface> object =
        CitP::Factory::CreateInstanceRef(SimC::CLSID_CIPEngine);
    QVERIFY(object);
    CitP::Interface* found = reinterpret_cast<CitP::Interface*>(1);
    QCOMPARE(object->QueryInterface("SimC.INoSuchInterface", &found), 1u);
    QCOMPARE(found, nullptr);
    QCOMPARE(object->QueryInterface(nullptr, &found), 1u);
    QCOMPARE(object->QueryInterface(SimC::IProjectManager::IID, nullptr), 1u);
    QVERIFY(!CitP::Factory::CreateInstanceRef("SimC.CNoSuchClass"));
}

void TestCIPEngine::referencesAreCounted()
{
    const CitP::Ref<CitP::Interface> object =
        CitP::Factory::CreateInstanceRef(SimC::CLSID_CIPEngine);
    QCOMPARE(object->AddRef(), 2ul);
    QCOMPARE(object->Release(), 1ul);
    {
        const auto projects = object.Query<SimC::IProjectManager>();
        const auto designs = object.Query<SimC::IDesignManager>();
        // Each interface is the same object: a reference taken through one counts for all.
        QCOMPARE(designs->AddRef(), 4ul);
        QCOMPARE(projects->Release(), 3ul);
    }
    QCOMPARE(object->AddRef(), 2ul);
    QCOMPARE(object->Release(), 1ul);
}

void TestCIPEngine::createdDesignHasDefaults()
{
    const Port::String id = create("demo.gtcfg");
    QVERIFY(Q(id).startsWith(path("demo.gtcfg") + "#"));
    const auto design = Design(id);
    QVERIFY(design);
    QCOMPARE(Q(design->GetName()), QString("demo"));
    QCOMPARE(Q(design->GetIdentifier().GetKey()), QString("pellor:Gantrel:demo:1.0"));
    QCOMPARE(Q(design->GetProjectFileName().GetAbsolutePath()), path("demo.gtcfg"));
    Ipu::ProjectOptions options;
    QCOMPARE(design->GetProjectOptions(options), 0u);
    QCOMPARE(options.GetPelPart(), Ipu::PelPart("alpha", "a10", "p1", "-1"));
    Port::String text;
    options.GetProjectName(text);
    QCOMPARE(Q(text), QString("demo"));
    options.GetOutputDirectory(text);
    QCOMPARE(Q(text), dir->path());
    for (const char* chain : {"regenerate_project", "upgrade_and_regenerate_project"}) {
        QVERIFY2(design->GetGeneratorChains().Has(chain), chain);
        QCOMPARE(Q(design->GetGeneratorChains().Get(chain)->GetUniqueID()), Q(id) + "/" + chain);
    }
    QVERIFY2(!QFile::exists(path("demo.gtcfg")), "a new design is written only when saved");
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
}

void TestCIPEngine::createWithoutDeviceDatabaseLeavesPartEmpty()
{
    MessageCapture capture;
    Sim::FamilySupport::LoadFromMemory("not json", 8, "broken devices");
    const Port::String id = create("nopart.gtcfg");
    QVERIFY(TestDevices::load());
    QVERIFY(!id.IsEmpty());
    Ipu::ProjectOptions options;
    QCOMPARE(Design(id)->GetProjectOptions(options), 0u);
    QVERIFY(!options.GetPelPart().IsDefined());
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
}

void TestCIPEngine::createRefusesMalformedIdentifier()
{
    MessageCapture capture;
    const std::size_t before = Ipu::ElementIndex::Count();
    QVERIFY(engine.projects->CreateDesign(P(path("x.gtcfg")), "pellor:Gantrel:x").IsEmpty());
    QCOMPARE(Ipu::ElementIndex::Count(), before);
    QCOMPARE(capture.messages().size(), std::size_t(1));
    QCOMPARE(capture.messages()[0].kind, Port_MsgManData::Warning);
    QVERIFY(QString::fromStdString(capture.messages()[0].text).contains(path("x.gtcfg")));
}

void TestCIPEngine::addComponentFromCatalogue()
{
    const Port::String id = create("demo.gtcfg");
    const Port::String memberId =
        engine.designs->AddComponent(id, kKey, "fifo_0", "FIFO zero", "a fifo");
    QCOMPARE(Q(memberId), Q(id) + "/fifo_0");
    const auto member = Member(memberId);
    QVERIFY(member);
    QVERIFY(member->IsCustomized());
    QCOMPARE(Q(member->GetUnconfiguredID()), QString(kKey));
    QCOMPARE(Q(member->GetName()), QString("fifo_0"));
    QCOMPARE(Q(member->GetDisplayName()), QString("FIFO zero"));
    QCOMPARE(Q(member->GetDescription()), QString("a fifo"));
    QCOMPARE(member->GetParameters().Size(), std::size_t(2));
    QCOMPARE(Design(id)->GetElement("fifo_0"), boost::shared_ptr<Ipu::IPBase>(member));
    // The catalogue entry is copied, never changed.
    QCOMPARE(Q(Ipu::ElementIndex::GetElement(kKey)->GetName()), QString("fifo"));

    QCOMPARE(engine.projects->CloseDesign(id), 0u);
    QVERIFY(!Ipu::ElementIndex::HasElement(memberId));
    QVERIFY(!Ipu::ElementIndex::HasElement(id));
    QVERIFY(Ipu::ElementIndex::HasElement(kKey));
}

void TestCIPEngine::addComponentWithoutCatalogueEntry()
{
    const Port::String id = create("demo.gtcfg");
    const Port::String memberId =
        engine.designs->AddComponent(id, "acme:misc:gone:3.1", "gone_0", "", "");
    const auto member = Member(memberId);
    QVERIFY(member);
    QCOMPARE(Q(member->GetIdentifier().GetKey()), QString("acme:misc:gone:3.1"));
    QCOMPARE(Q(member->GetUnconfiguredID()), QString("acme:misc:gone:3.1"));
    QVERIFY(member->GetParameters().IsEmpty());
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
}

void TestCIPEngine::addComponentRefused_data()
{
    QTest::addColumn<bool>("knownDesign");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::newRow("unknown design") << false << kKey << "fifo_1";
    QTest::newRow("name taken") << true << kKey << "taken";
    QTest::newRow("empty name") << true << kKey << "";
    QTest::newRow("key not a VLNV") << true << "pellor:test:fifo"
                                    << "fifo_1";
}

void TestCIPEngine::addComponentRefused()
{
    QFETCH(bool, knownDesign);
    QFETCH(QString, key);
    QFETCH(QString, name);
    const Port::String id = create("demo.gtcfg");
    QVERIFY(!engine.designs->AddComponent(id, kKey, "taken", "", "").IsEmpty());
    const std::size_t before = Ipu::ElementIndex::Count();
    const Port::String target = knownDesign ? id : Port::String("no such design");
    QVERIFY(engine.designs->AddComponent(target, P(key), P(name), "", "").IsEmpty());
    QCOMPARE(Ipu::ElementIndex::Count(), before);
    QCOMPARE(Design(id)->CountElements(), std::size_t(1));
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
}

void TestCIPEngine::openingTwiceGivesFreshIds()
{
    const Port::String created = create("demo.gtcfg");
    QVERIFY(!engine.designs->AddComponent(created, kKey, "fifo_0", "", "").IsEmpty());
    QVERIFY(engine.projects->SaveDesign(created));
    QCOMPARE(engine.projects->CloseDesign(created), 0u);

    const Port::String first = engine.projects->OpenDesign(P(path("demo.gtcfg")));
    const Port::String second = engine.projects->OpenDesign(P(path("demo.gtcfg")));
    QVERIFY(!first.IsEmpty() && !second.IsEmpty());
    QVERIFY(first != second && first != created && second != created);
    QVERIFY(Member(first + "/fifo_0") && Member(second + "/fifo_0"));
    QVERIFY(Member(first + "/fifo_0") != Member(second + "/fifo_0"));

    QCOMPARE(engine.projects->CloseDesign(first), 0u);
    QVERIFY(!Ipu::ElementIndex::HasElement(first));
    QVERIFY(!Ipu::ElementIndex::HasElement(first + "/fifo_0"));
    QVERIFY(Design(second));
    QVERIFY(Member(second + "/fifo_0"));
    QVERIFY(engine.projects->SaveDesign(second));
    QCOMPARE(engine.projects->CloseDesign(second), 0u);
}

void TestCIPEngine::closeIsHarmless_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("closeFirst");
    QTest::newRow("unknown") << "/no/such/design.gtcfg#1" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("already closed") << "" << true;
}

void TestCIPEngine::closeIsHarmless()
{
    QFETCH(QString, id);
    QFETCH(bool, closeFirst);
    MessageCapture capture;
    Port::String target = P(id);
    if (closeFirst) {
        target = create("demo.gtcfg");
        QCOMPARE(engine.projects->CloseDesign(target), 0u);
    }
    const std::size_t before = Ipu::ElementIndex::Count();
    QCOMPARE(engine.projects->CloseDesign(target), 1u);
    QCOMPARE(Ipu::ElementIndex::Count(), before);
    QVERIFY(capture.messages().empty());
}

void TestCIPEngine::designsAreSharedBetweenEngines()
{
    Engine other = Engine::make();
    QVERIFY(other.complete());
    const Port::String id = create("demo.gtcfg");
    QVERIFY(!other.designs->AddComponent(id, kKey, "fifo_0", "", "").IsEmpty());
    QVERIFY(other.projects->SaveDesign(id));
    QVERIFY(QFile::exists(path("demo.gtcfg")));
    other = Engine();  // the design outlives the engine object it was reached through
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
    QCOMPARE(Engine::make().projects->CloseDesign(id), 1u);
}

void TestCIPEngine::refreshLoadsTheCatalogue()
{
    const QString catalogue = path("catalogue");
    QVERIFY(QDir().mkpath(catalogue));
    QVERIFY(
        WriteAll(catalogue + "/widget.xml", TestCatalog::toXml(TestCatalog::Component("widget"))));
    Sim::DataLocation::SetCatalogDirectories({P(catalogue)});
    MessageCapture capture;

    engine.repository->SetStartup(true);
    QCOMPARE(engine.repository->RefreshAllRepositories(), 0u);
    QVERIFY(Ipu::ElementIndex::HasElement("pellor:test:widget:1.0"));
    QCOMPARE(capture.lines(), (std::vector<std::string>{
                                  "STATUS:simc:SimC_Repository - Loading IP catalog\n",
                                  "STATUS:simc:SimC_Repository - IP catalog loaded: 1 IPs\n"}));

    // A customized member is the design's, not the catalogue's: a refresh keeps it.
    const Port::String id = create("demo.gtcfg");
    const Port::String member =
        engine.designs->AddComponent(id, "pellor:test:widget:1.0", "widget_0", "", "");
    QVERIFY(QFile::remove(catalogue + "/widget.xml"));
    capture.clear();
    QCOMPARE(engine.repository->RefreshAllRepositories(), 0u);
    QVERIFY(!Ipu::ElementIndex::HasElement("pellor:test:widget:1.0"));
    QVERIFY(Member(member));
    QCOMPARE(
        capture.lines(),
        (std::vector<std::string>{
            "INFO:simc:SimC_Repository - IP catalog refreshed: 0 IPs loaded, 0 files skipped\n"}));
    QCOMPARE(engine.projects->CloseDesign(id), 0u);
    Sim::DataLocation::SetCatalogDirectories({});
}

void TestCIPEngine::refreshReportsMissingDirectory()
{
    Sim::DataLocation::SetCatalogDirectories({P(path("missing"))});
    MessageCapture capture;
    QCOMPARE(engine.repository->RefreshAllRepositories(), 1u);
    Sim::DataLocation::SetCatalogDirectories({});
    QVERIFY(Ipu::ElementIndex::HasElement(kKey));  // not read from a file: not unloaded
}

// Each thread works on designs of its own and on one shared design; the registry and the
// element index keep them apart.
void TestCIPEngine::concurrentDesigns()
{
    const Port::String shared = create("shared.gtcfg");
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            Engine own = Engine::make();
            const QString file = path(QString("t%1.gtcfg").arg(t));
            for (int round = 0; round < 5; ++round) {
                const Port::String id = own.projects->CreateDesign(P(file), "pellor:Gantrel:t:1.0");
                const QString name = QString("m%1_%2").arg(t).arg(round);
                if (own.designs->AddComponent(id, kKey, P(name), "", "").IsEmpty() ||
                    own.designs->AddComponent(shared, kKey, P(name), "", "").IsEmpty() ||
                    !own.projects->SaveDesign(id) || !own.projects->SaveDesign(shared) ||
                    own.projects->CloseDesign(id) != 0)
                    ++failures;
                const Port::String reopened = own.projects->OpenDesign(P(file));
                if (reopened.IsEmpty() || own.projects->CloseDesign(reopened) != 0)
                    ++failures;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(failures.load(), 0);
    QCOMPARE(Design(shared)->CountElements(), std::size_t(20));
    QCOMPARE(engine.projects->CloseDesign(shared), 0u);
}

QTEST_GUILESS_MAIN(TestCIPEngine)
#include "tst_cipengine.moc"
