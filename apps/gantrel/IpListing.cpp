#include "IpListing.h"

#include <QJsonObject>

#include <algorithm>
#include <utility>

#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Version.h"
#include "Sim_Utility.h"
#include "TextTable.h"

namespace {

QString text(const Port::String& value)
{
    return Sim::Utility::PortStringToQString(value);
}

// An IP that names no family suits every family.
QStringList familyNames(const Ipu::IPComponent& component)
{
    QStringList names;
    if (component.IsFamilyIndependent())
        return {QStringLiteral("all")};
    for (const Ipu::Family& family : component.GetFamilies()) {
        Port::String name;
        if (family.GetName(name) == 0)
            names.append(text(name));
    }
    return names;
}

QJsonArray textArray(const std::vector<Port::String>& values)
{
    QJsonArray array;
    for (const Port::String& value : values)
        array.append(text(value));
    return array;
}

// What a user is shown for each choice: its label, or the choice itself where it has none.
QJsonArray labelArray(const Ipu::Parameters::Parameter& parameter)
{
    QJsonArray array;
    for (std::size_t i = 0; i < parameter.choices.size(); ++i) {
        const bool labelled =
            i < parameter.choiceLabels.size() && !parameter.choiceLabels[i].IsEmpty();
        array.append(text(labelled ? parameter.choiceLabels[i] : parameter.choices[i]));
    }
    return array;
}

QJsonArray parameterArray(const Ipu::Parameters& parameters)
{
    QJsonArray array;
    for (const Ipu::Parameters::Parameter& parameter : parameters) {
        QJsonObject object{{"name", text(parameter.name)}, {"value", text(parameter.value)}};
        if (!parameter.choices.empty()) {
            object.insert("choices", textArray(parameter.choices));
            object.insert("choiceLabels", labelArray(parameter));
        }
        if (!parameter.minimum.IsEmpty())
            object.insert("minimum", text(parameter.minimum));
        if (!parameter.maximum.IsEmpty())
            object.insert("maximum", text(parameter.maximum));
        array.append(object);
    }
    return array;
}

QJsonObject ipObject(const Ipu::IPComponent& component)
{
    return QJsonObject{
        {"vlnv", text(component.GetKey())},
        {"name", text(component.GetName())},
        {"displayName", text(component.GetDisplayName())},
        {"version", text(component.GetVersion())},
        {"latest", component.IsLatestVersion()},
        {"description", text(component.GetDescription())},
        {"status", text(component.GetLifecycleStatus().ToString())},
        {"families", QJsonArray::fromStringList(familyNames(component))},
        {"parameters", parameterArray(component.GetParameters())},
        {"file", text(component.GetSourceFile())},
    };
}

// Vendor, library and name: the versions of one IP sort together, then by version.
Port::String familyKey(const Ipu::IPComponent& component)
{
    const Ipu::VersionedIdentifier& id = component.GetIdentifier();
    return id.GetVendor() + ":" + id.GetLibrary() + ":" + id.GetName();
}

}  // namespace

IpListing::IpListing(std::vector<boost::shared_ptr<Ipu::IPComponent>> list)
    : components(std::move(list))
{
    std::sort(components.begin(), components.end(), [](const auto& a, const auto& b) {
        return std::make_pair(familyKey(*a), Ipu::Version(a->GetVersion())) <
               std::make_pair(familyKey(*b), Ipu::Version(b->GetVersion()));
    });
}

IpListing IpListing::FromElementIndex()
{
    std::vector<boost::shared_ptr<Ipu::IPComponent>> catalogue;
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (component && !component->IsCustomized())
            catalogue.push_back(component);
    }
    return IpListing(std::move(catalogue));
}

QJsonArray IpListing::parametersJson(const Ipu::Parameters& parameters)
{
    return parameterArray(parameters);
}

QJsonArray IpListing::toJson() const
{
    QJsonArray array;
    for (const auto& component : components)
        array.append(ipObject(*component));
    return array;
}

void IpListing::printTable(QTextStream& out) const
{
    TextTable table({"VLNV", "NAME", "STATUS", "FAMILIES"});
    for (const auto& component : components) {
        table.addRow({text(component->GetKey()), text(component->GetDisplayName()),
                      text(component->GetLifecycleStatus().ToString()),
                      familyNames(*component).join(',')});
    }
    table.print(out);
}
