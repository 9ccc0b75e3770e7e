// Takes the screenshots of docs/images: the main window with a project holding generated
// IPs, and the dialogs a user meets on the way (parameters, project options, supported
// families). scripts/screenshots runs it under Xvfb.
#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <cstdio>
#include <functional>

#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_CompatibilityDlg.h"
#include "En_ProjectManager.h"
#include "En_ProjectOptionsDlg.h"
#include "Gui_Clip_ParameterDialog.h"
#include "Ipu_Task.h"
#include "MainWindow.h"
#include "Sim_UserSettings.h"
#include "Sim_Utility.h"
#include "WindowDriver.h"
#include "WindowEnvironment.h"
#include "WindowSession.h"

namespace {

bool Save(QWidget* widget, const QString& file)
{
    const bool saved = widget->grab().save(file);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved;
}

// Customizes the catalogue IP through the parameter dialog, saving a picture of the dialog
// first when shot names a file.
bool Customize(MainWindow& window, WindowDriver& driver, const QString& ip, const QString& version,
               const QString& name, const QList<QPair<QString, QString>>& values,
               const QString& shot)
{
    QTreeView* catalogue = driver.View(QStringLiteral("catalogueView"));
    const QModelIndex row = driver.Find(catalogue, ip, 0, version);
    if (!row.isValid())
        return false;
    driver.Queue([=](QWidget* modal) {
        auto* dialog = qobject_cast<Gui::Clip::ParameterDialog*>(modal);
        if (dialog == nullptr)
            return false;
        WindowDriver::Fill(dialog, name, values);
        if (!shot.isEmpty())
            Save(dialog, shot);
        return WindowDriver::Parameters(name, values)(modal);
    });
    QSignalSpy done(En::ActionManager::GetInstance(), &En::ActionManager::ProjectIP);
    driver.DoubleClick(catalogue, row);
    return done.wait(30000) && window.isVisible();
}

// Opens a dialog through trigger and saves a picture of it, then closes it unchanged.
template <typename Dialog>
bool Shoot(WindowDriver& driver, const std::function<void()>& trigger, const QString& shot)
{
    bool saved = false;
    driver.Queue([&saved, shot](QWidget* modal) {
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (dialog == nullptr)
            return false;
        saved = Save(dialog, shot);
        dialog->reject();
        return true;
    });
    trigger();
    return saved;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gantrel_screenshots DIRECTORY\n");
        return 2;
    }
    const QDir out(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    WindowEnvironment environment;
    Sim::UserSettings::SetOverwriteOutputFiles(true);
    QTemporaryDir work;
    MainWindow window;
    WindowDriver driver(window);
    window.resize(1180, 760);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) ||
        !QTest::qWaitFor([] { return WindowSession::CatalogueLoaded(); }, 30000))
        return 1;
    En::ProjectManager::GetInstance()->NewProject(
        Sim::Utility::QStringToPortString(work.filePath("demo/demo.gtcfg")));
    const bool made =
        Customize(window, driver, "Binary Counter", "1.1", "tick_counter",
                  {{"WIDTH", "12"}, {"DIRECTION", "Up/Down"}},
                  out.filePath("parameter-dialog.png")) &&
        Customize(window, driver, "Dual-Clock FIFO", "1.2", "rx_fifo", {}, QString()) &&
        Customize(window, driver, "UART", "1.4", "console_uart", {}, QString());
    if (!made) {
        std::fprintf(stderr, "the IPs could not be generated\n");
        return 1;
    }
    QTreeView* project = driver.View(QStringLiteral("projectView"));
    driver.Click(project, driver.Find(project, QStringLiteral("tick_counter")));
    const auto supportedFamilies = [&window] {
        const QString task = QString::fromLatin1(Ipu::Task::SUPPORTED_FAMILIES).toUpper();
        for (En::Action* action : window.CurrentInformationActions()) {
            if (action->internalName().toUpper() == task)
                action->trigger();
        }
    };
    if (!Shoot<En::ProjectOptionsDlg>(
            driver, [&driver] { driver.Action(QStringLiteral("projectOptions"))->trigger(); },
            out.filePath("project-options-dialog.png")) ||
        !Shoot<En::CompatibilityDlg>(driver, supportedFamilies,
                                     out.filePath("compatibility-dialog.png")))
        return 1;
    driver.View(QStringLiteral("catalogueView"))->scrollToTop();
    QTest::qWait(200);
    return Save(&window, out.filePath("main-window.png")) ? 0 : 1;
}
