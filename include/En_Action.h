#pragma once

#include <QAction>
#include <QIcon>
#include <QString>

#include <boost/shared_ptr.hpp>

#include "Ipu_Status.h"

namespace Ipu {
class GeneratorChain;
class IPBase;
class Task;
}  // namespace Ipu

namespace En {

class Ip;
class Project;

// The QAction through which one task of a project or of an IP reaches the user. It carries
// its own copies of the project (or IP) and of the task, and re-emits the plain trigger as
// a typed signal for the action manager, which dispatches the task.
//
// The project copy is never deleted: destroying a Project closes its design in the engine,
// and the project stays open after the actions made for it are gone.
class Action : public QAction {
    Q_OBJECT

public:
    Action(Project& project, const Ipu::Task& task, QObject* parent);
    Action(Ip& ip, const Ipu::Task& task, QObject* parent);
    // The element decides the kind: a component gives an IP action, a design a project
    // action; anything else gives an action that never emits the typed signals.
    Action(boost::shared_ptr<Ipu::IPBase> element, boost::shared_ptr<Ipu::GeneratorChain> chain,
           QObject* parent);
    // A plain icon and text, without task: only the QAction signals.
    Action(const QIcon& icon, const QString& text, QObject* parent);
    ~Action() override;

    Project* project() const { return projectCopy; }
    Ip* ip() const { return ipCopy; }
    Ipu::Task* task() const { return taskCopy; }
    Ipu::Status status() const { return statusValue; }
    QString internalName() const { return internalNameValue; }
    QString visibleName() const { return visibleNameValue; }
    // Replace the stored names only; the displayed text stays as it is.
    void setInternalName(const QString& name) { internalNameValue = name; }
    void setVisibleName(const QString& name) { visibleNameValue = name; }

signals:
    // The receiver may change the task: dispatch stores the run's ids in it.
    void triggered(En::Project& project, Ipu::Task&, Ipu::Status&);
    void triggered(En::Ip& ip, Ipu::Task&, Ipu::Status&);

private slots:
    virtual void slotTriggered();

private:
    Action();
    Q_DISABLE_COPY(Action)
    void TakeNames();

    Project* projectCopy = nullptr;
    Ip* ipCopy = nullptr;
    Ipu::Task* taskCopy = nullptr;
    Ipu::Status statusValue;
    QString visibleNameValue;
    QString internalNameValue;
};

}  // namespace En
