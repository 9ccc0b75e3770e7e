#include "SimC_LegacyProjectReader.h"

#include "Ipu_Legacy.h"
#include "Ipu_Parameters.h"
#include "Port_FileName.h"
#include "Port_MsgManData.h"
#include "SimC_DesignFactory.h"
#include "SimC_ProjectFileFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

#include <algorithm>
#include <cctype>
#include <vector>

namespace SimC {

namespace {

using FileFormat = ProjectFileFormat;

constexpr qint64 kMaxSize = static_cast<qint64>(FileFormat::MAX_FILE_SIZE);
const char* const kComponentName = "component_name";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

QString Q(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The first word of a line and the rest, trimmed.
void SplitKeyword(const std::string& line, std::string& keyword, std::string& rest)
{
    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) {
        ++end;
    }
    keyword = line.substr(0, end);
    rest = Trim(line.substr(end));
}

// Words separated by blanks; a word in double quotes may hold blanks.
bool SplitWords(const std::string& text, std::vector<std::string>& words, QString& reason)
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        const bool quoted = text[i] == '"';
        const std::size_t end = quoted ? text.find('"', i + 1) : text.find_first_of(" \t", i);
        if (quoted && end == std::string::npos) {
            reason = QStringLiteral("unterminated quote");
            return false;
        }
        const std::size_t stop = end == std::string::npos ? text.size() : end;
        const std::string word =
            quoted ? text.substr(i + 1, stop - i - 1) : text.substr(i, stop - i);
        const std::size_t next = quoted ? stop + 1 : stop;
        if ((!quoted && word.find('"') != std::string::npos) ||
            (next < text.size() && !IsBlank(text[next]))) {
            reason = QStringLiteral("a double quote inside a word");
            return false;
        }
        words.push_back(word);
        i = next;
    }
    return true;
}

// A value in double quotes is taken without them, so that it may begin or end with blanks.
bool Unquote(const std::string& text, std::string& value, QString& reason)
{
    const bool quoted = !text.empty() && text.front() == '"';
    if (quoted && (text.size() < 2 || text.back() != '"')) {
        reason = QStringLiteral("unterminated quote");
        return false;
    }
    value = quoted ? text.substr(1, text.size() - 2) : text;
    return true;
}

// "vendor:library:name:version", no field empty.
bool SplitKey(const std::string& key, std::vector<std::string>& fields)
{
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = key.find(':', begin);
        fields.push_back(key.substr(begin, end == std::string::npos ? end : end - begin));
        if (end == std::string::npos) {
            break;
        }
        begin = end + 1;
    }
    return fields.size() == 4 &&
           std::none_of(fields.begin(), fields.end(), [](const auto& f) { return f.empty(); });
}

QString IdentifierReason(const std::string& key)
{
    return QStringLiteral(
               "invalid IP identifier '%1' (vendor:library:name:version, no field "
               "empty)")
        .arg(Q(key));
}

}  // namespace

bool LegacyProjectReader::FormatOf(const Port::String& file, Format& format)
{
    const Port::String extension = Port::FileName(file).GetExtension();
    if (extension.Compare(Ipu::Legacy::PROJECT_FILE_EXTENSION, Port::CompareIgnoreCase) == 0) {
        format = LEGACY;
        return true;
    }
    if (extension.Compare(Ipu::Legacy::DEPRECATED_PROJECT_FILE_EXTENSION,
                          Port::CompareIgnoreCase) == 0) {
        format = DEPRECATED;
        return true;
    }
    return false;
}

boost::shared_ptr<Ipu::IPComposite> LegacyProjectReader::ReadFile(
    const Port::String& file, Format format, const Port::String& designFile,
    const Ipu::VersionedIdentifier& identifier)
{
    QString name, failure;
    if (!FileFormat::ToPath(file, name, failure)) {
        Port_MsgManData::createObject("simc", "SimC_LegacyProjectReader", __LINE__)
            .issueWarning("Cannot migrate project file %s: line 1: %s\n",
                          FileFormat::Escaped(Port::FileName(file).GetAbsolutePath()).c_str(),
                          failure.toUtf8().constData());
        return {};
    }
    const QFileInfo info(name);
    boost::shared_ptr<Ipu::IPComposite> result;
    QFile input(info.absoluteFilePath());
    if (!info.exists()) {
        failure = QStringLiteral("line 1: no such file");
    } else if (!info.isFile()) {
        failure = QStringLiteral("line 1: not a regular file");
    } else if (!input.open(QIODevice::ReadOnly)) {
        failure = QStringLiteral("line 1: cannot be read: %1").arg(input.errorString());
    } else {
        // One byte past the limit, so that ReadData sees a file that is too large.
        result = ReadData(input.read(kMaxSize + 1), format, designFile, identifier, failure);
    }
    if (!result) {
        Port_MsgManData::createObject("simc", "SimC_LegacyProjectReader", __LINE__)
            .issueWarning("Cannot migrate project file %s: %s\n",
                          FileFormat::ToPortString(info.absoluteFilePath()).c_str(),
                          failure.toUtf8().constData());
    }
    return result;
}

