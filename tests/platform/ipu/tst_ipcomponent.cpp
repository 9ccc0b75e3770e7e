#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"

#include <QtTest>

using Ipu::Family;
using Ipu::IPComponent;
using Ipu::LifeCycleStatus;
using Ipu::PelPart;

namespace {

IPComponent Make(const char* displayName, const char* name, const char* version, const char* id)
{
    IPComponent component;
    component.SetDisplayName(displayName);
    component.SetName(name);
    component.SetIdentifier(Ipu::VersionedIdentifier("pellor", "memories", name, version));
    component.SetUniqueID(id);
    component.SetUnconfiguredID(id);
    return component;
}

Ipu::ProjectOptions OptionsFor(const char* family)
{
    Ipu::ProjectOptions options;
    options.SetDeviceFamily(family);
    return options;
}

// A component of families "tellara2" (own life-cycle Beta) and "korvane" (none), stored
// life-cycle Production.
IPComponent TwoFamilies()
{
    IPComponent component;
    component.SetLifecycleValue(LifeCycleStatus::PRODUCTION);
    component.AddFamily(Family("tellara2"), LifeCycleStatus(LifeCycleStatus::BETA));
    component.AddFamily(Family("korvane"));
    return component;
}

}  // namespace

class TestIPComponent : public QObject {
    Q_OBJECT

private slots:
    void ordering_data();
    void ordering();
    void lifecycleForFamily_data();
    void lifecycleForFamily();
    void validForPart_data();
    void validForPart();
    void updateFromKeepsIdentity();
    void cloneOwnsOptions();
};

void TestIPComponent::ordering_data()
{
    // Each side: display name, name, version, unique id.
    QTest::addColumn<QStringList>("a");
    QTest::addColumn<QStringList>("b");
    QTest::addColumn<bool>("aFirst");
    QTest::addColumn<bool>("equal");

    // The second side's unique id sorts first, so every row but the last two shows that
    // the earlier fields take precedence over it.
    auto side = [](const char* id, int field, const char* value) {
        QStringList fields{"FIFO", "fifo", "1.0", id};
        if (field >= 0) {
            fields[field] = value;
        }
        return fields;
    };
    QTest::newRow("display name decides")
        << side("k1", 0, "Adder") << side("k0", 1, "aaa") << true << false;
    QTest::newRow("display name is byte-wise")
        << side("k1", 0, "Z") << side("k0", 0, "a") << true << false;
    QTest::newRow("then name") << side("k1", 1, "fifo_a") << side("k0", 1, "fifo_b") << true
                               << false;
    QTest::newRow("then version, numerically")
        << side("k0", 2, "1.10") << side("k1", 2, "1.9") << false << false;
    QTest::newRow("shorter version first")
        << side("k1", 2, "1.0") << side("k0", 2, "1.0.1") << true << false;
    QTest::newRow("then unique id") << side("k1", -1, "") << side("k2", -1, "") << true << false;
    QTest::newRow("same id is equal")
        << side("k1", -1, "") << side("k1", 0, "Other") << false << true;
}

void TestIPComponent::ordering()
{
    QFETCH(QStringList, a);
    QFETCH(QStringList, b);
    QFETCH(bool, aFirst);
    QFETCH(bool, equal);
    auto make = [](const QStringList& f) {
        return Make(f[0].toLatin1().constData(), f[1].toLatin1().constData(),
                    f[2].toLatin1().constData(), f[3].toLatin1().constData());
    };
    const IPComponent x = make(a);
    const IPComponent y = make(b);
    QCOMPARE(x.IsEqual(y), equal);
    QCOMPARE(y.IsEqual(x), equal);
    if (equal) {
        return;  // equality goes by unique id alone; order may still differ on texts
    }
    QCOMPARE(x.LessThan(y), aFirst);
    QCOMPARE(y.LessThan(x), !aFirst);
    QVERIFY(!x.LessThan(x));
}

