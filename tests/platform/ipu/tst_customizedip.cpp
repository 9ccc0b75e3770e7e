#include "Ipu_CustomizedIP.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IP.h"
#include "Ipu_LegacyIP.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_VendorExtensions.h"

#include <QtTest>

using Ipu::CustomizedIP;
using Ipu::ElementIndex;
using Ipu::IP;
using Ipu::IPComponent;

namespace {

const char* const kKey = "pellor:memories:fifo:2.0";

boost::shared_ptr<IPComponent> Catalogue()
{
    boost::shared_ptr<IPComponent> component(new IPComponent);
    component->SetName("fifo");
    component->SetDisplayName("FIFO");
    component->SetIdentifier(Ipu::VersionedIdentifier("pellor", "memories", "fifo", "2.0"));
    component->SetUniqueID(kKey);
    component->SetUnconfiguredID(kKey);
    component->GetParameters().Add({"width", "8", "int", {}, "1", "64"});
    component->GetParameters().Add({"mode", "std", "string", {"std", "fwft"}, "", ""});
    return component;
}

}  // namespace

class TestCustomizedIP : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ElementIndex::Clear(); }
    void setIPLeavesCatalogueAlone();
    void setIPKeepsACustomizedComponent_data();
    void setIPKeepsACustomizedComponent();
    void setParametersMerges();
    void legacyWizardIP();
};

void TestCustomizedIP::setIPLeavesCatalogueAlone()
{
    boost::shared_ptr<IPComponent> entry = Catalogue();
    QCOMPARE(ElementIndex::AddElement(entry), 0u);

    CustomizedIP first;
    CustomizedIP second;
    QCOMPARE(first.SetIP(IP(entry)), 0u);
    QCOMPARE(second.SetIP(IP(entry)), 0u);

    boost::shared_ptr<IPComponent> made = first.GetIPComponent();
    QVERIFY(made.get() != entry.get());
    QVERIFY(made->IsCustomized());
    QCOMPARE(made->GetUnconfiguredID().c_str(), kKey);
    QVERIFY(made->GetUniqueID() != second.GetIPComponent()->GetUniqueID());
    QCOMPARE(ElementIndex::GetElement(made->GetUniqueID()).get(), made.get());

    QCOMPARE(entry->GetUniqueID().c_str(), kKey);
    QVERIFY(!entry->IsCustomized());
    QCOMPARE(ElementIndex::Count(), std::size_t(3));
}

void TestCustomizedIP::setIPKeepsACustomizedComponent_data()
{
    QTest::addColumn<int>("registered");  // 0 not yet, 1 itself, 2 another element holds the id
    QTest::newRow("not registered") << 0;
    QTest::newRow("already registered") << 1;
    QTest::newRow("id held by another") << 2;
}

void TestCustomizedIP::setIPKeepsACustomizedComponent()
{
    QFETCH(int, registered);
    boost::shared_ptr<IPComponent> configuration = Catalogue();
    configuration->SetUniqueID("design/fifo_a");
    if (registered == 1) {
        QCOMPARE(ElementIndex::AddElement(configuration), 0u);
    } else if (registered == 2) {
        boost::shared_ptr<IPComponent> other(new IPComponent);
        other->SetUniqueID("design/fifo_a");
        QCOMPARE(ElementIndex::AddElement(other), 0u);
    }
    CustomizedIP cip;
    QCOMPARE(cip.SetIP(IP(configuration)), 0u);
    QCOMPARE(cip.GetIPComponent().get(), configuration.get());
    QCOMPARE(configuration->GetUniqueID() == "design/fifo_a", registered != 2);
    QCOMPARE(ElementIndex::GetElement(configuration->GetUniqueID()).get(), configuration.get());
}

void TestCustomizedIP::setParametersMerges()
{
    CustomizedIP cip(Catalogue());
    Ipu::Parameters given;
    given.Add({"WIDTH", "32", "", {}, "", ""});
    given.Add({"syvfilename", "/tmp/x.syv", "", {}, "", ""});
    QCOMPARE(cip.SetParameters(given), 0u);

    Ipu::Parameters result;
    QCOMPARE(cip.GetParameters(result), 0u);
    QCOMPARE(result.Size(), std::size_t(3));
    Ipu::Parameters::Parameter width;
    QCOMPARE(result.Get("width", width), 0u);
    QCOMPARE(width.value.c_str(), "32");
    QCOMPARE(width.maximum.c_str(), "64");  // the catalogue's range stays
    QCOMPARE(width.name.c_str(), "width");
    QVERIFY(result.Has("syvfilename"));
}

// The wizard-file import builds a legacy IP and customizes it.
void TestCustomizedIP::legacyWizardIP()
{
    Ipu::LegacyIP legacy("Sylvane", "", "<empty>", "Sylvane", {"<empty>"}, {"<empty>"},
                         Ipu::IP::WIZARD_IP);
    legacy.SetProperty(Ipu::LegacyIP::CUSTOMIZER, "sylv");
    Ipu::Task task("recustomize", "Recustomize", true, 0, 0, 1);
    task.AddCommand(Ipu::Command("recustomize", 0));
    QCOMPARE(legacy.AddTask(task), 0u);

    CustomizedIP cip;
    QCOMPARE(cip.SetIP(IP(legacy)), 0u);
    QCOMPARE(cip.SetName("my_wizard_core"), 0u);
    boost::shared_ptr<IPComponent> component = cip.GetIPComponent();
    QVERIFY(component->IsCustomized());
    QCOMPARE(component->GetUnconfiguredID().c_str(), "pellor:legacy:Sylvane:");
    QCOMPARE(component->GetIPType(), std::int32_t(Ipu::IP::WIZARD_IP));
    QVERIFY(component->IsFamilyIndependent());
    Port::String path;
    QCOMPARE(IP(component).GetDataSheet(path, false), 1u);  // "<empty>" is no data sheet

    Ipu::Task found;
    QCOMPARE(IP(component).GetTask("RECUSTOMIZE", found), 0u);
    QVERIFY(found.IsDefault());
    QVERIFY(found.ModifiesIP());
    QCOMPARE(found.GetFamilyDependence(), Ipu::Task::FAMILYDEPENDENCE_INDEPENDENT);
    QCOMPARE(found.GetGeneratorChain()->GetOrderedGenerators().size(), std::size_t(1));
    Port::String ipType;
    QCOMPARE(
        found.GetGeneratorChain()->GetPropertyValue(Ipu::VendorExtensions::CHAIN_IPTYPE, ipType),
        0u);
    QCOMPARE(ipType.c_str(), Ipu::Task::ANY_IP);
}

QTEST_GUILESS_MAIN(TestCustomizedIP)
#include "tst_customizedip.moc"
