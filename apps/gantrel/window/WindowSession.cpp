#include "WindowSession.h"

#include <QCoreApplication>
#include <QDir>

#include <memory>

#include "En_ActionManager.h"
#include "En_EndWatchThread.h"
#include "En_Global.h"
#include "En_ProjectManager.h"
#include "Gui_Clip_DialogCustomizer.h"
#include "Sim_Customizer.h"
#include "Sim_Utility.h"

namespace {

bool started = false;
bool catalogueLoaded = false;

}  // namespace

void WindowSession::Start()
{
    if (started)
        return;
    started = true;
    // Closing a project returns to where the session began; made absolute once, here.
    const Port::String here = Sim::Utility::QStringToPortString(QDir::currentPath());
    En::Global::_guiRuntimeOptions.SetStartupPath(here);
    En::Global::_batchCommandRuntimeOptions.SetStartupPath(here);
    En::ProjectManager* projects = En::ProjectManager::GetInstance();
    QObject::connect(projects, &En::ProjectManager::RepositoryRefreshed,
                     QCoreApplication::instance(), [] { catalogueLoaded = true; });
    En::ActionManager* actions = En::ActionManager::GetInstance();
    for (auto changed :
         {&En::ProjectManager::ProjectStateHasChanged, &En::ProjectManager::ProjectOptionsChanged})
        QObject::connect(projects, changed, actions, &En::ActionManager::ProjectChanged);
    actions->ProjectChanged();
    En::EndWatchThread::Start();
    Sim::Customizer::SetCurrent(std::make_shared<Gui::Clip::DialogCustomizer>());
}

bool WindowSession::CatalogueLoaded()
{
    return catalogueLoaded;
}
