#include "En_ProjectManager.h"

#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

#include <boost/make_shared.hpp>
#include <exception>

#include "CitP_Factory.h"
#include "En_FamilySupportThread.h"
#include "En_FileAside.h"
#include "En_Global.h"
#include "En_Message.h"
#include "Ipu_DebugMessengerFactory.h"
#include "Ipu_Keyword.h"
#include "Ipu_Legacy.h"
#include "Ipu_VersionedIdentifier.h"
#include "Port_File.h"
#include "Port_FileName.h"
#include "SimC_Identifiers.h"
#include "Sim_IPMgr.h"
#include "Sim_UserSettings.h"
#include "Sim_Utility.h"

namespace En {
namespace {

bool hasExtension(const Port::FileName& file, const char* extension)
{
    return file.GetExtension().Compare(extension, Port::CompareIgnoreCase) == 0;
}

Port::String withExtension(const Port::String& path, const char* extension)
{
    Port::FileName file(path);
    file.SetExtension(extension);
    return file.GetFullName();
}

// The wait cursor needs a GUI application; the command-line host runs without one.
void setWaitCursor(bool waiting)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    if (waiting)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

// A configuration file saved since its legacy file was written holds the user's later
// edits: it is opened as it is. Equal times count as saved since, because a migration or
// a save within the second of the legacy file's writing comes after it. A legacy name
// whose file was never written (a new project records one) has nothing to migrate.
bool configurationIsCurrent(const Port::String& legacyFile, const Port::String& configuration)
{
    long long legacyTime = 0, configurationTime = 0;
    if (!Port::File::isfile(configuration))
        return false;
    if (!Port::File::isfile(legacyFile))
        return true;
    return Port::File::getdatetime(legacyFile, legacyTime) &&
           Port::File::getdatetime(configuration, configurationTime) &&
           configurationTime >= legacyTime;
}

}  // namespace

ProjectManager* ProjectManager::_enkitProjectManager = nullptr;
bool ProjectManager::_projectSaveNeeded = false;

ProjectManager* ProjectManager::GetInstance()
{
    if (_enkitProjectManager == nullptr)
        _enkitProjectManager = new ProjectManager;
    return _enkitProjectManager;
}

FamilySupportThread& ProjectManager::GetFamilySupportThread()
{
    static FamilySupportThread thread;
    return thread;
}

ProjectManager::ProjectManager() : QObject(nullptr)
{
    qRegisterMetaType<BusyNotificationObject>();
    qRegisterMetaType<Ip>();
    _projectSaveNeeded = false;
    const Ipu::RuntimeOptions& runtime = Global::_batchCommandRuntimeOptions;
    const bool interactive = !runtime.IsEnabledBatchMode() && !runtime.IsEnabledPollingMode();
    if (interactive) {
        GetFamilySupportThread().start(QThread::InheritPriority);
    } else if (Sim::IPMgr* manager = Sim::IPMgr::GetInstance()) {
        manager->RefreshFamilyCache();
    }
    LoadEngine();
    if (repository)
        repository->SetStartup(true);
    // A window stays responsive while a large catalogue loads; batch and polling need the
    // whole catalogue before their first command, so theirs loads on this thread.
    QTimer::singleShot(0, this,
                       interactive ? &ProjectManager::RefreshInBackground
                                   : &ProjectManager::RefreshAllRepositories);
}

ProjectManager::~ProjectManager()
{
    heldDesigns.reset();
    heldProjects.reset();
    migration.reset();
    repository.reset();
}

void ProjectManager::LoadEngine()
{
    if (CitP::Factory::LoadLibraryFactory(SimC::ENGINE_LIBRARY) != 0)
        return;
    const auto instance = [] { return CitP::Factory::CreateInstanceRef(SimC::CLSID_CIPEngine); };
    repository = instance().Query<SimC::IRepositoryManager>();
    migration = instance().Query<SimC::IMigrationManager>();
    heldProjects = instance().Query<SimC::IProjectManager>();
    heldDesigns = instance().Query<SimC::IDesignManager>();
}

void ProjectManager::RefreshAllRepositories()
{
    const BusyNotificationObject busy(tr("Loading IP Catalog"), false);
    emit AddBusyNotification(busy);
    setWaitCursor(true);
    {
        // A refresh that throws must not leave the wait cursor and the notification behind.
        const auto release = qScopeGuard([this, &busy] {
            setWaitCursor(false);
            emit RemoveBusyNotification(busy);
        });
        if (repository)
            repository->RefreshAllRepositories();
    }
    emit RepositoryRefreshed();
}

// The index is safe to fill from another thread; listeners hear of the result on this one.
void ProjectManager::RefreshInBackground()
{
    const BusyNotificationObject busy(tr("Loading IP Catalog"), false);
    emit AddBusyNotification(busy);
    QThread* loader = QThread::create([engine = repository] {
        try {
            if (engine)
                engine->RefreshAllRepositories();
        } catch (const std::exception& failure) {
            EN_MESSAGE("En_ProjectManager")
                .issueError("The IP catalog could not be loaded: %s\n", failure.what());
        } catch (...) {
            EN_MESSAGE("En_ProjectManager").issueError("The IP catalog could not be loaded\n");
        }
    });
    // Whatever loaded is shown, so RepositoryRefreshed comes after a failure too.
    connect(loader, &QThread::finished, this, [this, busy, loader] {
        loader->deleteLater();
        emit RemoveBusyNotification(busy);
        emit RepositoryRefreshed();
    });
    // The loader reads the index and the message sink, which do not outlive the application.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, loader,
            [loader] { loader->wait(); });
    loader->start();
}

