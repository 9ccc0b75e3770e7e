#include "Ipu_RuntimeOptions.h"
#include "Port_MsgManData.h"
#include "Sim_CommandBuilder.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const char* const kFile = "/fuzz/commands.gtb";

std::vector<Port_MsgManData::Message> issued;

// A broken promise of the reader or of ToString is a finding, not just a wrong answer.
void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Refused: one error naming the file, and nothing of it kept.
void CheckRefused(const Sim::CommandBuilder& builder, unsigned status)
{
    Require(status == 1 && builder.GetCommands().size() == 1);
    Require(issued.size() == 1 && issued[0].kind == Port_MsgManData::Error);
    Require(issued[0].text.rfind(std::string(kFile) + ":", 0) == 0 &&
            issued[0].text.back() == '\n');
}

// Written back through ToString, one a line, the commands read as the same commands.
void CheckRoundTrip(const std::vector<Sim::Command>& commands, const Ipu::RuntimeOptions& runtime)
{
    QByteArray written;
    for (const Sim::Command& command : commands) {
        written += QByteArray::fromStdString(command.ToString().str()) + '\n';
    }
    if (written.size() > Sim::CommandBuilder::MAX_FILE_SIZE)
        return;
    Sim::CommandBuilder again(runtime);
    Require(again.AddCommandText(written, "again") == 0);
    Require(again.GetCommands().size() == commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const Sim::Command& read = again.GetCommands()[i];
        Require(read.GetType() == commands[i].GetType());
        Require(read.GetArguments() == commands[i].GetArguments());
        Require(read.GetLine() == static_cast<int>(i) + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Port_MsgManData::setSink(
        [](const Port_MsgManData::Message& message) { issued.push_back(message); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Ipu::RuntimeOptions runtime;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Sim::CommandBuilder builder(runtime);
    Require(builder.AddCommandText("END", "first") == 0);
    issued.clear();
    const unsigned status = builder.AddCommandText(bytes, kFile);
    if (status != 0) {
        CheckRefused(builder, status);
        return 0;
    }
    Require(issued.empty());
    const std::vector<Sim::Command> read(builder.GetCommands().begin() + 1,
                                         builder.GetCommands().end());
    int line = 0;
    for (const Sim::Command& command : read) {
        Require(command.GetFile() == kFile && command.GetLine() > line);
        line = command.GetLine();
    }
    CheckRoundTrip(read, runtime);
    return 0;
}
