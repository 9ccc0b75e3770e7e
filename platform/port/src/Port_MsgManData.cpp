#include "Port_MsgManData.h"

#include <cstdio>
#include <mutex>
#include <utility>

#include "Port_StringBase.h"

namespace {

// An empty sink stands for the stderr printer.
struct SinkSlot {
    std::mutex mutex;
    Port_MsgManData::Sink sink;
};

SinkSlot& sinkSlot()
{
    static SinkSlot slot;
    return slot;
}

// "dir/En_Project.cpp" and "En_Project" both name the source "En_Project".
std::string sourceName(const char* sourceFile)
{
    std::string name = sourceFile != nullptr ? sourceFile : "";
    const std::size_t slash = name.find_last_of('/');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

// Texts carry names read from files: a control character must not reach the terminal,
// where it could move the cursor, recolour or hide the rest of the line. C1 controls
// (U+0080 to U+009F, two bytes in UTF-8) act on some terminals too.
std::string escapeControls(const std::string& text)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            out += {'\\', 'x', digits[c >> 4], digits[c & 0xF]};
        } else if (c1) {
            const auto code = static_cast<unsigned char>(text[++i]);
            out += {'\\', 'u', '0', '0', digits[code >> 4], digits[code & 0xF]};
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

Port_MsgManData::Port_MsgManData(const char* module, const char* source, int line)
    : module(module != nullptr ? module : ""), source(sourceName(source)), line(line)
{
}

Port_MsgManData Port_MsgManData::createObject(const char* module, const char* sourceFile, int line,
                                              const char* /*revision*/)
{
    return Port_MsgManData(module, sourceFile, line);
}

void Port_MsgManData::issueError(const char* format, ...) const
{
    va_list args;
    va_start(args, format);
    issue(Error, format, args);
    va_end(args);
}

void Port_MsgManData::issueWarning(const char* format, ...) const
{
    va_list args;
    va_start(args, format);
    issue(Warning, format, args);
    va_end(args);
}

void Port_MsgManData::issueInfo(const char* format, ...) const
{
    va_list args;
    va_start(args, format);
    issue(Info, format, args);
    va_end(args);
}

void Port_MsgManData::issueStatus(const char* format, ...) const
{
    va_list args;
    va_start(args, format);
    issue(Status, format, args);
    va_end(args);
}

void Port_MsgManData::issue(Kind kind, const char* format, va_list args) const
{
    const Message message{kind, module, source, line, Port::String().FormatV(format, args).str()};
    Sink sink;
    {
        SinkSlot& slot = sinkSlot();
        std::lock_guard<std::mutex> lock(slot.mutex);
        sink = slot.sink;
    }
    // Called outside the lock, so a sink may issue messages or replace itself.
    if (sink)
        sink(message);
    else
        Port_MsgManData::printToStderr(message);
}

void Port_MsgManData::printToStderr(const Message& message)
{
    // One write per message, so lines from several threads do not interleave.
    const std::string line = formatLine(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

Port_MsgManData::Sink Port_MsgManData::setSink(Sink sink)
{
    SinkSlot& slot = sinkSlot();
    std::lock_guard<std::mutex> lock(slot.mutex);
    std::swap(slot.sink, sink);
    return sink;
}

const char* Port_MsgManData::kindName(Kind kind)
{
    switch (kind) {
        case Error:
            return "ERROR";
        case Warning:
            return "WARNING";
        case Info:
            return "INFO";
        case Status:
            return "STATUS";
    }
    return "UNKNOWN";
}

std::string Port_MsgManData::formatLine(const Message& message)
{
    std::string text = message.text;
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
    }
    return std::string(kindName(message.kind)) + ":" + message.module + ":" + message.source +
           " - " + escapeControls(text);
}