boost::shared_ptr<Ipu::IPComposite> LegacyProjectReader::ReadData(
    const QByteArray& data, Format format, const Port::String& designFile,
    const Ipu::VersionedIdentifier& identifier, QString& failure)
{
    if (data.size() > kMaxSize) {
        failure = QStringLiteral("line 1: larger than 64 MiB");
        return {};
    }
    LegacyProjectReader reader(designFile, identifier, format);
    if (!reader.Parse(data)) {
        failure = reader.failure;
        return {};
    }
    return reader.design;
}

// The part is left empty until the file has been read: a file that names none gets the
// default part whole, never a default device under the file's family.
LegacyProjectReader::LegacyProjectReader(const Port::String& designFile,
                                         const Ipu::VersionedIdentifier& identifier, Format format)
    : design(DesignFactory::NewDesign(designFile, identifier))
    , defaults(DesignFactory::DefaultOptions(designFile))
    , options(defaults)
    , format(format)
{
    options.SetDeviceFamily(Port::String());
    options.SetDevice(Port::String());
    options.SetPackage(Port::String());
    options.SetSpeedGrade(Port::String());
}

bool LegacyProjectReader::Parse(const QByteArray& data)
{
    for (const QByteArray& raw : data.split('\n')) {
        ++line;
        std::string text(raw.constData(), static_cast<std::size_t>(raw.size()));
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (text.find('\0') != std::string::npos) {
            return Fail(QStringLiteral("binary data (a NUL byte)"));
        }
        text = Trim(text);
        if (text.empty() || text.front() == '#') {
            continue;
        }
        if (!(format == LEGACY ? ReadLegacyLine(text) : ReadDeprecatedLine(text))) {
            return false;
        }
    }
    return Finish();
}

bool LegacyProjectReader::Finish()
{
    if (format == LEGACY && member) {
        line = memberLine;
        return Fail(QStringLiteral("the IP block of this SELECT is not closed by END"));
    }
    if (!CloseMember()) {
        return false;
    }
    if (options.GetPelPart().GetFamily().IsEmpty()) {
        const Ipu::PelPart part = defaults.GetPelPart();
        options.SetDeviceFamily(part.GetFamily());
        options.SetDevice(part.GetDevice());
        options.SetPackage(part.GetPackage());
        options.SetSpeedGrade(part.GetSpeedGrade());
    }
    design->SetProjectOptions(options);
    return true;
}

bool LegacyProjectReader::ReadLegacyLine(const std::string& text)
{
    std::string keyword, rest;
    SplitKeyword(text, keyword, rest);
    const std::string command = Lower(keyword);
    const QString open = QStringLiteral("%1 inside the IP block of line %2 (END missing?)");
    if (command == "set") {
        return member ? Fail(open.arg(QStringLiteral("SET")).arg(memberLine))
                      : ReadAssignment(rest, false);
    }
    if (command == "select") {
        return member ? Fail(open.arg(QStringLiteral("SELECT")).arg(memberLine)) : ReadSelect(rest);
    }
    if (command == "cset") {
        return member ? ReadAssignment(rest, true)
                      : Fail(QStringLiteral("CSET outside an IP block (no SELECT before it)"));
    }
    if (command == "end") {
        if (!member) {
            return Fail(QStringLiteral("END without SELECT"));
        }
        return rest.empty() ? CloseMember() : Fail(QStringLiteral("END takes no arguments"));
    }
    return Fail(QStringLiteral("unknown command '%1'").arg(Q(keyword)));
}

bool LegacyProjectReader::ReadSelect(const std::string& arguments)
{
    std::vector<std::string> words;
    QString reason;
    if (!SplitWords(arguments, words, reason)) {
        return Fail(reason);
    }
    if (words.size() != 4) {
        return Fail(QStringLiteral("SELECT takes four arguments (\"name\" vendor library "
                                   "version), not %1")
                        .arg(words.size()));
    }
    return OpenMember({words[1], words[2], words[0], words[3]});
}

bool LegacyProjectReader::ReadDeprecatedLine(const std::string& text)
{
    std::string keyword, rest;
    SplitKeyword(text, keyword, rest);
    if (Lower(keyword) == "component") {
        return ReadComponent(rest);
    }
    if (text.find('=') == std::string::npos) {
        return Fail(QStringLiteral("neither key=value nor a component line"));
    }
    return ReadAssignment(text, static_cast<bool>(member));
}

