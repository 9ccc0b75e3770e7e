#include "En_Global.h"

#include "Gui_Clip_HelpManager.h"

namespace En {

Ipu::RuntimeOptions Global::_batchCommandRuntimeOptions;
Ipu::RuntimeOptions Global::_guiRuntimeOptions;
Sim::API Global::_api;
const QString Global::HELP_MAP = QStringLiteral("plugin_gtn.map");

void Global::ShowHelpTopic(const QString& topic)
{
    if (Gui::Clip::HelpManager* help = Gui::Clip::HelpManager::getInstance())
        help->showHelpTopic(HELP_MAP, topic, Gui::Clip::HelpManager::NoPrefix);
}

}  // namespace En
