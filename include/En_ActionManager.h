#pragma once

#include <QIcon>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <mutex>

#include "CitP_Ref.h"
#include "En_BusyNotificationObject.h"
#include "En_EngineEventDetails.h"
#include "En_Ip.h"
#include "Ipu_Status.h"
#include "Port_StringBase.h"
#include "SimC_IGenerationEngine.h"

namespace Ipu {
class EventData;
class GeneratorChain;
class IPBase;
class Task;
}  // namespace Ipu

namespace En {

class Action;
class EngineCallback;
class Project;

// The process-wide maker and receiver of actions. It turns the tasks of a project or an IP
// into Actions (made once per project or IP and task, then only re-enabled), keeps the
// lock and project flags that decide which actions are enabled, and receives triggered
// actions and the engine's events. Lives on the GUI thread.
class ActionManager : public QObject {
    Q_OBJECT

public:
    static ActionManager* GetInstance();
    // Deletes every cached action and releases the engine.
    ~ActionManager() override;

    QList<Action*> GetActionList(Project& project) const;
    QList<Action*> GetActionList(Ip& ip) const;
    QList<Action*> GetInformationActionsList(Ip& ip) const;
    // Keyed by the upper-cased internal task name.
    QMap<QString, Action*> GetActionMap(Project& project) const;
    QMap<QString, Action*> GetActionMap(Ip& ip) const;
    // Null when there is no default task.
    Action* GetDefaultAction(Project& project) const;
    Action* GetDefaultAction(Ip& ip) const;
    QIcon IconFromActionName(const QString& name) const;
    // Brings a customized IP file (.gtc, .gtq) or a Sylvane file (.syv) into the project,
    // as the import task does once the user has chosen the file: recustomized for the
    // project's part when it suits (the generation runs on), delivered unchanged when it
    // does not, added as it is when it offers no recustomization.
    enum ImportResult { IMPORTED = 0, UNREADABLE = 1, NAME_TAKEN = 2, NOT_DELIVERED = 3 };
    ImportResult ImportFile(Project& project, const QString& path);
    // The name of the icon IconFromActionName draws; empty when the task has none.
    static QString IconNameFromActionName(const QString& name);

signals:
    void MutexStateChange(bool bLocked);
    void AddBusyNotification(BusyNotificationObject);
    void RemoveBusyNotification(BusyNotificationObject);
    void ProjectIP(En::Ip);
    void LibraryIP(En::Ip);
    void SelectProject();
    void Update();
    void IPUpgraded(QString ipName);

public slots:
    void EngineEvent(const EngineEventDetails& details);
    void ProjectChanged();
    void MutexChanged();

protected slots:
    void ActionTriggered(En::Project& project, Ipu::Task& task, Ipu::Status& status);
    void ActionTriggered(En::Ip& ip, Ipu::Task& task, Ipu::Status& status);

private:
    struct RunningAction {
        Port::String actionId;
        Port::String generationId;
        BusyNotificationObject busy;
    };

    ActionManager();
    Q_DISABLE_COPY(ActionManager)

    Action* ActionFromTask(Project& project, const Ipu::Task& task) const;
    Action* ActionFromTask(Ip& ip, const Ipu::Task& task, bool optionsUsable,
                           bool dataSheetEncrypted) const;
    template <typename Target>
    Action* CachedAction(Target& target, const Port::String& id, const Ipu::Task& task,
                         bool enabled) const;
    bool IsTaskEnabled(const Ipu::Task& task, bool optionsUsable, bool dataSheetEncrypted) const;
    Port::String GetNextAvailableActionId();
    QString NameFromEventData(const Ipu::EventData& data) const;
    // Dispatch: 0 done, started or refused by the locks; 1 error; 2 overwrite declined.
    unsigned int DoTask(Project& project, Ipu::Task& task, Ipu::Status& status);
    unsigned int DoTask(Ip& ip, Ipu::Task& task, Ipu::Status& status);
    unsigned int ImportGTC(Project& project, const Ipu::Task& task);
    bool DeliverUnchanged(Ip& ip);
    bool FileModificationAcceptance(const QString& fileName) const;
    bool Ask(const QString& text) const;
    bool RegenerationAcceptance(const Ipu::Task& task) const;
    bool CheckModifiedGTP(Project& project, const Ipu::Task& task) const;
    bool CheckModifiedGTC(Ip& ip, const Ipu::Task& task) const;
    // Asks the questions a triggered task needs, then runs it.
    template <typename Target>
    void Trigger(Target& target, Ipu::Task& task, Ipu::Status& status);
    // The view tasks that show a dialog instead of running on the engine; true when the task
    // was one of them. Both run the dialog modally and finish the action when it closes.
    bool ShowsDialog(const Ipu::EventData& data, const QString& name, const Ip& ip,
                     bool readOnlyOptions);
    void ShowOptions(const Ipu::EventData& data, const Ipu::ProjectOptions& options, bool readOnly);
    bool ActionStarted(const Ipu::EventData& data);
    Port::String StartGeneration(const Port::String& actionId,
                                 boost::shared_ptr<Ipu::IPBase> element,
                                 boost::shared_ptr<Ipu::GeneratorChain> chain,
                                 Ipu::EventData& data);
    void ActionFinished(const Ipu::EventData& data, unsigned int status, bool skipRunningList);
    // Removes the finished task's running actions with their notifications; false when it
    // had none.
    bool EndRunningAction(const Ipu::Task& task);
    // The upgrade-and-regenerate tasks an IP offers beyond its own list, when they apply.
    QList<Ipu::Task> UpgradeTasks(const Ip& ip, const QStringList& seen) const;
    void ReadLockFlags();
    void ReleaseLocks();
    void SelectAfterFailure(const Ipu::EventData& data);
    // An IP's tasks follow the project, its options and the catalogue: after any of them
    // changes, the next request reads them again.
    void ForgetTaskLists();

    EngineCallback* engineCallback;
    bool taskMutexLocked = false;
    bool actionMutexLocked = false;
    bool ownsActionMutex = false;
    bool projectOpen = false;
    bool projectOptionsValid = false;
    QList<RunningAction*> runningActions;
    CitP::Ref<SimC::IGenerationEngine> engine;
    // A standard recursive mutex rather than Qt's: the same guard, and visible to the
    // thread sanitizer, which cannot see into the uninstrumented Qt.
    std::recursive_mutex idMutex;
    std::uint32_t nextActionId = 1;

    static ActionManager* _instance;

    // Tests reach the flags and the id counter through it (En_ActionManager_p.h).
    friend struct ActionManagerSeam;
};

}  // namespace En
