#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMetaMethod>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <boost/pointer_cast.hpp>

#include "En_ActionManager.h"
#include "En_ActionManager_p.h"
#include "En_CompatibilityDlg.h"
#include "En_ProjectManager.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Task.h"
#include "Ipu_TaskMutexSingleton.h"
#include "ModalCloser.h"
#include "Sim_FamilySupport.h"
#include "TestEnvironment.h"

using En::CompatibilityDlg;

namespace {

// Parts written "family/device/package/grade".
Ipu::PelPartList Parts(const QStringList& written)
{
    Ipu::PelPartList parts;
    for (const QString& part : written) {
        const QStringList fields = part.split('/');
        parts.emplace_back(fields[0].toStdString(), fields[1].toStdString(),
                           fields[2].toStdString(), fields[3].toStdString());
    }
    return parts;
}

QStringList Texts(const QListWidget* list, bool visibleOnly = false)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        if (!visibleOnly || !list->item(i)->isHidden())
            texts << list->item(i)->text();
    }
    return texts;
}

QListWidget* List(const CompatibilityDlg& dialog, const QString& name)
{
    return dialog.findChild<QListWidget*>(name);
}

// Two families, with one part that the project uses (tl3c100gb256-2).
const QStringList kParts{"tellara3/tl3c100/gb256/-2", "tellara3/tl3c100/gb256/-3",
                         "tellara3/tl3c50/qf144/-1",  "korvane/kv20/qf144/-6",
                         "korvane/kv20/cx132/-7",     "korvane/kv10/wl49/-6"};

}  // namespace

