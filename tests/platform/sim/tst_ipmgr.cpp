#include "Ipu_ElementIndex.h"
#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "MessageCapture.h"
#include "Sim_DataLocation.h"
#include "Sim_FamilySupport.h"
#include "Sim_IPMgr.h"
#include "TestCatalog.h"
#include "TestDevices.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <boost/pointer_cast.hpp>

#include <atomic>
#include <cstring>
#include <thread>

using Sim::IPMgr;
using TestCatalog::Component;

namespace {

const QStringList kAllParts{"alpha a10 p1 -1", "alpha a10 p1 -2", "alpha a10 p2 -1",
                            "alpha a20 p2 -2", "beta b5 q9 -3"};

QStringList Describe(const Ipu::PelPartList& parts)
{
    QStringList result;
    for (const Ipu::PelPart& part : parts) {
        result << QString::fromStdString((part.GetFamily() + " " + part.GetDevice() + " " +
                                          part.GetPackage() + " " + part.GetSpeedGrade())
                                             .str());
    }
    return result;
}

Ipu::ProjectOptions OptionsFor(const QStringList& part)
{
    Ipu::ProjectOptions options;
    options.SetDeviceFamily(part.value(0).toStdString());
    options.SetDevice(part.value(1).toStdString());
    options.SetPackage(part.value(2).toStdString());
    options.SetSpeedGrade(part.value(3).toStdString());
    return options;
}

// Keys of the catalogue entries marked latest, in index order.
QStringList Latest()
{
    QStringList keys;
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (component && !component->IsCustomized() && component->IsLatestVersion())
            keys << QString::fromStdString(component->GetIdentifier().GetKey().str());
    }
    return keys;
}

// Loads a component; removedFor names a family whose life-cycle is "removed".
boost::shared_ptr<Ipu::IPComponent> Load(const Component& description,
                                         const char* removedFor = nullptr)
{
    auto component = TestCatalog::read(description);
    if (component && removedFor)
        component->AddFamily(Ipu::Family(removedFor), Ipu::LifeCycleStatus::REMOVED);
    if (component)
        Ipu::ElementIndex::AddElement(component);
    return component;
}

}  // namespace

class TestIPMgr : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void compatibleParts_data();
    void compatibleParts();
    void compatiblePartsWithoutComponent();
    void resolveLatestPerPart_data();
    void resolveLatestPerPart();
    void refreshFamilyCache_data();
    void refreshFamilyCache();
    void refreshWhileQuerying();
};

void TestIPMgr::init()
{
    Ipu::ElementIndex::Clear();
    QVERIFY(TestDevices::load());
}

void TestIPMgr::cleanup()
{
    Sim::DataLocation::SetDeviceDatabaseFile("");
    Ipu::ElementIndex::Clear();
}

void TestIPMgr::compatibleParts_data()
{
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("family-independent") << QStringList() << kAllParts;
    QTest::newRow("one family") << QStringList{"alpha"} << kAllParts.mid(0, 4);
    QTest::newRow("other family") << QStringList{"beta"} << kAllParts.mid(4);
    QTest::newRow("letter case ignored") << QStringList{"BETA"} << kAllParts.mid(4);
    QTest::newRow("database order") << QStringList{"beta", "alpha"} << kAllParts;
    QTest::newRow("family not installed") << QStringList{"gamma"} << QStringList();
}

void TestIPMgr::compatibleParts()
{
    QFETCH(QStringList, families);
    QFETCH(QStringList, parts);
    const auto component = TestCatalog::read(Component("fifo").withFamilies(families));
    QVERIFY(component);
    Ipu::PelPartList found{Ipu::PelPart("stale", "x", "y", "z")};
    QCOMPARE(IPMgr::GetInstance()->GetCompatibleParts(Ipu::IP(component), found), 0u);
    QCOMPARE(Describe(found), parts);
}

void TestIPMgr::compatiblePartsWithoutComponent()
{
    Ipu::PelPartList found{Ipu::PelPart("stale", "x", "y", "z")};
    QCOMPARE(IPMgr::GetInstance()->GetCompatibleParts(Ipu::IP(), found), 1u);
    QVERIFY(found.empty());
}

