#include "ActionMenu.h"

#include "En_Action.h"
#include "Gui_Clip_Mnemonics.h"

ActionMenu::ActionMenu(const QList<En::Action*>& actions, const QList<En::Action*>& information,
                       En::Action* defaultAction, QWidget* parent)
    : QMenu(parent)
{
    const QList<En::Action*> all = actions + information;
    QStringList texts;
    for (const En::Action* action : all)
        texts.append(action->text());
    texts = Gui::Clip::Mnemonics::Assign(texts);
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (i == actions.size() && i > 0)
            addSeparator();
        QAction* standIn = addAction(all[i]->icon(), texts[i]);
        standIn->setEnabled(all[i]->isEnabled());
        standIn->setToolTip(all[i]->toolTip());
        sources.insert(standIn, all[i]);
        if (all[i] == defaultAction)
            setDefaultAction(standIn);
    }
}
