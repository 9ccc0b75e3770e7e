#pragma once

#include "Port_StringBase.h"

namespace Ipu {

// Makes a directory the process's current directory for the guard's lifetime and puts the
// previous one back when the guard goes. A path naming an existing file means the directory
// that holds it, so a project file's path can be given as well as its directory.
//
// The current directory belongs to the whole process, not to a thread: while a guard is
// alive every thread resolves relative paths against its directory, and two threads that
// hold guards at the same time undo each other's change in whatever order they end. Use it
// only where one thread at a time changes directory (the polling loop, or the GUI thread
// while it owns the action mutex), and prefer absolute paths elsewhere.
class SetWorkingDirectory {
public:
    explicit SetWorkingDirectory(const Port::String& directory);
    ~SetWorkingDirectory();
    SetWorkingDirectory(const SetWorkingDirectory&) = delete;
    SetWorkingDirectory& operator=(const SetWorkingDirectory&) = delete;

    // False when the directory could not be entered, or the current one cannot be named
    // to come back to (it was removed); the current directory is then left as it was.
    bool IsChanged() const { return changed; }

private:
    Port::String previous;
    bool changed = false;
};

}  // namespace Ipu
