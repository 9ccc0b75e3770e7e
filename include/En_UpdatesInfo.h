#pragma once

#include <QString>
#include <QStringList>

namespace En {

// The descriptions of the updates installed into the tool, read once when constructed.
// Each update leaves a "*.name" file in the installation's updates directory; its
// description is its meaningful lines (trimmed, neither empty nor starting with "#"), each
// followed by a line feed. docs/updates.md describes the directory and the files.
class UpdatesInfo {
public:
    // An unreadable file, or a missing directory, contributes nothing.
    UpdatesInfo();

    // One entry per update file that has meaningful lines, in directory listing order.
    const QStringList& GetUpdates() const;

private:
    QString GetUpdateInfo(const QString& fileName, const QString& directory) const;

    QStringList updates;
};

}  // namespace En
