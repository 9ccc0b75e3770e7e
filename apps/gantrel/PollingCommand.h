#pragma once

#include <QString>

// The host's polling mode: serves a polling directory for another program until a command
// file holds END.
namespace PollingCommand {

// directory: the polling directory; batchCommandPath: where the commands' relative paths
// resolve (-p), empty for the current directory. Answers the process's exit status: 0 when
// polling ended, 1 when it could not start (with a message naming the reason).
int Run(const QString& directory, const QString& batchCommandPath);

}  // namespace PollingCommand
