#include "MessageRelay.h"

#include <mutex>
#include <utility>

struct MessageRelay::Queue {
    std::mutex mutex;
    std::vector<Port_MsgManData::Message> pending;
    Port_MsgManData::Sink previous;
    MessageRelay* target = nullptr;  // null once the relay is gone

    void Take(const Port_MsgManData::Message& message)
    {
        Port_MsgManData::Sink passOn;
        {
            std::lock_guard<std::mutex> lock(mutex);
            passOn = previous;
        }
        // Outside the lock: the sink passed on may issue messages of its own.
        passOn ? passOn(message) : Port_MsgManData::printToStderr(message);
        std::lock_guard<std::mutex> lock(mutex);
        if (target == nullptr)
            return;
        pending.push_back(message);
        // One delivery per batch; posted under the lock, so the target cannot go meanwhile.
        if (pending.size() == 1) {
            MessageRelay* relay = target;
            QMetaObject::invokeMethod(
                relay, [relay] { relay->Deliver(); }, Qt::QueuedConnection);
        }
    }
};

MessageRelay::MessageRelay(QObject* parent) : QObject(parent), queue(std::make_shared<Queue>())
{
    // A message issued while the sink changes waits until the one it replaces is known.
    std::lock_guard<std::mutex> lock(queue->mutex);
    queue->target = this;
    queue->previous = Port_MsgManData::setSink(
        [queue = queue](const Port_MsgManData::Message& message) { queue->Take(message); });
}

MessageRelay::~MessageRelay()
{
    Port_MsgManData::Sink previous;
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        queue->target = nullptr;
        previous = queue->previous;
    }
    Port_MsgManData::setSink(previous);
}

void MessageRelay::Deliver()
{
    std::vector<Port_MsgManData::Message> batch;
    {
        std::lock_guard<std::mutex> lock(queue->mutex);
        batch.swap(queue->pending);
    }
    if (!batch.empty())
        emit Arrived(batch);
}
