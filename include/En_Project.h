#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <boost/shared_ptr.hpp>

#include "CitP_Ref.h"
#include "En_Ip.h"
#include "Ipu_PelPart.h"
#include "Ipu_Task.h"
#include "Ipu_TaskList.h"
#include "Port_FileName.h"
#include "Port_StringBase.h"
#include "SimC_IDesignManager.h"
#include "SimC_IProjectManager.h"

namespace Ipu {
class IPComponent;
class IPComposite;
class ProjectOptions;
}  // namespace Ipu

namespace En {

class Action;

// One project: a design of customized IPs stored in a project file, reached through the
// IP engine component. Copies share the design; destroying any copy closes the design in
// the engine, so the project manager keeps the one open project behind a shared pointer
// and everyone else borrows it. No lock of its own: one thread at a time.
class Project {
public:
    Project();
    explicit Project(boost::shared_ptr<Ipu::IPComposite> composite);
    Project(const Port::FileName& file, bool create);
    explicit Project(const Ipu::ProjectOptions& options);
    Project(const Project& other);
    Project& operator=(const Project& other);
    ~Project();

    boost::shared_ptr<Ipu::IPComposite> GetIPComposite() const { return composite; }
    bool IsEnabled() const { return static_cast<bool>(composite); }
    bool IsValid() const;

    Port::String GetFullFileName() const;
    // The project file a user means by name: the name itself when it is a file or carries
    // a project extension, else the default project file in that directory.
    static Port::String GetFullFileName(const Port::String& name);
    QString GetFileName() const;
    QString GetName() const;
    Port::String GetDesignID() const;
    QString GetDateModified() const;
    unsigned GetProjectOptions(Ipu::ProjectOptions& options) const;
    bool HasProperty(const QString& name) const;
    QString GetProperty(const QString& name) const;
    bool FileModifiedByUser() const;
    int CountIP() const;
    QList<Ip> GetIpList() const;

    boost::shared_ptr<Ipu::IPComponent> GetIPComponent(const Port::String& id);
    bool HasIP(const Port::String& id);
    Ip GetIP(const Port::String& id);

    bool SaveProject() const;
    void SetProjectOptions(const Ipu::ProjectOptions& options);
    boost::shared_ptr<Ipu::IPComponent> AddIP(const Ip& ip);

    // 0 when the options' part is offered by the installed device support, else 1; no
    // messages. The last verdict is cached for the part, so repeated checks of one part
    // ask the device support once. Safe from several threads.
    static unsigned SilentlyVerifyProjectOptions(const Ipu::ProjectOptions& options);
    // The silent check, telling the user through warnings what is wrong.
    static unsigned VerifyProjectOptions(const Ipu::ProjectOptions& options);
    // The checks of this project's own options; 1 unless the end watch is running.
    unsigned SilentlyVerifyProjectOptions() const;
    unsigned VerifyProjectOptions() const;
    bool AreProjectOptionsValid() const;
    bool ProjectCanBeRegenerated() const;
    bool ProjectCanBeUpgraded() const;

    // The actions offered for this project (the action manager makes and caches them).
    QList<Action*> GetActionsList();
    QMap<QString, Action*> GetActionsMap();
    Action* GetDefaultAction();

protected:
    friend class ActionManager;
    void RemoveFileModifiedStatus();
    Ipu::TaskList GetTaskList() const;
    Ipu::Task GetDefaultTask() const;

private:
    // Tests reach the default part and the task list through it (En_Project_p.h).
    friend struct ProjectSeam;

    unsigned SetDefaultPart();
    void LoadEngine();
    boost::shared_ptr<Ipu::IPComposite> CreateNewProject(const Port::FileName& file);
    boost::shared_ptr<Ipu::IPComposite> OpenExistingProject(const Port::FileName& file);
    boost::shared_ptr<Ipu::IPComposite> DesignFromID(const Port::String& id,
                                                     const Port::String& path) const;
    void swap(Project& other) noexcept;
    static bool IsPartAvailable(const Ipu::PelPart& part);

    CitP::Ref<SimC::IProjectManager> projectInterface;
    CitP::Ref<SimC::IDesignManager> designInterface;
    boost::shared_ptr<Ipu::IPComposite> composite;
};

}  // namespace En
