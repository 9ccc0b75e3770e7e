#include "Ipu_GeneratorChain.h"
#include "Ipu_GeneratorChainList.h"

#include <QtTest>

using Ipu::Generator;
using Ipu::GeneratorChain;
using Ipu::GeneratorChainList;
using Ipu::VersionedIdentifier;

namespace {

boost::shared_ptr<GeneratorChain> Chain(const char* name, const char* identifierName = "")
{
    boost::shared_ptr<GeneratorChain> chain(new GeneratorChain);
    chain->SetName(name);
    chain->SetUniqueID(Port::String("owner/") + name);
    chain->SetIdentifier(VersionedIdentifier("pellor", "generatorchains", identifierName, "1.0"));
    return chain;
}

}  // namespace

class TestGeneratorChain : public QObject {
    Q_OBJECT

private slots:
    void lookupByName_data();
    void lookupByName();
    void refusesBadAdds_data();
    void refusesBadAdds();
    void lookupByIdentifier_data();
    void lookupByIdentifier();
    void generatorsInPhaseOrder();
    void groupsIgnoreCase();
};

void TestGeneratorChain::lookupByName_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<bool>("found");

    QTest::newRow("lower case") << QByteArray("generate") << true;
    QTest::newRow("upper case") << QByteArray("GENERATE") << true;
    QTest::newRow("mixed case") << QByteArray("View_DataSheet") << true;
    QTest::newRow("prefix") << QByteArray("gen") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestGeneratorChain::lookupByName()
{
    QFETCH(QByteArray, query);
    QFETCH(bool, found);
    GeneratorChainList list;
    QCOMPARE(list.Add(Chain("Generate")), 0u);  // the catalogue may capitalise
    QCOMPARE(list.Add(Chain("view_datasheet")), 0u);

    QCOMPARE(list.Has(query.constData()), found);
    boost::shared_ptr<GeneratorChain> chain = list.Get(query.constData());
    QCOMPARE(static_cast<bool>(chain), found);
    if (chain) {
        QCOMPARE(QByteArray(chain->GetName().c_str()), query.toLower());  // keyed lower-case
    }
    QCOMPARE(list.Size(), std::size_t(2));
    QCOMPARE(list.GetChains().front()->GetName().c_str(), "generate");  // order kept
}

void TestGeneratorChain::refusesBadAdds_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("null") << 0;
    QTest::newRow("no name") << 1;
    QTest::newRow("same name") << 2;
    QTest::newRow("same name, other case") << 3;
}

void TestGeneratorChain::refusesBadAdds()
{
    QFETCH(int, kind);
    GeneratorChainList list;
    QCOMPARE(list.Add(Chain("customize")), 0u);
    boost::shared_ptr<GeneratorChain> bad;
    const char* names[] = {"", "", "customize", "CUSTOMIZE"};
    if (kind > 0) {
        bad = Chain(names[kind]);
    }
    QCOMPARE(list.Add(bad), 1u);
    QCOMPARE(list.Size(), std::size_t(1));
}

void TestGeneratorChain::lookupByIdentifier_data()
{
    QTest::addColumn<QStringList>("identifier");
    QTest::addColumn<bool>("found");

    QTest::newRow("exact") << QStringList{"pellor", "generatorchains", "generate_current_chain",
                                          "1.0"}
                           << true;
    QTest::newRow("other version")
        << QStringList{"pellor", "generatorchains", "generate_current_chain", "1.1"} << false;
    QTest::newRow("other vendor") << QStringList{"brellix", "generatorchains",
                                                 "generate_current_chain", "1.0"}
                                  << false;
    QTest::newRow("case differs") << QStringList{"pellor", "generatorchains",
                                                 "GENERATE_CURRENT_CHAIN", "1.0"}
                                  << false;
}

void TestGeneratorChain::lookupByIdentifier()
{
    QFETCH(QStringList, identifier);
    QFETCH(bool, found);
    GeneratorChainList list;
    list.Add(Chain("customize", "customize_chain"));
    list.Add(Chain("generate", "generate_current_chain"));
    const VersionedIdentifier wanted(
        identifier[0].toLatin1().constData(), identifier[1].toLatin1().constData(),
        identifier[2].toLatin1().constData(), identifier[3].toLatin1().constData());
    QCOMPARE(list.Has(wanted), found);
    if (found) {
        QCOMPARE(list.Get(wanted)->GetName().c_str(), "generate");
    }
    QCOMPARE(list.GetByUniqueID("owner/generate")->GetName().c_str(), "generate");
    QVERIFY(!list.GetByUniqueID("owner/GENERATE"));
    QCOMPARE(list.Remove("Generate"), 0u);
    QVERIFY(!list.Has(wanted));
    QCOMPARE(list.Remove("generate"), 1u);
}

void TestGeneratorChain::generatorsInPhaseOrder()
{
    GeneratorChain chain;
    const double phases[] = {3, 1, 2, 1};
    const char* names[] = {"move", "validate", "write", "check"};
    for (int i = 0; i < 4; ++i) {
        chain.AddGenerator(boost::shared_ptr<Generator>(new Generator(names[i], phases[i], "x")));
    }
    chain.AddGenerator(boost::shared_ptr<Generator>());
    QStringList order;
    for (const auto& generator : chain.GetOrderedGenerators()) {
        order << generator->GetName().c_str();
    }
    // Equal phases keep the order they were added in.
    QCOMPARE(order, (QStringList{"validate", "check", "write", "move"}));
}

void TestGeneratorChain::groupsIgnoreCase()
{
    GeneratorChain chain;
    chain.AddGroup(GeneratorChain::UPGRADE_CHAINGROUP);
    chain.AddGroup("UPGRADE");
    QCOMPARE(chain.GetGroups().size(), std::size_t(1));
    QVERIFY(chain.HasGroup("Upgrade"));
    QVERIFY(!chain.HasGroup(GeneratorChain::UPGRADE_AND_REGENERATE_CHAINGROUP));
}

QTEST_GUILESS_MAIN(TestGeneratorChain)
#include "tst_generatorchain.moc"
