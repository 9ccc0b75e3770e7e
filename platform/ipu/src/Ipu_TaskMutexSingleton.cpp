#include "Ipu_TaskMutexSingleton.h"

#include <mutex>

#include "Port_MsgManData.h"
#include "Port_ThrMutex.h"

namespace Ipu {

namespace {

// The thread mutex decides ownership; the guard keeps the lock flag and holder in step with
// it, so a query never has to try the lock itself.
struct TaskLock {
    std::mutex guard;
    Port_ThrMutex mutex;
    bool locked = false;
    Port::String holder;
};

TaskLock& Instance()
{
    static TaskLock* lock = new TaskLock;  // never destroyed: worker threads may outlive exit
    return *lock;
}

const char* UnlockFailure(int code)
{
    switch (code) {
        case Port_ThrMutex::LOCKED_BY_OTHER:
            return " - locked by another thread";
        case Port_ThrMutex::NOT_OWNER:
            return " - not locked";
        default:
            return " - invalid lock";
    }
}

}  // namespace

bool TaskMutexSingleton::TryLock(const Port::String& holder)
{
    TaskLock& lock = Instance();
    std::lock_guard<std::mutex> guard(lock.guard);
    if (lock.mutex.trylock() != Port_ThrMutex::OK)
        return false;
    lock.locked = true;
    lock.holder = holder;
    return true;
}

bool TaskMutexSingleton::Unlock()
{
    TaskLock& lock = Instance();
    Port::String holder;
    int code = Port_ThrMutex::OK;
    {
        std::lock_guard<std::mutex> guard(lock.guard);
        code = lock.mutex.unlock();
        holder = lock.holder;
        if (code == Port_ThrMutex::OK) {
            lock.locked = false;
            lock.holder = Port::String();
            return true;
        }
    }
    // Issued outside the guard: a message sink may well ask whether the lock is held.
    Port_MsgManData::createObject("ipu", "Ipu_TaskMutexSingleton", __LINE__)
        .issueWarning("Cannot unlock task mutex%s%s%s%s\n", holder.IsEmpty() ? "" : " held by '",
                      holder.c_str(), holder.IsEmpty() ? "" : "'", UnlockFailure(code));
    return false;
}

bool TaskMutexSingleton::IsLocked()
{
    TaskLock& lock = Instance();
    std::lock_guard<std::mutex> guard(lock.guard);
    return lock.locked;
}

Port::String TaskMutexSingleton::GetHolder()
{
    TaskLock& lock = Instance();
    std::lock_guard<std::mutex> guard(lock.guard);
    return lock.holder;
}

}  // namespace Ipu
