#include "En_ActionManager.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QSet>

#include <boost/weak_ptr.hpp>
#include <map>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "CitP_Factory.h"
#include "En_Action.h"
#include "En_ActionMutexSingleton.h"
#include "En_CompatibilityDlg.h"
#include "En_EngineCallback.h"
#include "En_Global.h"
#include "En_ImportedIpFile.h"
#include "En_IpCompatibilityChecker.h"
#include "En_Message.h"
#include "En_PollingMode.h"
#include "En_Project.h"
#include "En_ProjectManager.h"
#include "En_ProjectOptionsDlg.h"
#include "Ipu_Command.h"
#include "Ipu_CustomizedIP.h"
#include "Ipu_DebugMessengerFactory.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_EngineNotifyMgr.h"
#include "Ipu_EventData.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_Task.h"
#include "Ipu_TaskMutexSingleton.h"
#include "Ipu_Utilities.h"
#include "Port_File.h"
#include "SimC_Identifiers.h"
#include "Sim_ImageUtil.h"
#include "Sim_UserSettings.h"
#include "Sim_Utility.h"

namespace En {

ActionManager* ActionManager::_instance = nullptr;

namespace {

// Actions made for one project or IP, by action key; a cached action is never replaced.
using ActionsByKey = std::map<Port::String, Action*>;
// By the unique id of the project's design or of the IP's component.
using ActionCache = std::map<Port::String, ActionsByKey>;

ActionCache projectActionCache;
ActionCache ipActionCache;

// The last ordered list of each IP, valid while nothing that decides an IP's tasks (the
// open project, its options, the catalogue) has changed since: a repeated request then
// only re-enables the actions it already made. Keyed by the component itself, so that no
// string is copied or compared; the weak pointer tells it from a later one at its address.
struct OrderedList {
    std::uint64_t epoch = 0;
    boost::weak_ptr<Ipu::IPComponent> component;
    QList<Action*> actions;
};
std::unordered_map<const Ipu::IPComponent*, OrderedList> ipListMemo;
std::uint64_t taskEpoch = 1;

QString ToQString(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

// The chain's unique id when the task has a chain, else its internal name.
Port::String ActionKey(const Ipu::Task& task)
{
    const boost::shared_ptr<Ipu::GeneratorChain> chain = task.GetGeneratorChain();
    return chain ? chain->GetUniqueID() : task.GetInternalName();
}

QString UpperName(const Ipu::Task& task)
{
    return ToQString(task.GetInternalName()).toUpper();
}

bool NameIs(const QString& name, const char* taskName)
{
    return name.compare(QLatin1String(taskName), Qt::CaseInsensitive) == 0;
}

// A text carries its mnemonic when an "&" stands before anything but another "&" (which
// is a literal ampersand). Such a text is left as it is, so a repeated request never adds
// a second "&".
bool HasMnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return true;
        ++i;
    }
    return false;
}

// The first letter not yet used in this list gets the "&"; without one, "&" goes first.
QString WithMnemonic(const QString& text, QSet<QChar>& used)
{
    if (HasMnemonic(text))
        return text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isLetter() && !used.contains(text[i])) {
            used.insert(text[i]);
            return text.left(i) + '&' + text.mid(i);
        }
    }
    return '&' + text;
}

// Ordered by text, ignoring case and "&"; of two equal keys the later action stays.
QList<Action*> Ordered(const QList<Action*>& actions)
{
    QMap<QString, Action*> byText;
    for (Action* action : actions)
        byText.insert(action->text().toLower().remove('&'), action);
    return byText.values();
}

void DeleteAll(ActionCache& cache)
{
    for (auto& entry : cache) {
        for (auto& keyed : entry.second)
            delete keyed.second;
    }
    cache.clear();
}

struct IpFlags {
    bool optionsUsable;
    bool dataSheetEncrypted;
};

// A catalogue IP can always use the options it is offered; a customized one only its own
// valid ones.
IpFlags FlagsOf(const Ip& ip)
{
    return {!ip.IsCustomised() || ip.ProjectOptionsValid(), ip.IsDataSheetEncrypted()};
}

struct BusyText {
    std::initializer_list<const char*> tasks;
    const char* text;
};

