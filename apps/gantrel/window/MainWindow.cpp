#include "MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "ActionMenu.h"
#include "BusyIndicator.h"
#include "CataloguePanel.h"
#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_Global.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "Gui_Clip_HelpManager.h"
#include "Ipu_Keyword.h"
#include "Ipu_Legacy.h"
#include "Ipu_Task.h"
#include "MessageDock.h"
#include "Port_MsgManData.h"
#include "ProjectPanel.h"
#include "Sim_Utility.h"
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

Port::String ToPort(const QString& text)
{
    return Sim::Utility::QStringToPortString(text);
}

// The window's own place in the user settings, beside the library's keys.
QSettings Settings()
{
    return QSettings(QStringLiteral("Pellor"), QStringLiteral("Gantrel"));
}

QString Extensions()
{
    return QStringLiteral("*.%1 *.%2 *.%3")
        .arg(QLatin1String(Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION),
             QLatin1String(Ipu::Legacy::PROJECT_FILE_EXTENSION),
             QLatin1String(Ipu::Legacy::DEPRECATED_PROJECT_FILE_EXTENSION));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , catalogue(new CataloguePanel)
    , project(new ProjectPanel)
    , splitter(new QSplitter(Qt::Horizontal))
    , messages(new MessageDock(this))
    , busy(new BusyIndicator)
{
    WindowSession::Start();
    setObjectName(QStringLiteral("mainWindow"));
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(catalogue);
    splitter->addWidget(project);
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);
    addDockWidget(Qt::BottomDockWidgetArea, messages);
    statusBar()->addPermanentWidget(busy);
    CreateActions();
    CreateMenus();
    CreateToolBars();
    ConnectManagers();
    ReadSettings();
    ProjectChanged();
    // Opening the previous project waits for the catalogue its IPs come from.
    if (WindowSession::CatalogueLoaded())
        QTimer::singleShot(0, this, &MainWindow::CatalogueLoaded);
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateActions()
{
    const auto make = [this](const QString& text, const char* name, QKeySequence::StandardKey key,
                             auto slot) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        if (key != QKeySequence::UnknownKey)
            action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    newAction =
        make(tr("&New Project..."), "newProject", QKeySequence::New, &MainWindow::NewProject);
    openAction =
        make(tr("&Open Project..."), "openProject", QKeySequence::Open, &MainWindow::OpenProject);
    saveAction = make(tr("&Save Project"), "saveProject", QKeySequence::Save,
                      [] { Projects()->SaveProject(); });
    closeAction =
        make(tr("&Close Project"), "closeProject", QKeySequence::Close, &MainWindow::CloseProject);
    optionsAction = make(tr("&Project Options..."), "projectOptions", QKeySequence::UnknownKey,
                         [this] { TriggerProjectTask(Ipu::Task::CHANGE_PROJECT_OPTIONS); });
    importAction = make(tr("&Import Customized IP..."), "importIp", QKeySequence::UnknownKey,
                        [this] { TriggerProjectTask(Ipu::Task::IMPORT_GTC_FILE); });
    exitAction = make(tr("E&xit"), "exit", QKeySequence::Quit, &QWidget::close);
    helpAction = make(tr("&Contents"), "help", QKeySequence::HelpContents, &MainWindow::ShowHelp);
    aboutAction = make(tr("&About Pellor Gantrel"), "about", QKeySequence::UnknownKey,
                       &MainWindow::ShowAbout);
    newAction->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    openAction->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    saveAction->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
}

void MainWindow::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addActions({newAction, openAction, saveAction, closeAction});
    recentMenu = file->addMenu(tr("&Recent Projects"));
    recentMenu->setObjectName(QStringLiteral("recentMenu"));
    connect(recentMenu, &QMenu::aboutToShow, this, &MainWindow::FillRecentMenu);
    file->addSeparator();
    file->addActions({optionsAction, importAction});
    file->addSeparator();
    file->addAction(exitAction);
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    QAction* showMessages = messages->toggleViewAction();
    showMessages->setText(tr("&Messages"));
    view->addAction(showMessages);
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    help->addActions({helpAction, aboutAction});
}

void MainWindow::CreateToolBars()
{
    fileBar = addToolBar(tr("File"));
    fileBar->setObjectName(QStringLiteral("fileBar"));
    fileBar->addActions({newAction, openAction, saveAction});
    actionBar = addToolBar(tr("Actions"));
    actionBar->setObjectName(QStringLiteral("actionBar"));
    actionBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu"));
    QAction* showFile = fileBar->toggleViewAction();
    showFile->setText(tr("&File Toolbar"));
    QAction* showActions = actionBar->toggleViewAction();
    showActions->setText(tr("&Actions Toolbar"));
    view->addActions({showFile, showActions});
}

