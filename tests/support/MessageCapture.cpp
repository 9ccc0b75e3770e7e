#include "MessageCapture.h"

MessageCapture::MessageCapture()
{
    previous = Port_MsgManData::setSink([this](const Port_MsgManData::Message& message) {
        std::lock_guard<std::mutex> lock(mutex);
        recorded.push_back(message);
    });
}

MessageCapture::~MessageCapture()
{
    Port_MsgManData::setSink(previous);
}

std::vector<Port_MsgManData::Message> MessageCapture::messages() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return recorded;
}

std::vector<std::string> MessageCapture::lines() const
{
    std::vector<std::string> result;
    // The prefix of the stderr line, then the text exactly as issued: a missing or doubled
    // final line feed is a fault the comparison must see.
    for (const auto& message : messages()) {
        Port_MsgManData::Message bare = message;
        bare.text.clear();
        result.push_back(Port_MsgManData::formatLine(bare) + message.text);
    }
    return result;
}

QStringList MessageCapture::textLines() const
{
    QStringList result;
    for (const std::string& line : lines())
        result.append(QString::fromStdString(line));
    return result;
}

void MessageCapture::clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    recorded.clear();
}
