#pragma once

#include <QString>

// The host's project modes. Both answer the process's exit status: 0 done, 1 failed with a
// message that names the file and the reason.
namespace ProjectCommands {

// Prints a project. Writes nothing: a legacy project file is migrated in a temporary copy.
int Show(const QString& path, bool json);
// Creates and saves a project; an existing project file is replaced only when forced, and a
// file of another kind never.
int Create(const QString& path, bool force);

}  // namespace ProjectCommands
