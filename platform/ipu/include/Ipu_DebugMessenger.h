#pragma once

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <map>
#include <mutex>
#include <string>

#include "Port_StringBase.h"

namespace Ipu {

// One named channel of diagnostic traces, printed to stderr as "DEBUG:<name> - text".
// Silent unless switched on (see DebugMessengerFactory); a silent trace costs one atomic
// read and formats nothing. Traces and timers may be used from any thread.
class DebugMessenger {
public:
    enum Level { OFF = 0, NORMAL = 1, DETAILED = 2 };

    explicit DebugMessenger(const Port::String& name);
    DebugMessenger(const DebugMessenger&) = delete;
    DebugMessenger& operator=(const DebugMessenger&) = delete;

    const Port::String& GetName() const { return name; }
    void SetLevel(Level value) { level.store(value, std::memory_order_relaxed); }
    bool IsEnabled() const { return level.load(std::memory_order_relaxed) >= NORMAL; }
    bool IsDetailed() const { return level.load(std::memory_order_relaxed) >= DETAILED; }

    // printf-style; a missing final line feed is added.
    void Normal(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Detailed(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Named stopwatches of this logger. Starting again restarts; the text is the time since
    // the start, up to the stop when stopped, as "1.234 s"; "0.000 s" for an unknown timer.
    // They run whether or not the logger prints, so a text is always meaningful.
    void StartTimer(const Port::String& timer);
    void StopTimer(const Port::String& timer);
    Port::String GetTimerText(const Port::String& timer) const;

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        Clock::time_point start;
        Clock::time_point stop;
        bool running = false;
    };

    void Print(const char* format, va_list args) const;

    const Port::String name;
    std::atomic<int> level{OFF};
    mutable std::mutex timersGuard;
    std::map<std::string, Timer> timers;
};

}  // namespace Ipu
