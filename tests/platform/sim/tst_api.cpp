#include "Ipu_ElementIndex.h"
#include "Ipu_Filter.h"
#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_RuntimeOptions.h"
#include "Sim_API.h"
#include "TestCatalog.h"

#include <QtTest>

using TestCatalog::Component;

namespace {

Ipu::ProjectOptions OptionsFor(const char* family)
{
    Ipu::ProjectOptions options;
    options.SetDeviceFamily(family);
    options.SetDevice("d1");
    options.SetPackage("p1");
    options.SetSpeedGrade("-1");
    return options;
}

Ipu::Filter FilterOf(const QString& vendor, const QString& library, const QString& name)
{
    Ipu::Filter filter;
    filter.SetVendor(vendor.toStdString());
    filter.SetLibrary(library.toStdString());
    filter.SetName(name.toStdString());
    return filter;
}

QStringList Keys(const std::vector<boost::shared_ptr<Ipu::IP>>& list)
{
    QStringList keys;
    for (const auto& ip : list)
        keys << QString::fromStdString(ip->GetIPComponent()->GetIdentifier().GetKey().str());
    return keys;
}

void Load(const Component& description, const char* removedFor = nullptr)
{
    auto component = TestCatalog::read(description);
    QVERIFY(component);
    if (removedFor)
        component->AddFamily(Ipu::Family(removedFor), Ipu::LifeCycleStatus::REMOVED);
    QCOMPARE(Ipu::ElementIndex::AddElement(component), 0u);
}

}  // namespace

class TestAPI : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void list_data();
    void list();
    void undefinedPart_data();
    void undefinedPart();
    void emptyCatalogue();
    void sharesTheCatalogueComponents();

private:
    Sim::API api;
    Ipu::RuntimeOptions runtime;
};

// Loaded in reverse name order, so that the list's order is the API's doing.
void TestAPI::init()
{
    Ipu::ElementIndex::Clear();
    Load(Component("zeta").withFamilies({"alpha"}));
    Load(Component("removed").withFamilies({"alpha", "beta"}), "beta");
    Load(Component("gone").withLifeCycle("removed"));
    Load(Component("fifo").withVersion("2.0").withFamilies({"beta"}).withLifeCycle("deprecated"));
    Load(Component("fifo").withVersion("1.0").withFamilies({"ALPHA"}));
    Load(Component("anywhere"));
    const auto base = Ipu::ElementIndex::GetElement("pellor:test:zeta:1.0");
    QVERIFY(TestCatalog::customize(boost::dynamic_pointer_cast<Ipu::IPComponent>(base), "my_zeta"));
}

void TestAPI::cleanupTestCase()
{
    Ipu::ElementIndex::Clear();
}

void TestAPI::list_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("filter");  // vendor, library, name
    QTest::addColumn<QStringList>("keys");
    const QStringList all{"", "", ""};
    QTest::newRow("alpha") << "alpha" << all
                           << QStringList{"pellor:test:anywhere:1.0", "pellor:test:fifo:1.0",
                                          "pellor:test:removed:1.0", "pellor:test:zeta:1.0"};
    QTest::newRow("beta: removed there, deprecated kept")
        << "beta" << all << QStringList{"pellor:test:anywhere:1.0", "pellor:test:fifo:2.0"};
    QTest::newRow("family not supported by any")
        << "gamma" << all << QStringList{"pellor:test:anywhere:1.0"};
    QTest::newRow("by name, letter case ignored")
        << "alpha" << QStringList{"", "", "FIFO"} << QStringList{"pellor:test:fifo:1.0"};
    QTest::newRow("by vendor and library")
        << "beta" << QStringList{"Pellor", "test", ""}
        << QStringList{"pellor:test:anywhere:1.0", "pellor:test:fifo:2.0"};
    QTest::newRow("other library") << "alpha" << QStringList{"", "memories", ""} << QStringList();
    QTest::newRow("name of a removed IP")
        << "alpha" << QStringList{"", "", "gone"} << QStringList();
}

void TestAPI::list()
{
    QFETCH(QString, family);
    QFETCH(QStringList, filter);
    QFETCH(QStringList, keys);
    std::vector<boost::shared_ptr<Ipu::IP>> out{boost::shared_ptr<Ipu::IP>(new Ipu::IP)};
    QCOMPARE(api.GetIPList(runtime, OptionsFor(family.toUtf8().constData()),
                           FilterOf(filter[0], filter[1], filter[2]), out),
             0u);
    QCOMPARE(Keys(out), keys);
}

void TestAPI::undefinedPart_data()
{
    QTest::addColumn<int>("missing");  // the part field left empty
    QTest::newRow("family") << 0;
    QTest::newRow("device") << 1;
    QTest::newRow("package") << 2;
    QTest::newRow("speed grade") << 3;
}

void TestAPI::undefinedPart()
{
    QFETCH(int, missing);
    Ipu::ProjectOptions options = OptionsFor("alpha");
    const Port::String empty;
    const unsigned set[] = {options.SetDeviceFamily(missing == 0 ? empty : "alpha"),
                            options.SetDevice(missing == 1 ? empty : "d1"),
                            options.SetPackage(missing == 2 ? empty : "p1"),
                            options.SetSpeedGrade(missing == 3 ? empty : "-1")};
    for (unsigned status : set)
        QCOMPARE(status, 0u);
    std::vector<boost::shared_ptr<Ipu::IP>> out{boost::shared_ptr<Ipu::IP>(new Ipu::IP)};
    QCOMPARE(api.GetIPList(runtime, options, Ipu::Filter(), out), 1u);
    QVERIFY(out.empty());
}

void TestAPI::emptyCatalogue()
{
    Ipu::ElementIndex::Clear();
    std::vector<boost::shared_ptr<Ipu::IP>> out;
    QCOMPARE(api.GetIPList(runtime, OptionsFor("alpha"), Ipu::Filter(), out), 1u);
    QVERIFY(out.empty());
}

// The checker compares keys of these components: they must be the catalogue's own.
void TestAPI::sharesTheCatalogueComponents()
{
    std::vector<boost::shared_ptr<Ipu::IP>> out;
    QCOMPARE(api.GetIPList(runtime, OptionsFor("alpha"), Ipu::Filter(), out), 0u);
    QVERIFY(!out.empty());
    for (const auto& ip : out) {
        const auto component = ip->GetIPComponent();
        QCOMPARE(Ipu::ElementIndex::GetElement(component->GetUniqueID()).get(),
                 static_cast<Ipu::Element*>(component.get()));
    }
}

QTEST_GUILESS_MAIN(TestAPI)
#include "tst_api.moc"
