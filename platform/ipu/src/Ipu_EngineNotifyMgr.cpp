#include "Ipu_EngineNotifyMgr.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Ipu_DefaultEngineNotify.h"
#include "Port_MsgManData.h"

namespace Ipu {

namespace {

struct Entry {
    DefaultEngineNotify* receiver;
    bool removed = false;
    std::vector<std::thread::id> callers;  // threads inside a call into receiver now
};
using EntryPtr = std::shared_ptr<Entry>;

struct Registry {
    std::mutex guard;
    std::condition_variable callEnded;
    std::vector<EntryPtr> entries;
    std::set<std::string> cancelledRuns;
    std::atomic<bool> cancelled{false};
};

Registry& Instance()
{
    static Registry* registry = new Registry;  // never destroyed: engine threads outlive exit
    return *registry;
}

// Calls into the entry made by every thread but this one.
bool CalledElsewhere(const Entry& entry)
{
    const std::thread::id self = std::this_thread::get_id();
    return std::any_of(entry.callers.begin(), entry.callers.end(),
                       [self](const std::thread::id& id) { return id != self; });
}

bool Enter(Registry& registry, Entry& entry)
{
    std::lock_guard<std::mutex> lock(registry.guard);
    if (entry.removed)
        return false;
    entry.callers.push_back(std::this_thread::get_id());
    return true;
}

void Leave(Registry& registry, Entry& entry)
{
    {
        std::lock_guard<std::mutex> lock(registry.guard);
        auto& callers = entry.callers;
        callers.erase(std::find(callers.begin(), callers.end(), std::this_thread::get_id()));
    }
    registry.callEnded.notify_all();
}

void CallOne(DefaultEngineNotify& receiver, const std::function<void(DefaultEngineNotify&)>& call)
{
    try {
        call(receiver);
    } catch (const std::exception& error) {
        Port_MsgManData::createObject("ipu", "Ipu_EngineNotifyMgr", __LINE__)
            .issueWarning("An engine report receiver failed: %s\n", error.what());
    } catch (...) {
        Port_MsgManData::createObject("ipu", "Ipu_EngineNotifyMgr", __LINE__)
            .issueWarning("An engine report receiver failed.\n");
    }
}

unsigned Deliver(const std::function<void(DefaultEngineNotify&)>& call)
{
    Registry& registry = Instance();
    std::vector<EntryPtr> snapshot;
    {
        std::lock_guard<std::mutex> lock(registry.guard);
        snapshot = registry.entries;
    }
    unsigned called = 0;
    for (const EntryPtr& entry : snapshot) {
        if (!Enter(registry, *entry))
            continue;
        CallOne(*entry->receiver, call);
        Leave(registry, *entry);
        ++called;
    }
    return called;
}

std::vector<std::string> RunKeys(const EventData& run)
{
    std::vector<std::string> keys;
    const Task& task = run.GetTask();
    if (!task.GetActionID().IsEmpty())
        keys.push_back("action:" + task.GetActionID().str());
    if (!task.GetGenerationID().IsEmpty())
        keys.push_back("generation:" + task.GetGenerationID().str());
    return keys;
}

}  // namespace

unsigned EngineNotifyMgr::AddEngineNotify(DefaultEngineNotify* receiver)
{
    if (receiver == nullptr)
        return 1;
    Registry& registry = Instance();
    std::lock_guard<std::mutex> lock(registry.guard);
    for (const EntryPtr& entry : registry.entries) {
        if (entry->receiver == receiver)
            return 1;
    }
    auto entry = std::make_shared<Entry>();
    entry->receiver = receiver;
    registry.entries.push_back(entry);
    return 0;
}

unsigned EngineNotifyMgr::RemoveEngineNotify(DefaultEngineNotify* receiver)
{
    Registry& registry = Instance();
    std::unique_lock<std::mutex> lock(registry.guard);
    auto& entries = registry.entries;
    const auto found = std::find_if(entries.begin(), entries.end(), [receiver](const EntryPtr& e) {
        return e->receiver == receiver;
    });
    if (found == entries.end())
        return 1;
    const EntryPtr entry = *found;
    entry->removed = true;
    entries.erase(found);
    // A call on this very thread is the caller's own stack: waiting for it would never end.
    registry.callEnded.wait(lock, [&entry] { return !CalledElsewhere(*entry); });
    return 0;
}

unsigned EngineNotifyMgr::NotifyEvent(Event& event)
{
    return Deliver([&event](DefaultEngineNotify& receiver) { receiver.EventNotify(event); });
}

unsigned EngineNotifyMgr::NotifyAddSource(const Port::String& file, const Port::String& other)
{
    return Deliver([&](DefaultEngineNotify& receiver) { receiver.AddSourceNotify(file, other); });
}

unsigned EngineNotifyMgr::NotifyUpdateSource(const Port::String& file, const Port::String& other)
{
    return Deliver(
        [&](DefaultEngineNotify& receiver) { receiver.UpdateSourceNotify(file, other); });
}

void EngineNotifyMgr::SetCancelled(bool cancelled)
{
    Instance().cancelled.store(cancelled);
}

void EngineNotifyMgr::SetCancelled(const EventData& run, bool cancelled)
{
    Registry& registry = Instance();
    std::lock_guard<std::mutex> lock(registry.guard);
    for (const std::string& key : RunKeys(run)) {
        if (cancelled)
            registry.cancelledRuns.insert(key);
        else
            registry.cancelledRuns.erase(key);
    }
}

bool EngineNotifyMgr::IsCancelled()
{
    return Instance().cancelled.load();
}

bool EngineNotifyMgr::IsCancelled(const EventData& run)
{
    Registry& registry = Instance();
    if (registry.cancelled.load())
        return true;
    std::lock_guard<std::mutex> lock(registry.guard);
    for (const std::string& key : RunKeys(run)) {
        if (registry.cancelledRuns.count(key) != 0)
            return true;
    }
    return false;
}

}  // namespace Ipu
