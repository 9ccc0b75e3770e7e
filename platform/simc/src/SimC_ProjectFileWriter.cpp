#include "SimC_ProjectFileWriter.h"

#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "Port_MsgManData.h"
#include "SimC_ProjectFileFormat.h"

#include <QFileInfo>
#include <QXmlStreamWriter>

#include <boost/pointer_cast.hpp>

#include <string>
#include <vector>

namespace SimC {

namespace {

using Format = ProjectFileFormat;

std::vector<std::string> Split(const std::string& path)
{
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin < path.size()) {
        std::size_t end = path.find('/', begin);
        if (end == std::string::npos) {
            end = path.size();
        }
        if (end > begin) {
            parts.push_back(path.substr(begin, end - begin));
        }
        begin = end + 1;
    }
    return parts;
}

// The path of file relative to directory (both absolute and clean), byte for byte, so
// that names in any encoding survive.
Port::String RelativePath(const Port::String& directory, const Port::String& file)
{
    const std::vector<std::string> from = Split(directory.str());
    const std::vector<std::string> to = Split(file.str());
    std::size_t common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common]) {
        ++common;
    }
    std::string result;
    for (std::size_t i = common; i < from.size(); ++i) {
        result += "../";
    }
    for (std::size_t i = common; i < to.size(); ++i) {
        result += to[i] + (i + 1 < to.size() ? "/" : "");
    }
    return result.empty() ? Port::String(".") : Port::String(result);
}

// A field holding ':' would make a key that reads back as something else.
bool IsStorableKey(const Ipu::VersionedIdentifier& identifier)
{
    Ipu::VersionedIdentifier parsed;
    return Ipu::VersionedIdentifier::FromKey(identifier.GetKey(), parsed) == 0;
}

QString Base64(const Port::String& text)
{
    return QString::fromLatin1(
        QByteArray(text.c_str(), static_cast<qsizetype>(text.GetLength())).toBase64());
}

class Serializer {
public:
    explicit Serializer(QByteArray& out) : xml(&out)
    {
        xml.setAutoFormatting(true);
        xml.setAutoFormattingIndent(2);
    }

    bool Write(const Ipu::IPComposite& design, QString& reason);

private:
    void TextAttribute(const char* name, const Port::String& value);
    void TextElement(const char* name, const Port::String& value);
    // An element's text, in base64 (said by its encoding attribute) when it is not plain.
    void Content(const Port::String& value);
    void Flag(const char* name, bool value);
    void Properties(const Ipu::Element& element);
    void Options(const Ipu::VendorExtensions& owner);
    bool Members(const Ipu::IPComposite& design, QString& reason);
    void Component(const Ipu::IPComponent& component);
    void Design(const Ipu::IPComposite& nested, const Port::String& directory);

    QXmlStreamWriter xml;
};

void Serializer::TextAttribute(const char* name, const Port::String& value)
{
    if (Format::IsPlainText(value)) {
        xml.writeAttribute(QLatin1String(name), Format::ToQString(value));
    } else {
        xml.writeAttribute(QLatin1String(name) + QLatin1String(Format::BASE64_SUFFIX),
                           Base64(value));
    }
}

void Serializer::TextElement(const char* name, const Port::String& value)
{
    xml.writeStartElement(QLatin1String(name));
    Content(value);
    xml.writeEndElement();
}

void Serializer::Content(const Port::String& value)
{
    if (Format::IsPlainText(value)) {
        xml.writeCharacters(Format::ToQString(value));
    } else {
        xml.writeAttribute(QLatin1String(Format::ENCODING), QLatin1String(Format::BASE64));
        xml.writeCharacters(Base64(value));
    }
}

void Serializer::Flag(const char* name, bool value)
{
    xml.writeAttribute(QLatin1String(name), value ? QLatin1String(Ipu::ProjectOptions::TRUEVALUE)
                                                  : QLatin1String(Ipu::ProjectOptions::FALSEVALUE));
}

void Serializer::Properties(const Ipu::Element& element)
{
    const std::vector<Port::String> names = element.GetPropertyNames();
    if (names.empty()) {
        return;
    }
    xml.writeStartElement(QLatin1String(Format::PROPERTIES));
    for (const Port::String& name : names) {
        std::vector<Port::String> values;
        element.GetPropertyValues(name, values);
        for (const Port::String& value : values) {
            xml.writeStartElement(QLatin1String(Format::PROPERTY));
            TextAttribute(Format::NAME, name);
            Content(value);
            xml.writeEndElement();
        }
    }
    xml.writeEndElement();
}

