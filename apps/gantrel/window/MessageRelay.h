#pragma once

#include <QObject>

#include <memory>
#include <vector>

#include "Port_MsgManData.h"

// Carries the product's messages to the thread this relay lives on. While it lives it is
// the message sink: each message still goes to the sink it replaced (stderr by default),
// and reaches Arrived in the order issued, in batches, whatever thread issued it.
class MessageRelay : public QObject {
    Q_OBJECT

public:
    explicit MessageRelay(QObject* parent = nullptr);
    // Puts the replaced sink back; messages issued afterwards no longer reach the relay.
    ~MessageRelay() override;
    Q_DISABLE_COPY(MessageRelay)

signals:
    void Arrived(const std::vector<Port_MsgManData::Message>& messages);

private:
    struct Queue;
    void Deliver();

    // Shared with the installed sink, which a worker may still be calling after this
    // relay is gone.
    std::shared_ptr<Queue> queue;
};
