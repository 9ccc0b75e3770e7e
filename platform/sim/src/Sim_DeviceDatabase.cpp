#include "Sim_DeviceDatabase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>

#include <algorithm>
#include <unordered_map>

namespace {

using Sim::DeviceDatabase;

constexpr qsizetype MaximumNameLength = 64;

// Thrown by the parsing helpers and turned into the reason by Parse; the first fault wins.
struct Fault {
    std::string text;
};

[[noreturn]] void Fail(const QString& path, const QString& reason)
{
    throw Fault{(path + QStringLiteral(": ") + reason).toStdString()};
}

QString Member(const QString& path, const char* key)
{
    return path.isEmpty() ? QString::fromLatin1(key) : path + QLatin1Char('.') + QLatin1String(key);
}

QString Element(const QString& path, qsizetype index)
{
    return QStringLiteral("%1[%2]").arg(path).arg(index);
}

// Keeps messages readable when a file holds a very long or strange text.
QString Quoted(const QString& text)
{
    if (text.size() <= MaximumNameLength)
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    return QLatin1Char('\'') + text.left(MaximumNameLength) + QStringLiteral("...'");
}

Port::String ToPort(const QString& text)
{
    return Port::String(text.toUtf8().toStdString());
}

QString ToQt(const Port::String& text)
{
    return QString::fromUtf8(text.c_str(), static_cast<qsizetype>(text.GetLength()));
}

QJsonValue Require(const QJsonObject& object, const QString& path, const char* key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        Fail(Member(path, key), QStringLiteral("missing"));
    return value;
}

QJsonObject ExpectObject(const QJsonValue& value, const QString& path)
{
    if (!value.isObject())
        Fail(path, QStringLiteral("expected an object"));
    return value.toObject();
}

QJsonArray ExpectList(const QJsonValue& value, const QString& path)
{
    if (!value.isArray())
        Fail(path, QStringLiteral("expected an array"));
    const QJsonArray array = value.toArray();
    if (array.isEmpty())
        Fail(path, QStringLiteral("expected at least one entry"));
    return array;
}

QString ExpectString(const QJsonValue& value, const QString& path)
{
    if (!value.isString())
        Fail(path, QStringLiteral("expected a string"));
    return value.toString();
}

bool IsNameCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
           u == u'_' || u == u'.' || u == u'+' || u == u'-';
}

// Family names are stored in catalogue files and project files as identifiers, so they
// stay plain ASCII.
Port::String CheckName(const QString& text, const QString& path)
{
    if (text.isEmpty() || text.size() > MaximumNameLength ||
        !std::all_of(text.begin(), text.end(), IsNameCharacter))
        Fail(path, Quoted(text) + QStringLiteral(" is not a valid name (1 to 64 letters, digits, "
                                                 "'_', '.', '+' or '-')"));
    return ToPort(text);
}

// Device, package and speed-grade names are written as option values into project files
// and line-oriented command files, and never into file names. In those lines a blank or a
// control character would split or end the value, '"' would end a quoted value, '=' is the
// key-value separator and '\\' the escape of other tools; everything else printable, '/'
// included (speed grades such as "C6/I5"), is kept.
bool IsPartNameCharacter(char32_t c)
{
    return QChar::isPrint(c) && !QChar::isSpace(c) && c != U'"' && c != U'=' && c != U'\\';
}

Port::String CheckPartName(const QString& text, const QString& path)
{
    const QList<uint> codePoints = text.toUcs4();
    if (text.isEmpty() || text.size() > MaximumNameLength ||
        !std::all_of(codePoints.begin(), codePoints.end(),
                     [](uint c) { return IsPartNameCharacter(char32_t(c)); }))
        Fail(path, Quoted(text) + QStringLiteral(" is not a valid part name (1 to 64 printable "
                                                 "characters, no blank, '\"', '=' or '\\')"));
    return ToPort(text);
}

Port::String ReadName(const QJsonObject& object, const QString& path, const char* key)
{
    return CheckName(ExpectString(Require(object, path, key), Member(path, key)),
                     Member(path, key));
}

Port::String ReadPartName(const QJsonObject& object, const QString& path)
{
    return CheckPartName(ExpectString(Require(object, path, "name"), Member(path, "name")),
                         Member(path, "name"));
}

// Visible names are shown in lists, so any printable text will do, but no blank edges.
Port::String ReadVisibleName(const QJsonObject& object, const QString& path)
{
    const QString where = Member(path, "visibleName");
    const QString text = ExpectString(Require(object, path, "visibleName"), where);
    const QList<uint> codePoints = text.toUcs4();
    const bool printable = std::all_of(codePoints.begin(), codePoints.end(),
                                       [](uint c) { return QChar::isPrint(char32_t(c)); });
    if (text.isEmpty() || text.size() > MaximumNameLength || !printable || text.trimmed() != text)
        Fail(where, Quoted(text) + QStringLiteral(" is not a valid visible name (1 to 64 printable "
                                                  "characters, no leading or trailing space)"));
    return ToPort(text);
}

