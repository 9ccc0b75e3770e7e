#include "SimC_ProjectFileReader.h"

#include "Ipu_VersionedIdentifier.h"
#include "Port_FileName.h"
#include "Port_MsgManData.h"
#include "SimC_DesignFactory.h"
#include "SimC_ProjectFileFormat.h"

#include <QFile>
#include <QFileInfo>

namespace SimC {

namespace {

using Format = ProjectFileFormat;

constexpr qint64 kMaxSize = static_cast<qint64>(Format::MAX_FILE_SIZE);

QString At(qint64 line, qint64 column, const QString& reason)
{
    return QStringLiteral("line %1, column %2: %3").arg(line).arg(column).arg(reason);
}

QString SizeReason(qint64 size)
{
    return At(1, 1, QStringLiteral("larger than 64 MiB (%1 bytes)").arg(size));
}

// UTF-16 and UTF-32 text holds NUL bytes; such a file announces itself with a byte-order
// mark.
bool HasWideByteOrderMark(const QByteArray& data)
{
    return data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF") ||
           data.startsWith(QByteArray("\x00\x00\xFE\xFF", 4));
}

QString BinaryReason(const QByteArray& data, qsizetype nul)
{
    const qsizetype lineStart = data.lastIndexOf('\n', nul) + 1;
    return At(data.left(nul).count('\n') + 1, nul - lineStart + 1,
              QStringLiteral("binary data (a NUL byte)"));
}

bool IsDigits(QStringView text)
{
    if (text.isEmpty() || text.size() > 9) {
        return false;
    }
    for (QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

// A nested design's file, relative to the design's directory unless absolute.
Port::String Resolve(const Port::String& directory, const Port::String& path)
{
    const Port::String joined = path.str().rfind('/', 0) == 0 ? path : directory + "/" + path;
    return Port::FileName(joined).GetAbsolutePath(true);
}

bool Decode(QStringView text, Port::String& out)
{
    const auto result =
        QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!result) {
        return false;
    }
    out = Port::String(result.decoded.constData(), static_cast<std::size_t>(result.decoded.size()));
    return true;
}

// The project name becomes part of the paths the project writes.
bool IsProjectNameKey(const Port::String& key)
{
    return key.Compare(Ipu::ProjectOptions::PROJECTNAME, Port::CompareIgnoreCase) == 0;
}

void Warn(const Port::String& file, int line, const char* format, const QString& text)
{
    Port_MsgManData::createObject("simc", "SimC_ProjectFileReader", line)
        .issueWarning(format, file.c_str(), text.toUtf8().constData());
}

}  // namespace

boost::shared_ptr<Ipu::IPComposite> ProjectFileReader::ReadFile(const Port::String& file)
{
    QString name, failure;
    if (!Format::ToPath(file, name, failure)) {
        Warn(Format::Escaped(Port::FileName(file).GetAbsolutePath()), __LINE__,
             "Cannot open project file %s: %s\n", At(1, 1, failure));
        return {};
    }
    const QFileInfo info(name);
    const Port::String path = Format::ToPortString(info.absoluteFilePath());
    QStringList notes;
    boost::shared_ptr<Ipu::IPComposite> result;
    QFile input(info.absoluteFilePath());
    if (!info.exists()) {
        failure = At(1, 1, QStringLiteral("no such file"));
    } else if (!info.isFile()) {
        failure = At(1, 1, QStringLiteral("not a regular file"));
    } else if (info.size() > kMaxSize) {
        failure = SizeReason(info.size());
    } else if (!input.open(QIODevice::ReadOnly)) {
        failure = At(1, 1, QStringLiteral("cannot be read: %1").arg(input.errorString()));
    } else {
        // The file may have grown since it was measured: read no more than the limit allows.
        result = ReadData(input.read(kMaxSize + 1), path, failure, notes);
    }
    if (!result) {
        Warn(path, __LINE__, "Cannot open project file %s: %s\n", failure);
    }
    for (const QString& note : notes) {
        Warn(path, __LINE__, "Project file %s: %s\n", note);
    }
    return result;
}

boost::shared_ptr<Ipu::IPComposite> ProjectFileReader::ReadData(const QByteArray& data,
                                                                const Port::String& file,
                                                                QString& failure,
                                                                QStringList& notes)
{
    if (data.size() > kMaxSize) {
        failure = SizeReason(data.size());
        return {};
    }
    const qsizetype nul = data.indexOf('\0');
    if (nul >= 0 && !HasWideByteOrderMark(data)) {
        failure = BinaryReason(data, nul);
        return {};
    }
    ProjectFileReader reader(data, file);
    if (!reader.Parse(failure)) {
        return {};
    }
    notes = reader.notes;
    return reader.design;
}

ProjectFileReader::ProjectFileReader(const QByteArray& data, const Port::String& file)
    : xml(data)
    , file(Port::FileName(file).GetAbsolutePath())
    , directory(Port::FileName(this->file).GetHead())
{
}

bool ProjectFileReader::Parse(QString& failure)
{
    if (ReadRoot()) {
        ReadProject();
    }
    // Whatever follows the root must still be well-formed.
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
    }
    if (!xml.hasError()) {
        return true;
    }
    const QString reason = xml.error() == QXmlStreamReader::CustomError
                               ? xml.errorString()
                               : QStringLiteral("malformed XML: %1").arg(xml.errorString());
    failure = Position() + reason;
    design.reset();
    return false;
}

bool ProjectFileReader::ReadRoot()
{
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            xml.raiseError(QStringLiteral("a document type declaration is not allowed"));
            return false;
        }
        if (token == QXmlStreamReader::StartElement) {
            break;
        }
    }
    if (!xml.isStartElement()) {
        if (!xml.hasError()) {
            xml.raiseError(QStringLiteral("no root element"));
        }
        return false;
    }
    if (xml.name() != QLatin1String(Format::PROJECT) ||
        xml.namespaceUri() != QLatin1String(Format::NAMESPACE)) {
        xml.raiseError(QStringLiteral("not a Gantrel project configuration file (root element "
                                      "'%1' in namespace '%2')")
                           .arg(xml.name(), xml.namespaceUri()));
        return false;
    }
    return ReadVersion(xml.attributes());
}

