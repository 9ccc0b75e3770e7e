#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <boost/pointer_cast.hpp>
#include <mutex>

#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_ActionManager_p.h"
#include "En_ActionMutexSingleton.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "Ipu_DefaultEngineNotify.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_EngineNotifyMgr.h"
#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_TaskMutexSingleton.h"
#include "MessageCapture.h"
#include "Sim_Customizer.h"
#include "Sim_UserSettings.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

using En::ActionManager;

namespace {

const char* const kCounter = "pellor:ip:counter_binary:1.1";
const char* const kOldCounter = "pellor:ip:counter_binary:1.0";

// Stands in for the user at the parameter dialog.
class ScriptedCustomizer : public Sim::Customizer {
public:
    QString name;
    QList<QPair<QString, QString>> values;
    bool accept = true;
    bool cancelRun = false;

    bool Customize(Ipu::IPComponent& component, const Ipu::ProjectOptions&,
                   const std::vector<Port::String>&) override
    {
        if (cancelRun)
            Ipu::EngineNotifyMgr::SetCancelled(true);
        if (!accept)
            return false;
        if (!name.isEmpty())
            component.SetName(name.toUtf8().constData());
        for (const auto& [parameter, value] : values)
            component.GetParameters().SetValue(parameter.toUtf8().constData(),
                                               value.toUtf8().constData());
        return true;
    }
};

// Answers each modal message box in turn, noting its text.
class Answerer : public QObject {
public:
    explicit Answerer(QList<bool> answers) : answers(std::move(answers))
    {
        connect(&timer, &QTimer::timeout, this, &Answerer::answer);
        timer.start(10);
    }
    QStringList texts;

private:
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || answers.isEmpty())
            return;
        texts << box->text();
        box->button(answers.takeFirst() ? QMessageBox::Yes : QMessageBox::No)->click();
    }
    QList<bool> answers;
    QTimer timer;
};

boost::shared_ptr<Ipu::IPComponent> Catalogue(const char* key)
{
    return boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(key));
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Notes the sources the engine reports as added or updated.
class SourceLog : public Ipu::DefaultEngineNotify {
public:
    SourceLog() { Ipu::EngineNotifyMgr::AddEngineNotify(this); }
    ~SourceLog() override { Ipu::EngineNotifyMgr::RemoveEngineNotify(this); }
    void AddSourceNotify(const Port::String& file, const Port::String&) override
    {
        std::lock_guard<std::mutex> lock(guard);
        added << QFileInfo(file.c_str()).fileName();
    }
    void UpdateSourceNotify(const Port::String& file, const Port::String&) override
    {
        std::lock_guard<std::mutex> lock(guard);
        updated << QFileInfo(file.c_str()).fileName();
    }
    QStringList Added()
    {
        std::lock_guard<std::mutex> lock(guard);
        return added;
    }
    QStringList Updated()
    {
        std::lock_guard<std::mutex> lock(guard);
        return updated;
    }

private:
    std::mutex guard;
    QStringList added;
    QStringList updated;
};

}  // namespace