// Remembers where each name was first seen, ignoring case as every lookup does.
class NameRegistry {
public:
    explicit NameRegistry(const char* what) : what(what) {}

    void Claim(const Port::String& name, const QString& path)
    {
        const QString key = ToQt(name).toLower();
        const auto [it, inserted] = seen.emplace(key.toStdString(), path);
        if (!inserted)
            Fail(path, QStringLiteral("duplicate %1 %2 (first at %3)")
                           .arg(QLatin1String(what), Quoted(ToQt(name)), it->second));
    }

private:
    const char* what;
    std::unordered_map<std::string, QString> seen;
};

// An entry that cannot be used is left out, its fault kept for the warning, and the rest
// of the list is read; a list left without entries fails as a whole, so that no list of
// the database is empty.
template <typename Parse>
auto ParseEntries(const QJsonValue& value, const QString& path, std::vector<std::string>& leftOut,
                  Parse parse)
{
    const QJsonArray array = ExpectList(value, path);
    std::vector<decltype(parse(array.at(0), path))> entries;
    for (qsizetype i = 0; i < array.size(); ++i) {
        try {
            entries.push_back(parse(array.at(i), Element(path, i)));
        } catch (const Fault& fault) {
            leftOut.push_back(fault.text);
        }
    }
    if (entries.empty())
        Fail(path, QStringLiteral("no usable entry"));
    return entries;
}

std::vector<Port::String> ParseSpeedGrades(const QJsonValue& value, const QString& path,
                                           std::vector<std::string>& leftOut)
{
    NameRegistry registry("speed grade");
    return ParseEntries(value, path, leftOut, [&](const QJsonValue& entry, const QString& where) {
        const Port::String name = CheckPartName(ExpectString(entry, where), where);
        registry.Claim(name, where);
        return name;
    });
}

std::vector<DeviceDatabase::Package> ParsePackages(const QJsonValue& value, const QString& path,
                                                   std::vector<std::string>& leftOut)
{
    NameRegistry registry("package");
    return ParseEntries(value, path, leftOut, [&](const QJsonValue& entry, const QString& where) {
        const QJsonObject object = ExpectObject(entry, where);
        DeviceDatabase::Package package;
        package.name = ReadPartName(object, where);
        package.speedGrades = ParseSpeedGrades(Require(object, where, "speedGrades"),
                                               Member(where, "speedGrades"), leftOut);
        registry.Claim(package.name, Member(where, "name"));
        return package;
    });
}

// Device names are unique in the whole database, not only in their family: a part is
// often named by its device alone in messages.
std::vector<DeviceDatabase::Device> ParseDevices(const QJsonValue& value, const QString& path,
                                                 NameRegistry& deviceNames,
                                                 std::vector<std::string>& leftOut)
{
    return ParseEntries(value, path, leftOut, [&](const QJsonValue& entry, const QString& where) {
        const QJsonObject object = ExpectObject(entry, where);
        DeviceDatabase::Device device;
        device.name = ReadPartName(object, where);
        device.packages =
            ParsePackages(Require(object, where, "packages"), Member(where, "packages"), leftOut);
        deviceNames.Claim(device.name, Member(where, "name"));
        return device;
    });
}

std::vector<DeviceDatabase::Family> ParseFamilies(const QJsonValue& value,
                                                  std::vector<std::string>& leftOut)
{
    const QString path = QStringLiteral("families");
    const QJsonArray array = ExpectList(value, path);
    NameRegistry familyNames("family");
    NameRegistry visibleNames("visible name");
    NameRegistry deviceNames("device");
    std::vector<DeviceDatabase::Family> families;
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString where = Element(path, i);
        const QJsonObject object = ExpectObject(array.at(i), where);
        DeviceDatabase::Family family;
        family.name = ReadName(object, where, "name");
        familyNames.Claim(family.name, Member(where, "name"));
        family.visibleName = ReadVisibleName(object, where);
        visibleNames.Claim(family.visibleName, Member(where, "visibleName"));
        family.devices = ParseDevices(Require(object, where, "devices"), Member(where, "devices"),
                                      deviceNames, leftOut);
        families.push_back(std::move(family));
    }
    return families;
}

template <typename T>
const T* FindByName(const std::vector<T>& items, const Port::String& name)
{
    for (const T& item : items) {
        if (item.name.Compare(name, Port::CompareIgnoreCase) == 0)
            return &item;
    }
    return nullptr;
}

const Port::String* FindSpeedGrade(const DeviceDatabase::Package& package,
                                   const Port::String& speedGrade)
{
    for (const Port::String& candidate : package.speedGrades) {
        if (candidate.Compare(speedGrade, Port::CompareIgnoreCase) == 0)
            return &candidate;
    }
    return nullptr;
}

QString DefaultText(const QJsonObject& object, const char* key)
{
    return ExpectString(Require(object, QStringLiteral("defaultPart"), key),
                        Member(QStringLiteral("defaultPart"), key));
}