void TestIPComponent::lifecycleForFamily_data()
{
    QTest::addColumn<QByteArray>("family");
    QTest::addColumn<int>("expected");

    QTest::newRow("family with its own") << QByteArray("tellara2") << int(LifeCycleStatus::BETA);
    QTest::newRow("own, other letter case") << QByteArray("TELLARA2") << int(LifeCycleStatus::BETA);
    QTest::newRow("family without its own")
        << QByteArray("korvane") << int(LifeCycleStatus::PRODUCTION);
    QTest::newRow("family not supported")
        << QByteArray("mistrel") << int(LifeCycleStatus::PRODUCTION);
    QTest::newRow("no family in options") << QByteArray() << int(LifeCycleStatus::PRODUCTION);
}

void TestIPComponent::lifecycleForFamily()
{
    QFETCH(QByteArray, family);
    QFETCH(int, expected);
    const IPComponent component = TwoFamilies();
    QCOMPARE(component.GetLifecycleStatus(OptionsFor(family.constData())).GetValue(), expected);
    QCOMPARE(component.GetLifecycleStatus().GetValue(), int(LifeCycleStatus::PRODUCTION));
}

void TestIPComponent::validForPart_data()
{
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<QByteArray>("partFamily");
    QTest::addColumn<bool>("valid");

    const QStringList two{"tellara2", "korvane"};
    QTest::newRow("listed") << two << QByteArray("korvane") << true;
    QTest::newRow("listed, other case") << two << QByteArray("Korvane") << true;
    QTest::newRow("not listed") << two << QByteArray("mistrel") << false;
    QTest::newRow("prefix is not a match") << two << QByteArray("tellara") << false;
    QTest::newRow("part without family") << two << QByteArray() << false;
    QTest::newRow("no families: any family") << QStringList() << QByteArray("mistrel") << true;
    QTest::newRow("<empty>: any family") << QStringList{"<empty>"} << QByteArray("mistrel") << true;
    QTest::newRow("<empty> and no part family") << QStringList{"<empty>"} << QByteArray() << false;
}

void TestIPComponent::validForPart()
{
    QFETCH(QStringList, families);
    QFETCH(QByteArray, partFamily);
    QFETCH(bool, valid);
    IPComponent component;
    for (const QString& family : families) {
        component.AddFamily(Family(family.toLatin1().constData()));
    }
    const PelPart part(partFamily.constData(), "dev", "pkg", "-1");
    QCOMPARE(component.IsValidForPart(part), valid);
}

void TestIPComponent::updateFromKeepsIdentity()
{
    IPComponent member = Make("Old", "my_fifo", "1.0", "design#7");
    IPComponent source = Make("New", "my_fifo", "2.0", "pellor:memories:fifo:2.0#3");
    source.SetUnconfiguredID("pellor:memories:fifo:2.0");
    source.SetChangeTime(1234);
    source.SetFileModifiedByUser(true);
    Ipu::Parameters::Parameter width{"width", "16", "int", {}, "1", "64"};
    source.GetParameters().Add(width);

    member.UpdateFrom(source);
    QCOMPARE(member.GetUniqueID().c_str(), "design#7");
    QCOMPARE(member.GetUnconfiguredID().c_str(), "pellor:memories:fifo:2.0");
    QCOMPARE(member.GetDisplayName().c_str(), "New");
    QCOMPARE(member.GetVersion().c_str(), "2.0");
    QCOMPARE(member.GetChangeTime(), std::int64_t(1234));
    QVERIFY(member.IsFileModifiedByUser());
    QVERIFY(member.GetParameters().Has("WIDTH"));
    QVERIFY(member.IsCustomized());
}

// A clone that shared the options would let a customization change the catalogue entry.
void TestIPComponent::cloneOwnsOptions()
{
    IPComponent original = Make("FIFO", "fifo", "1.0", "k");
    QCOMPARE(original.SetProjectOptions(OptionsFor("tellara2")), 0u);
    boost::shared_ptr<IPComponent> copy = original.Clone();
    QCOMPARE(copy->SetProjectOptions(OptionsFor("korvane")), 0u);

    Ipu::ProjectOptions read;
    QCOMPARE(original.GetProjectOptions(read), 0u);
    QCOMPARE(read.GetPelPart().GetFamily().c_str(), "tellara2");
    QVERIFY(!IPComponent().HasProjectOptions());
    QCOMPARE(IPComponent().GetProjectOptions(read), 1u);
}

QTEST_GUILESS_MAIN(TestIPComponent)
#include "tst_ipcomponent.moc"