const BusyText busyTexts[] = {
    {{Ipu::Task::CUSTOMIZE, Ipu::Task::CUSTOMIZE_AND_GENERATE, Ipu::Task::RECUSTOMIZE,
      Ipu::Task::RECUSTOMIZE_ORIGINAL, Ipu::Task::RECUSTOMIZE_CURRENT},
     QT_TRANSLATE_NOOP("En::ActionManager", "Customizing IP")},
    {{Ipu::Task::GENERATE, Ipu::Task::REGENERATE_ORIGINAL, Ipu::Task::REGENERATE_CURRENT},
     QT_TRANSLATE_NOOP("En::ActionManager", "Generating IP")},
    {{Ipu::Task::UPGRADE_AND_REGENERATE, Ipu::Task::SELECT_UPGRADE_AND_REGENERATE},
     QT_TRANSLATE_NOOP("En::ActionManager", "Upgrading IP")},
    {{Ipu::Task::VALIDATE_IP}, QT_TRANSLATE_NOOP("En::ActionManager", "Validating IP")},
    {{Ipu::Task::REGENERATE_PROJECT},
     QT_TRANSLATE_NOOP("En::ActionManager", "Regenerating Project")},
    {{Ipu::Task::UPGRADE_PROJECT}, QT_TRANSLATE_NOOP("En::ActionManager", "Upgrading Project")},
    {{Ipu::Task::IMPORT_GTC_FILE},
     QT_TRANSLATE_NOOP("En::ActionManager", "Importing Existing Customized IP")},
    {{Ipu::Task::CHANGE_PROJECT_OPTIONS},
     QT_TRANSLATE_NOOP("En::ActionManager", "Setting Project Options")},
    {{Ipu::Task::VALIDATE_PROJECT}, QT_TRANSLATE_NOOP("En::ActionManager", "Validating Project")},
    {{Ipu::Task::VIEW_RESOURCE_UTILIZATION},
     QT_TRANSLATE_NOOP("En::ActionManager", "Generating Resource Utilization Details")},
    {{Ipu::Task::VIEW_README_FILE, Ipu::Task::VIEW_DATASHEET, Ipu::Task::VIEW_PRODUCT_WEBPAGE,
      Ipu::Task::VIEW_VERSION_INFO, Ipu::Task::VIEW_SOLUTION_RECORDS,
      Ipu::Task::SUPPORTED_FAMILIES},
     QT_TRANSLATE_NOOP("En::ActionManager", "Viewing IP Details")},
    {{Ipu::Task::CURRENT_OPTIONS, Ipu::Task::ORIGINAL_OPTIONS},
     QT_TRANSLATE_NOOP("En::ActionManager", "Viewing Project Options")},
};

struct Question {
    std::initializer_list<const char*> tasks;
    const char* text;
};

const Question regenerationQuestions[] = {
    {{Ipu::Task::GENERATE, Ipu::Task::REGENERATE_ORIGINAL, Ipu::Task::REGENERATE_CURRENT},
     "You are regenerating this core. "},
    {{Ipu::Task::REGENERATE_PROJECT}, "You are regenerating this project. "},
    {{Ipu::Task::UPGRADE_IP_LATEST_VERSION, Ipu::Task::UPGRADE_AND_REGENERATE,
      Ipu::Task::SELECT_UPGRADE_AND_REGENERATE},
     "You are upgrading this core. "},
    {{Ipu::Task::UPGRADE_PROJECT}, "You are upgrading this project. "},
};

struct IconName {
    std::initializer_list<const char*> tasks;
    const char* icon;
};

const IconName iconNames[] = {
    {{Ipu::Task::CUSTOMIZE, Ipu::Task::CUSTOMIZE_AND_GENERATE,
      Ipu::Task::CUSTOMIZE_AND_GENERATE_ORIGINAL, Ipu::Task::CUSTOMIZE_AND_GENERATE_CURRENT,
      Ipu::Task::RECUSTOMIZE, Ipu::Task::RECUSTOMIZE_ORIGINAL, Ipu::Task::RECUSTOMIZE_CURRENT},
     "gt-customise-action"},
    {{Ipu::Task::UPGRADE_IP_LATEST_VERSION}, "gt-upgrade-action"},
    {{Ipu::Task::UPGRADE_PROJECT, Ipu::Task::UPGRADE_AND_REGENERATE_PROJECT},
     "gt-upgrade-generate-proj"},
    {{Ipu::Task::UPGRADE_AND_REGENERATE, Ipu::Task::SELECT_UPGRADE_AND_REGENERATE},
     "gt-upgrade-generate-action"},
    {{Ipu::Task::GENERATE, Ipu::Task::REGENERATE_ORIGINAL, Ipu::Task::REGENERATE_CURRENT},
     "gt-generate-action"},
    {{Ipu::Task::REGENERATE_PROJECT}, "gt-generate-action-proj"},
    {{Ipu::Task::VIEW_PRODUCT_WEBPAGE}, "gt-product-action"},
    {{Ipu::Task::VIEW_VERSION_INFO}, "gt-version-action"},
    {{Ipu::Task::VIEW_SOLUTION_RECORDS}, "gt-answers-action"},
    {{Ipu::Task::VIEW_README_FILE}, "gt-readme-action"},
    {{Ipu::Task::VIEW_RESOURCE_UTILIZATION}, "gt-resources-action"},
    {{Ipu::Task::VIEW_DATASHEET}, "gt-datasheet-action"},
    {{Ipu::Task::CHANGE_PROJECT_OPTIONS}, "gt-project-options"},
    {{Ipu::Task::IMPORT_GTC_FILE}, "pn-template-new"},
    {{Ipu::Task::SUPPORTED_FAMILIES}, "add-pellor-device"},
    {{Ipu::Task::CURRENT_OPTIONS, Ipu::Task::ORIGINAL_OPTIONS}, "gt-project-options"},
};

// In polling mode the move-out step of a command file's generation is its answer.
bool AnswersPollingClient(const Ipu::Event& event)
{
    const Ipu::Task& task = event.GetTask();
    return Global::_batchCommandRuntimeOptions.IsEnabledPollingMode() && !task.IsProjectTask() &&
           task.ModifiesIP() && event.GetStatus().GetMessage() == Ipu::Command::MOVEOUT_MSG;
}

void AnswerPollingClient(const Ipu::Event& event)
{
    const boost::shared_ptr<Ipu::IPComponent> component = event.GetComponent();
    if (!component) {
        EN_MESSAGE("En_ActionManager").issueError("Null IP passed in polling mode event data.\n");
        return;
    }
    if (PollingMode::WriteCommandFinishFile(event.GetStatus().GetCode(), component->GetName(),
                                            component->GetUnconfiguredDisplayName(),
                                            component->GetIdentifier().GetVersion()) != 0)
        EN_MESSAGE("En_ActionManager")
            .issueError("Could not write polling mode finish file for '%s'.\n",
                        component->GetName().c_str());
}