void Serializer::Options(const Ipu::VendorExtensions& owner)
{
    Ipu::ProjectOptions options;
    if (owner.GetProjectOptions(options) != 0) {
        return;
    }
    Ipu::ProjectOptions::KeyValueList pairs;
    options.GetKeyValuePairs(pairs);
    xml.writeStartElement(QLatin1String(Format::OPTIONS));
    for (const auto& [key, value] : pairs) {
        xml.writeStartElement(QLatin1String(Format::OPTION));
        TextAttribute(Format::KEY, key);
        Content(value);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void Serializer::Component(const Ipu::IPComponent& component)
{
    xml.writeStartElement(QLatin1String(Format::COMPONENT));
    TextAttribute(Format::VLNV, component.GetIdentifier().GetKey());
    TextAttribute(Format::NAME, component.GetName());
    Flag(Format::MODIFIED_BY_USER, component.IsFileModifiedByUser());
    xml.writeAttribute(QLatin1String(Format::CHANGE_TIME),
                       QString::number(static_cast<qlonglong>(component.GetChangeTime())));
    TextElement(Format::DISPLAY_NAME, component.GetDisplayName());
    TextElement(Format::DESCRIPTION, component.GetDescription());
    if (!component.GetParameters().IsEmpty()) {
        xml.writeStartElement(QLatin1String(Format::PARAMETERS));
        for (const auto& parameter : component.GetParameters()) {
            xml.writeStartElement(QLatin1String(Format::PARAMETER));
            TextAttribute(Format::NAME, parameter.name);
            Content(parameter.value);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    Options(component);
    xml.writeEndElement();
}

void Serializer::Design(const Ipu::IPComposite& nested, const Port::String& directory)
{
    const Port::FileName file = nested.GetProjectFileName();
    xml.writeStartElement(QLatin1String(Format::DESIGN));
    TextAttribute(Format::NAME, nested.GetName());
    TextAttribute(Format::VLNV, nested.GetIdentifier().GetKey());
    TextAttribute(Format::FILE, file.IsEmpty() ? Port::String()
                                               : RelativePath(directory, file.GetAbsolutePath()));
    xml.writeEndElement();
}

bool Serializer::Members(const Ipu::IPComposite& design, QString& reason)
{
    const Port::String directory =
        Port::FileName(design.GetProjectFileName().GetAbsolutePath()).GetHead();
    xml.writeStartElement(QLatin1String(Format::MEMBERS));
    for (const auto& member : design.GetElements()) {
        const Port::String name = member->GetName();
        if (!IsStorableKey(member->GetIdentifier())) {
            reason = QStringLiteral("the identifier of member %1 is not a valid VLNV")
                         .arg(Format::ToQString(name));
            return false;
        }
        if (const auto* component = dynamic_cast<const Ipu::IPComponent*>(member.get())) {
            Component(*component);
        } else if (const auto* nested = dynamic_cast<const Ipu::IPComposite*>(member.get())) {
            Design(*nested, directory);
        } else {
            reason = QStringLiteral("member %1 is neither an IP nor a design")
                         .arg(Format::ToQString(name));
            return false;
        }
    }
    xml.writeEndElement();
    return true;
}

bool Serializer::Write(const Ipu::IPComposite& design, QString& reason)
{
    if (!IsStorableKey(design.GetIdentifier())) {
        reason = QStringLiteral("the design's identifier is not a valid VLNV");
        return false;
    }
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QLatin1String(Format::NAMESPACE));
    xml.writeStartElement(QLatin1String(Format::PROJECT));
    xml.writeAttribute(QLatin1String(Format::FORMAT_VERSION), QString::number(Format::VERSION));
    TextAttribute(Format::VLNV, design.GetIdentifier().GetKey());
    Flag(Format::MODIFIED_BY_USER, design.IsFileModifiedByUser());
    Properties(design);
    Options(design);
    if (!Members(design, reason)) {
        return false;
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError()) {
        reason = QStringLiteral("the content could not be written as XML");
        return false;
    }
    return true;
}

void Warn(const Port::String& file, const QString& reason)
{
    Port_MsgManData::createObject("simc", "SimC_ProjectFileWriter", __LINE__)
        .issueWarning("Cannot save project file %s: %s\n", Format::Escaped(file).c_str(),
                      reason.toUtf8().constData());
}

}  // namespace

QByteArray ProjectFileWriter::ToXml(const Ipu::IPComposite& design, QString& reason)
{
    QByteArray out;
    Serializer serializer(out);
    if (!serializer.Write(design, reason)) {
        return QByteArray();
    }
    return out;
}

bool ProjectFileWriter::Save(const QByteArray& content, const Port::String& file)
{
    QString path, reason;
    if (!Format::ToPath(file, path, reason)) {
        Warn(file, reason);
        return false;
    }
    ProjectFileWriter writer(path);
    if (writer.Write(content) && writer.Commit()) {
        return true;
    }
    Warn(file, writer.ErrorString());
    return false;
}

ProjectFileWriter::ProjectFileWriter(const QString& file) : file(file) {}

ProjectFileWriter::~ProjectFileWriter() = default;

bool ProjectFileWriter::Write(const QByteArray& content)
{
    const QFileInfo info(file);
    if (!directories.Make(Format::ToPortString(info.absolutePath()))) {
        error = QStringLiteral("the directory %1 cannot be created").arg(info.absolutePath());
        return false;
    }
    if (info.isDir()) {
        error = QStringLiteral("a directory of that name is in the way");
        return false;
    }
    output = std::make_unique<QSaveFile>(info.absoluteFilePath());
    if (!output->open(QIODevice::WriteOnly) || output->write(content) != content.size()) {
        error = output->errorString();
        output->cancelWriting();
        return false;
    }
    return true;
}

bool ProjectFileWriter::Commit()
{
    if (!output) {
        error = QStringLiteral("nothing was written");
        return false;
    }
    if (!output->commit()) {
        error = output->errorString();
        return false;
    }
    directories.Keep();
    return true;
}

}  // namespace SimC
