#include "Ipu_Element.h"
#include "Ipu_ElementIndex.h"

#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

using Ipu::Element;
using Ipu::ElementIndex;

namespace {

boost::shared_ptr<Element> Make(const char* id)
{
    boost::shared_ptr<Element> element(new Element);
    element->SetUniqueID(id);
    return element;
}

QByteArray Joined(const std::vector<Port::String>& values)
{
    QByteArray out;
    for (const Port::String& value : values) {
        out += QByteArray(value.c_str()) + '|';
    }
    return out;
}

}  // namespace

class TestElement : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ElementIndex::Clear(); }
    void properties_data();
    void properties();
    void indexRefusesBadAdds_data();
    void indexRefusesBadAdds();
    void indexRemoveAndSnapshot();
    void indexConcurrentAddAndGet();
};

void TestElement::properties_data()
{
    // Operations: 'S' set, 'A' add value, 'R' remove; each applied to property "p".
    QTest::addColumn<QByteArray>("ops");
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<bool>("has");
    QTest::addColumn<QByteArray>("values_out");

    QTest::newRow("absent") << QByteArray() << QByteArray() << false << QByteArray();
    QTest::newRow("set") << QByteArray("S") << QByteArray("a") << true << QByteArray("a|");
    QTest::newRow("add creates") << QByteArray("A") << QByteArray("a") << true << QByteArray("a|");
    QTest::newRow("add keeps order")
        << QByteArray("AAA") << QByteArray("cab") << true << QByteArray("c|a|b|");
    QTest::newRow("set replaces all")
        << QByteArray("AAS") << QByteArray("abz") << true << QByteArray("z|");
    QTest::newRow("remove") << QByteArray("AR") << QByteArray("a-") << false << QByteArray();
    QTest::newRow("empty value is a value")
        << QByteArray("S") << QByteArray(" ") << true << QByteArray(" |");
}

void TestElement::properties()
{
    QFETCH(QByteArray, ops);
    QFETCH(QByteArray, values);
    QFETCH(bool, has);
    QFETCH(QByteArray, values_out);

    Element element;
    element.SetProperty("other", "x");
    for (int i = 0; i < ops.size(); ++i) {
        const Port::String value(values.constData() + i, 1);
        if (ops[i] == 'S') {
            element.SetProperty("p", value);
        } else if (ops[i] == 'A') {
            element.AddPropertyValue("p", value);
        } else {
            element.RemoveProperty("p");
        }
    }
    QCOMPARE(element.HasProperty("p"), has);
    QVERIFY(!element.HasProperty("P"));  // names are exact

    std::vector<Port::String> out{"stale"};
    QCOMPARE(element.GetPropertyValues("p", out), has ? 0u : 1u);
    QCOMPARE(Joined(out), values_out);

    Port::String first = "untouched";
    QCOMPARE(element.GetPropertyValue("p", first), has ? 0u : 1u);
    QCOMPARE(QByteArray(first.c_str()),
             has ? values_out.left(values_out.indexOf('|')) : QByteArray("untouched"));
    Port::String other;
    QCOMPARE(element.GetPropertyValue("other", other), 0u);
    QCOMPARE(QByteArray(other.c_str()), QByteArray("x"));
}

void TestElement::indexRefusesBadAdds_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("null pointer") << 0;
    QTest::newRow("empty id") << 1;
    QTest::newRow("id taken") << 2;
}

void TestElement::indexRefusesBadAdds()
{
    QFETCH(int, kind);
    boost::shared_ptr<Element> first = Make("a:b:c:1.0");
    QCOMPARE(ElementIndex::AddElement(first), 0u);

    boost::shared_ptr<Element> bad;
    if (kind == 1) {
        bad = Make("");
    } else if (kind == 2) {
        bad = Make("a:b:c:1.0");
    }
    QVERIFY(ElementIndex::AddElement(bad) != 0);
    QCOMPARE(ElementIndex::Count(), std::size_t(1));
    QCOMPARE(ElementIndex::GetElement("a:b:c:1.0").get(), first.get());
}

void TestElement::indexRemoveAndSnapshot()
{
    QCOMPARE(ElementIndex::AddElement(Make("b")), 0u);
    QCOMPARE(ElementIndex::AddElement(Make("a")), 0u);
    QCOMPARE(ElementIndex::AddElement(Make("c")), 0u);

    const std::vector<boost::shared_ptr<Element>> snapshot = ElementIndex::GetElements();
    QCOMPARE(snapshot.size(), std::size_t(3));
    QCOMPARE(QByteArray(snapshot[0]->GetUniqueID().c_str()), QByteArray("a"));
    QCOMPARE(QByteArray(snapshot[2]->GetUniqueID().c_str()), QByteArray("c"));

    QCOMPARE(ElementIndex::RemoveElement("b"), 0u);
    QCOMPARE(ElementIndex::RemoveElement("b"), 1u);
    QVERIFY(!ElementIndex::HasElement("b"));
    QVERIFY(!ElementIndex::GetElement("b"));
    QCOMPARE(snapshot.size(), std::size_t(3));  // the snapshot is not a view

    ElementIndex::Clear();
    QCOMPARE(ElementIndex::Count(), std::size_t(0));
    QCOMPARE(snapshot[1]->GetUniqueID().c_str(), "b");  // still owned by the snapshot
}

// Writers add distinct ids while readers look them up and list the index; run under the
// tsan preset this catches an unguarded path.
void TestElement::indexConcurrentAddAndGet()
{
    constexpr int kThreads = 4;
    constexpr int kPerThread = 200;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < kPerThread; ++i) {
                Port::String id;
                id.Format("t%d:%d", t, i);
                if (ElementIndex::AddElement(Make(id.c_str())) != 0) {
                    ++failures;
                }
                boost::shared_ptr<Element> found = ElementIndex::GetElement(id);
                if (!found || found->GetUniqueID() != id) {
                    ++failures;
                }
                ElementIndex::HasElement("t0:0");
                if (i % 50 == 0) {
                    ElementIndex::GetElements();
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    QCOMPARE(failures.load(), 0);
    QCOMPARE(ElementIndex::Count(), std::size_t(kThreads * kPerThread));
}

QTEST_GUILESS_MAIN(TestElement)
#include "tst_element.moc"