// The options an IP that the project's part cannot take is delivered with: its own, for
// its own part, but this project's name and output directory.
Ipu::ProjectOptions MadeIn(const Ipu::CustomizedIP& cip, const Ipu::ProjectOptions& project)
{
    Ipu::ProjectOptions made;
    Port::String name;
    Port::String output;
    cip.GetProjectOptions(made);
    project.GetProjectName(name);
    project.GetOutputDirectory(output);
    made.SetProjectName(name);
    made.SetOutputDirectory(output);
    return made;
}

// The map's keys are upper-cased task names, and the catalogue names these tasks after
// their groups: the group names are looked up upper-cased too.
Action* RecustomizeAction(const Ip& ip)
{
    const QMap<QString, Action*> actions = ip.GetActionsMap();
    for (const char* group : {Ipu::GeneratorChain::CUSTOMIZE_AND_GENERATE_CURRENT_CHAINGROUP,
                              Ipu::GeneratorChain::CUSTOMIZE_CURRENT_CHAINGROUP}) {
        if (Action* action = actions.value(QString::fromLatin1(group).toUpper()))
            return action;
    }
    return nullptr;
}

}  // namespace

ActionManager* ActionManager::GetInstance()
{
    if (_instance == nullptr)
        _instance = new ActionManager;
    return _instance;
}

ActionManager::ActionManager() : engineCallback(new EngineCallback)
{
    ProjectManager* projects = ProjectManager::GetInstance();
    for (auto changed :
         {&ProjectManager::ProjectStateHasChanged, &ProjectManager::ProjectOptionsChanged,
          &ProjectManager::RepositoryRefreshed})
        connect(projects, changed, this, &ActionManager::ForgetTaskLists);
    qRegisterMetaType<EngineEventDetails>("EngineEventDetails");
    connect(engineCallback, &EngineCallback::EngineEvent, this, &ActionManager::EngineEvent,
            Qt::AutoConnection);
    if (CitP::Factory::LoadLibraryFactory(SimC::ENGINE_LIBRARY) != 0)
        return;
    engine =
        CitP::Factory::CreateInstanceRef(SimC::CLSID_CIPEngine).Query<SimC::IGenerationEngine>();
}

ActionManager::~ActionManager()
{
    ipListMemo.clear();
    DeleteAll(projectActionCache);
    DeleteAll(ipActionCache);
    qDeleteAll(runningActions);
    runningActions.clear();
    engine.reset();
    delete engineCallback;
    if (_instance == this)
        _instance = nullptr;
}

// The action made on the first request for this project or IP and task, enabled as asked.
template <typename Target>
Action* ActionManager::CachedAction(Target& target, const Port::String& id, const Ipu::Task& task,
                                    bool enabled) const
{
    ActionCache& cache = std::is_same_v<Target, Project> ? projectActionCache : ipActionCache;
    Action*& action = cache[id][ActionKey(task)];
    if (action == nullptr) {
        action = new Action(target, task, nullptr);
        action->setIcon(IconFromActionName(action->internalName()));
        connect(action, qOverload<Target&, Ipu::Task&, Ipu::Status&>(&Action::triggered),
                GetInstance(),
                qOverload<Target&, Ipu::Task&, Ipu::Status&>(&ActionManager::ActionTriggered));
    }
    action->setEnabled(enabled);
    return action;
}

Action* ActionManager::ActionFromTask(Project& project, const Ipu::Task& task) const
{
    const boost::shared_ptr<Ipu::IPComposite> composite = project.GetIPComposite();
    return composite ? CachedAction(project, composite->GetUniqueID(), task,
                                    IsTaskEnabled(task, true, false))
                     : nullptr;
}

Action* ActionManager::ActionFromTask(Ip& ip, const Ipu::Task& task, bool optionsUsable,
                                      bool dataSheetEncrypted) const
{
    const boost::shared_ptr<Ipu::IPComponent> component = ip.GetIPComponent();
    return component ? CachedAction(ip, component->GetUniqueID(), task,
                                    IsTaskEnabled(task, optionsUsable, dataSheetEncrypted))
                     : nullptr;
}

bool ActionManager::IsTaskEnabled(const Ipu::Task& task, bool optionsUsable,
                                  bool dataSheetEncrypted) const
{
    const bool locked = taskMutexLocked || actionMutexLocked;
    if (!locked && projectOpen && projectOptionsValid && optionsUsable && !dataSheetEncrypted)
        return true;
    const bool needsProject =
        task.RequiresOpenProject() ||
        (dataSheetEncrypted &&
         task.GetInternalName().Compare(Ipu::Task::VIEW_DATASHEET, Port::CompareIgnoreCase) == 0);
    if (locked && task.RequiresMutex())
        return false;
    if (!projectOpen && needsProject)
        return false;
    if (!projectOptionsValid && task.UsesCurrentProjectOptions())
        return false;
    return optionsUsable || !task.UsesOriginalProjectOptions();
}

