#pragma once

#include <QStringList>

#include <mutex>
#include <vector>

#include "Port_MsgManData.h"

// Installs itself as the message sink for its lifetime and records every message, so a
// test can assert on exact texts, kinds, modules and sources.
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    std::vector<Port_MsgManData::Message> messages() const;
    // "ERROR:enkit:En_Project - text\n" lines, in order, each text whole as issued.
    std::vector<std::string> lines() const;
    // The same lines for Qt Test comparisons.
    QStringList textLines() const;
    void clear();

private:
    mutable std::mutex mutex;
    std::vector<Port_MsgManData::Message> recorded;
    Port_MsgManData::Sink previous;
};
