#include <QMetaMethod>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <set>
#include <thread>

#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_ActionManager_p.h"
#include "En_Global.h"
#include "En_ProjectManager.h"
#include "Ipu_Command.h"
#include "Ipu_CustomizedIP.h"
#include "Ipu_EngineNotifyMgr.h"
#include "Ipu_EventData.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Task.h"
#include "MessageCapture.h"
#include "TestCatalog.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

using En::ActionManager;
using En::ActionManagerSeam;

namespace {

// Emits MutexChanged from a thread of its own, as polling mode does.
class PollingSide : public QObject {
    Q_OBJECT
signals:
    void MutexChanged();
};

QStringList texts(const QList<En::Action*>& actions)
{
    QStringList result;
    for (const En::Action* action : actions)
        result << action->text();
    return result;
}

}  // namespace

class tst_ActionManager : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    QTemporaryDir dir;

    static En::Project& openProject() { return *En::ProjectManager::GetInstance()->GetProject(); }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        QVERIFY(TestEnvironment::waitForCatalog());
        QCOMPARE(En::ProjectManager::GetInstance()->NewProject(
                     dir.filePath("board.gtcfg").toStdString()),
                 0u);
    }

    void metaObject_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<QByteArrayList>("parameters");
        const int signal = QMetaMethod::Signal;
        const int slot = QMetaMethod::Slot;
        const QList<std::tuple<int, QByteArray, QByteArrayList>> table{
            {signal, "MutexStateChange(bool)", {"bLocked"}},
            {signal, "AddBusyNotification(BusyNotificationObject)", {""}},
            {signal, "RemoveBusyNotification(BusyNotificationObject)", {""}},
            {signal, "ProjectIP(En::Ip)", {""}},
            {signal, "LibraryIP(En::Ip)", {""}},
            {signal, "SelectProject()", {}},
            {signal, "Update()", {}},
            {signal, "IPUpgraded(QString)", {"ipName"}},
            {slot, "EngineEvent(EngineEventDetails)", {"details"}},
            {slot, "ProjectChanged()", {}},
            {slot, "MutexChanged()", {}},
            {slot,
             "ActionTriggered(En::Project&,Ipu::Task&,Ipu::Status&)",
             {"project", "task", "status"}},
            {slot, "ActionTriggered(En::Ip&,Ipu::Task&,Ipu::Status&)", {"ip", "task", "status"}},
        };
        for (int i = 0; i < table.size(); ++i) {
            const auto& [kind, signature, parameters] = table[i];
            QTest::newRow(signature.constData()) << i << kind << signature << parameters;
        }
    }

    void metaObject()
    {
        QFETCH(int, index);
        QFETCH(int, kind);
        QFETCH(QByteArray, signature);
        QFETCH(QByteArrayList, parameters);
        const QMetaObject& meta = ActionManager::staticMetaObject;
        QCOMPARE(meta.className(), "En::ActionManager");
        QCOMPARE(meta.methodCount() - meta.methodOffset(), 13);
        const QMetaMethod method = meta.method(meta.methodOffset() + index);
        QCOMPARE(int(method.methodType()), kind);
        QCOMPARE(method.methodSignature(), signature);
        QCOMPARE(method.parameterNames(), parameters);
    }

    // Every combination of the flags against the rule stated as reasons to disable.
    void taskEnabledTable()
    {
        const char* names[] = {Ipu::Task::GENERATE,
                               Ipu::Task::CUSTOMIZE,
                               Ipu::Task::REGENERATE_CURRENT,
                               Ipu::Task::REGENERATE_ORIGINAL,
                               Ipu::Task::VIEW_DATASHEET,
                               Ipu::Task::VIEW_README_FILE,
                               Ipu::Task::CHANGE_PROJECT_OPTIONS,
                               Ipu::Task::IMPORT_GTC_FILE,
                               Ipu::Task::REGENERATE_PROJECT};
        for (const char* name : names) {
            const Ipu::Task task(name, name, false, 0, 0, 0);
            for (int bits = 0; bits < 64; ++bits) {
                const bool taskLocked = bits & 1, actionLocked = bits & 2, open = bits & 4,
                           valid = bits & 8, usable = bits & 16, encrypted = bits & 32;
                ActionManagerSeam::SetFlags({taskLocked, actionLocked, open, valid});
                const bool needsProject = task.RequiresOpenProject() ||
                                          (encrypted && QString(name) == Ipu::Task::VIEW_DATASHEET);
                const bool disabled = ((taskLocked || actionLocked) && task.RequiresMutex()) ||
                                      (!open && needsProject) ||
                                      (!valid && task.UsesCurrentProjectOptions()) ||
                                      (!usable && task.UsesOriginalProjectOptions());
                QVERIFY2(ActionManagerSeam::IsTaskEnabled(task, usable, encrypted) == !disabled,
                         qPrintable(QStringLiteral("%1 with flags %2").arg(name).arg(bits, 6, 2)));
            }
        }
        ActionManagerSeam::SetFlags({false, false, true, true});
    }

    void actionIdsWrap()
    {
        ActionManagerSeam::SetLastActionId(1);
        QCOMPARE(ActionManagerSeam::NextActionId(), Port::String("2"));
        ActionManagerSeam::SetLastActionId(4294967293u);
        QCOMPARE(ActionManagerSeam::NextActionId(), Port::String("4294967294"));
        QCOMPARE(ActionManagerSeam::NextActionId(), Port::String("1"));
    }

    void actionIdsUniqueAcrossThreads()
    {
        std::vector<std::vector<Port::String>> ids(4);
        std::vector<std::thread> threads;
        for (auto& own : ids) {
            threads.emplace_back([&own] {
                for (int i = 0; i < 1000; ++i)
                    own.push_back(ActionManagerSeam::NextActionId());
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        std::set<Port::String> unique;
        for (const auto& own : ids)
            unique.insert(own.begin(), own.end());
        QCOMPARE(unique.size(), std::size_t(4000));
    }

    void noElementNoActions()
    {
        En::Project invalid;
        En::Ip none;
        ActionManager* manager = ActionManager::GetInstance();
        QVERIFY(manager->GetActionList(invalid).isEmpty());
        QVERIFY(manager->GetActionMap(invalid).isEmpty());
        QVERIFY(manager->GetActionList(none).isEmpty());
        QVERIFY(manager->GetActionMap(none).isEmpty());
        QVERIFY(!manager->GetDefaultAction(none));
    }

    // The project's actions come in the task order Project Options, Import; their texts
    // are replaced here to stage each mnemonic case. Asking twice changes nothing more.
    void projectMnemonics_data()
    {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("first free letters") << QStringList{"Project Options", "Import"}
                                            << QStringList{"&Import", "&Project Options"};
        QTest::newRow("existing mnemonic kept")
            << QStringList{"Op&tions", "Import"} << QStringList{"&Import", "Op&tions"};
        QTest::newRow("used letter skipped")
            << QStringList{"Alpha", "Axe"} << QStringList{"&Alpha", "A&xe"};
        QTest::newRow("letter case kept")
            << QStringList{"Alpha", "apple"} << QStringList{"&Alpha", "&apple"};
        QTest::newRow("no letter free")
            << QStringList{"2024", "Import"} << QStringList{"&2024", "&Import"};
        QTest::newRow("literal ampersand")
            << QStringList{"R&&D", "Import"} << QStringList{"&Import", "&R&&D"};
        QTest::newRow("same but for case and ampersand")
            << QStringList{"Same", "s&ame"} << QStringList{"s&ame"};
    }

    void projectMnemonics()
    {
        QFETCH(QStringList, given);
        QFETCH(QStringList, expected);
        En::Project& project = openProject();
        const QMap<QString, En::Action*> map = project.GetActionsMap();
        map[QString(Ipu::Task::CHANGE_PROJECT_OPTIONS).toUpper()]->setText(given[0]);
        map[QString(Ipu::Task::IMPORT_GTC_FILE).toUpper()]->setText(given[1]);
        QCOMPARE(texts(project.GetActionsList()), expected);
        QCOMPARE(texts(project.GetActionsList()), expected);
    }

    // A cached action is the same object on every request and takes the latest state.
    void cachedActionFollowsTheFlags()
    {
        auto catalogue = TestCatalog::load(TestCatalog::Component("cached"));
        En::Ip ip(catalogue);
        ActionManagerSeam::SetFlags({false, false, false, true});
        En::Action* first = ip.GetDefaultAction();
        QVERIFY(first);
        QVERIFY(!first->isEnabled());
        ActionManagerSeam::SetFlags({false, false, true, true});
        QCOMPARE(ip.GetDefaultAction(), first);
        QVERIFY(first->isEnabled());
        QCOMPARE(ip.GetAction(first->internalName()), first);
        QCOMPARE(ip.GetAction(first->visibleName()), first);
        QVERIFY(!ip.HasAction("no such task"));
    }

    // A default request where there is no default task caches nothing.
    void noDefaultTaskNoAction()
    {
        auto catalogue = TestCatalog::load(TestCatalog::Component("plain").withChain(
            TestCatalog::Chain(Ipu::Task::VIEW_DATASHEET)));
        En::Ip ip(catalogue);
        QVERIFY(!ip.GetDefaultAction());
        QCOMPARE(ip.GetActionsList().size(), 1);
    }

    // A repeated request answers from the last list only while the project's part stays:
    // a part the IP does not support takes its family-dependent tasks away.
    void listFollowsTheProjectOptions()
    {
        En::Ip ip(TestCatalog::load(TestCatalog::Component("follows").withFamilies({"alpha"})));
        const QStringList before = texts(ip.GetActionsList());
        QVERIFY2(before.contains("Customize"), qPrintable(before.join(',')));
        En::ProjectManager* projects = En::ProjectManager::GetInstance();
        Ipu::ProjectOptions options = *projects->GetProjectOptions();
        const Ipu::ProjectOptions original = options;
        options.SetDeviceFamily("beta");
        options.SetDevice("b5");
        options.SetPackage("q9");
        options.SetSpeedGrade("-3");
        QCOMPARE(projects->SetProjectOptions(options), 0u);
        QVERIFY2(!texts(ip.GetActionsList()).contains("Customize"),
                 qPrintable(texts(ip.GetActionsList()).join(',')));
        QCOMPARE(projects->SetProjectOptions(original), 0u);
        QCOMPARE(texts(ip.GetActionsList()), before);
    }

    // A retired IP does not offer the upgrade-and-regenerate task itself; the list adds it
    // only while the newer version can be regenerated with the project's part.
    void upgradeTaskAppended_data()
    {
        QTest::addColumn<QString>("newerGroup");
        QTest::addColumn<bool>("appended");
        QTest::newRow("newer version regenerable") << "upgrade_and_regenerate" << true;
        QTest::newRow("newer version needs a new customization") << "customize_current" << false;
    }

    void upgradeTaskAppended()
    {
        QFETCH(QString, newerGroup);
        QFETCH(bool, appended);
        using TestCatalog::Chain;
        using TestCatalog::Component;
        const QString name = "upgradable_" + QString::number(appended);
        auto older = TestCatalog::load(
            Component(name)
                .withLifeCycle("deprecated")
                .withFamilies({"alpha"})
                .withChain(Chain(Ipu::Task::UPGRADE_REGENERATE_IP_LATEST_VERSION)));
        TestCatalog::load(Component(name).withVersion("2.0").withFamilies({"alpha"}).withChain(
            Chain("upgrade_and_regenerate").withGroups({newerGroup})));
        En::Ip ip(TestCatalog::customize(older, "mine_" + name));
        QStringList names;
        for (const En::Action* action : ip.GetActionsList())
            names << action->internalName();
        QCOMPARE(names.contains(Ipu::Task::UPGRADE_REGENERATE_IP_LATEST_VERSION), appended);
    }

    // Engine events and lock changes come from other threads; the manager handles them on
    // its own, and the lock state is published before the request to re-read actions.
    void crossThreadSignalsArriveQueued()
    {
        ActionManager* manager = ActionManager::GetInstance();
        QStringList order;
        QList<QThread*> threads;
        connect(manager, &ActionManager::MutexStateChange, this, [&] {
            order << "MutexStateChange";
            threads << QThread::currentThread();
        });
        connect(manager, &ActionManager::Update, this, [&] {
            order << "Update";
            threads << QThread::currentThread();
        });

        PollingSide polling;
        connect(&polling, &PollingSide::MutexChanged, manager, &ActionManager::MutexChanged);
        std::thread([&] { emit polling.MutexChanged(); }).join();
        const Ipu::EventData data(Ipu::Task(Ipu::Task::VIEW_README_FILE, "Read me", false, 0, 0, 0),
                                  Ipu::CustomizedIP());
        Ipu::Event end(Ipu::Event::TYPE_END_OF_RUN, Ipu::Status(), data);
        std::thread([&] { Ipu::EngineNotifyMgr::NotifyEvent(end); }).join();
        QVERIFY(order.isEmpty());
        QTRY_COMPARE(order, QStringList({"MutexStateChange", "Update", "Update"}));
        for (QThread* thread : threads)
            QCOMPARE(thread, QThread::currentThread());
        disconnect(manager, nullptr, this, nullptr);
    }

    // In polling mode the move-out step of an IP's generation answers the command file's
    // client; no other step does.
    void pollingAnswerAtMoveOut_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("component");
        QTest::addColumn<QByteArray>("answer");  // null: none
        QTest::addColumn<QStringList>("said");
        const QString moveOut = Ipu::Command::MOVEOUT_MSG;
        QTest::newRow("move-out step")
            << moveOut << true << QByteArray("polled_1 Polled_IP 2.0\nSUCCESS\n") << QStringList();
        QTest::newRow("another step")
            << "Generating sources" << true << QByteArray() << QStringList();
        QTest::newRow("no component")
            << moveOut << false << QByteArray()
            << QStringList{
                   "ERROR:enkit:En_ActionManager - Null IP passed in polling mode event "
                   "data.\n"};
    }

    void pollingAnswerAtMoveOut()
    {
        QFETCH(QString, message);
        QFETCH(bool, component);
        QFETCH(QByteArray, answer);
        QFETCH(QStringList, said);
        QTemporaryDir pollingDir;
        Ipu::RuntimeOptions& options = En::Global::_batchCommandRuntimeOptions;
        options.EnablePollingMode(true);
        options.SetPollingModeDir(pollingDir.path().toStdString());
        const auto polled = TestCatalog::customize(
            TestCatalog::load(
                TestCatalog::Component("polled").withDisplayName("Polled IP").withVersion("2.0")),
            "polled_1");
        const Ipu::EventData data(Ipu::Task(Ipu::Task::GENERATE, "Generate", false, 0, 0, 0),
                                  Ipu::CustomizedIP(component ? polled : nullptr));
        MessageCapture capture;
        ActionManager::GetInstance()->EngineEvent(En::EngineEventDetails(
            Ipu::Event(Ipu::Event::TYPE_STEP, Ipu::Status(0, message.toStdString()), data)));
        options.EnablePollingMode(false);
        QCOMPARE(TestFiles::read(pollingDir.filePath("gantrel.fin")), answer);
        QCOMPARE(capture.textLines(), said);
    }

    // Runs last: the manager goes, and every action it made goes with it.
    void destructionDeletesActions()
    {
        En::Project& project = openProject();
        QPointer<En::Action> action = project.GetDefaultAction();
        QVERIFY(action);
        delete ActionManager::GetInstance();
        QVERIFY(action.isNull());
        QVERIFY(project.SaveProject());
        QVERIFY(ActionManager::GetInstance()->GetDefaultAction(project));
    }
};

QTEST_MAIN(tst_ActionManager)
#include "tst_actionmanager.moc"