// Checked before anything else: a newer file may hold what this program does not know.
bool ProjectFileReader::ReadVersion(const QXmlStreamAttributes& attributes)
{
    if (!attributes.hasAttribute(QLatin1String(Format::FORMAT_VERSION))) {
        xml.raiseError(QStringLiteral("no format version"));
        return false;
    }
    const QStringView text = attributes.value(QLatin1String(Format::FORMAT_VERSION));
    const int version = IsDigits(text) ? text.toInt() : 0;
    if (version < 1) {
        xml.raiseError(QStringLiteral("invalid format version '%1'").arg(text));
        return false;
    }
    if (version > Format::VERSION) {
        xml.raiseError(QStringLiteral("newer format (version %1; this program reads up to "
                                      "version %2)")
                           .arg(version)
                           .arg(Format::VERSION));
        return false;
    }
    return true;
}

void ProjectFileReader::ReadProject()
{
    const QXmlStreamAttributes attributes = xml.attributes();
    Port::String key;
    bool modified = false;
    Ipu::VersionedIdentifier identifier;
    if (!CheckAttributes(attributes, {Format::VLNV},
                         {Format::FORMAT_VERSION, Format::MODIFIED_BY_USER}) ||
        !Text(attributes, Format::VLNV, key) ||
        !Flag(attributes, Format::MODIFIED_BY_USER, modified)) {
        return;
    }
    if (Ipu::VersionedIdentifier::FromKey(key, identifier) != 0) {
        xml.raiseError(QStringLiteral("invalid VLNV '%1'").arg(Format::ToQString(key)));
        return;
    }
    design = DesignFactory::NewDesign(file, identifier);
    design->SetFileModifiedByUser(modified);
    bool properties = false, options = false, members = false;
    while (NextChild()) {
        if (IsChild(Format::PROPERTIES) && Once(properties)) {
            ReadProperties();
        } else if (IsChild(Format::OPTIONS) && Once(options)) {
            ReadOptions(*design);
        } else if (IsChild(Format::MEMBERS) && Once(members)) {
            ReadMembers();
        } else {
            Unexpected();
        }
    }
}