class tst_CompatibilityDlg : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> environment;
    QTemporaryDir dir;

    // One user step: "select:<list>=<text>[,<text>...]" selects exactly those items (none
    // for an empty text), "current:<text>" makes a compatible part current and selected,
    // "click:<button>".
    static void Act(CompatibilityDlg& dialog, const QString& action)
    {
        const QString verb = action.section(':', 0, 0);
        const QString target = action.section(':', 1).section('=', 0, 0);
        if (verb == "select") {
            QListWidget* list = List(dialog, target);
            const QStringList wanted = action.section('=', 1).split(',', Qt::SkipEmptyParts);
            QItemSelection selection;
            for (const QString& text : wanted) {
                const QModelIndex index = list->indexFromItem(list->findItems(text, {})[0]);
                selection.select(index, index);
            }
            list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        } else if (verb == "current") {
            QListWidget* list = List(dialog, "_lwCompatible");
            list->setCurrentItem(list->findItems(target, {})[0]);
        } else if (verb == "click") {
            dialog.findChild<QPushButton*>(target)->click();
        }
    }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<TestEnvironment>();
        TestEnvironment::useShippedData();
        QCOMPARE(Sim::FamilySupport::Refresh(), 0u);
        QVERIFY(TestEnvironment::waitForCatalog());
    }

    // Before any project: the label says so and nothing can be applied.
    void withoutProject()
    {
        CompatibilityDlg dialog;
        QCOMPARE(dialog.findChild<QLabel*>("_tlCurrent")->text(), QString("Current part: none"));
        dialog.setData(Parts(kParts));
        ModalCloser closer;
        Act(dialog, "current:kv10wl49-6");
        QVERIFY(!dialog.findChild<QPushButton*>("_pbCurrent")->isEnabled());
        QMetaObject::invokeMethod(&dialog, "setPartType");
        QCOMPARE(closer.seen, QStringList{"No project open."});
        QVERIFY(!En::ProjectManager::GetInstance()->ProjectOpen());
        QCOMPARE(En::ProjectManager::GetInstance()->NewProject(
                     dir.filePath("board.gtcfg").toStdString()),
                 0u);
    }

    void form()
    {
        CompatibilityDlg dialog;
        QCOMPARE(dialog.metaObject()->className(), "En::CompatibilityDlg");
        QCOMPARE(dialog.windowTitle(), QString("Supported Families"));
        QCOMPARE(dialog.size(), QSize(393, 465));
        QVERIFY(dialog.isSizeGripEnabled());
        QVERIFY(List(dialog, "_lwCompatible")->isSortingEnabled());
        QCOMPARE(List(dialog, "_lwCompatible")->selectionMode(),
                 QAbstractItemView::SingleSelection);
        QCOMPARE(List(dialog, "_lwPackage")->selectionMode(), QAbstractItemView::ExtendedSelection);
        QStringList texts;
        for (const char* name : {"_tlFamily", "label_3", "label_4", "label"})
            texts << dialog.findChild<QLabel*>(name)->text();
        for (const char* name : {"_pbCurrent", "_pbOK", "_pbHelp"})
            texts << dialog.findChild<QPushButton*>(name)->text();
        QCOMPARE(texts, QStringList({"Family", "Part", "Package",
                                     "The following parts are compatible with this ip:",
                                     "&Set as current part", "&Close", "&Help"}));
        QVERIFY(!dialog.findChild<QPushButton*>("_pbCurrent")->isEnabled());

        const QMetaObject& meta = CompatibilityDlg::staticMetaObject;
        QList<QByteArray> methods;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            QCOMPARE(meta.method(i).methodType(), QMetaMethod::Slot);
            methods << meta.method(i).methodSignature();
        }
        QCOMPARE(methods, QList<QByteArray>({"setName(QString)", "setData(Ipu::PelPartList)",
                                             "setIP(En::Ip)", "setCannotChangePart(bool)",
                                             "setPartType()", "Help()",
                                             "CompatibleLWChanged(QListWidgetItem*,"
                                             "QListWidgetItem*)",
                                             "FamilyFilterChanged()", "DeviceFilterChanged()",
                                             "PackageFilterChanged()", "updatePart()"}));
        // The slots take the part list by its name, as a queued or by-name call passes it.
        QVERIFY(
            QMetaObject::invokeMethod(&dialog, "setData", Q_ARG(Ipu::PelPartList, Parts(kParts))));
        QCOMPARE(List(dialog, "_lwCompatible")->count(), kParts.size());
    }

    void setData_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QStringList>("compatible");
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QStringList>("packages");
        QTest::newRow("one device, two packages")
            << QStringList{"tellara2/tl2x50/qf144/-4", "tellara2/tl2x50/qf100/-4"}
            << QStringList{"tl2x50qf100-4", "tl2x50qf144-4"} << QStringList{"tellara2"}
            << QStringList{"tl2x50"} << QStringList{"qf100", "qf144"};
        QTest::newRow("texts differing in case are kept apart")
            << QStringList{"tellara2/TL2X50/qf144/-4", "tellara2/tl2x50/qf144/-5"}
            << QStringList{"TL2X50qf144-4", "tl2x50qf144-5"} << QStringList{"tellara2"}
            << QStringList{"TL2X50", "tl2x50"} << QStringList{"qf144"};
        QTest::newRow("every list sorted")
            << kParts << QStringList{"kv10wl49-6",     "kv20cx132-7",    "kv20qf144-6",
                                     "tl3c100gb256-2", "tl3c100gb256-3", "tl3c50qf144-1"}
            << QStringList{"korvane", "tellara3"}
            << QStringList{"kv10", "kv20", "tl3c100", "tl3c50"}
            << QStringList{"cx132", "gb256", "qf144", "wl49"};
        QTest::newRow("empty") << QStringList() << QStringList() << QStringList() << QStringList()
                               << QStringList();
    }

    void setData()
    {
        QFETCH(QStringList, parts);
        QFETCH(QStringList, compatible);
        QFETCH(QStringList, families);
        QFETCH(QStringList, devices);
        QFETCH(QStringList, packages);
        CompatibilityDlg dialog;
        dialog.setData(Parts(kParts));
        dialog.setData(Parts(parts));
        QCOMPARE(Texts(List(dialog, "_lwCompatible")), compatible);
        QCOMPARE(Texts(List(dialog, "_lwFamily")), families);
        QCOMPARE(Texts(List(dialog, "_lwDevice")), devices);
        QCOMPARE(Texts(List(dialog, "_lwPackage")), packages);
    }

    // selections: what stays selected in the device and package lists, and whether a
    // compatible part does.
    void filters_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("compatible");
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QStringList>("packages");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("current");
        const QStringList everyPart{"kv10wl49-6",     "kv20cx132-7",    "kv20qf144-6",
                                    "tl3c100gb256-2", "tl3c100gb256-3", "tl3c50qf144-1"};
        const QStringList everyDevice{"kv10", "kv20", "tl3c100", "tl3c50"};
        const QStringList everyPackage{"cx132", "gb256", "qf144", "wl49"};
        QTest::newRow("nothing selected shows every part")
            << QStringList{"select:_lwFamily=korvane", "select:_lwFamily="} << everyPart
            << everyDevice << everyPackage << "" << false;
        QTest::newRow("a family hides the devices and packages of the others")
            << QStringList{"select:_lwFamily=tellara3"}
            << QStringList{"tl3c100gb256-2", "tl3c100gb256-3", "tl3c50qf144-1"}
            << QStringList{"tl3c100", "tl3c50"} << QStringList{"gb256", "qf144"} << "" << false;
        QTest::newRow("a family clears the device and package selection")
            << QStringList{"select:_lwDevice=kv20", "select:_lwPackage=qf144",
                           "select:_lwFamily=korvane"}
            << QStringList{"kv10wl49-6", "kv20cx132-7", "kv20qf144-6"}
            << QStringList{"kv10", "kv20"} << QStringList{"cx132", "qf144", "wl49"} << "" << false;
        QTest::newRow("device then package narrow within the family")
            << QStringList{"select:_lwFamily=korvane", "select:_lwDevice=kv20",
                           "select:_lwPackage=qf144"}
            << QStringList{"kv20qf144-6"} << QStringList{"kv10", "kv20"}
            << QStringList{"cx132", "qf144"} << "" << false;
        QTest::newRow("several families")
            << QStringList{"select:_lwFamily=korvane,tellara3", "select:_lwPackage=qf144"}
            << QStringList{"kv20qf144-6", "tl3c50qf144-1"} << everyDevice << everyPackage << ""
            << false;
        QTest::newRow("a visible selected part stays selected")
            << QStringList{"current:kv20qf144-6", "select:_lwFamily=korvane"}
            << QStringList{"kv10wl49-6", "kv20cx132-7", "kv20qf144-6"}
            << QStringList{"kv10", "kv20"} << QStringList{"cx132", "qf144", "wl49"} << "kv20qf144-6"
            << true;
        QTest::newRow("hiding the selected part clears the selection")
            << QStringList{"current:kv20qf144-6", "select:_lwFamily=tellara3"}
            << QStringList{"tl3c100gb256-2", "tl3c100gb256-3", "tl3c50qf144-1"}
            << QStringList{"tl3c100", "tl3c50"} << QStringList{"gb256", "qf144"} << "" << false;
    }

    void filters()
    {
        QFETCH(QStringList, actions);
        QFETCH(QStringList, compatible);
        QFETCH(QStringList, devices);
        QFETCH(QStringList, packages);
        QFETCH(QString, selected);
        QFETCH(bool, current);
        CompatibilityDlg dialog;
        dialog.setData(Parts(kParts));
        for (const QString& action : actions)
            Act(dialog, action);
        QCOMPARE(Texts(List(dialog, "_lwCompatible"), true), compatible);
        QCOMPARE(Texts(List(dialog, "_lwDevice"), true), devices);
        QCOMPARE(Texts(List(dialog, "_lwPackage"), true), packages);
        const QList<QListWidgetItem*> chosen = List(dialog, "_lwCompatible")->selectedItems();
        QCOMPARE(chosen.isEmpty() ? QString() : chosen[0]->text(), selected);
        QCOMPARE(dialog.findChild<QPushButton*>("_pbCurrent")->isEnabled(), current);
        if (actions.last().startsWith("select:_lwFamily")) {
            QVERIFY(List(dialog, "_lwDevice")->selectedItems().isEmpty());
            QVERIFY(List(dialog, "_lwPackage")->selectedItems().isEmpty());
        }
    }

    // The project's part is tl3c100gb256-2 in each row; applied: its part afterwards.
    void applyPart_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<bool>("taskLocked");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QString>("applied");
        QTest::newRow("the current part cannot be applied again")
            << QStringList{"current:tl3c100gb256-2"} << false << false << QStringList()
            << "tellara3/tl3c100/gb256/-2";
        QTest::newRow("a task holding the lock keeps the button off")
            << QStringList{"current:kv20cx132-7"} << true << false << QStringList()
            << "tellara3/tl3c100/gb256/-2";
        QTest::newRow("applying rewrites the whole part")
            << QStringList{"current:kv20cx132-7", "click:_pbCurrent"} << false << false
            << QStringList() << "korvane/kv20/cx132/-7";
        QTest::newRow("nothing selected") << QStringList{"click:_pbCurrent"} << false << false
                                          << QStringList{"Nothing Selected. Please select a part."}
                                          << "tellara3/tl3c100/gb256/-2";
    }

    void applyPart()
    {
        QFETCH(QStringList, actions);
        QFETCH(bool, taskLocked);
        QFETCH(bool, enabled);
        QFETCH(QStringList, warnings);
        QFETCH(QString, applied);
        En::ProjectManager* manager = En::ProjectManager::GetInstance();
        Ipu::ProjectOptions options = *manager->GetProjectOptions();
        options.SetDeviceFamily("tellara3");
        options.SetDevice("tl3c100");
        options.SetPackage("gb256");
        options.SetSpeedGrade("-2");
        QCOMPARE(manager->SetProjectOptions(options), 0u);
        CompatibilityDlg dialog;
        dialog.setData(Parts(kParts));
        auto* label = dialog.findChild<QLabel*>("_tlCurrent");
        QCOMPARE(label->text(), QString("Current part: tl3c100gb256-2"));
        if (taskLocked)
            QVERIFY(Ipu::TaskMutexSingleton::TryLock("generation"));
        ModalCloser closer;
        for (const QString& action : actions) {
            // The button is pressed whatever its state, as the slot can be reached directly.
            if (action == "click:_pbCurrent")
                QMetaObject::invokeMethod(&dialog, "setPartType");
            else
                Act(dialog, action);
        }
        if (taskLocked)
            QVERIFY(Ipu::TaskMutexSingleton::Unlock());
        QCOMPARE(closer.seen, warnings);
        QCOMPARE(dialog.findChild<QPushButton*>("_pbCurrent")->isEnabled(), enabled);
        const Ipu::PelPart part = manager->GetProjectOptions()->GetPelPart();
        QCOMPARE(
            QString::fromStdString(part.GetFamily().str() + "/" + part.GetDevice().str() + "/" +
                                   part.GetPackage().str() + "/" + part.GetSpeedGrade().str()),
            applied);
        QCOMPARE(label->text(),
                 "Current part: " + QString::fromStdString(part.GetFullPartName().str()));
    }

    void buttonFollowsTheLockSignal()
    {
        CompatibilityDlg dialog;
        auto* button = dialog.findChild<QPushButton*>("_pbCurrent");
        emit En::ActionManager::GetInstance()->MutexStateChange(true);
        QVERIFY(button->isHidden());
        emit En::ActionManager::GetInstance()->MutexStateChange(false);
        QVERIFY(!button->isHidden());
    }

    void setIP_data()
    {
        QTest::addColumn<QString>("key");  // empty: an IP without a component
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<int>("parts");
        QTest::newRow("catalogue IP")
            << "pellor:ip:counter_binary:1.0"
            << "<h2>Binary Counter</h2>" << QStringList{"korvane", "tellara2", "tellara3"} << 123;
        QTest::newRow("no component leaves the lists") << ""
                                                       << "<h2></h2>" << QStringList() << 0;
    }

    void setIP()
    {
        QFETCH(QString, key);
        QFETCH(QString, title);
        QFETCH(QStringList, families);
        QFETCH(int, parts);
        En::Ip ip(boost::dynamic_pointer_cast<Ipu::IPComponent>(
            Ipu::ElementIndex::GetElement(key.toStdString())));
        CompatibilityDlg dialog;
        dialog.setIP(ip);
        QCOMPARE(dialog.findChild<QLabel*>("_tlTitle")->text(), title);
        QCOMPARE(Texts(List(dialog, "_lwFamily")), families);
        QCOMPARE(List(dialog, "_lwCompatible")->count(), parts);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        dialog.setName("A <b>bold</b> & name");
        QCOMPARE(dialog.findChild<QLabel*>("_tlTitle")->text(),
                 QString("<h2>A &lt;b&gt;bold&lt;/b&gt; &amp; name</h2>"));
    }

    void dispatchOpensTheDialog()
    {
        En::Ip ip(boost::dynamic_pointer_cast<Ipu::IPComponent>(
            Ipu::ElementIndex::GetElement("pellor:ip:counter_binary:1.0")));
        QSignalSpy update(En::ActionManager::GetInstance(), &En::ActionManager::Update);
        QString title;
        ModalCloser closer(
            [&](QWidget* modal) { title = modal->findChild<QLabel*>("_tlTitle")->text(); });
        Ipu::Task task(Ipu::Task::SUPPORTED_FAMILIES, "Supported Families", false, 0,
                       Ipu::Task::IPTYPE_ANY, Ipu::Task::FAMILYDEPENDENCE_INDEPENDENT);
        QCOMPARE(En::ActionManagerSeam::DoTask(ip, task), 0u);
        QCOMPARE(closer.seen, QStringList{"En::CompatibilityDlg"});
        QCOMPARE(title, QString("<h2>Binary Counter</h2>"));
        QVERIFY(!update.isEmpty());
    }
};

QTEST_MAIN(tst_CompatibilityDlg)
#include "tst_compatibilitydlg.moc"
