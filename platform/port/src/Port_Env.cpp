#include "Port_Env.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

bool isExecutableFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::string currentDirectory()
{
    std::string buffer(256, '\0');
    while (getcwd(&buffer[0], buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return buffer;
}

std::string absolute(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    std::string dir = currentDirectory();
    if (dir.empty())
        return std::string();
    return dir == "/" ? dir + path : dir + "/" + path;
}

// The PATH the caller would get from execvp when PATH is unset.
std::string searchList()
{
    if (const char* path = std::getenv("PATH"))
        return path;
    std::string fallback(confstr(_CS_PATH, nullptr, 0), '\0');
    if (fallback.empty())
        return "/bin:/usr/bin";
    confstr(_CS_PATH, &fallback[0], fallback.size());
    fallback.resize(fallback.size() - 1);
    return fallback;
}

std::string findOnPath(const std::string& name)
{
    const std::string list = searchList();
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = list.find(':', start);
        const std::string dir = list.substr(start, end == std::string::npos ? end : end - start);
        const std::string candidate = dir.empty() ? name : dir + "/" + name;
        if (isExecutableFile(candidate))
            return absolute(candidate);
        if (end == std::string::npos)
            return std::string();
        start = end + 1;
    }
}

}  // namespace

Port::String Port_Env::GetExecFileName(const Port::String& name, int searchPath)
{
    const std::string& text = name.str();
    if (text.empty())
        return Port::String();
    if (text.find('/') != std::string::npos)
        return isExecutableFile(text) ? absolute(text) : std::string();
    return searchPath != 0 ? findOnPath(text) : std::string();
}

Port::String Port_Env::GetVariable(const char* name)
{
    const char* value = name != nullptr ? std::getenv(name) : nullptr;
    return value != nullptr ? Port::String(value) : Port::String();
}