void MainWindow::ConnectManagers()
{
    En::ProjectManager* projects = Projects();
    En::ActionManager* actions = Actions();
    connect(projects, &En::ProjectManager::RepositoryRefreshed, this, &MainWindow::CatalogueLoaded);
    connect(projects, &En::ProjectManager::ProjectStateHasChanged, this,
            &MainWindow::ProjectChanged);
    connect(projects, &En::ProjectManager::ProjectOptionsChanged, this, [this] {
        ProjectChanged();
        catalogue->RefreshStatus();
    });
    connect(projects, &En::ProjectManager::SelectIP, this, &MainWindow::SelectProjectIp);
    connect(projects, &En::ProjectManager::SelectProject, this, &MainWindow::SelectProject);
    connect(actions, &En::ActionManager::ProjectIP, this, &MainWindow::SelectProjectIp);
    connect(actions, &En::ActionManager::LibraryIP, this, &MainWindow::SelectLibraryIp);
    connect(actions, &En::ActionManager::SelectProject, this, &MainWindow::SelectProject);
    connect(actions, &En::ActionManager::Update, this, &MainWindow::RefreshActions);
    connect(projects, &En::ProjectManager::AddBusyNotification, busy, &BusyIndicator::Add);
    connect(projects, &En::ProjectManager::RemoveBusyNotification, busy, &BusyIndicator::Remove);
    connect(actions, &En::ActionManager::AddBusyNotification, busy, &BusyIndicator::Add);
    connect(actions, &En::ActionManager::RemoveBusyNotification, busy, &BusyIndicator::Remove);
    connect(busy, &BusyIndicator::BlockingChanged, this, &MainWindow::RefuseInput);
    connect(catalogue, &CataloguePanel::CurrentIpChanged, this,
            &MainWindow::CatalogueSelectionChanged);
    connect(catalogue, &CataloguePanel::IpActivated, this,
            [this](En::Ip ip) { RunDefault(Actions()->GetDefaultAction(ip)); });
    connect(catalogue, &CataloguePanel::IpMenuRequested, this,
            [this](const En::Ip&, const QPoint& at) { ShowActionMenu(at); });
    connect(project, &ProjectPanel::SelectionChanged, this, &MainWindow::ProjectSelectionChanged);
    connect(project, &ProjectPanel::Activated, this,
            [this](const En::Ip&) { RunDefault(CurrentDefaultAction()); });
    connect(project, &ProjectPanel::MenuRequested, this,
            [this](const En::Ip&, const QPoint& at) { ShowActionMenu(at); });
}

void MainWindow::ReadSettings()
{
    QSettings settings = Settings();
    settings.beginGroup(QStringLiteral("MainWindow"));
    if (!restoreGeometry(settings.value(QStringLiteral("geometry")).toByteArray())) {
        const QSize screen = QGuiApplication::primaryScreen()->availableSize();
        resize(screen.width() * 3 / 4, screen.height() * 3 / 4);
    }
    // The messages take a fifth of the height until the user says otherwise.
    if (!restoreState(settings.value(QStringLiteral("state")).toByteArray()))
        resizeDocks({messages}, {height() / 5}, Qt::Vertical);
    if (!splitter->restoreState(settings.value(QStringLiteral("splitter")).toByteArray()))
        splitter->setSizes({width() / 2, width() / 2});
}

void MainWindow::WriteSettings() const
{
    QSettings settings = Settings();
    settings.beginGroup(QStringLiteral("MainWindow"));
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    settings.setValue(QStringLiteral("state"), saveState());
    settings.setValue(QStringLiteral("splitter"), splitter->saveState());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The engine's workers would be cut off mid-run; the blocking task ends first.
    if (busy->IsBlocking()) {
        statusBar()->showMessage(tr("Wait for \"%1\" to finish.").arg(busy->Message()), 5000);
        event->ignore();
        return;
    }
    if (!MaySetProjectAside()) {
        event->ignore();
        return;
    }
    WriteSettings();
    event->accept();
}

void MainWindow::NewProject()
{
    if (!MaySetProjectAside())
        return;
    const QString file = AskForProjectFile(true);
    if (!file.isEmpty())
        Projects()->NewProject(ToPort(file));
}

