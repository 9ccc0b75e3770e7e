#pragma once

#include "Port_StringBase.h"

namespace En {

// Moves a file out of the way of its replacement, under the first name beside it that
// nothing uses ("radio.gtcfg.previous", "radio.gtcfg.previous-2", ...), so that no file of
// the user's is ever replaced. Unless told otherwise, the file is put back when this
// object goes, so every failed replacement leaves the file where it was.
class FileAside {
public:
    explicit FileAside(Port::String file);
    ~FileAside();
    FileAside(const FileAside&) = delete;
    FileAside& operator=(const FileAside&) = delete;

    // False (errno set) when the file could not be moved; nothing is moved then.
    bool Move();
    bool Moved() const { return !aside.IsEmpty(); }
    // Where the file is while moved; empty otherwise.
    Port::String AsideName() const { return aside; }
    // Puts the file back in place of whatever is there now.
    bool Restore();
    // The replacement is in place: the moved file is removed.
    void Discard();
    // The replacement is in place: the moved file stays under its aside name.
    void Keep();

private:
    Port::String file;
    Port::String aside;
};

}  // namespace En
