#include "Port_FileName.h"

#include <cerrno>
#include <string>
#include <vector>

#include <unistd.h>

namespace Port {

namespace {

// A directory never keeps its trailing separators, except the root itself.
std::string StripTrailingSeparators(std::string dir)
{
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

std::string CurrentDirectory()
{
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

std::vector<std::string> SplitComponents(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin <= path.size()) {
        std::size_t end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        parts.push_back(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

// Resolves "." and ".." by text alone; ".." at the root stays at the root.
std::string CleanAbsolute(const std::string& path)
{
    std::vector<std::string> kept;
    for (const std::string& part : SplitComponents(path)) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!kept.empty())
                kept.pop_back();
            continue;
        }
        kept.push_back(part);
    }
    std::string result;
    for (const std::string& part : kept)
        result += "/" + part;
    return result.empty() ? std::string("/") : result;
}

}  // namespace

FileName::FileName(const String& path)
{
    const std::string& text = path.str();
    const std::size_t slash = text.rfind('/');
    if (slash == std::string::npos) {
        SetTail(path);
        return;
    }
    head = StripTrailingSeparators(text.substr(0, slash == 0 ? 1 : slash));
    SetTail(String(text.substr(slash + 1)));
}

String FileName::GetTail() const
{
    if (!extension.IsEmpty())
        return base + "." + extension;
    return loneDot ? base + "." : base;
}

String FileName::GetFullName(bool withExtension) const
{
    const String tail = withExtension ? GetTail() : base;
    if (head.IsEmpty())
        return tail;
    if (head == "/")
        return head + tail;
    return head + "/" + tail;
}

String FileName::GetAbsolutePath(bool clean) const
{
    std::string path = GetFullName(true).str();
    if (!IsAbsolute())
        path = CurrentDirectory() + "/" + path;
    return clean ? String(CleanAbsolute(path)) : String(path);
}

bool FileName::IsAbsolute() const
{
    return !head.IsEmpty() && head[0] == '/';
}

bool FileName::IsEmpty() const
{
    return head.IsEmpty() && base.IsEmpty() && extension.IsEmpty() && !loneDot;
}

void FileName::SetHead(const String& directory)
{
    head = StripTrailingSeparators(directory.str());
}

void FileName::SetExtension(const String& value)
{
    extension = (!value.IsEmpty() && value[0] == '.') ? value.Extract(1) : value;
    loneDot = false;
}

void FileName::SetTail(const String& tail)
{
    const std::string& text = tail.str();
    const std::size_t dot = text.rfind('.');
    loneDot = false;
    // A leading dot names a hidden file, and "." / ".." are directories: no extension.
    if (dot == std::string::npos || dot == 0 || text == "..") {
        base = tail;
        extension = String();
        return;
    }
    base = tail.Extract(0, dot);
    extension = tail.Extract(dot + 1);
    loneDot = extension.IsEmpty();
}

}  // namespace Port
