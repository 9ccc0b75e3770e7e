#include "Port_ThrMutex.h"

Port_ThrMutex::~Port_ThrMutex()
{
    std::lock_guard<std::mutex> guard(state);
    destroyed = true;
}

int Port_ThrMutex::trylock()
{
    std::lock_guard<std::mutex> guard(state);
    if (destroyed)
        return INVALID_LOCK;
    if (locked)
        return LOCKED_BY_OTHER;
    locked = true;
    owner = std::this_thread::get_id();
    return OK;
}

int Port_ThrMutex::unlock()
{
    std::lock_guard<std::mutex> guard(state);
    if (destroyed)
        return INVALID_LOCK;
    if (!locked)
        return NOT_OWNER;
    if (owner != std::this_thread::get_id())
        return LOCKED_BY_OTHER;
    locked = false;
    owner = std::thread::id();
    return OK;
}
