#include "Ipu_DebugMessenger.h"

#include <cstdio>

namespace Ipu {

namespace {

// One trace line is written whole under this lock, so lines of threads never interleave.
std::mutex& OutputGuard()
{
    static std::mutex* guard = new std::mutex;  // never destroyed: traces may come during exit
    return *guard;
}

}  // namespace

DebugMessenger::DebugMessenger(const Port::String& name) : name(name) {}

void DebugMessenger::Normal(const char* format, ...)
{
    if (!IsEnabled())
        return;
    va_list args;
    va_start(args, format);
    Print(format, args);
    va_end(args);
}

void DebugMessenger::Detailed(const char* format, ...)
{
    if (!IsDetailed())
        return;
    va_list args;
    va_start(args, format);
    Print(format, args);
    va_end(args);
}

void DebugMessenger::Print(const char* format, va_list args) const
{
    std::string line = "DEBUG:" + name.str() + " - " + Port::String().FormatV(format, args).str();
    if (line.back() != '\n')
        line += '\n';
    std::lock_guard<std::mutex> guard(OutputGuard());
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void DebugMessenger::StartTimer(const Port::String& timer)
{
    std::lock_guard<std::mutex> guard(timersGuard);
    Timer& entry = timers[timer.str()];
    entry.start = Clock::now();
    entry.running = true;
}

void DebugMessenger::StopTimer(const Port::String& timer)
{
    std::lock_guard<std::mutex> guard(timersGuard);
    const auto found = timers.find(timer.str());
    if (found == timers.end() || !found->second.running)
        return;
    found->second.stop = Clock::now();
    found->second.running = false;
}

Port::String DebugMessenger::GetTimerText(const Port::String& timer) const
{
    Clock::duration elapsed = Clock::duration::zero();
    {
        std::lock_guard<std::mutex> guard(timersGuard);
        const auto found = timers.find(timer.str());
        if (found != timers.end()) {
            const Timer& entry = found->second;
            elapsed = (entry.running ? Clock::now() : entry.stop) - entry.start;
        }
    }
    const double seconds = std::chrono::duration<double>(elapsed).count();
    return Port::String().Format("%.3f s", seconds);
}

}  // namespace Ipu
