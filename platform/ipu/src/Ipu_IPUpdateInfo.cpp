#include "Ipu_IPUpdateInfo.h"

#include <vector>

#include "Ipu_Utilities.h"
#include "Port_File.h"
#include "UT_DIR.h"

namespace Ipu {

namespace {

constexpr const char* updatesDirectory = "/gantrel/install/names/";
constexpr const char* patchKey = "Cores patch:";

// The cores patch one update file names; empty when it names none or cannot be read.
Port::String PatchOf(const Port::String& path)
{
    Port::Stream* stream = Port::File::open(path, Port::Stream::Read);
    if (stream == nullptr)
        return Port::String();
    const Port::String key(patchKey);
    Port::String patch;
    Port::String line;
    while (patch.IsEmpty() && stream->readline(line)) {
        line.Trim();
        if (line.IsEmpty() || line[0] == '#')
            continue;
        if (line.Extract(0, key.GetLength()).Compare(key, Port::CompareIgnoreCase) == 0)
            patch = line.Extract(key.GetLength()).Trim();
    }
    Port::File::close(stream);
    return patch;
}

}  // namespace

unsigned IPUpdateInfo::GetCoresLevel(Port::String& patch)
{
    patch = Port::String();
    Port::String directory;
    if (!Utilities::GetFullPellorPathOf(updatesDirectory, directory))
        return CORES_LEVEL_UNKNOWN;
    std::vector<Port::String> names;
    if (!UT_DIR::list(directory, "*.name", names) || names.empty())
        return CORES_LEVEL_BASE;
    for (const Port::String& name : names) {
        const Port::String found = PatchOf(directory + name);
        if (!found.IsEmpty())
            patch = found;
    }
    return patch.IsEmpty() ? CORES_LEVEL_UPDATED : CORES_LEVEL_PATCHED;
}

}  // namespace Ipu
