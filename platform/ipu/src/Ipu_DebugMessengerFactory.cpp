#include "Ipu_DebugMessengerFactory.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "Port_Env.h"

namespace Ipu {

namespace {

struct Registry {
    std::mutex guard;
    std::map<std::string, std::unique_ptr<DebugMessenger>> loggers;
};

Registry& Loggers()
{
    static Registry* registry = new Registry;  // never destroyed: loggers are used at exit
    return *registry;
}

// The level one list entry ("name" or "name:detailed") gives to logger, OFF when it does
// not name it.
DebugMessenger::Level EntryLevel(Port::String entry, const Port::String& logger)
{
    entry.Trim();
    DebugMessenger::Level level = DebugMessenger::NORMAL;
    const long colon = entry.GetIndexOfString(":");
    if (colon >= 0) {
        Port::String option = entry.Extract(static_cast<std::size_t>(colon) + 1);
        if (option.Trim().Compare("detailed", Port::CompareIgnoreCase) == 0)
            level = DebugMessenger::DETAILED;
        entry = entry.Extract(0, static_cast<std::size_t>(colon));
        entry.Trim();
    }
    if (entry.IsEmpty())
        return DebugMessenger::OFF;
    const bool named = entry == logger || entry.Compare("all", Port::CompareIgnoreCase) == 0;
    return named ? level : DebugMessenger::OFF;
}

}  // namespace

DebugMessenger::Level DebugMessengerFactory::LevelFor(const Port::String& name)
{
    const std::string list = Port_Env::GetVariable("GANTREL_DEBUG").str();
    DebugMessenger::Level level = DebugMessenger::OFF;
    std::size_t begin = 0;
    while (begin <= list.size()) {
        std::size_t end = list.find(',', begin);
        if (end == std::string::npos)
            end = list.size();
        const DebugMessenger::Level entry = EntryLevel(list.substr(begin, end - begin), name);
        if (entry > level)
            level = entry;
        begin = end + 1;
    }
    return level;
}

DebugMessenger& DebugMessengerFactory::GetLogger(const Port::String& name)
{
    const DebugMessenger::Level level = LevelFor(name);
    Registry& registry = Loggers();
    std::lock_guard<std::mutex> guard(registry.guard);
    std::unique_ptr<DebugMessenger>& logger = registry.loggers[name.str()];
    if (!logger)
        logger = std::make_unique<DebugMessenger>(name);
    logger->SetLevel(level);
    return *logger;
}

}  // namespace Ipu
