#include "En_Ip.h"

#include <functional>

#include "En_Action.h"
#include "En_ActionManager.h"
#include "En_IpCompatibilityChecker.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "Ipu_CustomizedIP.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_Generator.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Keyword.h"
#include "Ipu_Legacy.h"
#include "Ipu_VendorExtensions.h"
#include "Port_File.h"
#include "Port_FileName.h"
#include "Sim_Upgrades.h"
#include "Sim_Utility.h"
#include "UT_TIME.h"

namespace En {
namespace {

QString toQString(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

// Files of these kinds in a file list are reports and inputs, not generated products.
bool isIgnoredListExtension(const Port::String& extension)
{
    for (const char* ignored : {"pdf", "in", "out", "txt", "pmsgs"}) {
        if (extension == ignored)
            return true;
    }
    return false;
}

// A name in a file list is relative to the output directory that holds the list.
Port::String inDirectory(const Port::String& directory, const Port::String& name)
{
    return Port::FileName(name).IsAbsolute() ? name : directory + "/" + name;
}

// The latest time of the products named in the file list, starting from time.
long long latestListedTime(const Port::String& directory, const Port::String& fileList,
                           long long time)
{
    Port::Stream* stream = Port::File::open(fileList, Port::Stream::Read);
    if (stream == nullptr)
        return time;
    Port::String line;
    while (!stream->geteof() && stream->readline(line)) {
        if (line.IsEmpty() || line[0] == '#')
            continue;
        const std::size_t dot = line.str().rfind('.');
        if (dot == std::string::npos || isIgnoredListExtension(line.Extract(dot + 1)))
            continue;
        long long fileTime = 0;
        if (Port::File::getdatetime(inDirectory(directory, line), fileTime) && fileTime > time)
            time = fileTime;
    }
    Port::File::close(stream);
    return time;
}

// Deprecated (5) and removed (6) IPs offer no ordinary tasks and show a status of their own.
bool isRetired(std::int32_t lifecycle)
{
    return lifecycle == Ipu::LifeCycleStatus::DEPRECATED ||
           lifecycle == Ipu::LifeCycleStatus::REMOVED;
}

}  // namespace

Ip::Ip() : projectOptionsValid(false) {}

Ip::Ip(const Ipu::CustomizedIP& ip) : projectOptionsValid(false), component(ip.GetIPComponent())
{
    projectOptionsValid = HasOwnValidProjectOptions();
}

Ip::Ip(const Ipu::IP& ip) : projectOptionsValid(false), component(ip.GetIPComponent()) {}

Ip::Ip(boost::shared_ptr<Ipu::IPComponent> ipComponent)
    : projectOptionsValid(false), component(std::move(ipComponent))
{
    projectOptionsValid = HasOwnValidProjectOptions();
}

Ip::Ip(const Ip& other) = default;

Ip& Ip::operator=(const Ip& other)
{
    if (this != &other) {
        projectOptionsValid = other.projectOptionsValid;
        component = other.component;
    }
    return *this;
}

Ip::~Ip() = default;

bool Ip::operator<(const Ip& other) const
{
    if (component && other.component)
        return component->LessThan(*other.component);
    if (component || other.component)
        return static_cast<bool>(component);
    // Neither has a component: any strict order will do, and the addresses give one.
    return std::less<const Ip*>()(this, &other);
}

bool Ip::operator==(const Ip& other) const
{
    if (component && other.component)
        return component->IsEqual(*other.component);
    return !component && !other.component;
}

Ipu::IP Ip::GetIp() const
{
    return Ipu::IP(component);
}

Ipu::CustomizedIP Ip::GetCustomisedIp() const
{
    return Ipu::CustomizedIP(component);
}

QString Ip::GetIpName() const
{
    if (!component)
        return QString();
    Port::String name = component->GetDisplayName();
    if (name.IsEmpty()) {
        const auto catalogue = Ipu::ElementIndex::GetElement(component->GetUnconfiguredID());
        if (catalogue)
            name = catalogue->GetDisplayName();
    }
    if (name.IsEmpty())
        name = component->Ipu::Element::GetName();
    return toQString(name);
}

QString Ip::GetCoreName() const
{
    return component ? toQString(component->Ipu::Element::GetName()) : QString();
}

QString Ip::GetIpVersion() const
{
    return component ? toQString(component->GetVersion()) : QString();
}

QString Ip::GetDescription() const
{
    if (!component)
        return QString();
    Port::String description = component->GetDescription();
    if (description.IsEmpty()) {
        const auto catalogue = Ipu::ElementIndex::GetElement(component->GetUnconfiguredID());
        if (catalogue)
            description = catalogue->GetDescription();
    }
    return toQString(description);
}

QString Ip::GetFileName() const
{
    if (!IsCustomised())
        return QString();
    Port::FileName file;
    file.SetBase(component->Ipu::Element::GetName());
    file.SetExtension(component->GetIPType() != 0 ? Ipu::Legacy::CORE_FILE_EXTENSION
                                                  : Ipu::Legacy::SYLVANE_FILE_EXTENSION);
    return toQString(file.GetTail());
}

QString Ip::GetDateModified() const
{
    if (!component)
        return QString();
    long long time = component->GetChangeTime();
    // The products lie in the output directory; without an absolute one there is nothing
    // to scan, for the process's working directory says nothing about this IP.
    Port::String directory;
    if (GetProjectOptions().GetOutputDirectory(directory) != 0 ||
        !Port::FileName(directory).IsAbsolute())
        directory = Port::String();
    const Port::String fileList =
        inDirectory(directory, component->Ipu::Element::GetName() + "_flist.txt");
    long long listTime = 0;
    // The stored time caches the scan: only a file list newer than it is read again.
    if (!directory.IsEmpty() && Port::File::isfile(fileList) &&
        Port::File::getdatetime(fileList, listTime) && listTime > time) {
        time = latestListedTime(directory, fileList, time);
        component->SetChangeTime(time);
    }
    return time != 0 ? toQString(UT_TIME::FormatLocalTime(time, "%Y-%m-%d at %H:%M")) : QString();
}

bool Ip::HasProperty(const QString& name) const
{
    return component && component->HasProperty(Sim::Utility::QStringToPortString(name));
}

QString Ip::GetProperty(const QString& name) const
{
    Port::String value;
    if (!component ||
        component->GetPropertyValue(Sim::Utility::QStringToPortString(name), value) != 0)
        return QString();
    return toQString(value);
}

void Ip::GetPropertyValues(const Port::String& name, std::vector<Port::String>& values) const
{
    if (!component || component->GetPropertyValues(name, values) != 0)
        values.clear();
}

bool Ip::IsDummyIp() const
{
    return component && component->HasProperty("isDummyIP");
}

bool Ip::IsCustomised() const
{
    return component && component->GetUniqueID() != component->GetUnconfiguredID();
}

bool Ip::IsIpLatestVersion() const
{
    return component && component->IsLatestVersion();
}

bool Ip::FileModifiedByUser() const
{
    return IsCustomised() && component->IsFileModifiedByUser();
}

bool Ip::IsDataSheetEncrypted() const
{
    Port::String path;
    return component && Ipu::IP(component).GetDataSheet(path, false) == 0 &&
           path.GetIndexOfString(".lna", Port::CompareExact) >= 0;
}

Ipu::LifeCycleStatus Ip::GetLifeCycleStatus() const
{
    return Ipu::LifeCycleStatus(component ? component->GetLifecycleValue()
                                          : Ipu::LifeCycleStatus::PRODUCTION);
}

Ipu::IP::IPType Ip::GetIpType() const
{
    Ipu::IP::IPType type = Ipu::IP::CORE_IP;
    if (!component || Ipu::IP(component).GetIPType(type) != 0)
        return Ipu::IP::CORE_IP;
    return type;
}

std::vector<Ipu::Family> Ip::GetSupportedFamilies() const
{
    if (!component)
        return {};
    std::vector<Ipu::Family> families = component->GetFamilies();
    Port::String name;
    // A catalogue entry that names no family carries the placeholder "<empty>".
    if (families.size() == 1 && families.front().GetName(name) == 0 &&
        name.Compare(Ipu::Keyword::EMPTY_FAMILY, Port::CompareIgnoreCase) == 0)
        families.clear();
    return families;
}

Ipu::PelPart Ip::GetPartDetails() const
{
    Ipu::ProjectOptions options;
    if (!component || component->GetProjectOptions(options) != 0)
        return Ipu::PelPart();
    return options.GetPelPart();
}

Ipu::ProjectOptions Ip::GetProjectOptions() const
{
    Ipu::ProjectOptions options;
    if (!component || component->GetProjectOptions(options) == 0)
        return options;
    const boost::shared_ptr<Project> project = ProjectManager::GetInstance()->GetProject();
    if (!project || project->GetProjectOptions(options) != 0)
        return Ipu::ProjectOptions();
    return options;
}

QString Ip::GetIpStatus() const
{
    return GetIpStatus(GetProjectOptions());
}

// Without a component there is no life-cycle to tell: the status is empty.
QString Ip::GetIpStatus(const Ipu::ProjectOptions& options) const
{
    if (!component)
        return QString();
    const Ipu::LifeCycleStatus status = component->GetLifecycleStatus(options);
    if (!isRetired(status.GetValue()))
        return toQString(status.ToString());
    QString text = GetProperty("isDummyIP");
    if (text.isEmpty())
        text = IsIpUpgradable(*ProjectManager::GetInstance()->GetProjectOptions())
                   ? QStringLiteral("Upgradable")
                   : QStringLiteral("Removed");
    return text;
}

bool Ip::IsEnabled() const
{
    if (!component || component->GetLifecycleValue() == Ipu::LifeCycleStatus::DEPRECATED)
        return false;
    return IpCompatibilityChecker::GetInstance()->IsCompatible(component);
}

bool Ip::IsIpUpgradable(const Ipu::ProjectOptions& options) const
{
    return component && !Sim::Upgrades(options.GetPelPart(), component).IsEmpty();
}

bool Ip::CanUpgradedIpBeRegenerated(const Ipu::ProjectOptions& options) const
{
    return component && Sim::Upgrades(options.GetPelPart(), component).CanAnyBeRegenerated();
}

Ipu::TaskList Ip::GetTaskList() const
{
    Ipu::TaskList tasks;
    if (!component)
        return tasks;
    ProjectManager* manager = ProjectManager::GetInstance();
    const bool projectOpen = manager->ProjectOpen();
    const Ipu::ProjectOptions project =
        projectOpen ? *manager->GetProjectOptions() : Ipu::ProjectOptions();
    const bool validForProject = projectOpen && component->IsValidForPart(project.GetPelPart());
    Ipu::ProjectOptions own;
    const bool validForOwn = IsCustomised() && component->GetProjectOptions(own) == 0 &&
                             component->IsValidForPart(own.GetPelPart());
    for (const auto& chain : component->GetGeneratorChains()) {
        if (OffersChain(*chain, project, validForProject, validForOwn) &&
            tasks.AddTask(Ipu::Task(chain)) != 0)
            return Ipu::TaskList();
    }
    return tasks;
}

// Whether the chain's task is offered for this IP; see GetTaskList.
bool Ip::OffersChain(const Ipu::GeneratorChain& chain, const Ipu::ProjectOptions& project,
                     bool validForProject, bool validForOwn) const
{
    Port::String dependence;
    if (!AcceptsChain(chain) ||
        chain.GetPropertyValue(Ipu::VendorExtensions::CHAIN_FAMILYDEPENDENT, dependence) != 0)
        return false;
    const bool hasGenerators = !chain.GetOrderedGenerators().empty();
    const bool retired = isRetired(component->GetLifecycleValue());
    const auto hasAnyGroup = [&chain](std::initializer_list<const char*> groups) {
        for (const char* group : groups) {
            if (chain.HasGroup(group))
                return true;
        }
        return false;
    };
    if (!validForProject &&
        dependence.Compare(Ipu::Task::FAMILY_NOT_DEPENDENT, Port::CompareIgnoreCase) != 0) {
        // Usable only with the IP's own (original) options.
        using Chain = Ipu::GeneratorChain;
        return validForOwn &&
               dependence.Compare(Ipu::Task::FAMILY_DEPENDENT, Port::CompareIgnoreCase) == 0 &&
               !retired &&
               hasAnyGroup({Chain::GENERATE_ORIGINAL_CHAINGROUP,
                            Chain::CUSTOMIZE_ORIGINAL_CHAINGROUP,
                            Chain::CUSTOMIZE_AND_GENERATE_ORIGINAL_CHAINGROUP,
                            Chain::CUSTOMIZE_AND_GENERATE_ORIGINAL_TVR_CHAINGROUP}) &&
               hasGenerators;
    }
    if (!hasGenerators)
        return false;
    if (!hasAnyGroup({Ipu::GeneratorChain::UPGRADE_CHAINGROUP,
                      Ipu::GeneratorChain::UPGRADE_AND_REGENERATE_CHAINGROUP,
                      Ipu::GeneratorChain::SELECT_UPGRADE_AND_REGENERATE_CHAINGROUP}))
        return !retired;
    return IsCustomised() && !Sim::Upgrades(project.GetPelPart(), component).IsEmpty();
}

Ipu::Task Ip::GetDefaultTask() const
{
    Ipu::Task task;
    GetTaskList().GetDefaultTask(
        task, IsCustomised() ? Ipu::Task::IPTYPE_CUSTOMIZED : Ipu::Task::IPTYPE_UNCUSTOMIZED);
    return task;
}

Ipu::TaskList Ip::GetInformationTaskList() const
{
    Ipu::TaskList tasks;
    if (!component)
        return tasks;
    const auto add = [&tasks](const char* id, const char* label) {
        tasks.AddTask(Ipu::Task(id, label, false, 0, Ipu::Task::IPTYPE_ANY,
                                Ipu::Task::FAMILYDEPENDENCE_INDEPENDENT));
    };
    if (!GetSupportedFamilies().empty() &&
        component->GetLifecycleValue() != Ipu::LifeCycleStatus::DEPRECATED)
        add(Ipu::Task::SUPPORTED_FAMILIES, "Supported Families");
    if (ProjectManager::GetInstance()->ProjectOpen()) {
        if (IsCustomised() && GetIpType() != Ipu::IP::WIZARD_IP)
            add(Ipu::Task::ORIGINAL_OPTIONS, "Original Project Options");
        add(Ipu::Task::CURRENT_OPTIONS, "Current Project Options");
    }
    return tasks;
}

// The manager takes an Ip by reference; a copy shares the component, so these stay const.
QList<Action*> Ip::GetActionsList() const
{
    Ip ip(*this);
    return ActionManager::GetInstance()->GetActionList(ip);
}

QMap<QString, Action*> Ip::GetActionsMap() const
{
    Ip ip(*this);
    return ActionManager::GetInstance()->GetActionMap(ip);
}

QList<Action*> Ip::GetInformationActionsList() const
{
    Ip ip(*this);
    return ActionManager::GetInstance()->GetInformationActionsList(ip);
}

Action* Ip::GetDefaultAction() const
{
    Ip ip(*this);
    return ActionManager::GetInstance()->GetDefaultAction(ip);
}

Action* Ip::GetAction(const QString& name) const
{
    const QList<Action*> actions = GetActionsList();
    for (Action* action : actions) {
        if (action->internalName() == name)
            return action;
    }
    for (Action* action : actions) {
        if (action->visibleName() == name)
            return action;
    }
    return nullptr;
}

bool Ip::HasAction(const QString& name) const
{
    return GetAction(name) != nullptr;
}

bool Ip::GetTask(const Port::String& name, Ipu::Task& task) const
{
    task = Ipu::Task();
    if (!component)
        return false;
    Port::String key = name;
    key.MakeLower();
    const auto chain = component->GetGeneratorChains().Get(key);
    if (!chain || !AcceptsChain(*chain))
        return false;
    task = Ipu::Task(chain);
    return true;
}

bool Ip::AcceptsChain(const Ipu::GeneratorChain& chain) const
{
    Port::String type;
    if (chain.GetPropertyValue(Ipu::VendorExtensions::CHAIN_IPTYPE, type) != 0)
        return false;
    const auto is = [&type](const char* value) {
        return type.Compare(value, Port::CompareIgnoreCase) == 0;
    };
    return is(Ipu::Task::ANY_IP) || (is(Ipu::Task::CUSTOMIZED_IP) && IsCustomised()) ||
           (is(Ipu::Task::UNCUSTOMIZED_IP) && !IsCustomised());
}

void Ip::SetParameters(const Ipu::Parameters& parameters)
{
    if (IsCustomised())
        Ipu::CustomizedIP(component).SetParameters(parameters);
}

void Ip::SetProjectOptions(const Ipu::ProjectOptions& options)
{
    projectOptionsValid = false;
    if (IsCustomised() && component->SetProjectOptions(options) == 0)
        projectOptionsValid = Project::SilentlyVerifyProjectOptions(options) == 0;
}

void Ip::RemoveFileModifiedStatus()
{
    if (IsCustomised())
        component->SetFileModifiedByUser(false);
}

bool Ip::HasOwnValidProjectOptions() const
{
    Ipu::ProjectOptions options;
    return component && component->GetProjectOptions(options) == 0 &&
           Project::SilentlyVerifyProjectOptions(options) == 0;
}

}  // namespace En
