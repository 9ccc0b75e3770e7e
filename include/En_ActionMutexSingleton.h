#pragma once

#include "Port_StringBase.h"
#include "Port_ThrMutex.h"

namespace En {

// The process-wide lock that only one IP-modifying action, or one polling-mode command,
// holds at a time. It remembers a readable name of its holder so that a refused caller
// can be told what is going on. A real thread mutex: the polling thread takes and releases
// it from its own thread, the action manager from the GUI thread.
class ActionMutexSingleton : public Port_ThrMutex {
public:
    ~ActionMutexSingleton() override;

    static ActionMutexSingleton* GetInstance();
    // True when owner now holds the lock. A refusal is told as a status line naming both
    // the refused caller and the holder, when both have a name.
    static bool TryLock(const Port::String& owner);
    static bool IsLocked();
    // True when released; otherwise a warning names the holder and the reason. The holder's
    // name is cleared either way.
    static bool Unlock();

private:
    ActionMutexSingleton() = default;

    static ActionMutexSingleton* _instance;
    static Port::String _owner;
};

}  // namespace En
