#pragma once

#include "Ipu_RuntimeOptions.h"
#include "Port_StringBase.h"
#include "Sim_Command.h"

#include <QByteArray>

#include <vector>

namespace Sim {

// Reads command files of the batch language into Commands. A file is taken whole or not at
// all: the first malformed line, unknown command, wrong number of arguments, or a file that
// is not text (a NUL byte, not UTF-8) or too large is reported as an error naming the file,
// the line and the reason, and none of the file's commands are kept.
class CommandBuilder {
public:
    // Command files larger than this are refused unread.
    static constexpr qint64 MAX_FILE_SIZE = 1 << 20;

    explicit CommandBuilder(const Ipu::RuntimeOptions& options);

    // 0 when the file was read; 1 after the error message.
    unsigned AddCommandFile(const Port::String& path);
    // The same for text already read; file names it in messages.
    unsigned AddCommandText(const QByteArray& text, const Port::String& file);
    // The commands of every file added, in order. COMPLETE lines make no command.
    const std::vector<Command>& GetCommands() const { return commands; }

private:
    Ipu::RuntimeOptions options;
    std::vector<Command> commands;
};

}  // namespace Sim
