#include "Sim_ExtensionReader.h"

#include "Ipu_Family.h"
#include "Ipu_Generator.h"
#include "Ipu_LifeCycleStatus.h"
#include "Ipu_Task.h"
#include "Ipu_VendorExtensions.h"
#include "Sim_CatalogFormat.h"
#include "Sim_Utility.h"

#include <QStringList>

#include <limits>
#include <optional>
#include <vector>

namespace Sim {

namespace {

Port::String ToPort(const QString& text)
{
    return Utility::QStringToPortString(text);
}

// The allowed spelling of value (letter case ignored), or null when it is not allowed.
const char* OneOf(const QString& value, const std::vector<const char*>& allowed)
{
    for (const char* candidate : allowed) {
        if (value.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0) {
            return candidate;
        }
    }
    return nullptr;
}

// The values a chain property may take; null for a property of free text.
const std::vector<const char*>* AllowedValues(const QString& property)
{
    static const std::vector<const char*> ipTypes{Ipu::Task::ANY_IP, Ipu::Task::CUSTOMIZED_IP,
                                                  Ipu::Task::UNCUSTOMIZED_IP};
    static const std::vector<const char*> dependence{Ipu::Task::FAMILY_DEPENDENT,
                                                     Ipu::Task::FAMILY_NOT_DEPENDENT};
    static const std::vector<const char*> booleans{"true", "false"};
    static const std::vector<const char*> visibility{"0", "1"};
    if (property == QLatin1String(Ipu::VendorExtensions::CHAIN_IPTYPE)) {
        return &ipTypes;
    }
    if (property == QLatin1String(Ipu::VendorExtensions::CHAIN_FAMILYDEPENDENT)) {
        return &dependence;
    }
    if (property == QLatin1String(Ipu::VendorExtensions::CHAIN_DEFAULT)) {
        return &booleans;
    }
    if (property == QLatin1String(Ipu::VendorExtensions::CHAIN_VISIBILITY)) {
        return &visibility;
    }
    return nullptr;
}

// Index of vendor, library, name, version among a chain's attributes; -1 for others.
int ChainIdentifierPart(QStringView attribute)
{
    static const char16_t* const parts[] = {u"vendor", u"library", u"name", u"version"};
    for (int i = 0; i < 4; ++i) {
        if (attribute == QStringView(parts[i])) {
            return i;
        }
    }
    return -1;
}

std::optional<QString> Find(const QXmlStreamAttributes& attributes, QStringView name)
{
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (attribute.name() == name) {
            return attribute.value().toString();
        }
    }
    return std::nullopt;
}

}  // namespace

ExtensionReader::ExtensionReader(QXmlStreamReader& xml, Ipu::IPComponent& component)
    : xml(xml), component(component)
{
}

bool ExtensionReader::Read()
{
    while (NextChild()) {
        if (!ReadChild()) {
            return false;
        }
    }
    return !xml.hasError();
}

bool ExtensionReader::ReadChild()
{
    const QStringView name = xml.name();
    if (name == u"displayName") {
        displayName = Text();
    } else if (name == u"ipType") {
        return ReadIPType();
    } else if (name == u"lifeCycle") {
        return ReadLifeCycle();
    } else if (name == u"dataSheet") {
        component.SetDataSheet(ToPort(Text()));
    } else if (name == u"families") {
        return ReadFamilies();
    } else if (name == u"properties") {
        return ReadProperties();
    } else if (name == u"generatorChains") {
        return ReadChains();
    } else {
        return Fail(QStringLiteral("unknown element gantrel:%1").arg(name));
    }
    return true;
}

bool ExtensionReader::ReadIPType()
{
    bool ok = false;
    const QString text = Text();
    const uint value = text.toUInt(&ok);
    if (!ok || value > static_cast<uint>(std::numeric_limits<std::int32_t>::max())) {
        return Fail(QStringLiteral("ipType '%1' is not an unsigned number").arg(text));
    }
    component.SetIPType(static_cast<std::int32_t>(value));
    return true;
}

