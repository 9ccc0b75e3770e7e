#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "En_Ip.h"
#include "En_IpCompatibilityChecker.h"
#include "En_ProjectManager.h"
#include "Ipu_CustomizedIP.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "TestCatalog.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

using TestCatalog::Chain;
using TestCatalog::Component;

namespace {

// En::Ip keeps the task-list helpers for the action manager; the test reaches them here.
class IpProbe : public En::Ip {
public:
    using En::Ip::GetDefaultTask;
    using En::Ip::GetInformationTaskList;
    using En::Ip::GetTask;
    using En::Ip::GetTaskList;
    using En::Ip::Ip;
    using En::Ip::RemoveFileModifiedStatus;
    using En::Ip::SetProjectOptions;
};

Ipu::ProjectOptions optionsFor(const char* family, const char* device, const char* package,
                               const char* grade)
{
    Ipu::ProjectOptions options;
    options.SetDeviceFamily(family);
    options.SetDevice(device);
    options.SetPackage(package);
    options.SetSpeedGrade(grade);
    return options;
}

void setModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

void writeFile(const QString& path, const QByteArray& content, const QDateTime& time)
{
    QVERIFY(TestFiles::write(path, content));
    setModified(path, time);
}

}  // namespace

class tst_Ip : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    QTemporaryDir projectDir;

    // A project on the test database's default part: alpha a10 p1 -1.
    void openProject()
    {
        QCOMPARE(En::ProjectManager::GetInstance()->NewProject(
                     projectDir.filePath("board.gtcfg").toStdString()),
                 0u);
    }

    static QStringList names(const Ipu::TaskList& tasks)
    {
        QStringList result;
        for (const Ipu::Task& task : tasks)
            result << QString::fromStdString(task.GetInternalName().str());
        return result;
    }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        QVERIFY(TestEnvironment::waitForCatalog());
    }

    void cleanup()
    {
        En::ProjectManager::GetInstance()->CloseProject();
        Ipu::ElementIndex::Clear();
    }

    void withoutComponent()
    {
        const IpProbe ip;
        QVERIFY(ip.GetIpName().isEmpty());
        QVERIFY(ip.GetDescription().isEmpty());
        QVERIFY(ip.GetIpVersion().isEmpty());
        QVERIFY(ip.GetFileName().isEmpty());
        QVERIFY(ip.GetDateModified().isEmpty());
        QVERIFY(ip.GetProperty("isDummyIP").isEmpty());
        QVERIFY(!ip.IsCustomised());
        QVERIFY(!ip.IsDummyIp());
        QVERIFY(!ip.IsIpLatestVersion());
        QVERIFY(!ip.IsIpUpgradable(Ipu::ProjectOptions()));
        QVERIFY(!ip.ProjectOptionsValid());
        QCOMPARE(ip.GetLifeCycleStatus().GetValue(), 2);
        QCOMPARE(ip.GetIpType(), Ipu::IP::CORE_IP);
        QVERIFY(ip.GetSupportedFamilies().empty());
        QVERIFY(!ip.GetPartDetails().IsDefined());
        Ipu::Task task;
        QVERIFY(!ip.GetTask("generate", task));
    }

    void orderingAndEquality()
    {
        const En::Ip empty1, empty2;
        QVERIFY(empty1 == empty2);
        QVERIFY2((empty1 < empty2) != (empty2 < empty1), "two empty IPs are ordered by address");

        const En::Ip alpha(TestCatalog::read(Component("alpha").withDisplayName("Alpha")));
        const En::Ip beta(TestCatalog::read(Component("beta").withDisplayName("Beta")));
        QVERIFY(alpha < beta && !(beta < alpha));
        QVERIFY(alpha < empty1 && !(empty1 < alpha));
        QVERIFY(!(alpha == empty1) && !(empty1 == alpha));
        QVERIFY(alpha == En::Ip(alpha.GetIPComponent()));
        QVERIFY(!(alpha == beta));
    }

    void fileName_data()
    {
        QTest::addColumn<int>("ipType");
        QTest::addColumn<bool>("customized");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("catalogue core") << 1 << false << "";
        QTest::newRow("customized core") << 1 << true << "my_core.gtc";
        QTest::newRow("customized wizard IP") << 0 << true << "my_core.syv";
    }

    void fileName()
    {
        QFETCH(int, ipType);
        QFETCH(bool, customized);
        QFETCH(QString, fileName);
        auto component = TestCatalog::load(Component("core").withIpType(ipType));
        if (customized)
            component = TestCatalog::customize(component, "my_core");
        const En::Ip ip(component);
        QCOMPARE(ip.IsCustomised(), customized);
        QCOMPARE(ip.GetFileName(), fileName);
    }

    // The date is that of the newest product named in the file list of the output
    // directory, whatever the working directory, and it stays in the component so that an
    // unchanged list is not read again.
    void dateModifiedScansFileList()
    {
        QTemporaryDir dir;
        const QDateTime base = QDateTime::currentDateTime().addDays(-10);
        const QDateTime hdlTime = base.addDays(2);
        for (const char* ignored : {"doc.pdf", "notes.txt", "run.in", "run.out", "gen.pmsgs"})
            writeFile(dir.filePath(ignored), "x", base.addDays(5));
        writeFile(dir.filePath("core.vhd"), "x", hdlTime);
        writeFile(dir.filePath("noext"), "x", base.addDays(6));
        writeFile(dir.filePath("core_flist.txt"),
                  "\n# core.vhd\ndoc.pdf\nnotes.txt\nrun.in\nrun.out\ngen.pmsgs\nnoext\n"
                  "missing.vhd\ncore.vhd",
                  base.addDays(1));

        auto component = TestCatalog::customize(TestCatalog::load(Component("core")), "core");
        component->SetChangeTime(base.toSecsSinceEpoch());
        Ipu::ProjectOptions options;
        options.SetOutputDirectory(dir.path().toStdString());
        component->SetProjectOptions(options);
        const En::Ip ip(component);
        QCOMPARE(ip.GetDateModified(), hdlTime.toString("yyyy-MM-dd 'at' HH:mm"));
        QCOMPARE(component->GetChangeTime(), hdlTime.toSecsSinceEpoch());

        // A newer product behind a list older than the stored time is not seen.
        setModified(dir.filePath("core.vhd"), base.addDays(4));
        QCOMPARE(ip.GetDateModified(), hdlTime.toString("yyyy-MM-dd 'at' HH:mm"));
    }

    void dateModifiedEmptyWithoutTime()
    {
        const En::Ip ip(TestCatalog::read(Component("core")));
        QVERIFY(ip.GetDateModified().isEmpty());
    }

    void supportedFamilies_data()
    {
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<int>("count");
        QTest::newRow("none stands for <empty>") << QStringList() << 0;
        QTest::newRow("explicit <empty>") << QStringList{"<EMPTY>"} << 0;
        QTest::newRow("real families") << QStringList{"alpha", "beta"} << 2;
    }

    void supportedFamilies()
    {
        QFETCH(QStringList, families);
        QFETCH(int, count);
        const En::Ip ip(TestCatalog::read(Component("core").withFamilies(families)));
        QCOMPARE(int(ip.GetSupportedFamilies().size()), count);
    }

    void properties()
    {
        const En::Ip dummy(TestCatalog::read(Component("dummy")
                                                 .withProperty("isDummyIP", "")
                                                 .withProperty("tag", "a")
                                                 .withProperty("tag", "b")));
        QVERIFY(dummy.IsDummyIp());
        QVERIFY(dummy.HasProperty("tag"));
        QCOMPARE(dummy.GetProperty("tag"), QString("a"));
        std::vector<Port::String> values{"stale"};
        dummy.GetPropertyValues("tag", values);
        QCOMPARE(values.size(), std::size_t(2));
        dummy.GetPropertyValues("absent", values);
        QVERIFY2(values.empty(), "a failed read empties the output");
    }

    void nameAndDescriptionFallBackToCatalogue()
    {
        auto catalogue = TestCatalog::load(
            Component("core").withDisplayName("Catalogue Core").withDescription("From catalogue"));
        auto customized = TestCatalog::customize(catalogue, "mine");
        customized->SetDisplayName("");
        customized->SetDescription("");
        const En::Ip ip(customized);
        QCOMPARE(ip.GetIpName(), QString("Catalogue Core"));
        QCOMPARE(ip.GetDescription(), QString("From catalogue"));
        QCOMPARE(ip.GetCoreName(), QString("mine"));
    }

    void dataSheetEncrypted_data()
    {
        QTest::addColumn<QString>("dataSheet");
        QTest::addColumn<bool>("encrypted");
        QTest::newRow("none") << "" << false;
        QTest::newRow("plain") << "doc/core.pdf" << false;
        QTest::newRow("encrypted") << "doc/core.lna" << true;
        QTest::newRow("case matters") << "doc/core.LNA" << false;
    }

    void dataSheetEncrypted()
    {
        QFETCH(QString, dataSheet);
        QFETCH(bool, encrypted);
        const En::Ip ip(TestCatalog::read(Component("core").withDataSheet(dataSheet)));
        QCOMPARE(ip.IsDataSheetEncrypted(), encrypted);
    }

    // The IP-type rule, and the name lowered before the lookup.
    void getTask_data()
    {
        QTest::addColumn<QString>("chainType");
        QTest::addColumn<bool>("customized");
        QTest::addColumn<bool>("found");
        QTest::newRow("any, catalogue") << "any" << false << true;
        QTest::newRow("any, customized") << "ANY" << true << true;
        QTest::newRow("customized, catalogue") << "customized" << false << false;
        QTest::newRow("customized, customized") << "customized" << true << true;
        QTest::newRow("uncustomized, catalogue") << "uncustomized" << false << true;
        QTest::newRow("uncustomized, customized") << "uncustomized" << true << false;
    }

    void getTask()
    {
        QFETCH(QString, chainType);
        QFETCH(bool, customized);
        QFETCH(bool, found);
        auto component =
            TestCatalog::load(Component("core").withChain(Chain("generate").withIpType(chainType)));
        if (customized)
            component = TestCatalog::customize(component, "mine");
        const IpProbe ip(component);
        Ipu::Task task;
        QCOMPARE(ip.GetTask("GENERATE", task), found);
        QCOMPARE(task.GetInternalName() == "generate", found);
    }

    void upgrades_data()
    {
        QTest::addColumn<QString>("newerGroup");
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("upgradable");
        QTest::addColumn<bool>("regenerable");
        QTest::newRow("regenerable upgrade") << "upgrade_and_regenerate"
                                             << "alpha" << true << true;
        QTest::newRow("upgrade needing a new customization") << "customize_current"
                                                             << "alpha" << true << false;
        QTest::newRow("newer version not for the part") << "upgrade_and_regenerate"
                                                        << "beta" << false << false;
    }

    void upgrades()
    {
        QFETCH(QString, newerGroup);
        QFETCH(QString, family);
        QFETCH(bool, upgradable);
        QFETCH(bool, regenerable);
        const Chain chain = Chain("upgrade_and_regenerate").withGroups({newerGroup});
        auto older = TestCatalog::load(
            Component("core").withLifeCycle("deprecated").withFamilies({"alpha"}));
        TestCatalog::load(
            Component("core").withVersion("2.0").withFamilies({"alpha"}).withChain(chain));
        const En::Ip ip(TestCatalog::customize(older, "mine"));
        const Ipu::ProjectOptions options = family == "alpha"
                                                ? optionsFor("alpha", "a10", "p1", "-1")
                                                : optionsFor("beta", "b5", "q9", "-3");
        QCOMPARE(ip.IsIpUpgradable(options), upgradable);
        QCOMPARE(ip.CanUpgradedIpBeRegenerated(options), regenerable);
    }

    void ownProjectOptions()
    {
        auto catalogue = TestCatalog::load(Component("core"));
        auto customized = TestCatalog::customize(catalogue, "mine");
        Ipu::CustomizedIP(customized).SetProjectOptions(optionsFor("alpha", "a10", "p1", "-1"));

        QVERIFY(En::Ip(customized).ProjectOptionsValid());
        QCOMPARE(En::Ip(customized).GetPartDetails().GetDevice(), Port::String("a10"));
        QVERIFY2(!En::Ip(Ipu::IP(customized)).ProjectOptionsValid(),
                 "a catalogue handle never computes the flag");

        IpProbe ip(customized);
        ip.SetProjectOptions(optionsFor("alpha", "a10", "p1", "-7"));
        QVERIFY(!ip.ProjectOptionsValid());
        ip.SetProjectOptions(optionsFor("beta", "b5", "q9", "-3"));
        QVERIFY(ip.ProjectOptionsValid());

        IpProbe entry(catalogue);
        entry.SetProjectOptions(optionsFor("beta", "b5", "q9", "-3"));
        QVERIFY2(!entry.ProjectOptionsValid(), "a catalogue IP keeps no options");
        QVERIFY(!catalogue->HasProjectOptions());
    }

    void status_data()
    {
        QTest::addColumn<QString>("lifeCycle");
        QTest::addColumn<QStringList>("dummy");  // empty: no property; else its one value
        QTest::addColumn<bool>("newerVersion");
        QTest::addColumn<QString>("status");
        QTest::newRow("production") << "production" << QStringList() << false << "Production";
        QTest::newRow("deprecated dummy with text")
            << "deprecated" << QStringList{"Replaced by the v2 core"} << true
            << "Replaced by the v2 core";
        QTest::newRow("deprecated, empty dummy text, upgradable")
            << "deprecated" << QStringList{""} << true << "Upgradable";
        QTest::newRow("removed without upgrade")
            << "removed" << QStringList() << false << "Removed";
        QTest::newRow("removed with upgrade") << "removed" << QStringList() << true << "Upgradable";
    }

    void status()
    {
        QFETCH(QString, lifeCycle);
        QFETCH(QStringList, dummy);
        QFETCH(bool, newerVersion);
        QFETCH(QString, status);
        openProject();
        Component old = Component("core").withLifeCycle(lifeCycle).withFamilies({"alpha"});
        if (!dummy.isEmpty())
            old.withProperty("isDummyIP", dummy.first());
        const En::Ip ip(TestCatalog::load(old));
        if (newerVersion)
            TestCatalog::load(Component("core").withVersion("2.0").withFamilies({"alpha"}));
        QCOMPARE(ip.GetIpStatus(), status);
        QVERIFY(En::Ip().GetIpStatus().isEmpty());
    }

    void taskLists_data()
    {
        QTest::addColumn<QString>("lifeCycle");
        QTest::addColumn<bool>("customized");
        QTest::addColumn<bool>("projectOpen");
        QTest::addColumn<QStringList>("tasks");
        QTest::addColumn<QStringList>("information");
        QTest::newRow("catalogue entry, project open")
            << "production" << false << true << QStringList{"generate", "customize"}
            << QStringList{"supported_families", "current_options"};
        QTest::newRow("customized core, project open")
            << "production" << true << true << QStringList{"generate", "upgrade_and_regenerate"}
            << QStringList{"supported_families", "original_options", "current_options"};
        QTest::newRow("deprecated customized core")
            << "deprecated" << true << true << QStringList{"upgrade_and_regenerate"}
            << QStringList{"original_options", "current_options"};
        QTest::newRow("no project: only family-independent chains")
            << "production" << false << false << QStringList{"generate"}
            << QStringList{"supported_families"};
    }

    // The chains an IP offers, by IP type, project, life-cycle and upgrades.
    void taskLists()
    {
        QFETCH(QString, lifeCycle);
        QFETCH(bool, customized);
        QFETCH(bool, projectOpen);
        QFETCH(QStringList, tasks);
        QFETCH(QStringList, information);
        if (projectOpen)
            openProject();
        Chain customize("customize");
        customize.withIpType("uncustomized").familyDependent = "dependent";
        const Component old =
            Component("core")
                .withLifeCycle(lifeCycle)
                .withFamilies({"alpha"})
                .withChain(Chain("generate"))
                .withChain(customize)
                .withChain(Chain("upgrade_and_regenerate").withGroups({"upgrade_and_regenerate"}));
        auto component = TestCatalog::load(old);
        TestCatalog::load(Component("core").withVersion("2.0").withFamilies({"alpha"}));
        if (customized) {
            component = TestCatalog::customize(component, "mine");
            Ipu::CustomizedIP(component).SetProjectOptions(optionsFor("alpha", "a10", "p1", "-1"));
        }
        const IpProbe ip(component);
        QCOMPARE(names(ip.GetTaskList()), tasks);
        QCOMPARE(names(ip.GetInformationTaskList()), information);
    }

    void enabledByCompatibility()
    {
        openProject();
        const En::Ip alpha(TestCatalog::load(Component("a").withFamilies({"alpha"})));
        const En::Ip beta(TestCatalog::load(Component("b").withFamilies({"beta"})));
        const En::Ip deprecated(
            TestCatalog::load(Component("d").withFamilies({"alpha"}).withLifeCycle("deprecated")));
        En::IpCompatibilityChecker::GetInstance()->Refresh();
        QVERIFY(alpha.IsEnabled());
        QVERIFY(!beta.IsEnabled());
        QVERIFY(!deprecated.IsEnabled());
        QVERIFY(!En::Ip().IsEnabled());
    }

    void projectOptionsFallBackToTheOpenProject()
    {
        auto component = TestCatalog::customize(TestCatalog::load(Component("core")), "mine");
        QVERIFY(!IpProbe(component).GetProjectOptions().GetPelPart().IsDefined());
        openProject();
        QCOMPARE(IpProbe(component).GetProjectOptions().GetPelPart().GetDevice(),
                 Port::String("a10"));
    }

    void fileModifiedByUser()
    {
        auto catalogue = TestCatalog::load(Component("core"));
        catalogue->SetFileModifiedByUser(true);
        QVERIFY2(!En::Ip(catalogue).FileModifiedByUser(), "only customized IPs are modified");

        auto customized = TestCatalog::customize(catalogue, "mine");
        customized->SetFileModifiedByUser(true);
        IpProbe ip(customized);
        QVERIFY(ip.FileModifiedByUser());
        ip.RemoveFileModifiedStatus();
        QVERIFY(!ip.FileModifiedByUser());
    }
};

QTEST_GUILESS_MAIN(tst_Ip)
#include "tst_ip.moc"
