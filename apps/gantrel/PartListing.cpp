#include "PartListing.h"

#include <QJsonObject>

#include "Sim_FamilySupport.h"
#include "Sim_Utility.h"
#include "TextTable.h"

namespace {

QString text(const Port::String& value)
{
    return Sim::Utility::PortStringToQString(value);
}

std::vector<Port::String> families()
{
    std::vector<Port::String> names;
    Sim::FamilySupport::GetAvailableFamilies(names);
    return names;
}

// The internal name of family, given by its internal or visible name; empty when unknown.
Port::String internalFamily(const QString& family)
{
    const Port::String wanted = Sim::Utility::QStringToPortString(family);
    for (const Port::String& name : families()) {
        Port::String visible;
        Sim::FamilySupport::GetVisibleFamilyName(name, visible);
        if (name.Compare(wanted, Port::CompareIgnoreCase) == 0 ||
            visible.Compare(wanted, Port::CompareIgnoreCase) == 0)
            return name;
    }
    return Port::String();
}

}  // namespace

bool PartListing::load(const QString& family)
{
    parts.clear();
    if (family.isEmpty()) {
        for (const Port::String& name : families())
            addFamily(name);
        return true;
    }
    const Port::String name = internalFamily(family);
    if (name.IsEmpty())
        return false;
    addFamily(name);
    return true;
}

void PartListing::addFamily(const Port::String& family)
{
    std::vector<Port::String> devices;
    Sim::FamilySupport::GetAvailableDevices(family, devices);
    for (const Port::String& device : devices) {
        std::vector<Port::String> packages;
        Sim::FamilySupport::GetAvailablePackages(family, device, packages);
        for (const Port::String& package : packages) {
            std::vector<Port::String> grades;
            Sim::FamilySupport::GetAvailableSpeedGrades(family, device, package, grades);
            for (const Port::String& grade : grades)
                parts.push_back({text(family), text(device), text(package), text(grade)});
        }
    }
}

QJsonArray PartListing::toJson() const
{
    QJsonArray array;
    for (const Part& part : parts) {
        array.append(QJsonObject{{"family", part.family},
                                 {"device", part.device},
                                 {"package", part.package},
                                 {"speedgrade", part.speedgrade}});
    }
    return array;
}

void PartListing::printTable(QTextStream& out) const
{
    TextTable table({"FAMILY", "DEVICE", "PACKAGE", "SPEEDGRADE"});
    for (const Part& part : parts)
        table.addRow({part.family, part.device, part.package, part.speedgrade});
    table.print(out);
}
