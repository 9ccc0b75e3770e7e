#pragma once

#include "Port_Stream.h"
#include "Port_StringBase.h"

namespace Port {

// File-system queries and changes on paths. Failures answer false (or null) and leave
// errno as the system set it.
class File {
public:
    File() = delete;

    static bool exist(const String& path);
    static bool isfile(const String& path);
    static bool isdir(const String& path);
    static bool canread(const String& path);
    // An existing file that may be written, or a new file in a writable directory.
    static bool canwrite(const String& path);

    // The caller owns the stream and gives it back through close. With overwrite false,
    // opening an existing file for Write fails.
    static Stream* open(const String& path, Stream::Access access, bool overwrite = true);
    // Flushes and frees the stream; false when the flush failed.
    static bool close(Stream* stream);

    // Refuses a file that is not writable, as a careful user would.
    static bool remove(const String& path);
    // Removes the file even when it is read-only.
    static bool remove_f(const String& path);
    // With parents, missing parent directories are made too; an existing directory is success.
    static bool mkdir(const String& path, bool parents);

    // Modification time in seconds since the epoch; 0 when it cannot be read.
    static long long getdatetime(const String& path);
    static bool getdatetime(const String& path, long long& time);
};

}  // namespace Port
