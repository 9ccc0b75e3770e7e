#pragma once

#include <QList>
#include <QMainWindow>

#include "En_Ip.h"

class BusyIndicator;
class CataloguePanel;
class MessageDock;
class ProjectPanel;
class QMenu;
class QSplitter;
class QToolBar;

namespace En {
class Action;
}

// The main window of an interactive session: the IP catalogue beside the open project,
// the actions of whatever is selected (toolbar, context menu, double click), the work in
// progress in the status bar and the product's messages in a dock. The action and project
// managers do the work; the window shows their answers and follows their signals. While a
// blocking task runs the window refuses input, but the dialogs that task opens do not.
// Starts the session (WindowSession) when it has not been started. GUI thread only.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;
    Q_DISABLE_COPY(MainWindow)

    // The actions of the selected project or IP, as the toolbar shows them.
    QList<En::Action*> CurrentActions() const;
    // What the context menu adds below them: the selected IP's information actions.
    QList<En::Action*> CurrentInformationActions() const;
    En::Action* CurrentDefaultAction() const;
    bool InputRefused() const { return refusing; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Target { Nothing, Catalogue, Project };

    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void ConnectManagers();
    void ReadSettings();
    void WriteSettings() const;

    void NewProject();
    void OpenProject();
    void OpenRecentProject(const QString& file);
    void CloseProject();
    // True when the open project may be left: nothing unsaved, saved, or discarded.
    bool MaySetProjectAside();
    QString AskForProjectFile(bool create);
    void TriggerProjectTask(const char* task);
    En::Action* ProjectAction(const char* task) const;
    void ShowHelp();
    void ShowAbout();

    void CatalogueLoaded();
    void ProjectChanged();
    void FillRecentMenu();
    void UpdateFileActions();
    void UpdateCaption();
    void RefreshActions();
    bool ProjectSelected() const;
    // The selected IP of the catalogue or the project; null when there is none.
    En::Ip SelectedIp() const;
    void CatalogueSelectionChanged();
    void ProjectSelectionChanged();
    void SelectProjectIp(const En::Ip& ip);
    void SelectLibraryIp(const En::Ip& ip);
    void SelectProject();
    void RunDefault(En::Action* action);
    void ShowActionMenu(const QPoint& at);
    void RefuseInput(bool refuse);

    CataloguePanel* catalogue;
    ProjectPanel* project;
    QSplitter* splitter;
    MessageDock* messages;
    BusyIndicator* busy;
    QToolBar* fileBar = nullptr;
    QToolBar* actionBar = nullptr;
    QMenu* recentMenu = nullptr;
    QAction* newAction = nullptr;
    QAction* openAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* closeAction = nullptr;
    QAction* optionsAction = nullptr;
    QAction* importAction = nullptr;
    QAction* exitAction = nullptr;
    QAction* helpAction = nullptr;
    QAction* aboutAction = nullptr;
    Target target = Target::Nothing;
    bool refusing = false;
    bool startupDone = false;
};