QList<Action*> ActionManager::GetActionList(Project& project) const
{
    QList<Action*> actions;
    QSet<QChar> used;
    for (const Ipu::Task& task : project.GetTaskList()) {
        if (task.GetVisibility() != Ipu::Task::VISIBILITY_VISIBLE)
            continue;
        Action* action = ActionFromTask(project, task);
        if (action == nullptr)
            continue;
        action->setText(WithMnemonic(action->text(), used));
        actions.append(action);
    }
    return Ordered(actions);
}

QList<Action*> ActionManager::GetActionList(Ip& ip) const
{
    const IpFlags flags = FlagsOf(ip);
    const boost::shared_ptr<Ipu::IPComponent> component = ip.GetIPComponent();
    if (!component)
        return {};
    OrderedList& memo = ipListMemo[component.get()];
    if (memo.epoch == taskEpoch && memo.component.lock() == component) {
        for (Action* action : memo.actions)
            action->setEnabled(
                IsTaskEnabled(*action->task(), flags.optionsUsable, flags.dataSheetEncrypted));
        return memo.actions;
    }
    QList<Action*> actions;
    QStringList seen;
    for (const Ipu::Task& task : ip.GetTaskList()) {
        if (task.GetVisibility() != Ipu::Task::VISIBILITY_VISIBLE || seen.contains(UpperName(task)))
            continue;
        seen.append(UpperName(task));
        if (Action* action =
                ActionFromTask(ip, task, flags.optionsUsable, flags.dataSheetEncrypted))
            actions.append(action);
    }
    for (const Ipu::Task& task : UpgradeTasks(ip, seen)) {
        if (Action* action =
                ActionFromTask(ip, task, flags.optionsUsable, flags.dataSheetEncrypted))
            actions.append(action);
    }
    memo = {taskEpoch, component, Ordered(actions)};
    return memo.actions;
}

QList<Ipu::Task> ActionManager::UpgradeTasks(const Ip& ip, const QStringList& seen) const
{
    QList<Ipu::Task> tasks;
    ProjectManager* manager = ProjectManager::GetInstance();
    if (!manager->ProjectOpen() || !ip.CanUpgradedIpBeRegenerated(*manager->GetProjectOptions()))
        return tasks;
    for (const char* name : {Ipu::Task::UPGRADE_REGENERATE_IP_SELECTED_VERSION,
                             Ipu::Task::UPGRADE_REGENERATE_IP_LATEST_VERSION}) {
        Ipu::Task task;
        if (!seen.contains(QString(name).toUpper()) && ip.GetTask(name, task))
            tasks.append(task);
    }
    return tasks;
}

QList<Action*> ActionManager::GetInformationActionsList(Ip& ip) const
{
    const IpFlags flags = FlagsOf(ip);
    QList<Action*> actions;
    QStringList seen;
    for (const Ipu::Task& task : ip.GetInformationTaskList()) {
        const QString name = ToQString(task.GetInternalName());
        if (task.GetVisibility() != Ipu::Task::VISIBILITY_VISIBLE || seen.contains(name))
            continue;
        seen.append(name);
        if (Action* action =
                ActionFromTask(ip, task, flags.optionsUsable, flags.dataSheetEncrypted))
            actions.append(action);
    }
    return actions;
}

QMap<QString, Action*> ActionManager::GetActionMap(Project& project) const
{
    QMap<QString, Action*> map;
    for (const Ipu::Task& task : project.GetTaskList()) {
        if (task.GetVisibility() != Ipu::Task::VISIBILITY_VISIBLE)
            continue;
        if (Action* action = ActionFromTask(project, task))
            map.insert(UpperName(task), action);
    }
    return map;
}

QMap<QString, Action*> ActionManager::GetActionMap(Ip& ip) const
{
    const IpFlags flags = FlagsOf(ip);
    QMap<QString, Action*> map;
    for (const Ipu::Task& task : ip.GetTaskList()) {
        if (task.GetVisibility() != Ipu::Task::VISIBILITY_VISIBLE || map.contains(UpperName(task)))
            continue;
        if (Action* action =
                ActionFromTask(ip, task, flags.optionsUsable, flags.dataSheetEncrypted))
            map.insert(UpperName(task), action);
    }
    const QString selected = QString(Ipu::Task::UPGRADE_REGENERATE_IP_SELECTED_VERSION).toUpper();
    for (const Ipu::Task& task : UpgradeTasks(ip, map.keys())) {
        if (UpperName(task) != selected)
            continue;
        if (Action* action =
                ActionFromTask(ip, task, flags.optionsUsable, flags.dataSheetEncrypted))
            map.insert(ToQString(task.GetInternalName()), action);
    }
    return map;
}

// An empty default task names no task: caching an action for it would offer one that
// cannot run.
Action* ActionManager::GetDefaultAction(Project& project) const
{
    const Ipu::Task task = project.GetDefaultTask();
    return task.GetInternalName().IsEmpty() ? nullptr : ActionFromTask(project, task);
}

Action* ActionManager::GetDefaultAction(Ip& ip) const
{
    const Ipu::Task task = ip.GetDefaultTask();
    if (task.GetInternalName().IsEmpty())
        return nullptr;
    const IpFlags flags = FlagsOf(ip);
    return ActionFromTask(ip, task, flags.optionsUsable, flags.dataSheetEncrypted);
}

QIcon ActionManager::IconFromActionName(const QString& name) const
{
    const QString icon = IconNameFromActionName(name);
    return icon.isEmpty() ? QIcon() : Sim::ImageUtil::GetIcon(icon, false);
}

