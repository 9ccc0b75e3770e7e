#pragma once

#include <QJsonObject>
#include <QTextStream>

namespace En {
class Project;
}

// What a user or a script wants to know of a project: name, file, date, part, options
// and its IPs with their parameters. JSON dates are ISO 8601 in UTC; the text shows local
// time as the rest of the tool does.
class ProjectInfo {
public:
    explicit ProjectInfo(const En::Project& project);

    // Shows the project under the name the user gave, where it was read from a copy.
    void setFile(const QString& file) { info["file"] = file; }

    const QJsonObject& toJson() const { return info; }
    void print(QTextStream& out) const;

private:
    void printParameters(QTextStream& out) const;

    QJsonObject info;
    QString localDate;
};
