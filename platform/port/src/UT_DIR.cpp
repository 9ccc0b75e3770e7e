#include "UT_DIR.h"

#include <algorithm>
#include <cstring>

#include <dirent.h>

namespace UT_DIR {

bool match(const char* pattern, const char* name)
{
    if (pattern == nullptr || name == nullptr)
        return false;
    // Greedy scan that backtracks only to the latest '*': quadratic at worst, never exponential.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name != '\0') {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern != '\0' && (*pattern == '?' || *pattern == *name)) {
            ++pattern;
            ++name;
        } else if (star != nullptr) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

bool match_names(const Port::String& pattern, const Port::String& name)
{
    return match(pattern.c_str(), name.c_str());
}

bool list(const Port::String& directory, const Port::String& pattern,
          std::vector<Port::String>& names)
{
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr)
        return false;
    std::vector<Port::String> found;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        if (match(pattern.c_str(), name))
            found.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end());
    names.swap(found);
    return true;
}

}  // namespace UT_DIR
