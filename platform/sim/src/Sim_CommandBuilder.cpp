#include "Sim_CommandBuilder.h"

#include "Port_MsgManData.h"
#include "Sim_CommandLineReader.h"
#include "Sim_Utility.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringDecoder>

namespace Sim {

namespace {

constexpr qint64 kMaxSize = CommandBuilder::MAX_FILE_SIZE;

unsigned Refuse(const Port::String& file, const QString& reason)
{
    Port_MsgManData::createObject("sim", "Sim_CommandBuilder", __LINE__)
        .issueError("%s: %s\n", file.c_str(), reason.toUtf8().constData());
    return 1;
}

unsigned Refuse(const Port::String& file, int line, const QString& reason)
{
    Port_MsgManData::createObject("sim", "Sim_CommandBuilder", __LINE__)
        .issueError("%s:%d: %s\n", file.c_str(), line, reason.toUtf8().constData());
    return 1;
}

QString SizeReason(qint64 size)
{
    return QStringLiteral("larger than %1 MiB (%2 bytes)").arg(kMaxSize >> 20).arg(size);
}

// One line as text, its line end dropped. Each line is decoded on its own so that a
// fault is reported with its line.
bool DecodeLine(QByteArrayView bytes, QString& out, QString& reason)
{
    if (bytes.endsWith('\r')) {
        bytes.chop(1);
    }
    if (bytes.contains('\0')) {
        reason = QStringLiteral("binary data (a NUL byte)");
        return false;
    }
    // A byte-order mark inside the text is a character like any other.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    out = decoder(bytes);
    if (decoder.hasError()) {
        reason = QStringLiteral("not UTF-8 text");
        return false;
    }
    return true;
}

// The text's lines; false with the number and the reason of the first that is not text.
bool DecodeLines(QByteArrayView text, std::vector<QString>& lines, int& bad, QString& reason)
{
    if (text.startsWith("\xEF\xBB\xBF")) {
        text = text.sliced(3);
    }
    while (!text.isEmpty()) {
        const qsizetype end = text.indexOf('\n');
        const qsizetype next = end < 0 ? text.size() : end + 1;
        lines.emplace_back();
        if (!DecodeLine(text.first(end < 0 ? text.size() : end), lines.back(), reason)) {
            bad = static_cast<int>(lines.size());
            return false;
        }
        text = text.sliced(next);
    }
    return true;
}

// The lines' commands; false with the number and the reason of the first refused line.
bool ReadLines(const std::vector<QString>& lines, const Port::String& file,
               std::vector<Command>& out, int& bad, QString& reason)
{
    int type = Command::NONE;
    std::vector<Port::String> arguments;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        switch (CommandLineReader::ReadLine(lines[i], type, arguments, reason)) {
            case CommandLineReader::Skipped:
                break;
            case CommandLineReader::Read:
                out.emplace_back(type, arguments, file, number);
                break;
            case CommandLineReader::Refused:
                bad = number;
                return false;
        }
    }
    return true;
}

}  // namespace

CommandBuilder::CommandBuilder(const Ipu::RuntimeOptions& options) : options(options) {}

unsigned CommandBuilder::AddCommandFile(const Port::String& path)
{
    const QFileInfo info(Utility::PortStringToQString(path));
    if (info.isDir()) {
        return Refuse(path, QStringLiteral("a directory, not a command file"));
    }
    // A pipe or a device could block the run or never end.
    if (info.exists() && !info.isFile()) {
        return Refuse(path, QStringLiteral("not a regular file"));
    }
    if (info.size() > kMaxSize) {
        return Refuse(path, SizeReason(info.size()));
    }
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        return Refuse(path, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    }
    // The file may have grown since it was measured: read no more than the limit allows.
    const QByteArray text = file.read(kMaxSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return Refuse(path, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    }
    return AddCommandText(text, path);
}

unsigned CommandBuilder::AddCommandText(const QByteArray& text, const Port::String& file)
{
    if (text.size() > kMaxSize) {
        return Refuse(file, SizeReason(text.size()));
    }
    std::vector<QString> lines;
    std::vector<Command> read;
    int bad = 0;
    QString reason;
    if (!DecodeLines(text, lines, bad, reason) || !ReadLines(lines, file, read, bad, reason)) {
        return Refuse(file, bad, reason);
    }
    commands.insert(commands.end(), read.begin(), read.end());
    return 0;
}

}  // namespace Sim
