#pragma once

#include <cstdio>

#include "Port_StringBase.h"

namespace Port {

// A buffered file stream, made and destroyed by File::open and File::close.
class Stream {
public:
    enum Access { Read = 1, Write = 2, Append = 3 };

    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
    ~Stream();

    // Reads one line without its "\n" or "\r\n"; false when nothing is left.
    bool readline(String& line);
    // Writes the line followed by "\n"; false when the write failed.
    bool writeline(const String& line);
    // True once no byte is left to read, so a read loop ends right after the last line.
    bool geteof();
    Access getaccess() const { return access; }

private:
    friend class File;
    Stream(std::FILE* file, Access access);

    std::FILE* file;
    Access access;
};

}  // namespace Port
