#pragma once

#include "Port_StringBase.h"

namespace Ipu {

// How the tool was started: batch or polling mode, and the directories a run works in.
// A plain copyable value; the host fills it from its command line.
class RuntimeOptions {
public:
    // Every path starts as the current directory at construction, which is the start-up
    // path: a project path or batch-command path that differs from it was chosen later.
    RuntimeOptions();

    bool IsEnabledBatchMode() const { return batchMode; }
    void EnableBatchMode(bool enable) { batchMode = enable; }
    bool IsEnabledPollingMode() const { return pollingMode; }
    void EnablePollingMode(bool enable) { pollingMode = enable; }

    // Where batch commands run; the host's -p option makes it differ from the start-up path.
    const Port::String& GetBatchCommandPath() const { return batchCommandPath; }
    void SetBatchCommandPath(const Port::String& path) { batchCommandPath = path; }

    // Command-file names are appended to this text directly, so a non-empty directory is
    // stored with one trailing separator.
    const Port::String& GetPollingModeDir() const { return pollingModeDir; }
    void SetPollingModeDir(const Port::String& directory);

    const Port::String& GetProjectPath() const { return projectPath; }
    void SetProjectPath(const Port::String& path) { projectPath = path; }

    const Port::String& GetStartupPath() const { return startupPath; }
    void SetStartupPath(const Port::String& path) { startupPath = path; }

private:
    bool batchMode = false;
    bool pollingMode = false;
    Port::String startupPath;
    Port::String batchCommandPath;
    Port::String pollingModeDir;
    Port::String projectPath;
};

}  // namespace Ipu
