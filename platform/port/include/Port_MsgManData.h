#pragma once

#include <cstdarg>
#include <functional>
#include <string>

// The one road of user messages. A message is made for one place in the code and issued
// with a printf-style text; it reaches the installed sink, which prints it by default as
// "ERROR:enkit:En_Project - text" on stderr. Thread-safe.
class Port_MsgManData {
public:
    enum Kind { Error, Warning, Info, Status };

    struct Message {
        Kind kind;
        std::string module;
        std::string source;
        int line;
        std::string text;  // as formatted, trailing newline kept
    };
    using Sink = std::function<void(const Message&)>;

    static Port_MsgManData createObject(const char* module, const char* sourceFile, int line,
                                        const char* revision = "");

    void issueError(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    void issueWarning(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    void issueInfo(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    void issueStatus(const char* format, ...) const __attribute__((format(printf, 2, 3)));

    // Installs sink (an empty one restores the stderr printer); answers the previous sink.
    static Sink setSink(Sink sink);
    static const char* kindName(Kind kind);
    // "ERROR:enkit:En_Project - text" without the one final line feed; control characters
    // in the text are escaped ("\\t", "\\n", "\\x1b"), so the line is safe for a terminal.
    static std::string formatLine(const Message& message);
    // What the default sink does: the formatted line on stderr, in one write.
    static void printToStderr(const Message& message);

private:
    Port_MsgManData(const char* module, const char* source, int line);
    void issue(Kind kind, const char* format, va_list args) const;

    std::string module;
    std::string source;
    int line;
};
