#pragma once

#include <QJsonObject>
#include <QTextStream>

namespace En {
class Project;
}

// What a user or a script wants to know of a project: name, file, date, part, options
// and its IPs.
class ProjectInfo {
public:
    explicit ProjectInfo(const En::Project& project);

    const QJsonObject& toJson() const { return info; }
    void print(QTextStream& out) const;

private:
    QJsonObject info;
};
