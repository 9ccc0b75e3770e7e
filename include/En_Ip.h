#pragma once

#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>

#include <boost/shared_ptr.hpp>
#include <vector>

#include "Ipu_Family.h"
#include "Ipu_IP.h"
#include "Ipu_LifeCycleStatus.h"
#include "Ipu_PelPart.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Task.h"
#include "Ipu_TaskList.h"
#include "Port_StringBase.h"

namespace Ipu {
class CustomizedIP;
class IPComponent;
class Parameters;
}  // namespace Ipu

namespace En {

class Action;

// One IP core as the user sees it: a catalogue entry or a customized IP of a project.
// A cheap value: copies share the core library's component, which the core library owns;
// everything but the own-options flag is read from the component on every call.
class Ip {
public:
    Ip();
    explicit Ip(const Ipu::CustomizedIP& ip);
    explicit Ip(const Ipu::IP& ip);
    explicit Ip(boost::shared_ptr<Ipu::IPComponent> component);
    Ip(const Ip& other);
    Ip& operator=(const Ip& other);
    ~Ip();

    bool operator<(const Ip& other) const;
    bool operator==(const Ip& other) const;

    boost::shared_ptr<Ipu::IPComponent> GetIPComponent() const { return component; }
    Ipu::IP GetIp() const;
    Ipu::CustomizedIP GetCustomisedIp() const;

    QString GetIpName() const;
    QString GetCoreName() const;
    QString GetIpVersion() const;
    QString GetDescription() const;
    QString GetFileName() const;
    QString GetDateModified() const;
    QString GetIpStatus() const;
    QString GetIpStatus(const Ipu::ProjectOptions& options) const;

    bool HasProperty(const QString& name) const;
    QString GetProperty(const QString& name) const;
    void GetPropertyValues(const Port::String& name, std::vector<Port::String>& values) const;
    bool IsDummyIp() const;

    bool IsCustomised() const;
    bool IsEnabled() const;
    bool IsIpLatestVersion() const;
    bool ProjectOptionsValid() const { return projectOptionsValid; }
    bool FileModifiedByUser() const;
    bool IsDataSheetEncrypted() const;
    Ipu::LifeCycleStatus GetLifeCycleStatus() const;
    Ipu::IP::IPType GetIpType() const;
    std::vector<Ipu::Family> GetSupportedFamilies() const;
    Ipu::PelPart GetPartDetails() const;
    Ipu::ProjectOptions GetProjectOptions() const;

    bool IsIpUpgradable(const Ipu::ProjectOptions& options) const;
    bool CanUpgradedIpBeRegenerated(const Ipu::ProjectOptions& options) const;

    // The actions offered for this IP (the action manager makes and caches them). GetAction
    // finds one by internal name, else by visible name.
    QList<Action*> GetActionsList() const;
    QMap<QString, Action*> GetActionsMap() const;
    QList<Action*> GetInformationActionsList() const;
    Action* GetDefaultAction() const;
    Action* GetAction(const QString& name) const;
    bool HasAction(const QString& name) const;

protected:
    friend class ActionManager;
    Ipu::TaskList GetTaskList() const;
    Ipu::Task GetDefaultTask() const;
    Ipu::TaskList GetInformationTaskList() const;
    bool GetTask(const Port::String& name, Ipu::Task& task) const;
    void SetParameters(const Ipu::Parameters& parameters);
    void SetProjectOptions(const Ipu::ProjectOptions& options);
    void RemoveFileModifiedStatus();

private:
    bool HasOwnValidProjectOptions() const;
    bool AcceptsChain(const Ipu::GeneratorChain& chain) const;
    bool OffersChain(const Ipu::GeneratorChain& chain, const Ipu::ProjectOptions& project,
                     bool validForProject, bool validForOwn) const;

    bool projectOptionsValid;
    boost::shared_ptr<Ipu::IPComponent> component;
};

}  // namespace En

Q_DECLARE_METATYPE(En::Ip)
