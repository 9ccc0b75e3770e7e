#include "En_FileAside.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "Port_File.h"

namespace En {
namespace {

// Renames without replacing: fails with EEXIST when to is taken, even by a dangling link,
// and even when it is taken between looking and moving.
bool renameNoReplace(const Port::String& from, const Port::String& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without that rename: a hard link is refused over a taken name too.
    return ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
}

}  // namespace

FileAside::FileAside(Port::String file) : file(std::move(file)) {}

FileAside::~FileAside()
{
    Restore();
}

bool FileAside::Move()
{
    if (Moved())
        return true;
    Port::String name = file + ".previous";
    for (int number = 2; number < 10000; ++number) {
        if (renameNoReplace(file, name)) {
            aside = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
        name.Format("%s.previous-%d", file.c_str(), number);
    }
    errno = EEXIST;
    return false;
}

bool FileAside::Restore()
{
    if (!Moved())
        return true;
    const bool restored = std::rename(aside.c_str(), file.c_str()) == 0;
    if (restored)
        aside = Port::String();
    return restored;
}

void FileAside::Discard()
{
    if (Moved())
        Port::File::remove_f(aside);
    aside = Port::String();
}

void FileAside::Keep()
{
    aside = Port::String();
}

}  // namespace En