void ProjectFileReader::ReadProperties()
{
    while (NextChild()) {
        if (!IsChild(Format::PROPERTY)) {
            Unexpected();
            return;
        }
        Port::String name, value;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (!CheckAttributes(attributes, {Format::NAME}, {Format::ENCODING}) ||
            !Text(attributes, Format::NAME, name) || !ReadContent(value)) {
            return;
        }
        design->AddPropertyValue(name, value);
    }
}

// A refused value is noted, not fatal: the project stays usable and the user learns what
// was left out; the option keeps the value the earlier keys gave it.
void ProjectFileReader::ReadOptions(Ipu::VendorExtensions& owner)
{
    Ipu::ProjectOptions options;
    while (NextChild()) {
        if (!IsChild(Format::OPTION)) {
            Unexpected();
            return;
        }
        const qint64 line = xml.lineNumber();
        const qint64 column = xml.columnNumber();
        Port::String key, value;
        QString reason;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (!CheckAttributes(attributes, {Format::KEY}, {Format::ENCODING}) ||
            !Text(attributes, Format::KEY, key) || !ReadContent(value)) {
            return;
        }
        if (IsProjectNameKey(key) && !value.IsEmpty() && !Format::IsSafeName(value, reason)) {
            xml.raiseError(QStringLiteral("project name refused: %1").arg(reason));
            return;
        }
        if (options.SetValue(key, value) != 0) {
            notes.append(At(line, column, QString()) +
                         QStringLiteral("option %1 = '%2' not accepted (%3); it keeps "
                                        "its previous value")
                             .arg(Format::ToQString(key), Format::ToQString(value),
                                  Ipu::ProjectOptions::IsKey(key)
                                      ? QStringLiteral("value not allowed")
                                      : QStringLiteral("unknown option")));
        }
    }
    owner.SetProjectOptions(options);
}

void ProjectFileReader::ReadMembers()
{
    while (NextChild()) {
        if (IsChild(Format::COMPONENT)) {
            ReadComponent();
        } else if (IsChild(Format::DESIGN)) {
            ReadDesign();
        } else {
            Unexpected();
        }
    }
}

void ProjectFileReader::ReadComponent()
{
    const QXmlStreamAttributes attributes = xml.attributes();
    Port::String key, name;
    bool modified = false;
    if (!CheckAttributes(attributes, {Format::VLNV, Format::NAME},
                         {Format::MODIFIED_BY_USER, Format::CHANGE_TIME}) ||
        !Text(attributes, Format::VLNV, key) || !Text(attributes, Format::NAME, name) ||
        !Flag(attributes, Format::MODIFIED_BY_USER, modified) || !AddName(name)) {
        return;
    }
    const boost::shared_ptr<Ipu::IPComponent> member = DesignFactory::NewMember(key);
    if (!member) {
        xml.raiseError(QStringLiteral("invalid VLNV '%1'").arg(Format::ToQString(key)));
        return;
    }
    const QStringView time = attributes.value(QLatin1String(Format::CHANGE_TIME));
    bool ok = true;
    member->SetChangeTime(time.isEmpty() ? 0 : time.toLongLong(&ok));
    if (!ok) {
        xml.raiseError(QStringLiteral("invalid change time '%1'").arg(time));
        return;
    }
    member->SetName(name);
    member->SetFileModifiedByUser(modified);
    ReadComponentChildren(*member);
    design->AddElement(member);
}

void ProjectFileReader::ReadComponentChildren(Ipu::IPComponent& member)
{
    bool displayName = false, description = false, parameters = false, options = false;
    while (NextChild()) {
        Port::String text;
        if (IsChild(Format::DISPLAY_NAME) && Once(displayName)) {
            if (CheckAttributes(xml.attributes(), {}, {Format::ENCODING}) && ReadContent(text)) {
                member.SetDisplayName(text);
            }
        } else if (IsChild(Format::DESCRIPTION) && Once(description)) {
            if (CheckAttributes(xml.attributes(), {}, {Format::ENCODING}) && ReadContent(text)) {
                member.SetDescription(text);
            }
        } else if (IsChild(Format::PARAMETERS) && Once(parameters)) {
            Ipu::Parameters stored;
            ReadParameters(stored);
            // Values the catalogue's parameters take; parameters it no longer has are kept.
            for (const Ipu::Parameters::Parameter& parameter : stored) {
                if (member.GetParameters().SetValue(parameter.name, parameter.value) != 0) {
                    member.GetParameters().Add(parameter);
                }
            }
        } else if (IsChild(Format::OPTIONS) && Once(options)) {
            ReadOptions(member);
        } else {
            Unexpected();
        }
    }
}

