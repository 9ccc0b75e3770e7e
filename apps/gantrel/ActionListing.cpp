#include "ActionListing.h"

#include <QJsonObject>

#include "En_Action.h"
#include "En_ActionManager.h"
#include "TextTable.h"

ActionListing::ActionListing(const QList<En::Action*>& actions, const En::Action* defaultAction)
{
    for (const En::Action* action : actions) {
        rows.append(QJsonObject{
            {"text", action->text()},
            {"name", action->internalName()},
            {"enabled", action->isEnabled()},
            {"default", action == defaultAction},
            {"icon", En::ActionManager::IconNameFromActionName(action->internalName())}});
    }
}

void ActionListing::printTable(QTextStream& out) const
{
    const auto yesNo = [](const QJsonValue& value) {
        return value.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
    };
    TextTable table({"TEXT", "NAME", "ENABLED", "DEFAULT", "ICON"});
    for (const QJsonValue& row : rows) {
        table.addRow({row["text"].toString(), row["name"].toString(), yesNo(row["enabled"]),
                      yesNo(row["default"]), row["icon"].toString()});
    }
    table.print(out);
}
