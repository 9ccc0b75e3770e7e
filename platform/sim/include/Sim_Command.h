#pragma once

#include "Port_StringBase.h"

#include <vector>

namespace Sim {

// One command of the batch language (docs/batch-language.md), as read from a command file:
// its type, its arguments (unquoted) and where it was written.
class Command {
public:
    enum Type {
        NONE = 0,
        SET = 1,          // SET key = value: arguments key, value
        CSET = 3,         // CSET name = value: arguments name, value
        END = 4,          // END
        GENERATE = 6,     // GENERATE
        NEWPROJECT = 12,  // NEWPROJECT path
        SELECT = 15,      // SELECT "name" vendor library version
        SETPROJECT = 17,  // SETPROJECT path
    };

    Command() = default;
    Command(int type, const std::vector<Port::String>& arguments, const Port::String& file = {},
            int line = 0);

    int GetType() const { return type; }
    const std::vector<Port::String>& GetArguments() const { return arguments; }
    // The command file and line it came from; empty and 0 for a command made otherwise.
    Port::String GetFile() const { return file; }
    int GetLine() const { return line; }
    // The command as the batch language writes it, arguments quoted where they must be.
    Port::String ToString() const;
    // "file:line: " for messages; empty for a command made otherwise.
    Port::String Where() const;

private:
    int type = NONE;
    std::vector<Port::String> arguments;
    Port::String file;
    int line = 0;
};

}  // namespace Sim