bool LegacyProjectReader::ReadComponent(const std::string& arguments)
{
    std::vector<std::string> words;
    QString reason;
    if (!SplitWords(arguments, words, reason)) {
        return Fail(reason);
    }
    if (words.size() != 2) {
        return Fail(QStringLiteral("a component line takes a name and "
                                   "vendor:library:name:version, not %1 arguments")
                        .arg(words.size()));
    }
    std::vector<std::string> fields;
    if (!SplitKey(words[1], fields)) {
        return Fail(IdentifierReason(words[1]));
    }
    return CloseMember() && OpenMember(fields) && NameMember(words[0]);
}

bool LegacyProjectReader::ReadAssignment(const std::string& text, bool parameter)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        return Fail(QStringLiteral("'=' missing (name = value)"));
    }
    const std::string name = Trim(text.substr(0, equals));
    std::string value;
    QString reason;
    if (name.empty()) {
        return Fail(QStringLiteral("no name before '='"));
    }
    if (name.find_first_of(" \t\"") != std::string::npos) {
        return Fail(QStringLiteral("the name '%1' holds a blank or a quote").arg(Q(name)));
    }
    if (!Unquote(Trim(text.substr(equals + 1)), value, reason)) {
        return Fail(reason);
    }
    return parameter ? SetParameter(name, value) : SetOption(name, value);
}

bool LegacyProjectReader::SetOption(const std::string& key, const std::string& value)
{
    QString reason;
    // The project name becomes part of the paths the project writes.
    if (Lower(key) == Lower(Ipu::ProjectOptions::PROJECTNAME) && !value.empty() &&
        !FileFormat::IsSafeName(Port::String(value), reason)) {
        return Fail(QStringLiteral("project name refused: %1").arg(reason));
    }
    if (options.SetValue(Port::String(key), Port::String(value)) == 0) {
        return true;
    }
    return Fail(QStringLiteral("option %1 = '%2' not accepted (%3)")
                    .arg(Q(key), Q(value),
                         Ipu::ProjectOptions::IsKey(Port::String(key))
                             ? QStringLiteral("value not allowed")
                             : QStringLiteral("unknown option")));
}

bool LegacyProjectReader::OpenMember(const std::vector<std::string>& fields)
{
    std::vector<std::string> checked;
    const std::string key = fields[0] + ":" + fields[1] + ":" + fields[2] + ":" + fields[3];
    if (!SplitKey(key, checked)) {
        return Fail(IdentifierReason(key));
    }
    member = DesignFactory::NewMember(Port::String(key));
    if (!member) {
        return Fail(IdentifierReason(key));
    }
    // A catalogue copy comes with the catalogue's name; the file must give the member's.
    member->SetName(Port::String());
    memberLine = line;
    parameterNames.clear();
    return true;
}

bool LegacyProjectReader::NameMember(const std::string& name)
{
    if (name.empty()) {
        return Fail(QStringLiteral("an IP without a name"));
    }
    QString reason;
    if (!FileFormat::IsSafeName(Port::String(name), reason)) {
        return Fail(QStringLiteral("member name refused: %1").arg(reason));
    }
    if (!memberNames.insert(name).second) {
        return Fail(QStringLiteral("member name '%1' given twice").arg(Q(name)));
    }
    member->SetName(Port::String(name));
    return true;
}

// Values the catalogue's parameters take; parameters it does not have are kept as given.
bool LegacyProjectReader::SetParameter(const std::string& name, const std::string& value)
{
    const std::string lower = Lower(name);
    if (!parameterNames.insert(lower).second) {
        return Fail(QStringLiteral("parameter '%1' given twice").arg(Q(name)));
    }
    if (format == LEGACY && lower == kComponentName) {
        return NameMember(value);
    }
    Ipu::Parameters& parameters = member->GetParameters();
    if (parameters.SetValue(Port::String(name), Port::String(value)) != 0) {
        Ipu::Parameters::Parameter parameter;
        parameter.name = Port::String(name);
        parameter.value = Port::String(value);
        parameters.Add(parameter);
    }
    return true;
}

bool LegacyProjectReader::CloseMember()
{
    if (!member) {
        return true;
    }
    if (member->GetName().IsEmpty()) {
        return Fail(QStringLiteral("the IP block of line %1 has no CSET %2")
                        .arg(memberLine)
                        .arg(QLatin1String(kComponentName)));
    }
    if (design->AddElement(member) != 0) {
        return Fail(QStringLiteral("the IP cannot be added to the design"));
    }
    member.reset();
    return true;
}

bool LegacyProjectReader::Fail(const QString& reason)
{
    failure = QStringLiteral("line %1: %2").arg(line).arg(reason);
    return false;
}

}  // namespace SimC
