#include "Ipu_SetWorkingDirectory.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

#include "Port_File.h"
#include "Port_FileName.h"
#include "Port_MsgManData.h"

namespace Ipu {

namespace {

Port::String TargetDirectory(const Port::String& path)
{
    if (Port::File::isfile(path))
        return Port::FileName(Port::FileName(path).GetAbsolutePath(true)).GetHead();
    return path;
}

Port::String CurrentDirectory()
{
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return Port::String();
        buffer.resize(buffer.size() * 2);
    }
    return Port::String(buffer.data());
}

}  // namespace

SetWorkingDirectory::SetWorkingDirectory(const Port::String& directory)
    : previous(CurrentDirectory())
{
    const Port::String target = TargetDirectory(directory);
    changed = !previous.IsEmpty() && !target.IsEmpty() && ::chdir(target.c_str()) == 0;
}

SetWorkingDirectory::~SetWorkingDirectory()
{
    if (changed && ::chdir(previous.c_str()) != 0) {
        Port_MsgManData::createObject("ipu", "Ipu_SetWorkingDirectory", __LINE__)
            .issueWarning("Cannot return to the directory %s.\n", previous.c_str());
    }
}

}  // namespace Ipu
