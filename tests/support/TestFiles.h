#pragma once

#include <QByteArray>
#include <QString>

// Files a test lays out in its temporary directory.
namespace TestFiles {

// Writes content to path, making missing directories; false (with a warning) on failure.
bool write(const QString& path, const QByteArray& content);
// The whole file; empty when it cannot be read.
QByteArray read(const QString& path);

}  // namespace TestFiles