void ProjectFileReader::ReadParameters(Ipu::Parameters& stored)
{
    while (NextChild()) {
        if (!IsChild(Format::PARAMETER)) {
            Unexpected();
            return;
        }
        Ipu::Parameters::Parameter parameter;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (!CheckAttributes(attributes, {Format::NAME}, {Format::ENCODING}) ||
            !Text(attributes, Format::NAME, parameter.name) || !ReadContent(parameter.value)) {
            return;
        }
        if (stored.Add(parameter) != 0) {
            xml.raiseError(parameter.name.IsEmpty() ? QStringLiteral("a parameter without a name")
                                                    : QStringLiteral("parameter '%1' given twice")
                                                          .arg(Format::ToQString(parameter.name)));
            return;
        }
    }
}

// Nested designs are held by reference: their own file is opened on its own.
void ProjectFileReader::ReadDesign()
{
    const QXmlStreamAttributes attributes = xml.attributes();
    Port::String name, key, path;
    Ipu::VersionedIdentifier identifier;
    if (!CheckAttributes(attributes, {Format::NAME, Format::VLNV, Format::FILE}, {}) ||
        !Text(attributes, Format::NAME, name) || !Text(attributes, Format::VLNV, key) ||
        !Text(attributes, Format::FILE, path) || !AddName(name)) {
        return;
    }
    if (Ipu::VersionedIdentifier::FromKey(key, identifier) != 0) {
        xml.raiseError(QStringLiteral("invalid VLNV '%1'").arg(Format::ToQString(key)));
        return;
    }
    boost::shared_ptr<Ipu::IPComposite> nested(new Ipu::IPComposite);
    nested->SetName(name);
    nested->SetIdentifier(identifier);
    nested->SetUnconfiguredID(key);
    if (!path.IsEmpty()) {
        nested->SetProjectFileName(Port::FileName(Resolve(directory, path)));
    }
    if (NextChild()) {
        Unexpected();
        return;
    }
    design->AddElement(nested);
}

// The next child element of the current element; false at its end or on an error.
// Comments and processing instructions are passed over, text is refused.
bool ProjectFileReader::NextChild()
{
    while (!xml.atEnd() && !xml.hasError()) {
        switch (xml.readNext()) {
            case QXmlStreamReader::StartElement:
                if (xml.namespaceUri() != QLatin1String(Format::NAMESPACE)) {
                    Unexpected();
                    return false;
                }
                return true;
            case QXmlStreamReader::EndElement:
                return false;
            case QXmlStreamReader::Characters:
                if (!xml.isWhitespace()) {
                    xml.raiseError(QStringLiteral("unexpected text"));
                    return false;
                }
                break;
            case QXmlStreamReader::EntityReference:
                xml.raiseError(QStringLiteral("unresolved entity '%1'").arg(xml.name()));
                return false;
            default:
                break;
        }
    }
    return false;
}

bool ProjectFileReader::IsChild(const char* name) const
{
    return xml.name() == QLatin1String(name);
}

bool ProjectFileReader::Once(bool& seen)
{
    if (seen) {
        xml.raiseError(QStringLiteral("element '%1' given twice").arg(xml.name()));
        return false;
    }
    seen = true;
    return true;
}

void ProjectFileReader::Unexpected()
{
    if (xml.hasError()) {
        return;
    }
    const QString ns = xml.namespaceUri().toString();
    xml.raiseError(
        ns == QLatin1String(Format::NAMESPACE)
            ? QStringLiteral("unexpected element '%1'").arg(xml.name())
            : QStringLiteral("unexpected element '%1' in namespace '%2'").arg(xml.name(), ns));
}

