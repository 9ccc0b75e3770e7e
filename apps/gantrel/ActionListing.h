#pragma once

#include <QJsonArray>
#include <QList>
#include <QTextStream>

namespace En {
class Action;
}

// The actions a user is offered, in the order offered: text with its mnemonic, internal
// name, whether enabled, whether the default, and the icon's name.
class ActionListing {
public:
    ActionListing(const QList<En::Action*>& actions, const En::Action* defaultAction);

    QJsonArray toJson() const { return rows; }
    void printTable(QTextStream& out) const;

private:
    QJsonArray rows;
};
