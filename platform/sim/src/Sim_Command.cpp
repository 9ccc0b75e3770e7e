#include "Sim_Command.h"

#include "Sim_CommandSyntax.h"

#include <string>

namespace Sim {

Command::Command(int type, const std::vector<Port::String>& arguments, const Port::String& file,
                 int line)
    : type(type), arguments(arguments), file(file), line(line)
{
}

Port::String Command::ToString() const
{
    const CommandSyntax::Form* form = CommandSyntax::Find(type);
    if (!form) {
        return {};
    }
    const bool assignment = type == SET || type == CSET;
    Port::String text = form->keyword;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        text += assignment && i == 1 ? " = " : " ";
        // The display name is always quoted, as the .gtc writer does, for a reader's eye.
        text += type == SELECT && i == 0
                    ? CommandSyntax::Quoted(arguments[i])
                    : CommandSyntax::Argument(arguments[i], assignment && i == 0);
    }
    return text;
}

Port::String Command::Where() const
{
    if (file.IsEmpty()) {
        return {};
    }
    return file + ":" + std::to_string(line) + ": ";
}

}  // namespace Sim
