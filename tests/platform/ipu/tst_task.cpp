#include "Ipu_GeneratorChain.h"
#include "Ipu_Task.h"
#include "Ipu_TaskList.h"
#include "Ipu_VendorExtensions.h"

#include <QtTest>

using Ipu::GeneratorChain;
using Ipu::Task;
using Ipu::TaskList;
using Ipu::VendorExtensions;

namespace {

boost::shared_ptr<GeneratorChain> Chain(const char* name, const QStringList& groups = {})
{
    boost::shared_ptr<GeneratorChain> chain(new GeneratorChain);
    chain->SetName(name);
    for (const QString& group : groups) {
        chain->AddGroup(group.toLatin1().constData());
    }
    return chain;
}

// Predicates as letters: P project, M modifies, X mutex, O open project, C current
// options, G original options.
QByteArray Traits(const Task& task)
{
    QByteArray out;
    out += task.IsProjectTask() ? "P" : "";
    out += task.ModifiesIP() ? "M" : "";
    out += task.RequiresMutex() ? "X" : "";
    out += task.RequiresOpenProject() ? "O" : "";
    out += task.UsesCurrentProjectOptions() ? "C" : "";
    out += task.UsesOriginalProjectOptions() ? "G" : "";
    return out;
}

Task Named(const char* name, bool isDefault = false, int ipType = Task::IPTYPE_ANY)
{
    return Task(name, name, isDefault, Task::VISIBILITY_VISIBLE, ipType,
                Task::FAMILYDEPENDENCE_INDEPENDENT);
}

}  // namespace

class TestTask : public QObject {
    Q_OBJECT

private slots:
    void predicates_data();
    void predicates();
    void fromChainProperties_data();
    void fromChainProperties();
    void listRefusesDuplicates();
    void defaultTask_data();
    void defaultTask();
};

void TestTask::predicates_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QByteArray>("traits");

    const QStringList none;
    QTest::newRow("generate") << QByteArray(Task::GENERATE) << none << QByteArray("MXOC");
    QTest::newRow("name ignores case") << QByteArray("GENERATE") << none << QByteArray("MXOC");
    QTest::newRow("regenerate original")
        << QByteArray(Task::REGENERATE_ORIGINAL) << none << QByteArray("MXOG");
    QTest::newRow("regenerate project")
        << QByteArray(Task::REGENERATE_PROJECT) << none << QByteArray("PMXOC");
    QTest::newRow("upgrade project chain")
        << QByteArray("upgrade_and_regenerate_project") << none << QByteArray("PMXOC");
    QTest::newRow("select upgrade")
        << QByteArray(Task::SELECT_UPGRADE_AND_REGENERATE) << none << QByteArray("MXOC");
    QTest::newRow("view data sheet") << QByteArray(Task::VIEW_DATASHEET) << none << QByteArray();
    QTest::newRow("supported families")
        << QByteArray(Task::SUPPORTED_FAMILIES) << none << QByteArray();
    QTest::newRow("current options")
        << QByteArray(Task::CURRENT_OPTIONS) << none << QByteArray("O");
    QTest::newRow("change project options")
        << QByteArray(Task::CHANGE_PROJECT_OPTIONS) << none << QByteArray("PO");
    QTest::newRow("import") << QByteArray(Task::IMPORT_GTC_FILE) << none << QByteArray("PXO");
    QTest::newRow("validate ip") << QByteArray(Task::VALIDATE_IP) << none << QByteArray("OC");
    QTest::newRow("known name wins over groups")
        << QByteArray(Task::VIEW_DATASHEET) << QStringList{"upgrade"} << QByteArray();
    QTest::newRow("unknown name, original group")
        << QByteArray("make_netlist") << QStringList{"Customize_And_Generate_Original_TVR"}
        << QByteArray("MXOG");
    QTest::newRow("unknown name, deliver gtc")
        << QByteArray("deliver_gtc") << QStringList{"ip_gtc"} << QByteArray("MXO");
    QTest::newRow("unknown name, no groups") << QByteArray("make_netlist") << none << QByteArray();
    QTest::newRow("no name") << QByteArray() << QStringList{"upgrade"} << QByteArray();
}

void TestTask::predicates()
{
    QFETCH(QByteArray, name);
    QFETCH(QStringList, groups);
    QFETCH(QByteArray, traits);
    if (groups.isEmpty()) {
        QCOMPARE(Traits(Named(name.constData())), traits);
    }
    const Task fromChain(Chain(name.constData(), groups));
    QCOMPARE(Traits(fromChain), traits);
}

