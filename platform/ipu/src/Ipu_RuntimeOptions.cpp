#include "Ipu_RuntimeOptions.h"

#include "Port_FileName.h"

namespace Ipu {

RuntimeOptions::RuntimeOptions()
    : startupPath(Port::FileName(Port::String()).GetAbsolutePath(true))
    , batchCommandPath(startupPath)
    , projectPath(startupPath)
{
}

void RuntimeOptions::SetPollingModeDir(const Port::String& directory)
{
    pollingModeDir = directory;
    if (!directory.IsEmpty() && directory[directory.GetLength() - 1] != '/')
        pollingModeDir.Append('/');
}

}  // namespace Ipu