QString ActionManager::IconNameFromActionName(const QString& name)
{
    for (const IconName& row : iconNames) {
        for (const char* task : row.tasks) {
            if (NameIs(name, task))
                return QLatin1String(row.icon);
        }
    }
    return {};
}

Port::String ActionManager::GetNextAvailableActionId()
{
    std::lock_guard<std::recursive_mutex> lock(idMutex);
    if (++nextActionId == 4294967295u)
        nextActionId = 1;
    return Port::String().Format("%u", nextActionId);
}

QString ActionManager::NameFromEventData(const Ipu::EventData& data) const
{
    const QString name = ToQString(data.GetTaskInternalName());
    for (const BusyText& row : busyTexts) {
        for (const char* task : row.tasks) {
            if (name == QLatin1String(task))
                return tr(row.text);
        }
    }
    return tr("Executing Task");
}

void ActionManager::ReadLockFlags()
{
    taskMutexLocked = Ipu::TaskMutexSingleton::IsLocked();
    actionMutexLocked = ActionMutexSingleton::IsLocked() && !ownsActionMutex;
}

void ActionManager::MutexChanged()
{
    ReadLockFlags();
    emit MutexStateChange(taskMutexLocked);
    emit Update();
}

void ActionManager::ForgetTaskLists()
{
    ++taskEpoch;
}

void ActionManager::ProjectChanged()
{
    ForgetTaskLists();
    ReadLockFlags();
    ProjectManager* manager = ProjectManager::GetInstance();
    projectOpen = manager->ProjectOpen();
    projectOptionsValid = manager->ProjectOptionsValid();
}

void ActionManager::ActionTriggered(Project& project, Ipu::Task& task, Ipu::Status& status)
{
    Trigger(project, task, status);
}

void ActionManager::ActionTriggered(Ip& ip, Ipu::Task& task, Ipu::Status& status)
{
    Trigger(ip, task, status);
}

template <typename Target>
void ActionManager::Trigger(Target& target, Ipu::Task& task, Ipu::Status& status)
{
    if (task.RequiresOpenProject() && !ProjectManager::GetInstance()->ProjectOpen()) {
        EN_MESSAGE("En_ActionManager").issueError("Project not open.\n");
        return;
    }
    bool accepted;
    if constexpr (std::is_same_v<Target, Project>)
        accepted = CheckModifiedGTP(target, task);
    else
        accepted = CheckModifiedGTC(target, task);
    if (!accepted || !RegenerationAcceptance(task)) {
        EN_MESSAGE("En_ActionManager").issueStatus("Action cancelled by user.\n");
        return;
    }
    DoTask(target, task, status);
}

bool ActionManager::CheckModifiedGTP(Project& project, const Ipu::Task& task) const
{
    if (!project.FileModifiedByUser() || !task.ModifiesIP())
        return true;
    const bool accepted = FileModificationAcceptance(project.GetFileName());
    project.RemoveFileModifiedStatus();
    return accepted;
}

bool ActionManager::CheckModifiedGTC(Ip& ip, const Ipu::Task& task) const
{
    if (!ip.FileModifiedByUser() || !task.ModifiesIP())
        return true;
    const bool accepted = FileModificationAcceptance(ip.GetFileName());
    ip.RemoveFileModifiedStatus();
    return accepted;
}

bool ActionManager::FileModificationAcceptance(const QString& fileName) const
{
    const QString text = QStringLiteral("WARNING: \"") + fileName +
                         QStringLiteral(
                             "\" has been altered since it was generated by Pellor "
                             "Gantrel.\nThe changes may result in unexpected and "
                             "unsupported behavior.\n\nDo you wish to continue?");
    return Ask(text);
}

