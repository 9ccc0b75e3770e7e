#include "Sim_CatalogReader.h"

#include "Ipu_Family.h"
#include "Ipu_Keyword.h"
#include "Sim_CatalogFormat.h"
#include "Sim_ExtensionReader.h"
#include "Sim_FamilySupport.h"
#include "Sim_Utility.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <optional>
#include <utility>

namespace Sim {

namespace {

constexpr qint64 kMaxSize = static_cast<qint64>(CatalogFormat::MAX_FILE_SIZE);

Port::String ToPort(const QString& text)
{
    return Utility::QStringToPortString(text);
}

// IP-XACT 2014 and 2022 write string values as expressions: "text" in double quotes.
QString Unquote(const QString& text)
{
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"')) {
        return text.mid(1, text.size() - 2);
    }
    return text;
}

bool IsIpxactNamespace(QStringView uri)
{
    return uri == QLatin1String(CatalogFormat::IPXACT_2009_NAMESPACE) ||
           uri == QLatin1String(CatalogFormat::IPXACT_2014_NAMESPACE) ||
           uri == QLatin1String(CatalogFormat::IPXACT_2022_NAMESPACE);
}

// UTF-16 and UTF-32 text holds NUL bytes; such a file announces itself with a byte-order
// mark.
bool HasWideByteOrderMark(const QByteArray& data)
{
    return data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF") ||
           data.startsWith(QByteArray("\x00\x00\xFE\xFF", 4));
}

unsigned Refuse(const QString& why, Port::String& reason)
{
    reason = ToPort(why);
    return 1;
}

QString SizeReason(qint64 size)
{
    return QStringLiteral("larger than 16 MiB (%1 bytes)").arg(size);
}

// Control characters shown as \xHH, so that a message stays on one line.
QString Printable(const QString& text)
{
    QString shown;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control) {
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            shown += c;
        }
    }
    return shown;
}

// Why a component name cannot name the output files generated from it, or empty when it
// can: the name becomes "<name>.vhd", "<name>_flist.txt" and the HDL entity's name.
QString NameFault(const QString& name)
{
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control) {
            return QStringLiteral("it holds a control character");
        }
        if (c == u'/' || c == u'\\') {
            return QStringLiteral("it holds a path separator");
        }
    }
    if (name == u"." || name == u"..") {
        return QStringLiteral("it is '.' or '..'");
    }
    for (const QChar c : name) {
        if (QStringView(u"<>:\"|?*").contains(c)) {
            return QStringLiteral("it holds '%1', which file names cannot hold").arg(c);
        }
    }
    const char16_t first = name.front().unicode();
    if (!((first >= u'a' && first <= u'z') || (first >= u'A' && first <= u'Z'))) {
        return QStringLiteral("an HDL identifier begins with a letter");
    }
    return QString();
}

// A decimal or 0x hexadecimal number; none for anything else (expressions, booleans, ...).
std::optional<double> Number(const QString& text)
{
    bool ok = false;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const qulonglong value = text.mid(2).toULongLong(&ok, 16);
        return ok ? std::optional<double>(static_cast<double>(value)) : std::nullopt;
    }
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

}  // namespace

unsigned CatalogReader::ReadFile(const Port::String& path, boost::shared_ptr<Ipu::IPComponent>& out,
                                 Port::String& reason)
{
    return Read(path, out, reason, nullptr);
}

unsigned CatalogReader::ReadFile(const Port::String& path, boost::shared_ptr<Ipu::IPComponent>& out,
                                 Port::String& reason, std::vector<Warning>& warnings)
{
    return Read(path, out, reason, &warnings);
}

unsigned CatalogReader::ReadData(const QByteArray& data, const Port::String& sourceFile,
                                 boost::shared_ptr<Ipu::IPComponent>& out, Port::String& reason)
{
    return Read(data, sourceFile, out, reason, nullptr);
}

unsigned CatalogReader::ReadData(const QByteArray& data, const Port::String& sourceFile,
                                 boost::shared_ptr<Ipu::IPComponent>& out, Port::String& reason,
                                 std::vector<Warning>& warnings)
{
    return Read(data, sourceFile, out, reason, &warnings);
}