// Unknown attributes are refused rather than dropped: nothing of the file is lost unseen.
bool ProjectFileReader::CheckAttributes(const QXmlStreamAttributes& attributes,
                                        std::initializer_list<const char*> texts,
                                        std::initializer_list<const char*> plain)
{
    const QLatin1String suffix(Format::BASE64_SUFFIX);
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringView name = attribute.qualifiedName();
        const QStringView bare = name.endsWith(suffix) ? name.chopped(suffix.size()) : name;
        bool known = false;
        for (const char* text : texts) {
            known = known || bare == QLatin1String(text);
        }
        for (const char* other : plain) {
            known = known || name == QLatin1String(other);
        }
        if (!known) {
            xml.raiseError(QStringLiteral("unexpected attribute '%1'").arg(name));
            return false;
        }
    }
    return true;
}

// A required text attribute, given plainly or in base64.
bool ProjectFileReader::Text(const QXmlStreamAttributes& attributes, const char* name,
                             Port::String& out)
{
    const QLatin1String plainName(name);
    const QLatin1String suffix(Format::BASE64_SUFFIX);
    const QXmlStreamAttribute* plain = nullptr;
    const QXmlStreamAttribute* encoded = nullptr;
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringView attributeName = attribute.qualifiedName();
        if (attributeName == plainName) {
            plain = &attribute;
        } else if (attributeName.startsWith(plainName) &&
                   attributeName.mid(plainName.size()) == suffix) {
            encoded = &attribute;
        }
    }
    if ((plain != nullptr) == (encoded != nullptr)) {
        xml.raiseError(plain ? QStringLiteral("attribute '%1' given twice").arg(name)
                             : QStringLiteral("no attribute '%1'").arg(name));
        return false;
    }
    if (plain) {
        out = Format::ToPortString(plain->value());
        return true;
    }
    if (!Decode(encoded->value(), out)) {
        xml.raiseError(
            QStringLiteral("attribute '%1' is not valid base64").arg(encoded->qualifiedName()));
        return false;
    }
    return true;
}

// An optional "true" or "false"; absent is false.
bool ProjectFileReader::Flag(const QXmlStreamAttributes& attributes, const char* name, bool& out)
{
    const QStringView value = attributes.value(QLatin1String(name));
    out = value == QLatin1String(Ipu::ProjectOptions::TRUEVALUE);
    if (!out && !value.isEmpty() && value != QLatin1String(Ipu::ProjectOptions::FALSEVALUE)) {
        xml.raiseError(QStringLiteral("attribute '%1' is neither true nor false").arg(name));
        return false;
    }
    return true;
}

// The text of the current element, decoded when its encoding says base64.
bool ProjectFileReader::ReadContent(Port::String& out)
{
    const QStringView encoding = xml.attributes().value(QLatin1String(Format::ENCODING));
    const bool base64 = encoding == QLatin1String(Format::BASE64);
    if (!base64 && !encoding.isEmpty()) {
        xml.raiseError(QStringLiteral("unknown encoding '%1'").arg(encoding));
        return false;
    }
    const QString text = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (xml.hasError()) {
        return false;
    }
    if (!base64) {
        out = Format::ToPortString(text);
        return true;
    }
    if (!Decode(text, out)) {
        xml.raiseError(QStringLiteral("text is not valid base64"));
        return false;
    }
    return true;
}

// Member names are unique within a design, and may become file names.
bool ProjectFileReader::AddName(const Port::String& name)
{
    QString reason;
    if (name.IsEmpty()) {
        xml.raiseError(QStringLiteral("a member without a name"));
        return false;
    }
    if (!Format::IsSafeName(name, reason)) {
        xml.raiseError(QStringLiteral("member name refused: %1").arg(reason));
        return false;
    }
    if (!names.insert(name).second) {
        xml.raiseError(QStringLiteral("member name '%1' given twice").arg(Format::ToQString(name)));
        return false;
    }
    return true;
}

// Where the reader stands: the last character it has read (columns count from 1).
QString ProjectFileReader::Position() const
{
    return At(xml.lineNumber(), qMax<qint64>(1, xml.columnNumber()), QString());
}

}  // namespace SimC
