#include <QtTest>

#include "En_IpCompatibilityChecker.h"
#include "En_ProjectManager.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "TestCatalog.h"
#include "TestEnvironment.h"

using En::IpCompatibilityChecker;
using En::ProjectManager;
using TestCatalog::Component;

class tst_IpCompatibilityChecker : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    QTemporaryDir dir;

    static ProjectManager* manager() { return ProjectManager::GetInstance(); }
    static IpCompatibilityChecker* checker() { return IpCompatibilityChecker::GetInstance(); }

    static void changeSpeedGrade(const char* grade)
    {
        Ipu::ProjectOptions options = *manager()->GetProjectOptions();
        options.SetSpeedGrade(grade);
        QCOMPARE(manager()->SetProjectOptions(options), 0u);
    }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        QVERIFY(TestEnvironment::waitForCatalog());
    }

    void init() { QCOMPARE(manager()->NewProject(dir.filePath("board.gtcfg").toStdString()), 0u); }

    void cleanup()
    {
        manager()->CloseProject();
        checker()->Refresh();
    }

    void twoVersionsAreKeptApart()
    {
        const auto older = TestCatalog::load(Component("core").withFamilies({"alpha"}));
        const auto newer =
            TestCatalog::load(Component("core").withVersion("2.0").withFamilies({"beta"}));
        changeSpeedGrade("-2");
        checker()->Refresh();
        QVERIFY(checker()->IsCompatible(older));
        QVERIFY(!checker()->IsCompatible(newer));
        QVERIFY(checker()->IsCompatible(older));
    }

    void sameNameAndVersionFromAnotherVendor_data()
    {
        QTest::addColumn<bool>("admittedFirst");
        QTest::newRow("admitted asked first") << true;
        QTest::newRow("other vendor asked first") << false;
    }

    // A cached verdict must not pass to another vendor's IP of the same name and version.
    void sameNameAndVersionFromAnotherVendor()
    {
        QFETCH(bool, admittedFirst);
        const QString name = admittedFirst ? "twin" : "twin2";
        const auto ours = TestCatalog::load(Component(name).withFamilies({"alpha"}));
        const auto theirs = TestCatalog::read(Component(name).withFamilies({"alpha"}));
        QVERIFY(ours && theirs);
        theirs->SetIdentifier(
            Ipu::VersionedIdentifier("elsewhere", "test", name.toStdString(), "1.0"));
        changeSpeedGrade("-2");
        checker()->Refresh();
        for (int round = 0; round < 2; ++round) {
            if (admittedFirst)
                QVERIFY(checker()->IsCompatible(ours));
            QVERIFY(!checker()->IsCompatible(theirs));
            QVERIFY(checker()->IsCompatible(ours));
        }
    }

    // Unchanged options ask the engine once: an IP that joins the catalogue afterwards is
    // not seen until the options change.
    void listIsLoadedOncePerOptions()
    {
        checker()->Refresh();
        const auto late = TestCatalog::load(Component("late").withFamilies({"alpha"}));
        checker()->Refresh();
        QVERIFY(!checker()->IsCompatible(late));

        changeSpeedGrade("-2");
        checker()->Refresh();
        QVERIFY2(checker()->IsCompatible(late), "changed options reload the list and verdicts");
    }

    void closedProjectMakesEverythingIncompatible()
    {
        const auto core = TestCatalog::load(Component("kept").withFamilies({"alpha"}));
        checker()->Refresh();
        QVERIFY(checker()->IsCompatible(core));

        manager()->CloseProject();
        checker()->Refresh();
        QVERIFY(!checker()->IsCompatible(core));

        // The very same options are loaded again after a reopening.
        const auto late = TestCatalog::load(Component("after").withFamilies({"alpha"}));
        QCOMPARE(manager()->SetProject(dir.filePath("board.gtcfg").toStdString()), 0u);
        checker()->Refresh();
        QVERIFY(checker()->IsCompatible(late));
        QVERIFY(!checker()->IsCompatible({}));
    }
};

QTEST_GUILESS_MAIN(tst_IpCompatibilityChecker)
#include "tst_ipcompatibilitychecker.moc"
