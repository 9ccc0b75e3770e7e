#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <boost/shared_ptr.hpp>

#include "CitP_Ref.h"
#include "En_BusyNotificationObject.h"
#include "En_Ip.h"
#include "En_Project.h"
#include "Ipu_ProjectOptions.h"
#include "Port_StringBase.h"
#include "SimC_IDesignManager.h"
#include "SimC_IMigrationManager.h"
#include "SimC_IProjectManager.h"
#include "SimC_IRepositoryManager.h"

namespace En {

class FamilySupportThread;

// The process-wide owner of the one open project. It opens (migrating older files first),
// creates, saves and closes projects, replaces their options and tells listeners through
// its signals. No lock: the GUI thread, or the polling thread while it holds the action
// mutex, uses it.
class ProjectManager : public QObject {
    Q_OBJECT

public:
    static ProjectManager* GetInstance();
    ~ProjectManager() override;

    unsigned SetProject(const Port::String& path);
    unsigned NewProject(const Port::String& path);
    void CloseProject();
    unsigned SaveProject();
    unsigned SetProjectOptions(const Ipu::ProjectOptions& options);
    // The open project's options, re-read on every call, or the default options; never
    // null. The pointer lives as long as the manager, its contents until the next call.
    const Ipu::ProjectOptions* GetProjectOptions() const;
    boost::shared_ptr<Project> GetProject();
    bool ProjectOpen() const;
    bool ProjectOptionsValid() const;
    static unsigned VerifyProjectOptions(const Ipu::ProjectOptions& options);
    void SetProjectSaveNeeded(bool needed);
    bool ProjectSaveNeeded() const;
    QString GetCaption() const;

    QStringList GetRecentProjects() const;
    QString GetPreviousProjectName() const;
    bool PreviousProjectAvailable() const;
    bool OpenPreviousProjectOnStartup() const;
    void UpdateRegistryWithProjectFileName() const;

    // The background family loader, started in interactive mode only.
    static FamilySupportThread& GetFamilySupportThread();

signals:
    void ProjectOptionsChanged();
    void ProjectStateHasChanged();
    void SelectIP(En::Ip ip);
    void SelectProject();
    void RepositoryRefreshed();
    void AddBusyNotification(const BusyNotificationObject& notification);
    void RemoveBusyNotification(const BusyNotificationObject& notification);

public slots:
    void RefreshAllRepositories();

private:
    // Tests put another repository in the engine's place through it (En_ProjectManager_p.h).
    friend struct ProjectManagerSeam;

    ProjectManager();
    void LoadEngine();
    // The first load of an interactive session, on a thread of its own.
    void RefreshInBackground();
    void Open(const Port::String& fullName, unsigned& result);
    void OpenProject(const Port::FileName& file, unsigned& result);
    void MigrateProject(const Port::String& legacyFile, unsigned& result);
    bool MigrateOver(const Port::String& legacyFile, const Port::String& migrationFile) const;
    unsigned CreateProject(const Port::FileName& file);
    void ResolveLatestIP() const;
    void SetProjectPaths(const Port::String& directory) const;

    static ProjectManager* _enkitProjectManager;
    static bool _projectSaveNeeded;

    boost::shared_ptr<Project> project;
    const Ipu::ProjectOptions defaultOptions;
    mutable Ipu::ProjectOptions currentOptions;
    CitP::Ref<SimC::IRepositoryManager> repository;
    CitP::Ref<SimC::IMigrationManager> migration;
    CitP::Ref<SimC::IProjectManager> heldProjects;
    CitP::Ref<SimC::IDesignManager> heldDesigns;
};

}  // namespace En
