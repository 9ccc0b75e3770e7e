#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <memory>
#include <thread>
#include <vector>

#include "BusyIndicator.h"
#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_BusyNotificationObject.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "En_ProjectOptionsDlg.h"
#include "Gui_Clip_Mnemonics.h"
#include "Gui_Clip_ParameterDialog.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "MainWindow.h"
#include "Port_MsgManData.h"
#include "Sim_UserSettings.h"
#include "Sim_Utility.h"
#include "TestFiles.h"
#include "WindowDriver.h"
#include "WindowEnvironment.h"
#include "WindowSession.h"

namespace {

En::ProjectManager* Projects()
{
    return En::ProjectManager::GetInstance();
}

En::ActionManager* Actions()
{
    return En::ActionManager::GetInstance();
}

En::Ip Catalogue(const char* key)
{
    return En::Ip(
        boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(key)));
}

QStringList RowTexts(const QModelIndex& index)
{
    QStringList texts;
    for (int column = 0; column < index.model()->columnCount(index.parent()); ++column)
        texts.append(index.siblingAtColumn(column).data().toString());
    return texts;
}

QString Selected(const QTreeView* view)
{
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.size() == 1 ? RowTexts(rows.first()).mid(0, 2).join(u' ') : QString();
}

}  // namespace

class tst_MainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowEnvironment> environment;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<WindowDriver> driver;

    QString output(const QString& name) const { return dir.filePath(name); }
    QTreeView* view(const char* name) const { return driver->View(name); }
    QToolBar* actionBar() const { return window->findChild<QToolBar*>("actionBar"); }

    QStringList toolbarTexts() const
    {
        QStringList texts;
        for (const QAction* action : actionBar()->actions())
            texts.append(action->text());
        return texts;
    }

    // What a user of the catalogue sees: "name version" of every IP row, in tree order.
    QStringList shownIps() const
    {
        QStringList shown;
        const QAbstractItemModel* model = view("catalogueView")->model();
        std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
            for (int row = 0; row < model->rowCount(parent); ++row) {
                const QModelIndex item = model->index(row, 0, parent);
                if (model->hasChildren(item))
                    walk(item);
                else if (!model->index(row, 1, parent).data().toString().isEmpty())
                    shown.append(RowTexts(item).mid(0, 2).join(u' '));
            }
        };
        walk(QModelIndex());
        return shown;
    }

    void clickToolButton(const QString& text)
    {
        for (QAction* action : actionBar()->actions()) {
            if (Gui::Clip::Mnemonics::Stripped(action->text()) == text)
                return qobject_cast<QToolButton*>(actionBar()->widgetForAction(action))->click();
        }
        QFAIL(qPrintable("no tool button " + text + " in " + toolbarTexts().join(", ")));
    }