void TestTask::fromChainProperties_data()
{
    QTest::addColumn<QByteArray>("ipType");
    QTest::addColumn<QByteArray>("family");
    QTest::addColumn<QByteArray>("isDefault");
    QTest::addColumn<QByteArray>("visibility");
    QTest::addColumn<int>("expectedType");
    QTest::addColumn<int>("expectedFamily");
    QTest::addColumn<bool>("expectedDefault");
    QTest::addColumn<int>("expectedVisibility");

    QTest::newRow("customized, independent, default")
        << QByteArray("customized") << QByteArray("independent") << QByteArray("true")
        << QByteArray("0") << int(Task::IPTYPE_CUSTOMIZED)
        << int(Task::FAMILYDEPENDENCE_INDEPENDENT) << true << int(Task::VISIBILITY_VISIBLE);
    QTest::newRow("values ignore case")
        << QByteArray("UNCUSTOMIZED") << QByteArray("Independent") << QByteArray("TRUE")
        << QByteArray("1") << int(Task::IPTYPE_UNCUSTOMIZED)
        << int(Task::FAMILYDEPENDENCE_INDEPENDENT) << true << int(Task::VISIBILITY_HIDDEN);
    QTest::newRow("absent properties")
        << QByteArray() << QByteArray() << QByteArray() << QByteArray() << int(Task::IPTYPE_ANY)
        << int(Task::FAMILYDEPENDENCE_DEPENDENT) << false << int(Task::VISIBILITY_VISIBLE);
    QTest::newRow("unknown values")
        << QByteArray("some") << QByteArray("maybe") << QByteArray("yes") << QByteArray("hidden")
        << int(Task::IPTYPE_ANY) << int(Task::FAMILYDEPENDENCE_DEPENDENT) << false
        << int(Task::VISIBILITY_VISIBLE);
}

void TestTask::fromChainProperties()
{
    QFETCH(QByteArray, ipType);
    QFETCH(QByteArray, family);
    QFETCH(QByteArray, isDefault);
    QFETCH(QByteArray, visibility);
    QFETCH(int, expectedType);
    QFETCH(int, expectedFamily);
    QFETCH(bool, expectedDefault);
    QFETCH(int, expectedVisibility);

    boost::shared_ptr<GeneratorChain> chain = Chain("customize");
    const std::pair<const char*, QByteArray> properties[] = {
        {VendorExtensions::CHAIN_IPTYPE, ipType},
        {VendorExtensions::CHAIN_FAMILYDEPENDENT, family},
        {VendorExtensions::CHAIN_DEFAULT, isDefault},
        {VendorExtensions::CHAIN_VISIBILITY, visibility}};
    for (const auto& [key, value] : properties) {
        if (!value.isEmpty()) {
            chain->SetProperty(key, value.constData());
        }
    }
    const Task task(chain);
    QCOMPARE(int(task.GetIPType()), expectedType);
    QCOMPARE(int(task.GetFamilyDependence()), expectedFamily);
    QCOMPARE(task.IsDefault(), expectedDefault);
    QCOMPARE(task.GetVisibility(), expectedVisibility);
    QCOMPARE(task.GetGeneratorChain().get(), chain.get());
    QCOMPARE(task.GetVisibleName().c_str(), "customize");  // no display name: the name
    chain->SetDisplayName("Customize IP");
    QCOMPARE(Task(chain).GetVisibleName().c_str(), "Customize IP");
}

void TestTask::listRefusesDuplicates()
{
    TaskList list;
    QCOMPARE(list.AddTask(Named("generate")), 0u);
    QCOMPARE(list.AddTask(Named("customize")), 0u);
    QCOMPARE(list.AddTask(Named("GENERATE")), 1u);
    QCOMPARE(list.Size(), std::size_t(2));
    Task found;
    QCOMPARE(list.GetTask("Customize", found), 0u);
    QCOMPARE(found.GetInternalName().c_str(), "customize");
    QCOMPARE(list.GetTask("recustomize", found), 1u);
    QCOMPARE(found.GetInternalName().c_str(), "customize");  // untouched on failure
}

void TestTask::defaultTask_data()
{
    // Tasks as "name:ipType:default", in list order.
    QTest::addColumn<QStringList>("tasks");
    QTest::addColumn<int>("askedType");
    QTest::addColumn<QByteArray>("expected");  // empty: none

    const QStringList mixed{"view:0:0", "customize:2:1", "recustomize:1:1", "generate:0:1"};
    QTest::newRow("uncustomized") << mixed << int(Task::IPTYPE_UNCUSTOMIZED)
                                  << QByteArray("customize");
    QTest::newRow("customized") << mixed << int(Task::IPTYPE_CUSTOMIZED)
                                << QByteArray("recustomize");
    QTest::newRow("any-type default serves all")
        << QStringList{"customize:2:1", "generate:0:1"} << int(Task::IPTYPE_CUSTOMIZED)
        << QByteArray("generate");
    QTest::newRow("none marked") << QStringList{"view:0:0", "generate:0:0"}
                                 << int(Task::IPTYPE_CUSTOMIZED) << QByteArray();
    QTest::newRow("empty list") << QStringList() << int(Task::IPTYPE_CUSTOMIZED) << QByteArray();
}

void TestTask::defaultTask()
{
    QFETCH(QStringList, tasks);
    QFETCH(int, askedType);
    QFETCH(QByteArray, expected);
    TaskList list;
    for (const QString& row : tasks) {
        const QStringList f = row.split(':');
        QCOMPARE(list.AddTask(Named(f[0].toLatin1().constData(), f[2] == "1", f[1].toInt())), 0u);
    }
    Task out("unset", "unset", false, 0, 0, 0);
    const unsigned result = list.GetDefaultTask(out, static_cast<Task::IPType>(askedType));
    QCOMPARE(result, expected.isEmpty() ? 1u : 0u);
    QCOMPARE(QByteArray(out.GetInternalName().c_str()),
             expected.isEmpty() ? QByteArray("unset") : expected);

    // Without a type: the first marked task of any type.
    Task first;
    const bool anyMarked = tasks.join(',').contains(":1");
    QCOMPARE(list.GetDefaultTask(first), anyMarked ? 0u : 1u);
}

QTEST_GUILESS_MAIN(TestTask)
#include "tst_task.moc"
