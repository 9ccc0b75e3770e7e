#pragma once

#include "Port_StringBase.h"

namespace Ipu {

// The process-wide lock that keeps two model-changing tasks from running at once. It is
// never waited for: a caller tries it and, when refused, can name the holder to the user.
// Not recursive: the holder's own second TryLock is refused too. Only the thread that took
// the lock may release it. All operations are safe from any thread.
class TaskMutexSingleton {
public:
    TaskMutexSingleton() = delete;

    // Takes the lock for holder (a text the user may see); false when it is held already.
    static bool TryLock(const Port::String& holder);
    // False, with a warning, when the lock is free or held by another thread; the holder's
    // name is kept then.
    static bool Unlock();
    // A pure query: it never takes the lock, so it cannot make another thread's TryLock fail.
    static bool IsLocked();
    // Empty while the lock is free.
    static Port::String GetHolder();
};

}  // namespace Ipu