private slots:
    void initTestCase()
    {
        environment = std::make_unique<WindowEnvironment>();
        Sim::UserSettings::SetOverwriteOutputFiles(false);
        window = std::make_unique<MainWindow>();
        driver = std::make_unique<WindowDriver>(*window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY_WITH_TIMEOUT(WindowSession::CatalogueLoaded(), 20000);
        QVERIFY(driver->Action("newProject")->isEnabled());
    }

    void cleanup() { QCOMPARE(driver->Pending(), 0); }

    void catalogueTreeFilters_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("nothing typed: the tree by taxonomy, versions in order")
            << "" << QStringList{"Binary Counter 1.0",
                                 "Binary Counter 1.1",
                                 "CRC Engine 1.0",
                                 "Clock Synthesizer 2.0",
                                 "Packet MAC (10/100/1000) 1.0",
                                 "UART 1.4",
                                 "FIR Filter (Sylvane) 1.0",
                                 "Adder/Subtracter 1.1",
                                 "Pipelined Multiplier 3.0",
                                 "Single-Port Block RAM 2.0",
                                 "True Dual-Port Block RAM 1.3",
                                 "Dual-Clock FIFO 1.2",
                                 "Synchronous FIFO 1.0",
                                 "Synchronous FIFO 2.1"};
        QTest::newRow("name, any letter case")
            << "COUNTER" << QStringList{"Binary Counter 1.0", "Binary Counter 1.1"};
        QTest::newRow("a folder shows all it holds")
            << "memories"
            << QStringList{"Single-Port Block RAM 2.0", "True Dual-Port Block RAM 1.3",
                           "Dual-Clock FIFO 1.2", "Synchronous FIFO 1.0", "Synchronous FIFO 2.1"};
        QTest::newRow("visible family name")
            << "mistrel lp"
            << QStringList{"Binary Counter 1.1",       "UART 1.4",
                           "FIR Filter (Sylvane) 1.0", "Adder/Subtracter 1.1",
                           "Pipelined Multiplier 3.0", "True Dual-Port Block RAM 1.3",
                           "Dual-Clock FIFO 1.2",      "Synchronous FIFO 2.1"};
        QTest::newRow("status") << "removed"
                                << QStringList{"CRC Engine 1.0", "Synchronous FIFO 1.0"};
        QTest::newRow("version") << "2.1" << QStringList{"Synchronous FIFO 2.1"};
        QTest::newRow("no match") << "no such core" << QStringList{};
    }

    void catalogueTreeFilters()
    {
        QFETCH(QString, search);
        QFETCH(QStringList, shown);
        auto* field = window->findChild<QLineEdit*>("catalogueSearch");
        field->clear();
        QTest::keyClicks(field, search);
        QCOMPARE(shownIps(), shown);
        field->clear();
    }

    // New project, customize and generate with the parameter dialog, regenerate the IP and
    // the project, change the part, save, close, reopen from the recent list: all through
    // the window.
    void session()
    {
        driver->Queue(WindowDriver::ProjectFile(output("board.gtcfg")));
        driver->Action("newProject")->trigger();
        QVERIFY(Projects()->ProjectOpen());
        QCOMPARE(Selected(view("projectView")),
                 QString("board ") +
                     Sim::Utility::PortStringToQString(
                         Projects()->GetProjectOptions()->GetPelPart().GetFullPartName()));
        QVERIFY2(window->windowTitle().contains("board"), qPrintable(window->windowTitle()));

        QTreeView* catalogue = view("catalogueView");
        const QModelIndex counter = driver->Find(catalogue, "Binary Counter", 0, "1.1");
        driver->Click(catalogue, counter);
        QCOMPARE(Selected(catalogue), QString("Binary Counter 1.1"));
        QVERIFY2(toolbarTexts().contains("Customize"), qPrintable(toolbarTexts().join(", ")));
        QCOMPARE(counter.siblingAtColumn(3).data().toString(),
                 QString("Tellara-II, Tellara-III, Korvane, Mistrel LP"));
        // The dialog is asked for while the run blocks the window: only the dialog answers.
        bool refusedWhileAsked = false;
        auto* search = window->findChild<QLineEdit*>("catalogueSearch");
        driver->Queue([&](QWidget* modal) {
            if (qobject_cast<Gui::Clip::ParameterDialog*>(modal) == nullptr)
                return false;
            QTest::keyClicks(search, "x");
            refusedWhileAsked = window->InputRefused() && search->text().isEmpty() &&
                                !driver->Action("saveProject")->isEnabled() && modal->isEnabled();
            return WindowDriver::Parameters("tick", {{"WIDTH", "12"}})(modal);
        });
        QSignalSpy projectIp(Actions(), &En::ActionManager::ProjectIP);
        driver->DoubleClick(catalogue, counter);  // the default action
        QVERIFY(projectIp.wait(20000));
        QVERIFY(refusedWhileAsked);
        QVERIFY(!window->InputRefused());

        QTreeView* project = view("projectView");
        const QModelIndex tick = driver->Find(project, "tick");
        QVERIFY(tick.isValid());
        QCOMPARE(Selected(project), QString("tick Binary Counter"));
        QCOMPARE(RowTexts(tick).mid(0, 4),
                 QStringList({"tick", "Binary Counter", "1.1", "Production"}));
        QVERIFY2(RowTexts(tick)[4].contains(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d at ")),
                 qPrintable(RowTexts(tick)[4]));
        for (const char* file : {"tick.vhd", "tick.vho", "tick.gtc", "tick_flist.txt"})
            QVERIFY2(QFile::exists(output(file)), file);
        QVERIFY(TestFiles::read(output("tick.vhd")).contains("12"));

        // Regenerate the IP from its context menu, both overwrite questions answered yes.
        QFile::remove(output("tick_flist.txt"));
        driver->Queue(WindowDriver::MessageBoxButton(QMessageBox::Yes));
        driver->Queue(WindowDriver::MessageBoxButton(QMessageBox::Yes));
        projectIp.clear();
        QVERIFY(driver->ChooseFromMenu(project, "Regenerate (Under Current Project Setting)"));
        QVERIFY(projectIp.wait(20000));
        QVERIFY(QFile::exists(output("tick_flist.txt")));

        // Regenerate the whole project from the toolbar; the window is free again after.
        driver->Click(project, project->model()->index(0, 0));
        QFile::remove(output("tick_flist.txt"));
        driver->Queue(WindowDriver::MessageBoxButton(QMessageBox::Yes));
        QSignalSpy selectProject(Actions(), &En::ActionManager::SelectProject);
        clickToolButton("Regenerate Project");
        QVERIFY(selectProject.wait(20000));
        QVERIFY(QFile::exists(output("tick_flist.txt")));
        QTRY_VERIFY2(!window->InputRefused() && !window->findChild<BusyIndicator*>()->IsBusy(),
                     qPrintable(window->findChild<BusyIndicator*>()->Message()));

        // The part changes in the project options dialog, opened from the File menu.
        driver->Queue([](QWidget* modal) {
            auto* dialog = qobject_cast<En::ProjectOptionsDlg*>(modal);
            if (dialog == nullptr)
                return false;
            auto* family = dialog->findChild<QComboBox*>("_comboFamily");
            family->setCurrentIndex(family->findText("Korvane"));
            emit family->textActivated(family->currentText());
            dialog->findChild<QPushButton*>("_pbOk")->click();
            return true;
        });
        driver->Action("projectOptions")->trigger();
        QCOMPARE(Projects()->GetProjectOptions()->GetPelPart().GetFamily(),
                 Port::String("korvane"));
        QVERIFY2(RowTexts(project->model()->index(0, 0))[1].startsWith("kv"),
                 qPrintable(RowTexts(project->model()->index(0, 0)).join(' ')));

        Projects()->SetProjectSaveNeeded(true);
        driver->Action("saveProject")->trigger();
        QVERIFY2(!window->windowTitle().contains('*'), qPrintable(window->windowTitle()));
        QVERIFY(TestFiles::read(output("board.gtcfg")).contains("tick"));
        QVERIFY(TestFiles::read(output("board.gtcfg")).contains("korvane"));

        driver->Action("closeProject")->trigger();
        QVERIFY(!Projects()->ProjectOpen());
        QCOMPARE(project->model()->rowCount(), 0);
        QCOMPARE(window->windowTitle(), QString("Pellor Gantrel"));
        QVERIFY(toolbarTexts().isEmpty());

        auto* recent = window->findChild<QMenu*>("recentMenu");
        emit recent->aboutToShow();
        QVERIFY2(recent->actions().first()->text().contains("board"),
                 qPrintable(recent->actions().first()->text()));
        recent->actions().first()->trigger();
        QVERIFY(Projects()->ProjectOpen());
        QVERIFY(driver->Find(project, "tick").isValid());
    }

    // The manager names what to show next; the window selects it and offers its actions.
    void selectionFollowsTheManagers_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("selected");
        QTest::newRow("catalogue entry") << "LibraryIP"
                                         << "pellor:ip:counter_binary:1.0"
                                         << "catalogueView"
                                         << "Binary Counter 1.0";
        QTest::newRow("project IP") << "ProjectIP"
                                    << "tick"
                                    << "projectView"
                                    << "tick Binary Counter";
        QTest::newRow("failed run on a project IP") << "LibraryIP"
                                                    << "tick"
                                                    << "projectView"
                                                    << "tick Binary Counter";
        QTest::newRow("project") << "SelectProject"
                                 << ""
                                 << "projectView"
                                 << "board";
    }

    void selectionFollowsTheManagers()
    {
        QFETCH(QString, signal);
        QFETCH(QString, ip);
        QFETCH(QString, view);
        QFETCH(QString, selected);
        QVERIFY(Projects()->ProjectOpen());
        const En::Ip target = ip.isEmpty()       ? En::Ip()
                              : ip.contains(':') ? Catalogue(qPrintable(ip))
                                                 : Projects()->GetProject()->GetIP(qPrintable(ip));
        if (signal == "LibraryIP")
            emit Actions()->LibraryIP(target);
        else if (signal == "ProjectIP")
            emit Actions()->ProjectIP(target);
        else
            emit Actions()->SelectProject();
        QVERIFY2(Selected(this->view(qPrintable(view))).startsWith(selected),
                 qPrintable(Selected(this->view(qPrintable(view)))));
        QList<QAction*> offered;
        for (En::Action* action : window->CurrentActions())
            offered.append(action);
        QVERIFY(!offered.isEmpty());
        QCOMPARE(actionBar()->actions(), offered);
    }

    // The context menu adds the IP's information below its tasks; each opens its dialog.
    void informationOpensItsDialog_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("catalogue IP's families") << "catalogueView"
                                                 << "Binary Counter"
                                                 << "Supported Families"
                                                 << "En::CompatibilityDlg";
        QTest::newRow("project IP's families") << "projectView"
                                               << "tick"
                                               << "Supported Families"
                                               << "En::CompatibilityDlg";
        QTest::newRow("current options") << "projectView"
                                         << "tick"
                                         << "Current Project Options"
                                         << "En::ProjectOptionsDlg";
        QTest::newRow("original options") << "projectView"
                                          << "tick"
                                          << "Original Project Options"
                                          << "En::ProjectOptionsDlg";
    }

    void informationOpensItsDialog()
    {
        QFETCH(QString, view);
        QFETCH(QString, item);
        QFETCH(QString, entry);
        QFETCH(QString, dialog);
        QTreeView* tree = this->view(qPrintable(view));
        driver->Click(tree, driver->Find(tree, item));
        QString opened;
        driver->Queue([&opened](QWidget* modal) {
            auto* shown = qobject_cast<QDialog*>(modal);
            if (shown == nullptr)
                return false;
            opened = shown->metaObject()->className();
            shown->reject();
            return true;
        });
        QVERIFY(driver->ChooseFromMenu(tree, entry));
        QTRY_COMPARE(opened, dialog);
        QTRY_VERIFY(!window->findChild<BusyIndicator*>()->IsBusy());
    }

    // Steps: "+name" adds a notification, "+!name" a blocking one, "-name" removes it.
    // After each step: "" idle, "name" busy showing it, "name!" also refusing input.
    void busyNotifications_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("states");
        QTest::newRow("catalogue load")
            << "project" << QStringList{"+Loading", "-Loading"} << QStringList{"Loading", ""};
        QTest::newRow("generation blocks") << "action" << QStringList{"+!Generating", "-Generating"}
                                           << QStringList{"Generating!", ""};
        QTest::newRow("blocking over non-blocking")
            << "action" << QStringList{"+Loading", "+!Generating", "-Generating", "-Loading"}
            << QStringList{"Loading", "Generating!", "Loading", ""};
        QTest::newRow("non-blocking ends first")
            << "action" << QStringList{"+!Generating", "+Viewing", "-Viewing", "-Generating"}
            << QStringList{"Generating!", "Viewing!", "Generating!", ""};
        QTest::newRow("removed without being added")
            << "action" << QStringList{"-Stray", "+Loading", "-Stray", "-Loading"}
            << QStringList{"", "Loading", "Loading", ""};
    }

    void busyNotifications()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, states);
        auto* indicator = window->findChild<BusyIndicator*>();
        auto* search = window->findChild<QLineEdit*>("catalogueSearch");
        QMap<QString, En::BusyNotificationObject> live;
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const QString name = steps[i].mid(steps[i].startsWith("+!") ? 2 : 1);
            if (!live.contains(name))
                live.insert(name, En::BusyNotificationObject(name, steps[i].startsWith("+!")));
            const En::BusyNotificationObject notification = live.value(name);
            const bool add = steps[i].startsWith('+');
            if (source == "project")
                emit add ? Projects()->AddBusyNotification(notification)
                         : Projects()->RemoveBusyNotification(notification);
            else
                emit add ? Actions()->AddBusyNotification(notification)
                         : Actions()->RemoveBusyNotification(notification);
            const QString state = states[i];
            const bool refused = state.endsWith('!');
            const QString shown = refused ? state.chopped(1) : state;
            search->clear();
            QTest::keyClicks(search, "q");
            QVERIFY2(indicator->IsBusy() == !shown.isEmpty() && indicator->Message() == shown &&
                         window->InputRefused() == refused && search->text().isEmpty() == refused &&
                         driver->Action("newProject")->isEnabled() == !refused,
                     qPrintable(QString("after %1: %2").arg(steps[i], indicator->Message())));
        }
        search->clear();
    }

    void messagesReachTheDock_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("highlighted");
        QTest::newRow("error") << int(Port_MsgManData::Error) << "ERROR" << true;
        QTest::newRow("warning") << int(Port_MsgManData::Warning) << "WARNING" << true;
        QTest::newRow("information") << int(Port_MsgManData::Info) << "INFO" << false;
        QTest::newRow("status") << int(Port_MsgManData::Status) << "STATUS" << false;
    }

    // From three worker threads at once: every line arrives, each thread's in order, shown
    // and copied as on stderr.
    void messagesReachTheDock()
    {
        QFETCH(int, kind);
        QFETCH(QString, prefix);
        QFETCH(bool, highlighted);
        auto* list = window->findChild<QListWidget*>("messageList");
        QCoreApplication::processEvents();  // what earlier tests issued
        list->clear();
        constexpr int kThreads = 3, kEach = 50;
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([kind, t] {
                const auto message = Port_MsgManData::createObject("test", "tst_mainwindow", 1);
                for (int i = 0; i < kEach; ++i) {
                    if (kind == Port_MsgManData::Error)
                        message.issueError("thread %d line %d\n", t, i);
                    else if (kind == Port_MsgManData::Warning)
                        message.issueWarning("thread %d line %d\n", t, i);
                    else if (kind == Port_MsgManData::Info)
                        message.issueInfo("thread %d line %d\n", t, i);
                    else
                        message.issueStatus("thread %d line %d\n", t, i);
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        QTRY_COMPARE(list->count(), kThreads * kEach);
        QList<int> next(kThreads, 0);
        QStringList lines;
        const QRegularExpression line(prefix + ":test:tst_mainwindow - thread (\\d) line (\\d+)");
        for (int row = 0; row < list->count(); ++row) {
            const QListWidgetItem* item = list->item(row);
            const QRegularExpressionMatch match = line.match(item->text());
            QVERIFY2(match.hasMatch(), qPrintable(item->text()));
            const int thread = match.captured(1).toInt();
            QCOMPARE(match.captured(2).toInt(), next[thread]++);
            const bool plain = item->foreground().color() == list->palette().color(QPalette::Text);
            QCOMPARE(!plain, highlighted);
            lines.append(item->text());
        }
        list->clearSelection();
        QApplication::clipboard()->clear();
        window->activateWindow();
        list->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keySequence(list, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), lines.join('\n') + '\n');
    }

    // The geometry comes back, and with the setting on, so does the previous project.
    void restartKeepsGeometryAndProject()
    {
        const QRect geometry(60, 40, 700, 520);
        window->setGeometry(geometry);
        QVERIFY(window->close());
        driver.reset();
        window.reset();
        Sim::UserSettings::SetOpenPreviousProject(true);
        Projects()->CloseProject();
        window = std::make_unique<MainWindow>();
        driver = std::make_unique<WindowDriver>(*window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->geometry(), geometry);
        QTRY_VERIFY(Projects()->ProjectOpen());
        QCOMPARE(Projects()->GetProject()->GetName(), QString("board"));
        QVERIFY(driver->Find(view("projectView"), "tick").isValid());
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
