#pragma once

#include <mutex>
#include <thread>

// A non-recursive thread mutex that knows its owner and answers error codes instead of
// blocking or failing undefined, so a caller can say why an unlock went wrong.
class Port_ThrMutex {
public:
    // What trylock and unlock answer. Codes 1, 4, 8, 9 and 16 keep their numbers from the
    // wider library's error table but are never produced here.
    enum Error {
        OK = 0,                 // trylock took the mutex; unlock released it
        INVALID_THREAD = 1,     // reserved
        INVALID_LOCK = 3,       // trylock or unlock once the destructor has run
        INVALID_HANDLE = 4,     // reserved
        PERMISSION_DENIED = 8,  // reserved
        OUT_OF_RESOURCES = 9,   // reserved
        LOCKED_BY_OTHER = 11,   // trylock while held, by anyone (the caller too);
                                // unlock while another thread holds it
        NOT_OWNER = 15,         // unlock while nobody holds it
        UNKNOWN = 16,           // reserved
    };

    Port_ThrMutex() = default;
    Port_ThrMutex(const Port_ThrMutex&) = delete;
    Port_ThrMutex& operator=(const Port_ThrMutex&) = delete;
    virtual ~Port_ThrMutex();

    int trylock();
    int unlock();

private:
    std::mutex state;  // guards the two fields below, held only for a moment
    bool locked = false;
    bool destroyed = false;
    std::thread::id owner;
};
