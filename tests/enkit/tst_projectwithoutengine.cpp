#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <boost/make_shared.hpp>

#include "CitP_Factory.h"
#include "En_ActionManager.h"
#include "En_ActionManager_p.h"
#include "En_ActionMutexSingleton.h"
#include "En_Project.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_TaskMutexSingleton.h"
#include "MessageCapture.h"

// A process whose engine component cannot be found: the host says why once at start, so
// projects stay quiet. Its own program, since a loaded component stays loaded.
class tst_ProjectWithoutEngine : public QObject {
    Q_OBJECT

    QTemporaryDir components;  // empty: no engine in it

private slots:
    void initTestCase()
    {
        QVERIFY(components.isValid());
        qputenv("GANTREL_COMPONENT_PATH", components.path().toUtf8());
        QVERIFY(CitP::Factory::LoadLibraryFactory("gantrel_simc") != 0);
        QVERIFY2(!CitP::Factory::LastError().IsEmpty(), "the reason is there for the host");
    }

    void constructorsStayQuiet_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("open") << "open" << false;
        QTest::newRow("create") << "create" << false;
        QTest::newRow("from options, new file") << "options" << false;
        QTest::newRow("from a design") << "design" << true;
    }

    void constructorsStayQuiet()
    {
        QFETCH(QString, how);
        QFETCH(bool, enabled);
        const QTemporaryDir dir;
        const Port::FileName file(dir.filePath("p.gtcfg").toStdString());
        Ipu::ProjectOptions options;
        options.SetProjectName("p");
        options.SetOutputDirectory(dir.path().toStdString());
        MessageCapture capture;
        std::unique_ptr<En::Project> project;
        if (how == "open" || how == "create")
            project = std::make_unique<En::Project>(file, how == "create");
        else if (how == "options")
            project = std::make_unique<En::Project>(options);
        else
            project = std::make_unique<En::Project>(boost::make_shared<Ipu::IPComposite>());
        QCOMPARE(project->IsEnabled(), enabled);
        QVERIFY(!project->SaveProject());
        project.reset();
        QCOMPARE(capture.textLines(), QStringList());
    }

    // Nothing can start without the engine: the run ends at once, failed, locks released.
    void generationWithoutEngine()
    {
        auto component = boost::make_shared<Ipu::IPComponent>();
        component->SetName("my_ip");
        component->SetUniqueID("design/my_ip");
        component->SetUnconfiguredID("pellor:ip:x:1.0");
        auto chain = boost::make_shared<Ipu::GeneratorChain>();
        chain->SetName(Ipu::Task::GENERATE);
        chain->SetDisplayName("Generate");
        chain->SetUniqueID("pellor:ip:x:1.0/generate");
        Ipu::Task task(chain);
        En::Ip ip(component);
        En::ActionManager* manager = En::ActionManager::GetInstance();
        QSignalSpy library(manager, &En::ActionManager::LibraryIP);
        QSignalSpy added(manager, &En::ActionManager::AddBusyNotification);
        QSignalSpy removed(manager, &En::ActionManager::RemoveBusyNotification);
        MessageCapture capture;
        QCOMPARE(En::ActionManagerSeam::DoTask(ip, task), 1u);
        QCOMPARE(capture.textLines(),
                 QStringList({"STATUS:enkit:En_ActionManager - Generate",
                              "ERROR:enkit:En_ActionManager - Unable to start Generation - no ID "
                              "returned\n"}));
        QCOMPARE(library.size(), 1);
        QCOMPARE(added.size(), removed.size());
        QVERIFY(!Ipu::TaskMutexSingleton::IsLocked());
        QVERIFY(!En::ActionMutexSingleton::IsLocked());
    }
};

QTEST_GUILESS_MAIN(tst_ProjectWithoutEngine)
#include "tst_projectwithoutengine.moc"