void ProjectManager::SetProjectPaths(const Port::String& directory) const
{
    Global::_batchCommandRuntimeOptions.SetProjectPath(directory);
    Global::_guiRuntimeOptions.SetProjectPath(directory);
}

unsigned ProjectManager::SetProject(const Port::String& path)
{
    Ipu::DebugMessenger& logger = Ipu::DebugMessengerFactory::GetLogger("projmgr");
    const Port::String fullName = Project::GetFullFileName(path);
    logger.Normal("Set Project: %s\n", fullName.c_str());
    logger.StartTimer("setup");

    unsigned result = 1;
    // The project already open stays open, with its unsaved changes.
    if (!project || project->GetFullFileName() != fullName) {
        CloseProject();
        Open(fullName, result);
        _projectSaveNeeded = false;
    }
    if (project && project->IsValid()) {
        result = 0;
        ResolveLatestIP();
    }
    emit ProjectOptionsChanged();
    emit ProjectStateHasChanged();
    emit SelectProject();
    logger.Normal("Project setting up time: %s\n", logger.GetTimerText("setup").c_str());
    logger.StopTimer("setup");
    return result;
}

void ProjectManager::Open(const Port::String& fullName, unsigned& result)
{
    const Port::FileName file(fullName);
    SetProjectPaths(file.GetHead());
    if (hasExtension(file, Ipu::Legacy::PROJECT_FILE_EXTENSION) ||
        hasExtension(file, Ipu::Legacy::DEPRECATED_PROJECT_FILE_EXTENSION))
        MigrateProject(fullName, result);
    else if (hasExtension(file, Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION))
        OpenProject(file, result);
    else
        EN_MESSAGE("En_ProjectManager")
            .issueError("Unrecognized file type - cannot open project %s\n", fullName.c_str());
}

void ProjectManager::OpenProject(const Port::FileName& file, unsigned& result)
{
    project = boost::make_shared<Project>(file, false);
    result = project->GetProjectOptions(currentOptions);
}

void ProjectManager::MigrateProject(const Port::String& legacyFile, unsigned& result)
{
    const Port::String migrationFile =
        withExtension(legacyFile, Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION);
    if (Port::File::isdir(migrationFile)) {
        EN_MESSAGE("En_ProjectManager")
            .issueError("Unable to migrate %s - name clash with directory %s\n", legacyFile.c_str(),
                        migrationFile.c_str());
        return;
    }
    if (configurationIsCurrent(legacyFile, migrationFile) || MigrateOver(legacyFile, migrationFile))
        OpenProject(Port::FileName(migrationFile), result);
}

// An earlier configuration file may hold edits of its own: it is kept under a free name
// when the migration succeeds, and put back when it fails.
bool ProjectManager::MigrateOver(const Port::String& legacyFile,
                                 const Port::String& migrationFile) const
{
    FileAside earlier(migrationFile);
    if (Port::File::isfile(migrationFile) && !earlier.Move()) {
        EN_MESSAGE("En_ProjectManager")
            .issueError("Unable to migrate %s - cannot overwrite existing migration %s\n",
                        legacyFile.c_str(), migrationFile.c_str());
        return false;
    }
    const Ipu::VersionedIdentifier identifier(Ipu::Keyword::GANTREL_VENDOR, "project",
                                              Port::FileName(migrationFile).GetBase(), "1.0");
    if (!migration || !migration->Migrate(legacyFile, migrationFile, identifier.GetKey())) {
        EN_MESSAGE("En_ProjectManager")
            .issueError("Unable to migrate %s to %s\n", legacyFile.c_str(), migrationFile.c_str());
        return false;
    }
    if (earlier.Moved())
        EN_MESSAGE("En_ProjectManager")
            .issueWarning("Migrated %s again; the earlier %s is kept as %s\n", legacyFile.c_str(),
                          migrationFile.c_str(), earlier.AsideName().c_str());
    earlier.Keep();
    return true;
}

unsigned ProjectManager::NewProject(const Port::String& path)
{
    Ipu::DebugMessenger& logger = Ipu::DebugMessengerFactory::GetLogger("projmgr");
    Port::FileName file(Project::GetFullFileName(path));
    logger.Normal("New Project: %s\n", file.GetFullName().c_str());
    logger.StartTimer("setup");
    if (project)
        CloseProject();
    file.SetExtension(Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION);
    const unsigned result = CreateProject(file);
    emit ProjectStateHasChanged();
    emit SelectProject();
    emit ProjectOptionsChanged();
    logger.Normal("New project creation time: %s\n", logger.GetTimerText("setup").c_str());
    logger.StopTimer("setup");
    return result;
}

