#pragma once

#include <QString>

// The host's batch mode: runs a command file of the batch language to its end (or to its
// END command) and answers the process's exit status: 0 only when every command succeeded.
// Relative paths in the file resolve against commandPath (the current directory when
// empty).
namespace BatchCommand {

int Run(const QString& file, const QString& commandPath);

}  // namespace BatchCommand
