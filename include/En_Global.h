#pragma once

#include "Ipu_RuntimeOptions.h"

namespace En {

// Process-wide settings the host fills from its command line before it opens a project.
class Global {
public:
    Global() = delete;

    // Batch and polling flags, batch command path, polling directory, project path.
    static Ipu::RuntimeOptions _batchCommandRuntimeOptions;
    // The interactive session's project and batch command paths.
    static Ipu::RuntimeOptions _guiRuntimeOptions;
};

}  // namespace En
