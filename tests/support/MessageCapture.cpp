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
    for (const auto& message : messages())
        result.push_back(Port_MsgManData::formatLine(message));
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
