#pragma once

#include "Port_StringBase.h"

namespace Ipu {

// One command of a task's command list (a legacy IP's task names what its generator
// runs), and the fixed status texts that engine steps report.
class Command {
public:
    // The status message of the step that moves generated files into the output
    // directory; polling mode answers its command file when it sees it.
    static constexpr const char* MOVEOUT_MSG = "Moving generated files to the output directory";

    Command() = default;
    Command(const Port::String& name, int type) : name(name), type(type) {}

    Port::String GetName() const { return name; }
    int GetType() const { return type; }

private:
    Port::String name;
    int type = 0;
};

}  // namespace Ipu