void MainWindow::OpenProject()
{
    if (!MaySetProjectAside())
        return;
    const QString file = AskForProjectFile(false);
    if (!file.isEmpty())
        Projects()->SetProject(ToPort(file));
}

void MainWindow::OpenRecentProject(const QString& file)
{
    if (MaySetProjectAside())
        Projects()->SetProject(ToPort(QFileInfo(file).absoluteFilePath()));
}

void MainWindow::CloseProject()
{
    if (MaySetProjectAside())
        Projects()->CloseProject();
}

bool MainWindow::MaySetProjectAside()
{
    En::ProjectManager* projects = Projects();
    if (!projects->ProjectOpen() || !projects->ProjectSaveNeeded())
        return true;
    const auto answer = QMessageBox::question(
        this, tr("Unsaved Changes"),
        tr("The project %1 has changes that are not saved. Save them?")
            .arg(projects->GetProject()->GetName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::Discard || projects->SaveProject() == 0;
}

// The directory of the open or the previous project, else the user's home.
QString MainWindow::AskForProjectFile(bool create)
{
    QString directory = QDir::homePath();
    const QString previous = Projects()->ProjectOpen() ? Projects()->GetProject()->GetFileName()
                                                       : Projects()->GetPreviousProjectName();
    if (!previous.isEmpty() && QFileInfo(previous).absoluteDir().exists())
        directory = QFileInfo(previous).absolutePath();
    QFileDialog dialog(this, create ? tr("New Project") : tr("Open Project"), directory);
    dialog.setObjectName(QStringLiteral("projectFileDialog"));
    if (create) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(
            QLatin1String(Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION));
        dialog.setNameFilter(
            tr("Projects (*.%1)")
                .arg(QLatin1String(Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION)));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters({tr("Projects (%1)").arg(Extensions()), tr("All Files (*)")});
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
}

void MainWindow::TriggerProjectTask(const char* task)
{
    En::Action* action = ProjectAction(task);
    if (action != nullptr && action->isEnabled())
        action->trigger();
}

En::Action* MainWindow::ProjectAction(const char* task) const
{
    const boost::shared_ptr<En::Project> open = Projects()->GetProject();
    if (!open || !open->IsEnabled())
        return nullptr;
    return Actions()->GetActionMap(*open).value(QString::fromLatin1(task).toUpper());
}

void MainWindow::ShowHelp()
{
    Gui::Clip::HelpManager* help = Gui::Clip::HelpManager::getInstance();
    if (help == nullptr ||
        !help->showHelpTopic(En::Global::HELP_MAP, QStringLiteral("gt-help-index"),
                             Gui::Clip::HelpManager::NoPrefix))
        Port_MsgManData::createObject("gantrel", "MainWindow", __LINE__)
            .issueWarning(
                "The help could not be shown: it is not installed, or no browser "
                "could be started\n");
}

void MainWindow::ShowAbout()
{
    QMessageBox::about(this, tr("About Pellor Gantrel"),
                       tr("<p><b>Pellor Gantrel %1</b></p><p>Customizes and generates IP cores "
                          "for programmable-logic devices.</p>")
                           .arg(QCoreApplication::applicationVersion()));
}

void MainWindow::CatalogueLoaded()
{
    catalogue->Reload();
    UpdateFileActions();
    if (std::exchange(startupDone, true))
        return;
    En::ProjectManager* projects = Projects();
    if (projects->OpenPreviousProjectOnStartup() && projects->PreviousProjectAvailable() &&
        !projects->ProjectOpen())
        projects->SetProject(ToPort(projects->GetPreviousProjectName()));
}

void MainWindow::ProjectChanged()
{
    project->Reload();
    FillRecentMenu();
    RefreshActions();
}

void MainWindow::FillRecentMenu()
{
    recentMenu->clear();
    const QStringList files = Projects()->GetRecentProjects();
    for (qsizetype i = 0; i < files.size(); ++i) {
        // Numbered 1 to 9, then 0: each has its own key.
        const QString text =
            QStringLiteral("&%1 %2")
                .arg((i + 1) % 10)
                .arg(QDir::toNativeSeparators(files[i]).replace(u'&', QStringLiteral("&&")));
        const QString file = files[i];
        recentMenu->addAction(text, this, [this, file] { OpenRecentProject(file); });
    }
    if (files.isEmpty())
        recentMenu->addAction(tr("No Recent Projects"))->setEnabled(false);
}

void MainWindow::UpdateFileActions()
{
    const bool free = !refusing;
    const bool ready = free && WindowSession::CatalogueLoaded();
    const bool open = Projects()->ProjectOpen();
    newAction->setEnabled(ready);
    openAction->setEnabled(ready);
    recentMenu->menuAction()->setEnabled(ready);
    saveAction->setEnabled(free && open);
    closeAction->setEnabled(free && open);
    const En::Action* options = ProjectAction(Ipu::Task::CHANGE_PROJECT_OPTIONS);
    const En::Action* import = ProjectAction(Ipu::Task::IMPORT_GTC_FILE);
    optionsAction->setEnabled(free && options != nullptr && options->isEnabled());
    importAction->setEnabled(free && import != nullptr && import->isEnabled());
    UpdateCaption();
}

void MainWindow::UpdateCaption()
{
    const QString caption = Projects()->GetCaption();
    setWindowTitle(caption.isEmpty() ? tr("Pellor Gantrel")
                                     : tr("%1 - Pellor Gantrel").arg(caption));
}

bool MainWindow::ProjectSelected() const
{
    return target == Target::Project && project->ProjectSelected();
}

En::Ip MainWindow::SelectedIp() const
{
    if (target == Target::Catalogue)
        return catalogue->CurrentIp();
    return target == Target::Project ? project->CurrentIp() : En::Ip();
}

QList<En::Action*> MainWindow::CurrentActions() const
{
    const boost::shared_ptr<En::Project> open = Projects()->GetProject();
    if (ProjectSelected())
        return open ? Actions()->GetActionList(*open) : QList<En::Action*>();
    En::Ip ip = SelectedIp();
    return ip.GetIPComponent() ? Actions()->GetActionList(ip) : QList<En::Action*>();
}

QList<En::Action*> MainWindow::CurrentInformationActions() const
{
    En::Ip ip = SelectedIp();
    return ip.GetIPComponent() ? Actions()->GetInformationActionsList(ip) : QList<En::Action*>();
}

En::Action* MainWindow::CurrentDefaultAction() const
{
    const boost::shared_ptr<En::Project> open = Projects()->GetProject();
    if (ProjectSelected())
        return open ? Actions()->GetDefaultAction(*open) : nullptr;
    En::Ip ip = SelectedIp();
    return ip.GetIPComponent() ? Actions()->GetDefaultAction(ip) : nullptr;
}

void MainWindow::RefreshActions()
{
    actionBar->clear();
    for (En::Action* action : CurrentActions())
        actionBar->addAction(action);
    UpdateFileActions();
}

void MainWindow::CatalogueSelectionChanged()
{
    if (catalogue->CurrentIp().GetIPComponent()) {
        target = Target::Catalogue;
        project->ClearSelection();
    } else if (target == Target::Catalogue) {
        target = Target::Nothing;
    }
    RefreshActions();
}

void MainWindow::ProjectSelectionChanged()
{
    if (project->ProjectSelected() || project->CurrentIp().GetIPComponent()) {
        target = Target::Project;
        catalogue->ClearSelection();
    } else if (target == Target::Project) {
        target = Target::Nothing;
    }
    RefreshActions();
}

void MainWindow::SelectProjectIp(const En::Ip& ip)
{
    if (!project->Select(ip)) {
        project->Reload();
        project->Select(ip);
    }
}

// A failed run names the catalogue entry it started from, or the project's IP it ran on.
void MainWindow::SelectLibraryIp(const En::Ip& ip)
{
    if (!(ip.IsCustomised() && project->Select(ip)))
        catalogue->Select(ip);
}

void MainWindow::SelectProject()
{
    project->Reload();
    project->SelectProject();
}

void MainWindow::RunDefault(En::Action* action)
{
    if (action != nullptr && action->isEnabled() && !refusing)
        action->trigger();
}

void MainWindow::ShowActionMenu(const QPoint& at)
{
    ActionMenu menu(CurrentActions(), CurrentInformationActions(), CurrentDefaultAction(), this);
    menu.setObjectName(QStringLiteral("actionMenu"));
    if (menu.isEmpty())
        return;
    if (QAction* chosen = menu.exec(at)) {
        if (En::Action* action = menu.Source(chosen))
            action->trigger();
    }
}

void MainWindow::RefuseInput(bool refuse)
{
    refusing = refuse;
    for (QWidget* part : {static_cast<QWidget*>(splitter), static_cast<QWidget*>(menuBar()),
                          static_cast<QWidget*>(fileBar), static_cast<QWidget*>(actionBar)})
        part->setEnabled(!refuse);
    UpdateFileActions();
}