unsigned CatalogReader::Read(const Port::String& path, boost::shared_ptr<Ipu::IPComponent>& out,
                             Port::String& reason, std::vector<Warning>* warnings)
{
    const QFileInfo info(Utility::PortStringToQString(path));
    if (!info.exists()) {
        return Refuse(info.isSymLink() ? QStringLiteral("cannot be read: dangling symbolic link")
                                       : QStringLiteral("cannot be read: no such file"),
                      reason);
    }
    if (!info.isFile()) {
        return Refuse(QStringLiteral("not a regular file"), reason);
    }
    if (info.size() > kMaxSize) {
        return Refuse(SizeReason(info.size()), reason);
    }
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) {
        return Refuse(QStringLiteral("cannot be read: %1").arg(file.errorString()), reason);
    }
    // The file may have grown since it was measured: read no more than the limit allows.
    const QByteArray data = file.read(kMaxSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return Refuse(QStringLiteral("cannot be read: %1").arg(file.errorString()), reason);
    }
    return Read(data, ToPort(info.absoluteFilePath()), out, reason, warnings);
}

unsigned CatalogReader::Read(const QByteArray& data, const Port::String& sourceFile,
                             boost::shared_ptr<Ipu::IPComponent>& out, Port::String& reason,
                             std::vector<Warning>* warnings)
{
    if (data.size() > kMaxSize) {
        return Refuse(SizeReason(data.size()), reason);
    }
    const qsizetype nul = data.indexOf('\0');
    if (nul >= 0 && !HasWideByteOrderMark(data)) {
        return Refuse(QStringLiteral("binary data (a NUL byte at offset %1)").arg(nul), reason);
    }
    CatalogReader reader(data, sourceFile, warnings);
    QString why;
    switch (reader.Parse(why)) {
        case Outcome::Component:
            out = reader.component;
            return 0;
        case Outcome::CatalogDocument:
            reason = ToPort(why);
            return 2;
        case Outcome::Refused:
            break;
    }
    return Refuse(why, reason);
}

CatalogReader::CatalogReader(const QByteArray& data, const Port::String& sourceFile,
                             std::vector<Warning>* warnings)
    : xml(data), sourceFile(sourceFile), component(new Ipu::IPComponent), warnings(warnings)
{
}

CatalogReader::Outcome CatalogReader::Parse(QString& reason)
{
    const Outcome root = ReadRoot(reason);
    if (root != Outcome::Component) {
        return root;
    }
    ReadComponent();
    return ReadToEnd(reason) && Finish(reason) ? Outcome::Component : Outcome::Refused;
}

CatalogReader::Outcome CatalogReader::ReadRoot(QString& reason)
{
    if (!xml.readNextStartElement()) {
        reason = xml.hasError() ? ErrorReason() : QStringLiteral("no root element");
        return Outcome::Refused;
    }
    const bool ipxact = IsIpxactNamespace(xml.namespaceUri());
    if (xml.name() == u"component" && ipxact) {
        ns = xml.namespaceUri().toString();
        return Outcome::Component;
    }
    const bool catalog = xml.name() == u"catalog" && ipxact;
    reason = catalog ? QStringLiteral("an IP-XACT catalog document, not a component") : WrongRoot();
    // A damaged file is reported as such, whatever its root element.
    return ReadToEnd(reason) && catalog ? Outcome::CatalogDocument : Outcome::Refused;
}

// Whatever follows must still be well-formed; false with the parser's reason if not.
bool CatalogReader::ReadToEnd(QString& reason)
{
    while (!xml.atEnd()) {
        xml.readNext();
    }
    if (xml.hasError()) {
        reason = ErrorReason();
        return false;
    }
    return true;
}

QString CatalogReader::WrongRoot()
{
    return QStringLiteral(
               "not an IP-XACT 1685-2009, 2014 or 2022 component (root "
               "element '%1' in namespace '%2')")
        .arg(xml.qualifiedName(), xml.namespaceUri());
}

void CatalogReader::ReadComponent()
{
    while (NextChild()) {
        ReadComponentChild();
    }
}

void CatalogReader::ReadComponentChild()
{
    const QStringView element = xml.name();
    if (element == u"vendor") {
        vendor = Text();
    } else if (element == u"library") {
        library = Text();
    } else if (element == u"name") {
        nameLine = xml.lineNumber();
        name = Text();
    } else if (element == u"version") {
        versionLine = xml.lineNumber();
        version = Text();
    } else if (element == u"displayName") {
        displayName = Text();
    } else if (element == u"description") {
        description = Text();
    } else if (element == u"parameters") {
        ReadParameters(parameters, u"parameter");
    } else if (element == u"model") {
        ReadModel();
    } else if (element == u"choices") {
        while (NextChild()) {
            xml.name() == u"choice" ? ReadChoice() : xml.skipCurrentElement();
        }
    } else if (element == u"fileSets") {
        while (NextChild()) {
            xml.name() == u"fileSet" ? ReadFileSet() : xml.skipCurrentElement();
        }
    } else if (element == u"vendorExtensions") {
        ReadVendorExtensions();
    } else {
        xml.skipCurrentElement();
    }
}

