#include "En_Action.h"

#include "En_Ip.h"
#include "En_Project.h"
#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_Task.h"
#include "Sim_Utility.h"

#include <mutex>
#include <vector>

namespace En {

namespace {

// Project copies of destroyed actions: deleting one would close a design that the project
// manager may still hold, so they are kept (and stay reachable) for the process's life.
void Retire(Project* project)
{
    static auto* retired = new std::vector<Project*>;
    static std::mutex guard;
    std::lock_guard<std::mutex> lock(guard);
    retired->push_back(project);
}

}  // namespace

Action::Action(Project& project, const Ipu::Task& task, QObject* parent)
    : QAction(parent), projectCopy(new Project(project)), taskCopy(new Ipu::Task(task))
{
    TakeNames();
}

Action::Action(Ip& ip, const Ipu::Task& task, QObject* parent)
    : QAction(parent), ipCopy(new Ip(ip)), taskCopy(new Ipu::Task(task))
{
    TakeNames();
}

Action::Action(boost::shared_ptr<Ipu::IPBase> element, boost::shared_ptr<Ipu::GeneratorChain> chain,
               QObject* parent)
    : QAction(parent), taskCopy(new Ipu::Task(chain))
{
    if (auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element))
        ipCopy = new Ip(component);
    else if (auto composite = boost::dynamic_pointer_cast<Ipu::IPComposite>(element))
        projectCopy = new Project(composite);
    TakeNames();
}

Action::Action(const QIcon& icon, const QString& text, QObject* parent)
    : QAction(icon, text, parent)
{
}

Action::~Action()
{
    delete taskCopy;
    delete ipCopy;
    if (projectCopy != nullptr)
        Retire(projectCopy);
}

void Action::TakeNames()
{
    visibleNameValue = Sim::Utility::PortStringToQString(taskCopy->GetVisibleName());
    internalNameValue = Sim::Utility::PortStringToQString(taskCopy->GetInternalName());
    connect(this, &QAction::triggered, this, &Action::slotTriggered);
    setText(visibleNameValue);
}

void Action::slotTriggered()
{
    if (projectCopy != nullptr && taskCopy != nullptr)
        emit triggered(*projectCopy, *taskCopy, statusValue);
    else if (ipCopy != nullptr && taskCopy != nullptr)
        emit triggered(*ipCopy, *taskCopy, statusValue);
}

}  // namespace En