void TestIPMgr::resolveLatestPerPart_data()
{
    QTest::addColumn<QStringList>("part");
    QTest::addColumn<QStringList>("latest");
    // x 3.0 is removed for alpha; y 1.5 (deprecated, still usable) exists for beta only.
    QTest::newRow("alpha") << QStringList{"alpha", "a10", "p1", "-1"}
                           << QStringList{"pellor:test:x:2.0", "pellor:test:y:1.0"};
    QTest::newRow("beta") << QStringList{"beta", "b5", "q9", "-3"}
                          << QStringList{"pellor:test:x:3.0", "pellor:test:y:1.5"};
    QTest::newRow("family letter case") << QStringList{"ALPHA", "a10", "p1", "-1"}
                                        << QStringList{"pellor:test:x:2.0", "pellor:test:y:1.0"};
    QTest::newRow("family not installed")
        << QStringList{"gamma", "g1", "r1", "-1"} << QStringList{"pellor:test:y:1.0"};
    QTest::newRow("part undefined: whole catalogue")
        << QStringList() << QStringList{"pellor:test:x:3.0", "pellor:test:y:1.5"};
    QTest::newRow("part incomplete: whole catalogue")
        << QStringList{"alpha"} << QStringList{"pellor:test:x:3.0", "pellor:test:y:1.5"};
}

void TestIPMgr::resolveLatestPerPart()
{
    QFETCH(QStringList, part);
    QFETCH(QStringList, latest);
    QVERIFY(Load(Component("x").withVersion("1.0").withFamilies({"alpha", "beta"})));
    const auto x2 = Load(Component("x").withVersion("2.0").withFamilies({"alpha"}));
    QVERIFY(x2);
    QVERIFY(Load(Component("x").withVersion("3.0").withFamilies({"alpha", "beta"}), "alpha"));
    QVERIFY(Load(Component("y").withVersion("1.0")));
    QVERIFY(
        Load(Component("y").withVersion("1.5").withFamilies({"beta"}).withLifeCycle("deprecated")));
    const auto customized = TestCatalog::customize(x2, "my_x");
    QVERIFY(customized);
    // A resolution for another part first: its marks must not survive.
    IPMgr::GetInstance()->ResolveLatestIP(OptionsFor({"beta", "b5", "q9", "-3"}));
    QCOMPARE(IPMgr::GetInstance()->ResolveLatestIP(OptionsFor(part)), 0u);
    QCOMPARE(Latest(), latest);
    QVERIFY(!customized->IsLatestVersion());
}

void TestIPMgr::refreshFamilyCache_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<unsigned>("status");
    QTest::addColumn<int>("warnings");
    QTest::newRow("database present") << true << 0u << 0;
    QTest::newRow("database missing") << false << 1u << 1;
}

void TestIPMgr::refreshFamilyCache()
{
    QFETCH(bool, present);
    QFETCH(unsigned, status);
    QFETCH(int, warnings);
    QTemporaryDir dir;
    const QString path = dir.filePath("devices.json");
    if (present) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(TestDevices::json()).replace("beta", "delta"));
    }
    Sim::DataLocation::SetDeviceDatabaseFile(path.toStdString());
    MessageCapture capture;
    QCOMPARE(IPMgr::GetInstance()->RefreshFamilyCache(), status);
    QCOMPARE(int(capture.messages().size()), warnings);
    std::vector<Port::String> families;
    Sim::FamilySupport::GetAvailableFamilies(families);
    QCOMPARE(int(families.size()), present ? 2 : 0);
    if (present)
        QCOMPARE(families[1], Port::String("delta"));
}

// Run under ThreadSanitizer: the family thread refreshes while the GUI asks.
void TestIPMgr::refreshWhileQuerying()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("devices.json");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(TestDevices::json());
    file.close();
    Sim::DataLocation::SetDeviceDatabaseFile(path.toStdString());
    const Ipu::IP ip(TestCatalog::read(Component("any")));
    std::atomic<bool> done{false};
    std::atomic<unsigned> failures{0};
    std::thread refresher([&] {
        for (int i = 0; i < 100; ++i)
            failures += IPMgr::GetInstance()->RefreshFamilyCache();
        done = true;
    });
    int rounds = 0;
    bool consistent = true;
    while (!done || rounds == 0) {
        Ipu::PelPartList parts;
        IPMgr::GetInstance()->GetCompatibleParts(ip, parts);
        consistent = consistent && Describe(parts) == kAllParts;
        ++rounds;
    }
    refresher.join();
    QCOMPARE(failures.load(), 0u);
    QVERIFY2(consistent, "a query saw a partly loaded database");
    QVERIFY(rounds > 0);
}

QTEST_GUILESS_MAIN(TestIPMgr)
#include "tst_ipmgr.moc"