void CatalogReader::ReadParameters(std::vector<PendingParameter>& list, QStringView item)
{
    while (NextChild()) {
        xml.name() == item ? ReadParameter(list) : xml.skipCurrentElement();
    }
}

// 2014 and 2022 put the constraints on the parameter element, 2009 on its value element.
void CatalogReader::ReadParameter(std::vector<PendingParameter>& list)
{
    PendingParameter pending;
    pending.line = xml.lineNumber();
    ReadAttributes(pending);
    while (NextChild()) {
        if (xml.name() == u"name") {
            pending.name = Text();
        } else if (xml.name() == u"displayName") {
            pending.displayName = Text();
        } else if (xml.name() == u"value") {
            ReadAttributes(pending);
            pending.value = Unquote(Text());
        } else {
            xml.skipCurrentElement();
        }
    }
    list.push_back(pending);
}

// One pass over the attributes, whatever their prefix: 2009 qualifies them, later
// versions do not.
void CatalogReader::ReadAttributes(PendingParameter& pending) const
{
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        const QStringView key = attribute.name();
        QString* field = nullptr;
        if (key == u"type" || key == u"format" || key == u"dataType") {
            field = &pending.type;
        } else if (key == u"minimum") {
            field = &pending.minimum;
        } else if (key == u"maximum") {
            field = &pending.maximum;
        } else if (key == u"choiceRef") {
            field = &pending.choiceRef;
        } else if (key == u"parameterId" || (key == u"id" && pending.id.isEmpty())) {
            field = &pending.id;
        }
        if (field && !attribute.value().isEmpty()) {
            *field = attribute.value().toString();
        }
    }
}

