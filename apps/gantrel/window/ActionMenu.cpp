#include "ActionMenu.h"

#include "En_Action.h"
#include "Gui_Clip_Mnemonics.h"

ActionMenu::ActionMenu(const QList<En::Action*>& actions, En::Action* defaultAction,
                       QWidget* parent)
    : QMenu(parent)
{
    QStringList texts;
    for (const En::Action* action : actions)
        texts.append(action->text());
    texts = Gui::Clip::Mnemonics::Assign(texts);
    for (qsizetype i = 0; i < actions.size(); ++i) {
        QAction* standIn = addAction(actions[i]->icon(), texts[i]);
        standIn->setEnabled(actions[i]->isEnabled());
        standIn->setToolTip(actions[i]->toolTip());
        sources.insert(standIn, actions[i]);
        if (actions[i] == defaultAction)
            setDefaultAction(standIn);
    }
}
