#pragma once

#include <QHash>
#include <QList>
#include <QMenu>

namespace En {
class Action;
}

// The actions of one project or IP as a menu with unique keyboard mnemonics: its tasks,
// then below a separator its information (supported families, project options). The action
// manager's actions are shared by every menu and toolbar, so the menu shows stand-ins of
// its own: texts with mnemonics, the icon and enabled state of the moment, the default
// action in bold. The caller triggers the chosen action once the menu has closed.
class ActionMenu : public QMenu {
    Q_OBJECT

public:
    ActionMenu(const QList<En::Action*>& actions, const QList<En::Action*>& information,
               En::Action* defaultAction, QWidget* parent = nullptr);

    // The action a stand-in of this menu stands for; null for anything else.
    En::Action* Source(QAction* standIn) const { return sources.value(standIn); }

private:
    QHash<QAction*, En::Action*> sources;
};