[[noreturn]] void FailDefault(const char* key, const QString& text, const QString& container)
{
    Fail(Member(QStringLiteral("defaultPart"), key),
         Quoted(text) + QStringLiteral(" is not in ") + container);
}

// The default part must name a real part; it is answered in the families' own spelling.
DeviceDatabase::Part ResolveDefaultPart(const std::vector<DeviceDatabase::Family>& families,
                                        const QJsonObject& object)
{
    const QString family = DefaultText(object, "family");
    const QString device = DefaultText(object, "device");
    const QString package = DefaultText(object, "package");
    const QString speedGrade = DefaultText(object, "speedgrade");
    const auto* foundFamily = FindByName(families, ToPort(family));
    if (!foundFamily)
        FailDefault("family", family, QStringLiteral("the families"));
    const auto* foundDevice = FindByName(foundFamily->devices, ToPort(device));
    if (!foundDevice)
        FailDefault("device", device, QStringLiteral("family ") + ToQt(foundFamily->name));
    const auto* foundPackage = FindByName(foundDevice->packages, ToPort(package));
    if (!foundPackage)
        FailDefault("package", package, QStringLiteral("device ") + ToQt(foundDevice->name));
    const Port::String* foundSpeedGrade = FindSpeedGrade(*foundPackage, ToPort(speedGrade));
    if (!foundSpeedGrade)
        FailDefault("speedgrade", speedGrade,
                    QStringLiteral("package ") + ToQt(foundPackage->name));
    return {foundFamily->name, foundDevice->name, foundPackage->name, *foundSpeedGrade};
}

void CheckFormatVersion(const QJsonObject& root)
{
    const QString path = QStringLiteral("formatVersion");
    const QJsonValue value = Require(root, QString(), "formatVersion");
    if (!value.isDouble())
        Fail(path, QStringLiteral("expected a number"));
    if (value.toDouble() != 1.0)
        Fail(path, QStringLiteral("version %1 is not supported (expected 1)")
                       .arg(value.toDouble(), 0, 'g', 17));
}

std::string DescribeSyntaxError(const QByteArray& bytes, const QJsonParseError& error)
{
    const qsizetype offset = std::clamp<qsizetype>(error.offset, 0, bytes.size());
    const char* begin = bytes.constData();
    const qsizetype line = std::count(begin, begin + offset, '\n') + 1;
    const char* lineStart = std::find(std::make_reverse_iterator(begin + offset),
                                      std::make_reverse_iterator(begin), '\n')
                                .base();
    const qsizetype column = (begin + offset - lineStart) + 1;
    return QStringLiteral("malformed JSON at line %1, column %2 (byte offset %3): %4")
        .arg(line)
        .arg(column)
        .arg(offset)
        .arg(error.errorString())
        .toStdString();
}

QJsonObject ParseDocument(const QByteArray& bytes)
{
    if (bytes.size() > DeviceDatabase::MaximumSize)
        throw Fault{QStringLiteral("the file is too large (%1 bytes; at most %2 are read)")
                        .arg(bytes.size())
                        .arg(DeviceDatabase::MaximumSize)
                        .toStdString()};
    if (bytes.isEmpty())
        throw Fault{"the file is empty"};
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        throw Fault{
            QStringLiteral("binary content (a NUL byte at byte offset %1)").arg(nul).toStdString()};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw Fault{DescribeSyntaxError(bytes, error)};
    if (!document.isObject())
        throw Fault{"the top level is not a JSON object"};
    return document.object();
}

}  // namespace

namespace Sim {

bool DeviceDatabase::Parse(const QByteArray& bytes, std::string& reason)
{
    families.clear();
    defaultPart = Part();
    leftOut.clear();
    try {
        const QJsonObject root = ParseDocument(bytes);
        CheckFormatVersion(root);
        std::vector<Family> parsed = ParseFamilies(Require(root, QString(), "families"), leftOut);
        const QJsonObject defaultObject =
            ExpectObject(Require(root, QString(), "defaultPart"), QStringLiteral("defaultPart"));
        defaultPart = ResolveDefaultPart(parsed, defaultObject);
        families = std::move(parsed);
        return true;
    } catch (const Fault& fault) {
        defaultPart = Part();
        leftOut.clear();
        reason = fault.text;
        return false;
    }
}

const DeviceDatabase::Family* DeviceDatabase::FindFamily(const Port::String& name) const
{
    return FindByName(families, name);
}

const DeviceDatabase::Family* DeviceDatabase::FindVisibleFamily(
    const Port::String& visibleName) const
{
    for (const Family& family : families) {
        if (family.visibleName.Compare(visibleName, Port::CompareIgnoreCase) == 0)
            return &family;
    }
    return nullptr;
}

const DeviceDatabase::Device* DeviceDatabase::FindDevice(const Family& family,
                                                         const Port::String& name)
{
    return FindByName(family.devices, name);
}

const DeviceDatabase::Package* DeviceDatabase::FindPackage(const Device& device,
                                                           const Port::String& name)
{
    return FindByName(device.packages, name);
}

}  // namespace Sim
