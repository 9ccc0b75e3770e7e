#include "Ipu_AppException.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"

#include <QtTest>

using Ipu::IPBase;
using Ipu::IPComponent;
using Ipu::IPComposite;

namespace {

boost::shared_ptr<IPBase> Member(const char* id, const char* name, const char* alias)
{
    boost::shared_ptr<IPComponent> member(new IPComponent);
    member->SetUniqueID(id);
    member->SetName(name);
    member->SetAlias(alias);
    return member;
}

}  // namespace

class TestIPComposite : public QObject {
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void addRefusesClashes();
};

void TestIPComposite::lookup_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("foundId");  // empty: not found

    // Members: (id1, fifo, adder) (id2, adder, id1) (id3, ram, ram_alias)
    QTest::newRow("by id") << QByteArray("id3") << QByteArray("id3");
    QTest::newRow("id beats an alias") << QByteArray("id1") << QByteArray("id1");
    QTest::newRow("name beats an alias") << QByteArray("adder") << QByteArray("id2");
    QTest::newRow("by alias") << QByteArray("ram_alias") << QByteArray("id3");
    QTest::newRow("exact only") << QByteArray("FIFO") << QByteArray();
    QTest::newRow("empty key") << QByteArray() << QByteArray();
}

void TestIPComposite::lookup()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, foundId);
    IPComposite design;
    QCOMPARE(design.AddElement(Member("id1", "fifo", "adder")), 0u);
    QCOMPARE(design.AddElement(Member("id2", "adder", "id1")), 0u);
    QCOMPARE(design.AddElement(Member("id3", "ram", "ram_alias")), 0u);

    QCOMPARE(design.HasElement(key.constData()), !foundId.isEmpty());
    boost::shared_ptr<IPBase> found = design.FindElement(key.constData());
    QCOMPARE(QByteArray(found ? found->GetUniqueID().c_str() : ""), foundId);
    if (foundId.isEmpty()) {
        try {
            design.GetElement(key.constData());
            QFAIL("GetElement did not throw");
        } catch (const Ipu::AppException& e) {
            QCOMPARE(QByteArray(e.what()), "Cannot find element " + key + "\n");
        }
    } else {
        QCOMPARE(design.GetElement(key.constData()).get(), found.get());
    }
}

void TestIPComposite::addRefusesClashes()
{
    IPComposite design;
    QCOMPARE(design.AddElement(Member("id1", "fifo", "")), 0u);
    QCOMPARE(design.AddElement(Member("id9", "fifo", "")), 1u);
    QCOMPARE(design.AddElement(Member("id9", "", "")), 1u);
    QCOMPARE(design.AddElement(boost::shared_ptr<IPBase>()), 1u);
    QCOMPARE(design.AddElement(Member("id2", "FIFO", "")), 0u);  // names are exact
    QCOMPARE(design.CountElements(), std::size_t(2));
    QCOMPARE(design.RemoveElement("fifo"), 0u);
    QCOMPARE(design.GetElements().front()->GetName().c_str(), "FIFO");
    QCOMPARE(design.RemoveElement("fifo"), 1u);
}

QTEST_GUILESS_MAIN(TestIPComposite)
#include "tst_ipcomposite.moc"