void CatalogReader::ReadModel()
{
    while (NextChild()) {
        if (xml.name() == u"modelParameters") {
            ReadParameters(modelParameters, u"modelParameter");
        } else if (xml.name() == u"instantiations") {
            while (NextChild()) {
                xml.name() == u"componentInstantiation" ? ReadInstantiation()
                                                        : xml.skipCurrentElement();
            }
        } else if (xml.name() == u"ports") {
            while (NextChild()) {
                xml.name() == u"port" ? ReadPort() : xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

void CatalogReader::ReadInstantiation()
{
    while (NextChild()) {
        xml.name() == u"moduleParameters" ? ReadParameters(modelParameters, u"moduleParameter")
                                          : xml.skipCurrentElement();
    }
}

// Only wires reach the HDL; a transactional port, or a phantom one, has no signal.
void CatalogReader::ReadPort()
{
    Ipu::IPComponent::ModelPort port;
    while (NextChild()) {
        if (xml.name() == u"name") {
            port.name = ToPort(Text());
        } else if (xml.name() == u"wire") {
            ReadWire(port);
        } else {
            xml.skipCurrentElement();
        }
    }
    static const QStringList directions{"in", "out", "inout"};
    if (!port.name.IsEmpty() && directions.contains(Utility::PortStringToQString(port.direction))) {
        component->AddPort(port);
    }
}

// 2009 puts the vector into the wire itself, later versions into a list of vectors, of
// which the first one gives the bounds.
void CatalogReader::ReadWire(Ipu::IPComponent::ModelPort& port)
{
    bool bounded = false;
    auto vector = [&] {
        if (xml.name() == u"vector" && !bounded) {
            ReadVector(port);
            bounded = true;
            return true;
        }
        return false;
    };
    while (NextChild()) {
        if (xml.name() == u"direction") {
            port.direction = ToPort(Text());
        } else if (xml.name() == u"vectors") {
            while (NextChild()) {
                if (!vector()) {
                    xml.skipCurrentElement();
                }
            }
        } else if (!vector()) {
            xml.skipCurrentElement();
        }
    }
}

void CatalogReader::ReadVector(Ipu::IPComponent::ModelPort& port)
{
    while (NextChild()) {
        if (xml.name() == u"left") {
            port.left = ToPort(Text());
        } else if (xml.name() == u"right") {
            port.right = ToPort(Text());
        } else {
            xml.skipCurrentElement();
        }
    }
}

void CatalogReader::ReadChoice()
{
    QString choiceName;
    Choice choice;
    while (NextChild()) {
        if (xml.name() == u"name") {
            choiceName = Text();
        } else if (xml.name() == u"enumeration") {
            // 2009 qualifies the label's attribute, later versions do not.
            QString label;
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name() == u"text") {
                    label = attribute.value().toString();
                }
            }
            choice.labels.append(label);
            choice.values.append(Unquote(Text()));
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!choiceName.isEmpty() && !choices.contains(choiceName)) {
        choices.insert(choiceName, choice);
    }
}

void CatalogReader::ReadFileSet()
{
    QString setName;
    while (NextChild()) {
        if (xml.name() == u"name") {
            setName = Text();
            continue;
        }
        if (xml.name() != u"file") {
            xml.skipCurrentElement();
            continue;
        }
        QString fileName;
        QString fileType;
        QString logicalName;
        while (NextChild()) {
            if (xml.name() == u"name") {
                fileName = Text();
            } else if (xml.name() == u"fileType" && fileType.isEmpty()) {
                const QString user = xml.attributes().value(QStringLiteral("user")).toString();
                fileType = Text();
                if (fileType == u"user" && !user.isEmpty()) {
                    fileType = user;
                }
            } else if (xml.name() == u"logicalName") {
                logicalName = Text();
            } else {
                xml.skipCurrentElement();
            }
        }
        if (fileName.isEmpty()) {
            continue;
        }
        component->AddFile(ToPort(fileName));
        // The engine compiles these files from wherever it runs: resolve them now, while
        // the catalogue file's place is known.
        QString path = fileName;
        const QString source = Utility::PortStringToQString(sourceFile);
        if (!source.isEmpty() && QDir::isRelativePath(fileName)) {
            path = QDir::cleanPath(QFileInfo(source).absoluteDir().filePath(fileName));
        }
        component->AddFileEntry(
            {ToPort(setName), ToPort(path), ToPort(fileType), ToPort(logicalName)});
    }
}

void CatalogReader::ReadVendorExtensions()
{
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() != QLatin1String(CatalogFormat::EXTENSION_NAMESPACE) ||
            xml.name() != u"ip") {
            xml.skipCurrentElement();
        } else if (hasExtension) {
            xml.raiseError(QStringLiteral("more than one gantrel:ip"));
        } else {
            hasExtension = true;
            ExtensionReader extension(xml, *component);
            if (extension.Read()) {
                extensionDisplayName = extension.GetDisplayName();
                CheckFamilies(extension.GetFamilyLines());
            }
        }
    }
}

QString CatalogReader::ErrorReason() const
{
    if (xml.error() == QXmlStreamReader::CustomError) {
        return QStringLiteral("invalid Gantrel extension at line %1: %2")
            .arg(xml.lineNumber())
            .arg(xml.errorString());
    }
    return QStringLiteral("malformed XML at line %1, column %2: %3")
        .arg(xml.lineNumber())
        .arg(xml.columnNumber())
        .arg(xml.errorString());
}

bool CatalogReader::Finish(QString& reason)
{
    QStringList missing;
    const std::pair<const QString*, const char*> parts[] = {
        {&vendor, "vendor"}, {&library, "library"}, {&name, "name"}, {&version, "version"}};
    for (const auto& [field, label] : parts) {
        if (field->isEmpty()) {
            missing.append(QLatin1String(label));
        }
    }
    if (!missing.isEmpty()) {
        reason = QStringLiteral("incomplete VLNV: no %1").arg(missing.join(QStringLiteral(", ")));
        return false;
    }
    if (!CheckName(reason)) {
        return false;
    }
    CheckVersion();
    component->SetIdentifier(
        Ipu::VersionedIdentifier(ToPort(vendor), ToPort(library), ToPort(name), ToPort(version)));
    const Port::String key = component->GetIdentifier().GetKey();
    // Files of other tools often carry no display name: the name is shown then.
    QString shownName = displayName.isEmpty() ? extensionDisplayName : displayName;
    if (shownName.isEmpty()) {
        shownName = name;
    }
    component->SetName(ToPort(name));
    component->SetDisplayName(ToPort(shownName));
    component->SetUnconfiguredDisplayName(ToPort(shownName));
    component->SetDescription(ToPort(description));
    component->SetUniqueID(key);
    component->SetUnconfiguredID(key);
    component->SetSourceFile(sourceFile);
    BuildParameters();
    if (component->GetFamilies().empty()) {
        component->AddFamily(Ipu::Family(Ipu::Keyword::EMPTY_FAMILY));
    }
    if (component->GetGeneratorChains().IsEmpty()) {
        CatalogFormat::AddDefaultChains(*component);
    }
    CatalogFormat::SetChainIDs(*component);
    return true;
}

bool CatalogReader::CheckName(QString& reason) const
{
    const QString fault = NameFault(name);
    if (fault.isEmpty()) {
        return true;
    }
    reason = QStringLiteral("component name '%1' at line %2 cannot name output files: %3")
                 .arg(Printable(name))
                 .arg(nameLine)
                 .arg(fault);
    return false;
}

// Versions order by their numbers, so a version with other text orders in ways its
// author may not expect.
void CatalogReader::CheckVersion()
{
    static const QRegularExpression numeric(QStringLiteral("^[0-9]+(\\.[0-9]+)*$"));
    if (!numeric.match(version).hasMatch()) {
        Warn(versionLine, QStringLiteral("version '%1' is not numeric (numbers separated by '.')")
                              .arg(Printable(version)));
    }
}

void CatalogReader::CheckFamilies(const std::vector<std::pair<QString, qint64>>& families)
{
    if (!warnings) {
        return;
    }
    std::vector<Port::String> known;
    if (FamilySupport::GetAvailableFamilies(known) != 0) {
        return;  // no database: its own warning says why
    }
    for (const auto& [family, line] : families) {
        const Port::String wanted = ToPort(family);
        const bool found = std::any_of(known.begin(), known.end(), [&](const Port::String& name) {
            return name.Compare(wanted, Port::CompareIgnoreCase) == 0;
        });
        if (!found) {
            Warn(
                line,
                QStringLiteral("family '%1' is not in the device database").arg(Printable(family)));
        }
    }
}

void CatalogReader::Warn(qint64 line, const QString& text)
{
    if (warnings) {
        warnings->push_back(Warning{static_cast<unsigned>(line), ToPort(text)});
    }
}

// Component parameters first, then the model parameters that are parameters of their own:
// a model parameter that only passes a component parameter on (its value is that
// parameter's id) would show the same setting twice.
void CatalogReader::BuildParameters()
{
    QSet<QString> ids;
    Ipu::Parameters& list = component->GetParameters();
    for (const PendingParameter& pending : parameters) {
        if (!pending.id.isEmpty()) {
            ids.insert(pending.id);
        }
        list.Add(Resolve(pending));
    }
    for (const PendingParameter& pending : modelParameters) {
        if (!ids.contains(pending.value)) {
            list.Add(Resolve(pending));
        }
    }
}

Ipu::Parameters::Parameter CatalogReader::Resolve(const PendingParameter& pending)
{
    Ipu::Parameters::Parameter parameter;
    parameter.name = ToPort(pending.name);
    parameter.value = ToPort(pending.value);
    parameter.type = ToPort(pending.type);
    parameter.minimum = ToPort(pending.minimum);
    parameter.maximum = ToPort(pending.maximum);
    parameter.displayName = ToPort(pending.displayName);
    const auto choice = choices.constFind(pending.choiceRef);
    if (!pending.choiceRef.isEmpty() && choice == choices.constEnd()) {
        Warn(pending.line, QStringLiteral("parameter '%1': choiceRef '%2' names no choice")
                               .arg(pending.name, pending.choiceRef));
    }
    const Choice none;
    const Choice& found = choice == choices.constEnd() ? none : *choice;
    for (qsizetype i = 0; i < found.values.size(); ++i) {
        parameter.choices.push_back(ToPort(found.values[i]));
        parameter.choiceLabels.push_back(ToPort(found.labels[i]));
    }
    CheckValue(pending, found.values);
    return parameter;
}

void CatalogReader::CheckValue(const PendingParameter& pending, const QStringList& allowed)
{
    const QString where = QStringLiteral("parameter '%1': ").arg(pending.name);
    if (!allowed.isEmpty() && !allowed.contains(pending.value)) {
        Warn(pending.line, where + QStringLiteral("default '%1' is not one of its choices (%2)")
                                       .arg(pending.value, allowed.join(QStringLiteral(", "))));
    }
    const std::optional<double> value = Number(pending.value);
    const std::optional<double> minimum = Number(pending.minimum);
    const std::optional<double> maximum = Number(pending.maximum);
    if (minimum && maximum && *minimum > *maximum) {
        Warn(pending.line, where + QStringLiteral("minimum '%1' is above its maximum '%2'")
                                       .arg(pending.minimum, pending.maximum));
    } else if (value && minimum && *value < *minimum) {
        Warn(pending.line, where + QStringLiteral("default '%1' is below its minimum '%2'")
                                       .arg(pending.value, pending.minimum));
    } else if (value && maximum && *value > *maximum) {
        Warn(pending.line, where + QStringLiteral("default '%1' is above its maximum '%2'")
                                       .arg(pending.value, pending.maximum));
    }
}

// The next child element in the component's namespace, skipping any other.
bool CatalogReader::NextChild()
{
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() == ns) {
            return true;
        }
        xml.skipCurrentElement();
    }
    return false;
}

QString CatalogReader::Text()
{
    return xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
}

}  // namespace Sim