class tst_Generation : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    QTemporaryDir dir;
    std::shared_ptr<ScriptedCustomizer> customizer = std::make_shared<ScriptedCustomizer>();

    static En::Project& project() { return *En::ProjectManager::GetInstance()->GetProject(); }
    QString output(const QString& file) const { return dir.filePath(file); }

    En::Ip member(const char* name) const { return project().GetIP(name); }

    // Triggers the task and waits for the end the manager announces.
    bool run(En::Ip ip, const char* task, const char* endSignal = "ProjectIP")
    {
        ActionManager* manager = ActionManager::GetInstance();
        QSignalSpy projectIp(manager, &ActionManager::ProjectIP);
        QSignalSpy libraryIp(manager, &ActionManager::LibraryIP);
        QSignalSpy selectProject(manager, &ActionManager::SelectProject);
        QSignalSpy update(manager, &ActionManager::Update);
        En::Action* action = ip.GetAction(task);
        if (action == nullptr) {
            qWarning("no action %s", task);
            return false;
        }
        if (!action->isEnabled()) {
            qWarning("action %s is disabled", task);
            return false;
        }
        // The engine reports on its workers; the manager must answer on the GUI thread.
        bool onGuiThread = true;
        QObject context;
        const auto checkThread = [&] { onGuiThread &= QThread::currentThread() == qApp->thread(); };
        connect(manager, &ActionManager::ProjectIP, &context, checkThread, Qt::DirectConnection);
        connect(manager, &ActionManager::LibraryIP, &context, checkThread, Qt::DirectConnection);
        connect(manager, &ActionManager::SelectProject, &context, checkThread,
                Qt::DirectConnection);
        action->trigger();
        const auto ended = [&] {
            return projectIp.size() + libraryIp.size() + selectProject.size() > 0 ||
                   (QByteArray(endSignal) == "Update" && !update.isEmpty());
        };
        if (!QTest::qWaitFor(ended, 20000))
            return false;
        const QByteArray name(endSignal);
        return onGuiThread &&
               ((name == "ProjectIP" && projectIp.size() == 1) ||
                (name == "LibraryIP" && libraryIp.size() == 1) ||
                (name == "SelectProject" && selectProject.size() == 1) || name == "Update");
    }

    bool customize(const char* key, const QString& name,
                   const QList<QPair<QString, QString>>& values,
                   const char* endSignal = "ProjectIP")
    {
        customizer->name = name;
        customizer->values = values;
        return run(En::Ip(Catalogue(key)), Ipu::Task::CUSTOMIZE, endSignal);
    }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        // The shipped catalogue and devices: generation delivers their real cores.
        TestEnvironment::useShippedData();
        QVERIFY(TestEnvironment::waitForCatalog());
        QCOMPARE(En::ProjectManager::GetInstance()->NewProject(
                     dir.filePath("board.gtcfg").toStdString()),
                 0u);
        Sim::Customizer::SetCurrent(customizer);
        Sim::UserSettings::SetOverwriteOutputFiles(true);
        // The main window passes the project manager's changes on; here the test does.
        ActionManager::GetInstance()->ProjectChanged();
    }

    void init()
    {
        *customizer = ScriptedCustomizer();
        Sim::UserSettings::SetOverwriteOutputFiles(true);
    }

    void cleanup()
    {
        QVERIFY(!Ipu::TaskMutexSingleton::IsLocked());
        QVERIFY(!En::ActionMutexSingleton::IsLocked());
    }

    void customizeGenerateAndChange()
    {
        ActionManager* manager = ActionManager::GetInstance();
        QSignalSpy added(manager, &ActionManager::AddBusyNotification);
        QSignalSpy removed(manager, &ActionManager::RemoveBusyNotification);
        SourceLog sources;
        QVERIFY(customize(kCounter, "my_counter", {{"WIDTH", "5"}}));
        QCOMPARE(sources.Added(), QStringList({"my_counter.vhd", "counter_binary_core.vhd"}));

        const QStringList listed =
            QString::fromUtf8(Read(output("my_counter_flist.txt"))).split('\n', Qt::SkipEmptyParts);
        for (const char* file : {"my_counter.vhd", "my_counter.vho", "my_counter.gtc",
                                 "counter_binary_core.vhd", "my_counter_flist.txt"}) {
            QVERIFY2(QFile::exists(output(file)), file);
            QVERIFY2(listed.contains(file), file);
        }
        QVERIFY(QString::fromUtf8(Read(output("my_counter.vhd")))
                    .contains(QRegularExpression("WIDTH\\s*=>\\s*5\\b")));
        QVERIFY(Read(dir.filePath("board.gtcfg")).contains("my_counter"));
        QVERIFY(project().HasIP("my_counter"));
        QCOMPARE(added.size(), 1);
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed[0][0].value<En::BusyNotificationObject>(),
                 added[0][0].value<En::BusyNotificationObject>());

        customizer->values = {{"WIDTH", "7"}};
        QVERIFY(run(member("my_counter"), Ipu::Task::RECUSTOMIZE_CURRENT));
        QCOMPARE(sources.Updated(), QStringList{"my_counter.vhd"});
        QVERIFY(QString::fromUtf8(Read(output("my_counter.vhd")))
                    .contains(QRegularExpression("WIDTH\\s*=>\\s*7\\b")));
        QCOMPARE(member("my_counter").GetIPComponent()->GetParameters().GetList()[0].value,
                 Port::String("7"));
    }

    void regenerateAndUpgrade()
    {
        QVERIFY(customize(kOldCounter, "old_counter", {}));
        QCOMPARE(member("old_counter").GetIpVersion(), QString("1.0"));
        const QFileInfo before(output("old_counter.vhd"));
        QVERIFY(run(member("old_counter"), Ipu::Task::REGENERATE_CURRENT));
        QVERIFY(QFileInfo(output("old_counter.vhd")).lastModified() >= before.lastModified());

        MessageCapture capture;
        QVERIFY(run(member("old_counter"), Ipu::Task::UPGRADE_IP_LATEST_VERSION));
        QCOMPARE(member("old_counter").GetIpVersion(), QString("1.1"));

        QVERIFY(run(member("old_counter"), Ipu::Task::REGENERATE_CURRENT));
        QFile::remove(output("old_counter_flist.txt"));
        QFile::remove(output("my_counter_flist.txt"));
        En::Action* action =
            project().GetActionsMap().value(QString(Ipu::Task::REGENERATE_PROJECT).toUpper());
        QVERIFY(action != nullptr);
        QSignalSpy selected(ActionManager::GetInstance(), &ActionManager::SelectProject);
        QSignalSpy added(ActionManager::GetInstance(), &ActionManager::AddBusyNotification);
        QSignalSpy removed(ActionManager::GetInstance(), &ActionManager::RemoveBusyNotification);
        action->trigger();
        QVERIFY(selected.wait(20000));
        QVERIFY(QFile::exists(output("old_counter_flist.txt")));
        QVERIFY(QFile::exists(output("my_counter_flist.txt")));
        // Regression: the project's own notification outlived the run, leaving the GUI busy.
        QCOMPARE(added.size(), 2);
        QCOMPARE(removed.size(), 2);
    }

    // Each refused or cancelled run leaves the earlier products and the project file alone
    // and selects what the user started from.
    void failuresLeaveEverything_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("width");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("cancelRun");
        QTest::addColumn<QString>("message");
        QTest::newRow("value above maximum")
            << "my_counter"
            << "70" << true << false << "WIDTH: 70 is above the maximum 64";
        QTest::newRow("not an identifier") << "my-counter"
                                           << "5" << true << false << "Component name 'my-counter'";
        QTest::newRow("dialog cancelled") << "my_counter"
                                          << "9" << false << false << "cancelled";
        QTest::newRow("run cancelled") << "my_counter"
                                       << "9" << true << true << "cancelled";
    }

    void failuresLeaveEverything()
    {
        QFETCH(QString, name);
        QFETCH(QString, width);
        QFETCH(bool, accept);
        QFETCH(bool, cancelRun);
        QFETCH(QString, message);
        const QByteArray wrapper = Read(output("my_counter.vhd"));
        const QByteArray projectFile = Read(dir.filePath("board.gtcfg"));
        QVERIFY(!wrapper.isEmpty());
        customizer->name = name;
        customizer->values = {{"WIDTH", width}};
        customizer->accept = accept;
        customizer->cancelRun = cancelRun;
        MessageCapture capture;
        QSignalSpy library(ActionManager::GetInstance(), &ActionManager::LibraryIP);
        QSignalSpy added(ActionManager::GetInstance(), &ActionManager::AddBusyNotification);
        QSignalSpy removed(ActionManager::GetInstance(), &ActionManager::RemoveBusyNotification);
        QVERIFY(run(member("my_counter"), Ipu::Task::RECUSTOMIZE_CURRENT, "LibraryIP"));
        QCOMPARE(removed.size(), added.size());
        Ipu::EngineNotifyMgr::SetCancelled(false);
        QCOMPARE(Read(output("my_counter.vhd")), wrapper);
        QCOMPARE(Read(dir.filePath("board.gtcfg")), projectFile);
        QVERIFY(!QFile::exists(output("my-counter.vhd")));
        QVERIFY2(capture.textLines().join('\n').contains(message),
                 qPrintable(capture.textLines().join('\n')));
        QCOMPARE(library[0][0].value<En::Ip>().GetIPComponent(),
                 member("my_counter").GetIPComponent());
    }

    // A failed customization of a catalogue IP selects the catalogue entry, not the copy.
    void failedCatalogueCustomizationSelectsTheEntry()
    {
        QSignalSpy library(ActionManager::GetInstance(), &ActionManager::LibraryIP);
        QVERIFY(customize(kCounter, "wide_counter", {{"WIDTH", "65"}}, "LibraryIP"));
        QCOMPARE(library[0][0].value<En::Ip>().GetIPComponent(), Catalogue(kCounter));
        QVERIFY(!project().HasIP("wide_counter"));
        QVERIFY(!QFile::exists(output("wide_counter.vhd")));
    }

    // The view tasks hand their file to the desktop's opener.
    void viewTasksOpenTheirFile_data()
    {
        QTest::addColumn<QString>("task");
        QTest::addColumn<QString>("opened");
        QTest::newRow("data sheet") << Ipu::Task::VIEW_DATASHEET << "/counter_binary_v1_1.html";
        QTest::newRow("resources")
            << Ipu::Task::VIEW_RESOURCE_UTILIZATION << "/my_counter_resources.txt";
    }

    void viewTasksOpenTheirFile()
    {
        QFETCH(QString, task);
        QFETCH(QString, opened);
        const QString log = dir.filePath("opened.txt");
        const QString opener = dir.filePath("opener.sh");
        TestFiles::write(opener, ("#!/bin/sh\necho \"$1\" > " + log + "\n").toUtf8());
        QFile(opener).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::remove(log);
        qputenv("GANTREL_OPEN_COMMAND", opener.toUtf8());
        QVERIFY(run(member("my_counter"), task.toUtf8().constData(), "Update"));
        QTRY_VERIFY(QFile::exists(log));
        QTRY_VERIFY2(QString::fromUtf8(TestFiles::read(log)).trimmed().endsWith(opened),
                     TestFiles::read(log).constData());
        QVERIFY(QFile::exists(output("my_counter_resources.txt")) ||
                task != Ipu::Task::VIEW_RESOURCE_UTILIZATION);
    }

    void taskNotOfferedStartsNothing()
    {
        MessageCapture capture;
        QSignalSpy busy(ActionManager::GetInstance(), &ActionManager::AddBusyNotification);
        En::Ip ip(Catalogue(kCounter));
        Ipu::Task task(Ipu::Task::REGENERATE_PROJECT, "Regenerate", false, 0, Ipu::Task::IPTYPE_ANY,
                       Ipu::Task::FAMILYDEPENDENCE_DEPENDENT);
        QCOMPARE(En::ActionManagerSeam::DoTask(ip, task), 1u);
        QCOMPARE(capture.textLines(),
                 QStringList{"ERROR:enkit:En_ActionManager - Could not run task "
                             "'regenerate_project' on IP 'Binary Counter'.\n"});
        QCOMPARE(busy.size(), 0);
    }

    // answers: the user's replies in turn; asked: the questions expected, by first words.
    void questions_data()
    {
        QTest::addColumn<bool>("altered");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("generated");
        const QString altered = "WARNING: \"";
        const QString regenerating =
            "You are regenerating this core. If you proceed, output products for this core may "
            "be overwritten.\n\nDo you wish to continue?";
        const QString exists = "WARNING: A core named <my_counter> already exists";
        QTest::newRow("altered file declined")
            << true << false << QList<bool>{false} << QStringList{altered} << false;
        QTest::newRow("overwrite setting on")
            << true << true << QList<bool>{true} << QStringList{altered} << true;
        QTest::newRow("both questions in turn") << false << false << QList<bool>{true, true}
                                                << QStringList{regenerating, exists} << true;
        QTest::newRow("existing core declined") << false << false << QList<bool>{true, false}
                                                << QStringList{regenerating, exists} << false;
    }

    void questions()
    {
        QFETCH(bool, altered);
        QFETCH(bool, overwrite);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, asked);
        QFETCH(bool, generated);
        Sim::UserSettings::SetOverwriteOutputFiles(overwrite);
        En::Ip ip = member("my_counter");
        ip.GetIPComponent()->SetFileModifiedByUser(altered);
        QFile::remove(output("my_counter.vho"));
        Answerer answerer(answers);
        MessageCapture capture;
        QSignalSpy busy(ActionManager::GetInstance(), &ActionManager::AddBusyNotification);
        QSignalSpy finished(ActionManager::GetInstance(), &ActionManager::ProjectIP);
        Ipu::Task task;
        QCOMPARE(Ipu::IP(ip.GetIPComponent()).GetTask(Ipu::Task::REGENERATE_CURRENT, task), 0u);
        En::ActionManagerSeam::Trigger(ip, task);
        if (generated)
            QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QCOMPARE(QFile::exists(output("my_counter.vho")), generated);
        QCOMPARE(answerer.texts.size(), asked.size());
        for (int i = 0; i < asked.size(); ++i)
            QVERIFY2(answerer.texts[i].startsWith(asked[i]), qPrintable(answerer.texts[i]));
        QVERIFY(!ip.GetIPComponent()->IsFileModifiedByUser());
        QCOMPARE(capture.textLines().contains(
                     "STATUS:enkit:En_ActionManager - Action cancelled by user.\n"),
                 answers == QList<bool>{false});
        QVERIFY(!capture.textLines().join('\n').contains("not found in running actions"));
        if (!generated)
            QCOMPARE(busy.size(), 0);
    }
};

QTEST_MAIN(tst_Generation)
#include "tst_generation.moc"