bool ExtensionReader::ReadLifeCycle()
{
    const QString text = Text();
    Ipu::LifeCycleStatus status;
    if (Ipu::LifeCycleStatus::FromString(ToPort(text), status) != 0) {
        return Fail(QStringLiteral("unknown lifeCycle '%1'").arg(text));
    }
    component.SetLifecycleValue(status.GetValue());
    return true;
}

bool ExtensionReader::ReadFamilies()
{
    while (NextChild()) {
        if (xml.name() != u"family") {
            return Fail(QStringLiteral("unknown element gantrel:%1 in families").arg(xml.name()));
        }
        if (!ReadFamily()) {
            return false;
        }
    }
    return !xml.hasError();
}

bool ExtensionReader::ReadFamily()
{
    const std::optional<QString> lifeCycle = Attribute(u"lifeCycle");
    const qint64 line = xml.lineNumber();
    const QString name = Text();
    if (name.isEmpty()) {
        return Fail(QStringLiteral("a family without a name"));
    }
    familyLines.emplace_back(name, line);
    const Ipu::Family family(ToPort(name));
    if (!lifeCycle) {
        component.AddFamily(family);
        return true;
    }
    Ipu::LifeCycleStatus status;
    if (Ipu::LifeCycleStatus::FromString(ToPort(*lifeCycle), status) != 0) {
        return Fail(QStringLiteral("unknown lifeCycle '%1' of family %2").arg(*lifeCycle, name));
    }
    component.AddFamily(family, status);
    return true;
}

bool ExtensionReader::ReadProperties()
{
    while (NextChild()) {
        const QString name = Attribute(u"name").value_or(QString());
        if (xml.name() != u"property" || name.isEmpty()) {
            return Fail(QStringLiteral("properties holds only gantrel:property with a name"));
        }
        component.AddPropertyValue(ToPort(name), ToPort(Text()));
    }
    return !xml.hasError();
}

bool ExtensionReader::ReadChains()
{
    while (NextChild()) {
        if (xml.name() != u"generatorChain") {
            return Fail(
                QStringLiteral("unknown element gantrel:%1 in generatorChains").arg(xml.name()));
        }
        if (!ReadChain()) {
            return false;
        }
    }
    return !xml.hasError();
}

bool ExtensionReader::ReadChain()
{
    QString task;
    QString parts[4];
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        const QStringView key = attribute.name();
        if (key == u"task") {
            task = attribute.value().toString();
        } else {
            const int index = ChainIdentifierPart(key);
            if (index >= 0) {
                parts[index] = attribute.value().toString();
            }
        }
    }
    const Ipu::VersionedIdentifier id(ToPort(parts[0]), ToPort(parts[1]), ToPort(parts[2]),
                                      ToPort(parts[3]));
    if (task.isEmpty()) {
        return Fail(QStringLiteral("a generatorChain without a task"));
    }
    if (id.GetVendor().IsEmpty() || id.GetLibrary().IsEmpty() || id.GetName().IsEmpty() ||
        id.GetVersion().IsEmpty()) {
        return Fail(QStringLiteral("generatorChain %1 lacks part of its vendor, library, name "
                                   "and version")
                        .arg(task));
    }
    auto chain = CatalogFormat::NewChain(ToPort(task), id);
    unsigned step = 0;
    while (NextChild()) {
        if (!ReadChainChild(*chain, step)) {
            return false;
        }
    }
    if (xml.hasError() || !CheckChain(*chain)) {
        return false;
    }
    return AddChain(chain);
}

bool ExtensionReader::ReadChainChild(Ipu::GeneratorChain& chain, unsigned& step)
{
    const QStringView name = xml.name();
    if (name == u"displayName") {
        chain.SetDisplayName(ToPort(Text()));
    } else if (name == u"description") {
        chain.SetDescription(ToPort(Text()));
    } else if (name == u"group") {
        chain.AddGroup(ToPort(Text()));
    } else if (name == u"property") {
        return ReadChainProperty(chain);
    } else if (name == u"generator") {
        return ReadGenerator(chain, ++step);
    } else {
        return Fail(QStringLiteral("unknown element gantrel:%1 in a generatorChain").arg(name));
    }
    return true;
}