// An existing file is only moved aside: it is put back, and the new project closed, unless
// the new project was created and saved.
unsigned ProjectManager::CreateProject(const Port::FileName& file)
{
    FileAside earlier(file.GetFullName());
    if (Port::File::exist(file.GetFullName()) && !Port::File::isdir(file.GetFullName()) &&
        !earlier.Move()) {
        EN_MESSAGE("En_ProjectManager")
            .issueError("Cannot create project %s: the existing file cannot be moved aside\n",
                        file.GetFullName().c_str());
        return 1;
    }
    SetProjectPaths(file.GetHead());
    project = boost::make_shared<Project>(file, true);
    unsigned result = 1;
    if (project->IsValid() && project->GetProjectOptions(currentOptions) == 0) {
        result = SaveProject();
        ResolveLatestIP();
    }
    if (result == 0)
        earlier.Discard();
    else if (earlier.Moved())
        project.reset();  // nothing in memory may stand for the file put back
    return result;
}

void ProjectManager::CloseProject()
{
    if (!project)
        return;
    project.reset();
    for (Ipu::RuntimeOptions* runtime :
         {&Global::_batchCommandRuntimeOptions, &Global::_guiRuntimeOptions})
        runtime->SetProjectPath(runtime->GetStartupPath());
    _projectSaveNeeded = false;
    emit ProjectStateHasChanged();
    emit SelectProject();
}

unsigned ProjectManager::SaveProject()
{
    unsigned result = 1;
    if (project) {
        if (project->SaveProject()) {
            _projectSaveNeeded = false;
            UpdateRegistryWithProjectFileName();
            result = project->GetProjectOptions(currentOptions);
        } else {
            EN_MESSAGE("En_ProjectManager")
                .issueError("Could not save project %s\n", project->GetFullFileName().c_str());
        }
    }
    emit ProjectOptionsChanged();
    emit ProjectStateHasChanged();
    return result;
}

unsigned ProjectManager::SetProjectOptions(const Ipu::ProjectOptions& options)
{
    try {
        if (!project || Project::SilentlyVerifyProjectOptions(options) != 0)
            return 1;
        currentOptions = options;
        project->SetProjectOptions(options);
        _projectSaveNeeded = true;
        ResolveLatestIP();
        emit ProjectOptionsChanged();
        return 0;
    } catch (...) {
        return 1;
    }
}

const Ipu::ProjectOptions* ProjectManager::GetProjectOptions() const
{
    if (!project || project->GetProjectOptions(currentOptions) != 0)
        return &defaultOptions;
    return &currentOptions;
}

void ProjectManager::ResolveLatestIP() const
{
    if (Sim::IPMgr* manager = Sim::IPMgr::GetInstance())
        manager->ResolveLatestIP(*GetProjectOptions());
}

boost::shared_ptr<Project> ProjectManager::GetProject()
{
    return project;
}

bool ProjectManager::ProjectOpen() const
{
    return static_cast<bool>(project);
}

bool ProjectManager::ProjectOptionsValid() const
{
    Ipu::ProjectOptions options;
    return project && project->GetProjectOptions(options) == 0 && project->AreProjectOptionsValid();
}

unsigned ProjectManager::VerifyProjectOptions(const Ipu::ProjectOptions& options)
{
    return Project::VerifyProjectOptions(options);
}

void ProjectManager::SetProjectSaveNeeded(bool needed)
{
    _projectSaveNeeded = needed;
}

bool ProjectManager::ProjectSaveNeeded() const
{
    return _projectSaveNeeded;
}

QString ProjectManager::GetCaption() const
{
    if (!project)
        return QString();
    const Port::String name =
        withExtension(project->GetFullFileName(), Ipu::Legacy::PROJECT_FILE_EXTENSION);
    QString caption = QDir::toNativeSeparators(Sim::Utility::PortStringToQString(name));
    if (_projectSaveNeeded)
        caption += QLatin1Char('*');
    return caption;
}

QStringList ProjectManager::GetRecentProjects() const
{
    QStringList names;
    for (const Port::String& name : Sim::UserSettings::GetRecentProjects())
        names.append(Sim::Utility::PortStringToQString(name));
    return names;
}

QString ProjectManager::GetPreviousProjectName() const
{
    return Sim::Utility::PortStringToQString(Sim::UserSettings::GetPreviousProjectName());
}

bool ProjectManager::PreviousProjectAvailable() const
{
    return !GetPreviousProjectName().isEmpty();
}

bool ProjectManager::OpenPreviousProjectOnStartup() const
{
    return Sim::UserSettings::GetOpenPreviousProject();
}

void ProjectManager::UpdateRegistryWithProjectFileName() const
{
    if (Global::_batchCommandRuntimeOptions.IsEnabledBatchMode() || !project)
        return;
    Sim::UserSettings::SetPreviousProjectName(
        withExtension(project->GetFullFileName(), Ipu::Legacy::PROJECT_FILE_EXTENSION));
}

}  // namespace En
