#include "TestCatalog.h"

#include <QXmlStreamWriter>
#include <QtGlobal>

#include "Ipu_CustomizedIP.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Sim_CatalogReader.h"

namespace TestCatalog {
namespace {

const char* const ipxact = "http://www.accellera.org/XMLSchema/IPXACT/1685-2014";
const char* const gantrel = "urn:pellor:gantrel:ipxact-extensions:1.0";

void writeChain(QXmlStreamWriter& xml, const Chain& chain)
{
    xml.writeStartElement(gantrel, "generatorChain");
    xml.writeAttribute("task", chain.task);
    xml.writeAttribute("vendor", "pellor");
    xml.writeAttribute("library", "generatorchains");
    xml.writeAttribute("name",
                       chain.identifier.isEmpty() ? chain.task + "_chain" : chain.identifier);
    xml.writeAttribute("version", "1.0");
    for (const QString& group : chain.groups)
        xml.writeTextElement(gantrel, "group", group);
    for (const auto& property : {qMakePair(QString("ipType"), chain.ipType),
                                 qMakePair(QString("familyDependent"), chain.familyDependent)}) {
        xml.writeStartElement(gantrel, "property");
        xml.writeAttribute("name", property.first);
        xml.writeCharacters(property.second);
        xml.writeEndElement();
    }
    xml.writeEmptyElement(gantrel, "generator");
    xml.writeAttribute("kind", "validate");
    xml.writeEndElement();
}

void writeExtensions(QXmlStreamWriter& xml, const Component& component)
{
    xml.writeStartElement(ipxact, "vendorExtensions");
    xml.writeStartElement(gantrel, "ip");
    if (!component.displayName.isEmpty())
        xml.writeTextElement(gantrel, "displayName", component.displayName);
    xml.writeTextElement(gantrel, "ipType", QString::number(component.ipType));
    xml.writeTextElement(gantrel, "lifeCycle", component.lifeCycle);
    if (!component.dataSheet.isEmpty())
        xml.writeTextElement(gantrel, "dataSheet", component.dataSheet);
    xml.writeStartElement(gantrel, "families");
    for (const QString& family : component.families)
        xml.writeTextElement(gantrel, "family", family);
    xml.writeEndElement();
    xml.writeStartElement(gantrel, "properties");
    for (const auto& property : component.properties) {
        xml.writeStartElement(gantrel, "property");
        xml.writeAttribute("name", property.first);
        xml.writeCharacters(property.second);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeStartElement(gantrel, "generatorChains");
    for (const Chain& chain : component.chains)
        writeChain(xml, chain);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
}

}  // namespace

QByteArray toXml(const Component& component)
{
    QByteArray data;
    QXmlStreamWriter xml(&data);
    xml.setAutoFormatting(true);
    xml.writeNamespace(ipxact, "ipxact");
    xml.writeNamespace(gantrel, "gantrel");
    xml.writeStartDocument();
    xml.writeStartElement(ipxact, "component");
    xml.writeTextElement(ipxact, "vendor", "pellor");
    xml.writeTextElement(ipxact, "library", "test");
    xml.writeTextElement(ipxact, "name", component.name);
    xml.writeTextElement(ipxact, "version", component.version);
    if (!component.description.isEmpty())
        xml.writeTextElement(ipxact, "description", component.description);
    writeExtensions(xml, component);
    xml.writeEndElement();
    xml.writeEndDocument();
    return data;
}

boost::shared_ptr<Ipu::IPComponent> read(const Component& component)
{
    boost::shared_ptr<Ipu::IPComponent> result;
    Port::String reason;
    if (Sim::CatalogReader::ReadData(toXml(component), "", result, reason) != 0) {
        qWarning("test component %s not read: %s", qPrintable(component.name), reason.c_str());
        result.reset();
    }
    return result;
}

boost::shared_ptr<Ipu::IPComponent> load(const Component& component)
{
    auto result = read(component);
    if (result && Ipu::ElementIndex::AddElement(result) != 0)
        qWarning("test component %s not added to the index", qPrintable(component.name));
    return result;
}

boost::shared_ptr<Ipu::IPComponent> customize(const boost::shared_ptr<Ipu::IPComponent>& ip,
                                              const QString& name)
{
    Ipu::CustomizedIP customized;
    if (customized.SetIP(Ipu::IP(ip)) != 0)
        return {};
    customized.SetName(name.toStdString());
    return customized.GetIPComponent();
}

}  // namespace TestCatalog