bool ExtensionReader::ReadChainProperty(Ipu::GeneratorChain& chain)
{
    const QString name = Attribute(u"name").value_or(QString());
    if (name.isEmpty()) {
        return Fail(QStringLiteral("a chain property without a name"));
    }
    QString value = Text();
    const std::vector<const char*>* allowed = AllowedValues(name);
    if (allowed) {
        const char* spelled = OneOf(value, *allowed);
        if (!spelled) {
            QStringList list;
            for (const char* candidate : *allowed) {
                list << QLatin1String(candidate);
            }
            return Fail(QStringLiteral("chain %1: %2 '%3' is not one of %4")
                            .arg(Utility::PortStringToQString(chain.GetName()), name, value,
                                 list.join(QStringLiteral(", "))));
        }
        chain.SetProperty(ToPort(name), spelled);
        return true;
    }
    chain.SetProperty(ToPort(name), ToPort(value));
    return true;
}

bool ExtensionReader::ReadGenerator(Ipu::GeneratorChain& chain, unsigned step)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    const QString kind = Find(attributes, u"kind").value_or(QString());
    const QString name = Find(attributes, u"name").value_or(QString());
    const std::optional<QString> order = Find(attributes, u"order");
    xml.skipCurrentElement();
    if (!CatalogFormat::IsGeneratorKind(ToPort(kind))) {
        return Fail(QStringLiteral("unknown generator kind '%1'").arg(kind));
    }
    double phase = step;
    if (order) {
        bool ok = false;
        phase = order->toUInt(&ok);
        if (!ok) {
            return Fail(
                QStringLiteral("generator order '%1' is not an unsigned number").arg(*order));
        }
    }
    chain.AddGenerator(SharedStep(name.isEmpty() ? kind : name, phase, kind));
    return true;
}

// The chains of one IP repeat the same steps; they share one generator per step, which
// keeps a large catalogue small. Steps are never changed once read.
boost::shared_ptr<Ipu::Generator> ExtensionReader::SharedStep(const QString& name, double phase,
                                                              const QString& kind)
{
    for (const Step& step : steps) {
        if (step.phase == phase && step.kind == kind && step.name == name) {
            return step.generator;
        }
    }
    steps.push_back(Step{
        name, phase, kind,
        boost::shared_ptr<Ipu::Generator>(new Ipu::Generator(ToPort(name), phase, ToPort(kind)))});
    return steps.back().generator;
}

bool ExtensionReader::CheckChain(const Ipu::GeneratorChain& chain)
{
    for (const char* required :
         {Ipu::VendorExtensions::CHAIN_IPTYPE, Ipu::VendorExtensions::CHAIN_FAMILYDEPENDENT}) {
        if (!chain.HasProperty(required)) {
            return Fail(
                QStringLiteral("chain %1 lacks the property %2")
                    .arg(Utility::PortStringToQString(chain.GetName()), QLatin1String(required)));
        }
    }
    return true;
}

bool ExtensionReader::AddChain(const boost::shared_ptr<Ipu::GeneratorChain>& chain)
{
    Ipu::GeneratorChainList& chains = component.GetGeneratorChains();
    const QString task = Utility::PortStringToQString(chain->GetName());
    if (chains.Has(chain->GetIdentifier())) {
        return Fail(QStringLiteral("chain %1 repeats the identifier %2")
                        .arg(task, Utility::PortStringToQString(chain->GetIdentifier().GetKey())));
    }
    if (chains.Add(chain) != 0) {
        return Fail(QStringLiteral("two chains for the task %1").arg(task));
    }
    return true;
}

// The next child element of our namespace, skipping any other.
bool ExtensionReader::NextChild()
{
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() == QLatin1String(CatalogFormat::EXTENSION_NAMESPACE)) {
            return true;
        }
        xml.skipCurrentElement();
    }
    return false;
}

QString ExtensionReader::Text()
{
    return xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
}

std::optional<QString> ExtensionReader::Attribute(QStringView name) const
{
    return Find(xml.attributes(), name);
}

bool ExtensionReader::Fail(const QString& message)
{
    xml.raiseError(message);
    return false;
}

}  // namespace Sim
