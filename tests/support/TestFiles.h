#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>

// Files a test lays out in its temporary directory.
namespace TestFiles {

// Writes content to path, making missing directories; false (with a warning) on failure.
bool write(const QString& path, const QByteArray& content);
// The whole file; empty when it cannot be read.
QByteArray read(const QString& path);
// The same for a path given as bytes, which need not be UTF-8.
bool writeBytes(const std::string& path, const QByteArray& content);
QByteArray readBytes(const std::string& path);
// Sets the file's modification time that many seconds into the past; false on failure.
bool age(const QString& path, int seconds);
// The names in a directory, hidden ones included, sorted; "." and ".." left out. Names
// that are not UTF-8 are listed too, with their bad bytes replaced.
QStringList entries(const QString& directory);

}  // namespace TestFiles
