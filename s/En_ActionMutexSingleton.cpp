#include "En_ActionMutexSingleton.h"

#include <mutex>

#include "En_Message.h"

namespace En {

ActionMutexSingleton* ActionMutexSingleton::_instance = nullptr;
Port::String ActionMutexSingleton::_owner;

namespace {

// The holder's name is written by whichever thread takes or releases the lock and read by
// a refused caller on another: it needs a guard of its own.
std::mutex& OwnerGuard()
{
    static std::mutex guard;
    return guard;
}

const char* UnlockSuffix(int code)
{
    switch (code) {
        case Port_ThrMutex::LOCKED_BY_OTHER:
            return " - locked by another thread";
        case Port_ThrMutex::NOT_OWNER:
            return " - not owner";
        case Port_ThrMutex::PERMISSION_DENIED:
            return " - permission denied";
        case Port_ThrMutex::INVALID_LOCK:
            return " - invalid lock";
        case Port_ThrMutex::INVALID_THREAD:
        case Port_ThrMutex::INVALID_HANDLE:
        case Port_ThrMutex::OUT_OF_RESOURCES:
            return " - invalid thread";
        case Port_ThrMutex::UNKNOWN:
            return " - unknown";
        default:
            return "";
    }
}

}  // namespace

ActionMutexSingleton::~ActionMutexSingleton() = default;

ActionMutexSingleton* ActionMutexSingleton::GetInstance()
{
    static std::once_flag created;
    std::call_once(created, [] { _instance = new ActionMutexSingleton; });
    return _instance;
}

bool ActionMutexSingleton::TryLock(const Port::String& owner)
{
    try {
        if (GetInstance()->trylock() == Port_ThrMutex::OK) {
            std::lock_guard<std::mutex> lock(OwnerGuard());
            _owner = owner;
            return true;
        }
        Port::String holder;
        {
            std::lock_guard<std::mutex> lock(OwnerGuard());
            holder = _owner;
        }
        if (!owner.IsEmpty() && !holder.IsEmpty())
            EN_MESSAGE("En_ActionMutexSingleton")
                .issueStatus("%s is not possible while %s\n", owner.c_str(), holder.c_str());
    } catch (...) {
    }
    return false;
}

bool ActionMutexSingleton::IsLocked()
{
    try {
        ActionMutexSingleton* mutex = GetInstance();
        if (mutex->trylock() != Port_ThrMutex::OK)
            return true;
        mutex->unlock();
    } catch (...) {
    }
    return false;
}

bool ActionMutexSingleton::Unlock()
{
    try {
        const int code = GetInstance()->unlock();
        std::lock_guard<std::mutex> lock(OwnerGuard());
        if (code != Port_ThrMutex::OK) {
            Port::String text = "Cannot unlock action mutex";
            if (!_owner.IsEmpty())
                text += Port::String(" after ") + _owner;
            text += UnlockSuffix(code);
            EN_MESSAGE("En_ActionMutexSingleton").issueWarning("%s\n", text.c_str());
        }
        _owner = Port::String();
        return code == Port_ThrMutex::OK;
    } catch (...) {
        return false;
    }
}

}  // namespace En
