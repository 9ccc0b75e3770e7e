#include "ProjectCommands.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

#include "ActionListing.h"
#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "Importing.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Keyword.h"
#include "Ipu_Legacy.h"
#include "LegacyCopy.h"
#include "Port_MsgManData.h"
#include "ProjectInfo.h"
#include "Regeneration.h"
#include "Sim_Utility.h"

namespace {

void error(const QString& text)
{
    Port_MsgManData::createObject("gantrel", "gantrel", __LINE__)
        .issueError("%s\n", qPrintable(text));
}

bool hasExtension(const QString& file, std::initializer_list<const char*> extensions)
{
    const QString suffix = QFileInfo(file).suffix();
    for (const char* extension : extensions) {
        if (suffix.compare(QLatin1String(extension), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isLegacy(const QString& file)
{
    return hasExtension(file, {Ipu::Legacy::PROJECT_FILE_EXTENSION,
                               Ipu::Legacy::DEPRECATED_PROJECT_FILE_EXTENSION});
}

// The project manager of an unattended run: the families load at once, the run is never
// recorded as the user's previous project, and the catalogue is loaded now (there is no
// event loop to load it later).
En::ProjectManager* unattendedProjectManager()
{
    En::Global::_batchCommandRuntimeOptions.EnableBatchMode(true);
    En::ProjectManager* manager = En::ProjectManager::GetInstance();
    manager->RefreshAllRepositories();
    return manager;
}

// The file a project path names, as the project manager resolves it.
QString resolve(const QString& path)
{
    return Sim::Utility::PortStringToQString(
        En::Project::GetFullFileName(Sim::Utility::QStringToPortString(path)));
}

template <typename Json, typename Print>
void printJsonOr(bool json, const Json& value, Print print)
{
    if (json) {
        std::fputs(QJsonDocument(value).toJson(QJsonDocument::Indented).constData(), stdout);
        return;
    }
    QTextStream out(stdout);
    print(out);
}

// Opens the project for reading only: a legacy file is migrated in a copy. Null (with the
// reason told) when it cannot be opened.
En::Project* openForReading(const QString& file, LegacyCopy& copy)
{
    if (isLegacy(file) && !copy.make(file)) {
        error(QStringLiteral("Cannot read project %1: %2").arg(file, copy.reason()));
        return nullptr;
    }
    En::ProjectManager* manager = unattendedProjectManager();
    manager->SetProject(Sim::Utility::QStringToPortString(isLegacy(file) ? copy.path() : file));
    // A file that could not be opened still leaves a (disabled) project behind.
    if (!manager->ProjectOpen() || !manager->GetProject()->IsEnabled())
        return nullptr;
    return manager->GetProject().get();
}

// An IP of the project by identifier or name, else a catalogue IP by identifier.
En::Ip findIp(const En::Project& project, const QString& key)
{
    for (const En::Ip& ip : project.GetIpList()) {
        if (Sim::Utility::PortStringToQString(ip.GetIPComponent()->GetKey()) == key ||
            ip.GetCoreName() == key)
            return ip;
    }
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (component && !component->IsCustomized() &&
            Sim::Utility::PortStringToQString(component->GetKey()) == key)
            return En::Ip(component);
    }
    return En::Ip();
}

// Why the project file of --new may not be written, or empty when it may.
QString refusal(const QString& resolved, bool force)
{
    const QFileInfo named(resolved);
    const QString configuration =
        named.dir().filePath(named.completeBaseName() + '.' +
                             Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION);
    if (named.exists() && !named.isFile())
        return QStringLiteral("%1 is not a file").arg(resolved);
    if (named.exists() && !isLegacy(resolved) &&
        !hasExtension(resolved, {Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION}))
        return QStringLiteral("%1 is not a project file; it is left as it is").arg(resolved);
    if (force)
        return {};
    for (const QString& file : {resolved, configuration}) {
        if (QFileInfo::exists(file))
            return QStringLiteral("Project file %1 exists already; give --force to replace it")
                .arg(file);
    }
    return {};
}

}  // namespace

int ProjectCommands::Show(const QString& path, bool json)
{
    const QString file = resolve(path);
    LegacyCopy copy;
    En::Project* project = openForReading(file, copy);
    if (project == nullptr)
        return 1;
    ProjectInfo info(*project);
    if (isLegacy(file))
        info.setFile(file);
    printJsonOr(json, info.toJson(), [&](QTextStream& out) { info.print(out); });
    return 0;
}

int ProjectCommands::ListActions(const QString& path, const QString& ipKey, bool json)
{
    LegacyCopy copy;
    En::Project* project = openForReading(resolve(path), copy);
    if (project == nullptr)
        return 1;
    En::ActionManager::GetInstance()->ProjectChanged();
    QList<En::Action*> actions = project->GetActionsList();
    const En::Action* defaultAction = project->GetDefaultAction();
    if (!ipKey.isEmpty()) {
        const En::Ip ip = findIp(*project, ipKey);
        if (!ip.GetIPComponent()) {
            error(QStringLiteral("No IP %1 in project %2 or in the catalogue").arg(ipKey, path));
            return 1;
        }
        actions = ip.GetActionsList() + ip.GetInformationActionsList();
        defaultAction = ip.GetDefaultAction();
    }
    const ActionListing listing(actions, defaultAction);
    printJsonOr(json, listing.toJson(), [&](QTextStream& out) { listing.printTable(out); });
    return 0;
}

int ProjectCommands::Create(const QString& path, bool force)
{
    const QString resolved = resolve(path);
    const QString refused = refusal(resolved, force);
    if (!refused.isEmpty()) {
        error(refused);
        return 1;
    }
    En::ProjectManager* manager = unattendedProjectManager();
    if (manager->NewProject(Sim::Utility::QStringToPortString(resolved)) != 0)
        return 1;
    std::printf("%s\n", manager->GetProject()->GetFullFileName().c_str());
    return 0;
}

int ProjectCommands::Regenerate(const QString& path, unsigned jobs)
{
    En::ProjectManager* manager = unattendedProjectManager();
    manager->SetProject(Sim::Utility::QStringToPortString(resolve(path)));
    if (!manager->ProjectOpen() || !manager->GetProject()->IsEnabled())
        return 1;
    Regeneration regeneration;
    return regeneration.Run(*manager->GetProject(), jobs);
}

int ProjectCommands::Import(const QString& file, const QString& path)
{
    const QFileInfo info(file);
    if (!info.isFile()) {
        error(QStringLiteral("%1: no such file").arg(info.absoluteFilePath()));
        return 1;
    }
    En::ProjectManager* manager = unattendedProjectManager();
    En::EndWatchThread::Start();
    manager->SetProject(Sim::Utility::QStringToPortString(resolve(path)));
    int status = 1;
    if (manager->ProjectOpen() && manager->GetProject()->IsEnabled())
        status = Importing().Run(*manager->GetProject(), info.absoluteFilePath());
    En::EndWatchThread::SetFinished();
    return status;
}
