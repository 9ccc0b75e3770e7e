#include "Port_DirectoryMaker.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "Port_File.h"

namespace Port {

DirectoryMaker::~DirectoryMaker()
{
    const int saved = errno;  // the caller may still report why its write failed
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        ::rmdir(it->c_str());
    errno = saved;
}

bool DirectoryMaker::Make(const String& path)
{
    const std::string& text = path.str();
    if (text.empty()) {
        errno = ENOENT;
        return false;
    }
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = text.find('/', end + 1);
        const String prefix(text.substr(0, end));
        if (prefix.str().back() == '/' || File::isdir(prefix))
            continue;
        if (::mkdir(prefix.c_str(), 0777) == 0)
            made.push_back(prefix);
        else if (errno != EEXIST || !File::isdir(prefix))  // made meanwhile by another is fine
            return false;
    }
    return true;
}

void DirectoryMaker::Keep()
{
    made.clear();
}

}  // namespace Port
