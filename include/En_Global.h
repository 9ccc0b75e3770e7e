#pragma once

#include <QString>

#include "Ipu_RuntimeOptions.h"
#include "Sim_API.h"

namespace En {

// Process-wide settings and services of the library; the host fills the runtime options
// from its command line before it opens a project.
class Global {
public:
    Global() = delete;

    // Batch and polling flags, batch command path, polling directory, project path.
    static Ipu::RuntimeOptions _batchCommandRuntimeOptions;
    // The interactive session's project and batch command paths.
    static Ipu::RuntimeOptions _guiRuntimeOptions;
    // The engine's catalogue answers.
    static Sim::API _api;
    // The help map of the tool's help.
    static const QString HELP_MAP;

    // Opens a help topic (such as "gt-dialog-project_options"); nothing happens when no
    // help is installed.
    static void ShowHelpTopic(const QString& topic);
};

}  // namespace En