// Without a widget application (a command-line host) no dialog can be shown: the question
// is reported and taken as declined, its default.
bool ActionManager::Ask(const QString& text) const
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        EN_MESSAGE("En_ActionManager").issueWarning("%s (answered No)\n", qPrintable(text));
        return false;
    }
    return QMessageBox::warning(nullptr, ToQString(Ipu::Utilities::ApplicationName()), text,
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

bool ActionManager::RegenerationAcceptance(const Ipu::Task& task) const
{
    const QString name = ToQString(task.GetInternalName());
    const char* first = nullptr;
    for (const Question& row : regenerationQuestions) {
        for (const char* taskName : row.tasks) {
            if (first == nullptr && name == QLatin1String(taskName))
                first = row.text;
        }
    }
    if (first == nullptr || Sim::UserSettings::GetOverwriteOutputFiles())
        return true;
    const bool wholeProject = name == QLatin1String(Ipu::Task::UPGRADE_PROJECT) ||
                              name == QLatin1String(Ipu::Task::REGENERATE_PROJECT);
    const QString text =
        QLatin1String(first) +
        (wholeProject ? QStringLiteral("If you proceed, output products for this project's cores "
                                       "may be overwritten.\n\n")
                      : QStringLiteral("If you proceed, output products for this core may be "
                                       "overwritten.\n\n")) +
        QStringLiteral("Do you wish to continue?");
    return Ask(text);
}

unsigned int ActionManager::DoTask(Ip& ip, Ipu::Task& task, Ipu::Status& /*status*/)
{
    if (!ip.GetIPComponent())
        return 0;
    const Ipu::ProjectOptions* options = ProjectManager::GetInstance()->GetProjectOptions();
    Ipu::CustomizedIP cip(ip.GetIPComponent());
    Ipu::Task work = task;
    if (!ip.IsCustomised()) {
        const Ipu::IP fresh(ip.GetIPComponent()->Clone());
        const boost::shared_ptr<Ipu::IPComponent> component = fresh.GetIPComponent();
        const QString name = ToQString(task.GetInternalName());
        Ipu::Task resolved;
        if (NameIs(name, Ipu::Task::SUPPORTED_FAMILIES) ||
            NameIs(name, Ipu::Task::CURRENT_OPTIONS) || NameIs(name, Ipu::Task::ORIGINAL_OPTIONS)) {
            resolved.SetInternalName(task.GetInternalName());
        } else if (fresh.GetTask(task.GetInternalName(), resolved) != 0) {
            EN_MESSAGE("En_ActionManager")
                .issueError("Could not run task '%s' on IP '%s'.\n", task.GetInternalName().c_str(),
                            component->GetDisplayName().c_str());
            return 1;
        }
        component->SetDisplayName(Port::String());
        component->SetDescription(Port::String());
        if (options == nullptr || component->SetProjectOptions(*options) != 0) {
            EN_MESSAGE("En_ActionManager")
                .issueError("Could not apply project options to component configuration.\n");
            return 1;
        }
        cip.SetIP(fresh);
        work = resolved;
    }
    work.SetActionID(GetNextAvailableActionId());
    Ipu::EventData data(work, cip);
    // Read before ActionStarted takes the locks for this task itself.
    const bool readOnlyOptions = Ipu::TaskMutexSingleton::IsLocked() ||
                                 (ActionMutexSingleton::IsLocked() && !ownsActionMutex);
    if (!cip.GetIPComponent() || !ActionStarted(data))
        return 0;
    if (!ip.IsCustomised())
        cip.GetIPComponent()->SetFileModifiedByUser(false);
    const QString name = ToQString(work.GetInternalName());
    if (ShowsDialog(data, name, ip, readOnlyOptions))
        return 0;
    if ((NameIs(name, Ipu::Task::REGENERATE_CURRENT) ||
         NameIs(name, Ipu::Task::REGENERATE_ORIGINAL)) &&
        !Sim::UserSettings::GetOverwriteOutputFiles()) {
        const QString text = tr("WARNING: A core named <%1> already exists in the output "
                                "directory.\nIf you proceed, output products for this core may "
                                "be overwritten.\n\nDo you wish to continue?\n")
                                 .arg(ToQString(cip.GetIPComponent()->GetName()), 0, QChar(' '));
        if (QMessageBox::warning(nullptr, tr("Gantrel: Overwrite Files"), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) != QMessageBox::Yes) {
            ActionFinished(data, 2, true);
            return 2;
        }
    }
    const Port::String generationId =
        StartGeneration(work.GetActionID(), cip.GetIPComponent(), work.GetGeneratorChain(), data);
    work.SetGenerationID(generationId);
    if (generationId.IsEmpty()) {
        EN_MESSAGE("En_ActionManager").issueError("Unable to start Generation - no ID returned\n");
        ActionFinished(data, 1, false);
        return 1;
    }
    return 0;
}

unsigned int ActionManager::DoTask(Project& project, Ipu::Task& task, Ipu::Status& /*status*/)
{
    task.SetActionID(GetNextAvailableActionId());
    Ipu::EventData data(task, Ipu::CustomizedIP());
    const bool readOnlyOptions = Ipu::TaskMutexSingleton::IsLocked() ||
                                 (ActionMutexSingleton::IsLocked() && !ownsActionMutex);
    if (!ActionStarted(data))
        return 0;
    const QString name = ToQString(task.GetInternalName());
    BusyNotificationObject busy(NameFromEventData(data), false);
    runningActions.append(new RunningAction{task.GetActionID(), Port::String(), busy});
    if (!NameIs(name, Ipu::Task::SELECT_UPGRADE_AND_REGENERATE))
        emit AddBusyNotification(busy);
    Ipu::ProjectOptions options;
    if (name == QLatin1String(Ipu::Task::CHANGE_PROJECT_OPTIONS) &&
        project.GetProjectOptions(options) == 0) {
        ShowOptions(data, options, readOnlyOptions);
        return 0;
    }
    if (name == QLatin1String(Ipu::Task::IMPORT_GTC_FILE))
        return ImportGTC(project, task);
    const boost::shared_ptr<Ipu::IPComposite> composite = project.GetIPComposite();
    if (!composite) {
        EN_MESSAGE("En_ActionManager").issueError("Cannot perform action on invalid project.\n");
        ActionFinished(data, 1, false);
        return 1;
    }
    const Port::String generationId =
        StartGeneration(task.GetActionID(), composite, task.GetGeneratorChain(), data);
    task.SetGenerationID(generationId);
    if (generationId.IsEmpty()) {
        EN_MESSAGE("En_ActionManager").issueError("Unable to start Generation - no ID returned\n");
        ActionFinished(data, 1, false);
        return 1;
    }
    return 0;
}

// The import action ends as soon as a file is chosen: what the file leads to runs as
// actions of its own, so no lock is held while the file is read.
unsigned int ActionManager::ImportGTC(Project& project, const Ipu::Task& task)
{
    const Ipu::EventData data(task, Ipu::CustomizedIP());
    Ipu::ProjectOptions options;
    Port::String output;
    if (project.GetProjectOptions(options) != 0 || options.GetOutputDirectory(output) != 0) {
        ActionFinished(data, 1, false);
        return 0;
    }
    const QString file =
        QFileDialog::getOpenFileName(nullptr, tr("Import Existing Customised IP"),
                                     Port::File::isdir(output) ? ToQString(output) : QString(),
                                     tr("Gantrel IP (*.gtc);;All Files (*)"));
    ActionFinished(data, 0, false);
    if (file.isEmpty())
        return 0;
    return ImportFile(project, file) == UNREADABLE ? 1 : 0;
}

ActionManager::ImportResult ActionManager::ImportFile(Project& project, const QString& path)
{
    const Port::String file = Sim::Utility::QStringToPortString(path);
    Ipu::CustomizedIP cip;
    if (ImportedIpFile::CreateCustomizedIpFromFile(Global::_guiRuntimeOptions, file, cip) != 0) {
        EN_MESSAGE("En_ActionManager")
            .issueError("Could not create IP from file %s\n", file.c_str());
        return UNREADABLE;
    }
    const boost::shared_ptr<Ipu::IPComponent> component = cip.GetIPComponent();
    Ip ip(component);
    if (project.HasIP(component->GetName())) {
        EN_MESSAGE("En_ActionManager")
            .issueWarning("Skipping import. The project already has an IP with the name '%s'.\n",
                          component->GetName().c_str());
        return NAME_TAKEN;
    }
    Ipu::ProjectOptions current;
    project.GetProjectOptions(current);
    if (!IpCompatibilityChecker::GetInstance()->IsCompatible(component)) {
        component->SetProjectOptions(MadeIn(cip, current));
        return DeliverUnchanged(ip) ? IMPORTED : NOT_DELIVERED;
    }
    // Recustomized under this project's settings, so the outputs suit its part and the IP
    // joins this project.
    component->SetProjectOptions(current);
    if (Action* action = RecustomizeAction(ip)) {
        action->activate(QAction::Trigger);
        return IMPORTED;
    }
    const Port::String absolute = Ipu::Utilities::GetAbsolutePath(file);
    EN_MESSAGE("En_ActionManager")
        .issueWarning("Unable to recustomize IP imported from %s\n", absolute.c_str());
    const boost::shared_ptr<Ipu::IPComponent> added = project.AddIP(ip);
    if (!added)
        return NOT_DELIVERED;
    if (added != component)
        Ipu::DebugMessengerFactory::GetLogger("projmgr").Normal(
            "Unexpected copy when importing IP from %s\n", absolute.c_str());
    ProjectManager::GetInstance()->SaveProject();
    return IMPORTED;
}

// An IP the project's part cannot take is delivered as it is: its customized IP file.
bool ActionManager::DeliverUnchanged(Ip& ip)
{
    for (const boost::shared_ptr<Ipu::GeneratorChain>& chain :
         ip.GetIPComponent()->GetGeneratorChains()) {
        if (!chain->HasGroup(Ipu::GeneratorChain::IP_GTC_CHAINGROUP))
            continue;
        Action* action = ActionFromTask(ip, Ipu::Task(chain), ip.ProjectOptionsValid(), false);
        if (action == nullptr) {
            EN_MESSAGE("En_ActionManager")
                .issueError("Unable to create action to deliver gtc file.\n");
            return false;
        }
        action->activate(QAction::Trigger);
        return true;
    }
    EN_MESSAGE("En_ActionManager")
        .issueError("IP does not have a generator to deliver its gtc file.\n");
    return false;
}

// The view tasks that show the part-compatibility or the project-options dialog. The
// original options are the IP's own and can only be viewed.
bool ActionManager::ShowsDialog(const Ipu::EventData& data, const QString& name, const Ip& ip,
                                bool readOnlyOptions)
{
    if (name == QLatin1String(Ipu::Task::SUPPORTED_FAMILIES)) {
        // Guarded: the active window may close, and take the dialog with it, during exec().
        QPointer<CompatibilityDlg> dialog = new CompatibilityDlg(QApplication::activeWindow());
        dialog->setIP(ip);
        dialog->exec();
        delete dialog;
        ActionFinished(data, 0, false);
        return true;
    }
    if (name == QLatin1String(Ipu::Task::CURRENT_OPTIONS)) {
        ShowOptions(data, *ProjectManager::GetInstance()->GetProjectOptions(), readOnlyOptions);
        return true;
    }
    if (name == QLatin1String(Ipu::Task::ORIGINAL_OPTIONS)) {
        ShowOptions(data, ip.GetProjectOptions(), true);
        return true;
    }
    return false;
}

void ActionManager::ShowOptions(const Ipu::EventData& data, const Ipu::ProjectOptions& options,
                                bool readOnly)
{
    BusyNotificationObject loading(tr("Loading Project Options"), true);
    emit AddBusyNotification(loading);
    QPointer<ProjectOptionsDlg> dialog =
        new ProjectOptionsDlg(readOnly, QApplication::activeWindow());
    dialog->SetProjectOptions(options);
    emit RemoveBusyNotification(loading);
    dialog->exec();
    delete dialog;
    ActionFinished(data, 0, false);
}

bool ActionManager::ActionStarted(const Ipu::EventData& data)
{
    const QString name = NameFromEventData(data);
    if (data.GetTask().RequiresMutex()) {
        const Port::String holder = Sim::Utility::QStringToPortString(name);
        if (!Ipu::TaskMutexSingleton::TryLock(holder)) {
            taskMutexLocked = true;
            return false;
        }
        if (!ActionMutexSingleton::TryLock(holder)) {
            Ipu::TaskMutexSingleton::Unlock();
            actionMutexLocked = true;
            return false;
        }
        taskMutexLocked = true;
        ownsActionMutex = true;
        emit MutexStateChange(true);
        emit Update();
    }
    Ipu::EngineNotifyMgr::SetCancelled(false);
    Ipu::EngineNotifyMgr::SetCancelled(data, false);
    return true;
}

Port::String ActionManager::StartGeneration(const Port::String& actionId,
                                            boost::shared_ptr<Ipu::IPBase> element,
                                            boost::shared_ptr<Ipu::GeneratorChain> chain,
                                            Ipu::EventData& /*data*/)
{
    Port::String generationId;
    if (!element || !chain)
        return generationId;
    BusyNotificationObject busy(tr(chain->GetDisplayName().c_str()), true);
    const Ipu::Utilities::StringContainer chains =
        Ipu::Utilities::ConvertStringListToStringContainer({chain->GetUniqueID()});
    if (engine)
        generationId = engine->StartGeneration(element->GetUniqueID(), chains.front());
    runningActions.append(new RunningAction{actionId, generationId, busy});
    EN_MESSAGE("En_ActionManager")
        .issueStatus("%s", Sim::Utility::QStringToPortString(busy.Message()).c_str());
    if (!NameIs(ToQString(chain->GetName()), Ipu::Task::SELECT_UPGRADE_AND_REGENERATE))
        emit AddBusyNotification(busy);
    return generationId;
}

void ActionManager::EngineEvent(const EngineEventDetails& details)
{
    if (!details.hasEvent() || !details.event().IsEventDataSet())
        return;
    const Ipu::Event event = details.event();
    const Ipu::Task& task = event.GetTask();
    const Ipu::Status& status = event.GetStatus();
    if (event.GetType() == Ipu::Event::TYPE_END_OF_RUN) {
        ActionFinished(event.GetEventData(), status.GetCode(), false);
    } else if (event.GetType() == Ipu::Event::TYPE_STEP && AnswersPollingClient(event)) {
        AnswerPollingClient(event);
    } else if (event.GetType() == Ipu::Event::TYPE_STEP && status.GetCode() == 0 &&
               task.ModifiesIP() && task.IsProjectTask() && !event.GetComponent()) {
        ProjectManager::GetInstance()->SaveProject();
    }
}

void ActionManager::ActionFinished(const Ipu::EventData& data, unsigned int status,
                                   bool skipRunningList)
{
    const Ipu::Task& task = data.GetTask();
    if (!skipRunningList && !EndRunningAction(task) && ownsActionMutex)
        Ipu::DebugMessengerFactory::GetLogger("projmgr").Normal(
            "Finished action not found in running actions list\n");
    const bool saveAfter =
        ownsActionMutex || !Global::_batchCommandRuntimeOptions.IsEnabledPollingMode();
    if (task.RequiresMutex())
        ReleaseLocks();
    if (!task.ModifiesIP()) {
        emit Update();
    } else if (status != 0) {
        SelectAfterFailure(data);
    } else {
        if (saveAfter)
            ProjectManager::GetInstance()->SaveProject();
        if (task.IsProjectTask())
            emit SelectProject();
        else
            emit ProjectIP(Ip(data.GetIPComponent()));
    }
}

// A project task runs under two notifications, its own and its generation's; the end names
// one of them, and both end with it, or the window would stay busy for good.
bool ActionManager::EndRunningAction(const Ipu::Task& task)
{
    const auto match = std::find_if(runningActions.begin(), runningActions.end(), [&](auto* run) {
        return run->actionId == task.GetActionID() ||
               (!run->generationId.IsEmpty() && run->generationId == task.GetGenerationID());
    });
    if (match == runningActions.end())
        return false;
    const Port::String actionId = (*match)->actionId;
    QList<RunningAction*> ended;
    for (RunningAction* run : runningActions) {
        if (run == *match || run->actionId == actionId)
            ended.append(run);
    }
    // Taken off the list before anyone hears of it: a listener may start the next task.
    for (RunningAction* run : ended)
        runningActions.removeOne(run);
    for (RunningAction* run : ended) {
        emit RemoveBusyNotification(run->busy);
        delete run;
    }
    return true;
}

void ActionManager::ReleaseLocks()
{
    if (ownsActionMutex) {
        if (ActionMutexSingleton::Unlock())
            Ipu::TaskMutexSingleton::Unlock();
        ownsActionMutex = false;
        emit MutexStateChange(false);
    }
    taskMutexLocked = false;
}

// A failed customization of a catalogue IP selects the catalogue entry it started from,
// not the failed copy that the project never took.
void ActionManager::SelectAfterFailure(const Ipu::EventData& data)
{
    const Ip ip(data.GetIPComponent());
    const boost::shared_ptr<Ipu::IPComponent> component = ip.GetIPComponent();
    ProjectManager* manager = ProjectManager::GetInstance();
    if (component && ip.IsCustomised() && manager->ProjectOpen() &&
        !manager->GetProject()->HasIP(component->GetName()) &&
        Ipu::ElementIndex::HasElement(component->GetUnconfiguredID())) {
        emit LibraryIP(Ip(boost::dynamic_pointer_cast<Ipu::IPComponent>(
            Ipu::ElementIndex::GetElement(component->GetUnconfiguredID()))));
        return;
    }
    emit LibraryIP(ip);
}

}  // namespace En
