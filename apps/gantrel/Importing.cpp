#include "Importing.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

#include "En_ActionManager.h"
#include "En_Ip.h"
#include "En_IpCompatibilityChecker.h"
#include "En_Project.h"
#include "Ipu_IPComponent.h"

namespace {

QStringList IpNames(const En::Project& project)
{
    QStringList names;
    for (const En::Ip& ip : project.GetIpList())
        names << QString::fromStdString(ip.GetIPComponent()->GetName().str());
    return names;
}

}  // namespace

Importing::Importing()
{
    shown = Port_MsgManData::setSink([this](const Port_MsgManData::Message& message) {
        errors += message.kind == Port_MsgManData::Error ? 1 : 0;
        shown ? shown(message) : Port_MsgManData::printToStderr(message);
    });
    En::ActionManager* actions = En::ActionManager::GetInstance();
    connect(actions, &En::ActionManager::AddBusyNotification, this, [this] { ++busy; });
    connect(actions, &En::ActionManager::RemoveBusyNotification, this, [this] { --busy; });
}

Importing::~Importing()
{
    Port_MsgManData::setSink(shown);
}

int Importing::Run(En::Project& project, const QString& file)
{
    En::ActionManager* actions = En::ActionManager::GetInstance();
    actions->ProjectChanged();
    En::IpCompatibilityChecker::GetInstance()->Refresh();
    const QStringList before = IpNames(project);
    const bool started = actions->ImportFile(project, file) == En::ActionManager::IMPORTED;
    while (busy > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!started || errors > 0)
        return 1;
    for (const QString& name : IpNames(project)) {
        if (!before.contains(name)) {
            std::printf("Imported %s into %s\n", qPrintable(name),
                        project.GetFullFileName().c_str());
            return 0;
        }
    }
    Port_MsgManData::createObject("gantrel", "gantrel", __LINE__)
        .issueError("%s was not imported into %s\n", qPrintable(file),
                    project.GetFullFileName().c_str());
    return 1;
}
