#include "Port_File.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Port_FileName.h"

namespace Port {

namespace {

bool StatPath(const String& path, struct stat& info)
{
    return ::stat(path.c_str(), &info) == 0;
}

std::FILE* OpenNewForWrite(const String& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "w");
    if (file == nullptr) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
    }
    return file;
}

std::FILE* OpenFile(const String& path, Stream::Access access, bool overwrite)
{
    switch (access) {
        case Stream::Read:
            return std::fopen(path.c_str(), "r");
        case Stream::Write:
            return overwrite ? std::fopen(path.c_str(), "w") : OpenNewForWrite(path);
        case Stream::Append:
            return std::fopen(path.c_str(), "a");
    }
    errno = EINVAL;
    return nullptr;
}

// Directories are refused: removing them is not what these calls are for.
bool LstatNonDirectory(const String& path, struct stat& info)
{
    if (::lstat(path.c_str(), &info) != 0)
        return false;
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return false;
    }
    return true;
}

bool MakeOneDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) == 0)
        return true;
    if (errno != EEXIST)
        return false;
    // Made meanwhile by someone else is fine; a file in the way is not.
    if (File::isdir(String(path)))
        return true;
    errno = EEXIST;
    return false;
}

}  // namespace

bool File::exist(const String& path)
{
    struct stat info;
    return StatPath(path, info);
}

bool File::isfile(const String& path)
{
    struct stat info;
    return StatPath(path, info) && S_ISREG(info.st_mode);
}

bool File::isdir(const String& path)
{
    struct stat info;
    return StatPath(path, info) && S_ISDIR(info.st_mode);
}

bool File::canread(const String& path)
{
    return ::access(path.c_str(), R_OK) == 0;
}

bool File::canwrite(const String& path)
{
    if (exist(path))
        return ::access(path.c_str(), W_OK) == 0;
    String parent = FileName(path).GetHead();
    if (parent.IsEmpty())
        parent = ".";
    return isdir(parent) && ::access(parent.c_str(), W_OK) == 0;
}

Stream* File::open(const String& path, Stream::Access access, bool overwrite)
{
    std::FILE* file = OpenFile(path, access, overwrite);
    if (file == nullptr)
        return nullptr;
    return new Stream(file, access);
}

bool File::close(Stream* stream)
{
    if (stream == nullptr)
        return false;
    bool ok = std::fflush(stream->file) == 0;
    ok = std::fclose(stream->file) == 0 && ok;
    stream->file = nullptr;
    delete stream;
    return ok;
}

bool File::remove(const String& path)
{
    struct stat info;
    if (!LstatNonDirectory(path, info))
        return false;
    // Root may unlink anything, so the owner's write bit is what marks a file as protected.
    if (!S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0) {
        errno = EACCES;
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

bool File::remove_f(const String& path)
{
    struct stat info;
    if (!LstatNonDirectory(path, info))
        return false;
    if (!S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0)
        ::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR);
    return ::unlink(path.c_str()) == 0;
}

bool File::mkdir(const String& path, bool parents)
{
    const std::string& text = path.str();
    if (text.empty()) {
        errno = ENOENT;
        return false;
    }
    if (!parents)
        return MakeOneDirectory(text);
    for (std::size_t slash = text.find('/', 1); slash != std::string::npos;
         slash = text.find('/', slash + 1)) {
        if (text[slash - 1] != '/' && !MakeOneDirectory(text.substr(0, slash)))
            return false;
    }
    return MakeOneDirectory(text);
}

long long File::getdatetime(const String& path)
{
    long long time = 0;
    return getdatetime(path, time) ? time : 0;
}

bool File::getdatetime(const String& path, long long& time)
{
    struct stat info;
    if (!StatPath(path, info))
        return false;
    time = static_cast<long long>(info.st_mtime);
    return true;
}

}  // namespace Port
