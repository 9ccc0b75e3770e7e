#include "Sim_CatalogReader.h"

#include "Ipu_Family.h"
#include "Ipu_Keyword.h"
#include "Sim_CatalogFormat.h"
#include "Sim_ExtensionReader.h"
#include "Sim_Utility.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

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

}  // namespace

unsigned CatalogReader::ReadFile(const Port::String& path, boost::shared_ptr<Ipu::IPComponent>& out,
                                 Port::String& reason)
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
    return ReadData(data, ToPort(info.absoluteFilePath()), out, reason);
}

unsigned CatalogReader::ReadData(const QByteArray& data, const Port::String& sourceFile,
                                 boost::shared_ptr<Ipu::IPComponent>& out, Port::String& reason)
{
    if (data.size() > kMaxSize) {
        return Refuse(SizeReason(data.size()), reason);
    }
    const qsizetype nul = data.indexOf('\0');
    if (nul >= 0 && !HasWideByteOrderMark(data)) {
        return Refuse(QStringLiteral("binary data (a NUL byte at offset %1)").arg(nul), reason);
    }
    CatalogReader reader(data, sourceFile);
    QString why;
    if (!reader.Parse(why)) {
        return Refuse(why, reason);
    }
    out = reader.component;
    return 0;
}

CatalogReader::CatalogReader(const QByteArray& data, const Port::String& sourceFile)
    : xml(data), sourceFile(sourceFile), component(new Ipu::IPComponent)
{
}

bool CatalogReader::Parse(QString& reason)
{
    if (!ReadRoot(reason)) {
        return false;
    }
    ReadComponent();
    // Whatever follows the root must still be well-formed.
    while (!xml.atEnd()) {
        xml.readNext();
    }
    if (xml.hasError()) {
        reason = ErrorReason();
        return false;
    }
    return Finish(reason);
}

bool CatalogReader::ReadRoot(QString& reason)
{
    if (!xml.readNextStartElement()) {
        reason = xml.hasError() ? ErrorReason() : QStringLiteral("no root element");
        return false;
    }
    if (xml.name() != u"component" || !IsIpxactNamespace(xml.namespaceUri())) {
        reason = QStringLiteral(
                     "not an IP-XACT 1685-2009, 2014 or 2022 component (root "
                     "element '%1' in namespace '%2')")
                     .arg(xml.qualifiedName(), xml.namespaceUri());
        return false;
    }
    ns = xml.namespaceUri().toString();
    return true;
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
        name = Text();
    } else if (element == u"version") {
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
    ReadAttributes(pending);
    while (NextChild()) {
        if (xml.name() == u"name") {
            pending.name = Text();
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

void CatalogReader::ReadChoice()
{
    QString choiceName;
    QStringList values;
    while (NextChild()) {
        if (xml.name() == u"name") {
            choiceName = Text();
        } else if (xml.name() == u"enumeration") {
            values.append(Unquote(Text()));
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!choiceName.isEmpty() && !choices.contains(choiceName)) {
        choices.insert(choiceName, values);
    }
}

void CatalogReader::ReadFileSet()
{
    while (NextChild()) {
        if (xml.name() != u"file") {
            xml.skipCurrentElement();
            continue;
        }
        while (NextChild()) {
            if (xml.name() == u"name") {
                component->AddFile(ToPort(Text()));
            } else {
                xml.skipCurrentElement();
            }
        }
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
    component->SetIdentifier(
        Ipu::VersionedIdentifier(ToPort(vendor), ToPort(library), ToPort(name), ToPort(version)));
    const Port::String key = component->GetIdentifier().GetKey();
    const QString shownName = displayName.isEmpty() ? extensionDisplayName : displayName;
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

Ipu::Parameters::Parameter CatalogReader::Resolve(const PendingParameter& pending) const
{
    Ipu::Parameters::Parameter parameter;
    parameter.name = ToPort(pending.name);
    parameter.value = ToPort(pending.value);
    parameter.type = ToPort(pending.type);
    parameter.minimum = ToPort(pending.minimum);
    parameter.maximum = ToPort(pending.maximum);
    for (const QString& choice : choices.value(pending.choiceRef)) {
        parameter.choices.push_back(ToPort(choice));
    }
    return parameter;
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
