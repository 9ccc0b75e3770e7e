#pragma once

#include <vector>

#include "Port_StringBase.h"

namespace Port {

// Receives what a child process writes, in chunks as they arrive.
class ChildOutput {
public:
    virtual ~ChildOutput() = default;
    virtual void Receive(const char* data, std::size_t size) = 0;
    virtual void Exited(int /*exitCode*/) {}
};

// Runs programs directly, never through a shell: arguments arrive exactly as given.
class Process {
public:
    enum Result {
        RAN = 0,             // the program ran and exited with 0
        SYSTEM_ERROR = 1,    // a pipe, spawn or wait call failed, or the time limit ran out
        BAD_COMMAND = 2,     // empty or unbalanced command line
        NOT_STARTED = 3,     // the program does not exist or cannot be executed
        EXITED_NONZERO = 4,  // ran and exited with another code
        SIGNALLED = 5,       // killed by a signal
    };

    Process() = delete;

    // Splits commandLine at blanks; double quotes group, a backslash escapes '"' and '\'
    // inside them. With wait false the child is left running and RAN means it started; its
    // output is discarded, timeoutMs does not apply, and a background thread reaps it.
    // timeoutMs 0 waits without limit; stdout and stderr go to output as chosen.
    static int RunNoWindow(const String& commandLine, ChildOutput* output, unsigned timeoutMs,
                           bool wait, bool collectStdout, bool collectStderr);
    static int RunNoWindow(const std::vector<String>& arguments, ChildOutput* output,
                           unsigned timeoutMs, bool wait, bool collectStdout, bool collectStderr);
    // The argument vector RunNoWindow uses; false on unbalanced quotes.
    static bool SplitCommandLine(const String& commandLine, std::vector<String>& arguments);
};

}  // namespace Port
