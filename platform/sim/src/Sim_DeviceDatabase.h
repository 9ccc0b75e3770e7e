#pragma once

#include "Port_StringBase.h"

#include <QByteArray>

#include <string>
#include <vector>

namespace Sim {

// One parsed device database. It is never changed after Parse, so FamilySupport can hand
// the same object to several threads at once. Every lookup ignores letter case.
class DeviceDatabase {
public:
    struct Package {
        Port::String name;
        std::vector<Port::String> speedGrades;
    };
    struct Device {
        Port::String name;
        std::vector<Package> packages;
    };
    struct Family {
        Port::String name;
        Port::String visibleName;
        std::vector<Device> devices;
    };
    struct Part {
        Port::String family;
        Port::String device;
        Port::String package;
        Port::String speedGrade;
    };

    // Larger inputs are refused before they are parsed.
    static constexpr long long MaximumSize = 64LL * 1024 * 1024;

    // Fills the database from the whole text of a database file. A device, package or
    // speed grade that cannot be used is left out (see LeftOut) and the rest is read. On
    // failure the database stays empty and reason says what is wrong and where (a byte
    // position or a JSON path).
    bool Parse(const QByteArray& bytes, std::string& reason);
    // "<JSON path>: <reason>" of each entry the last Parse left out, in file order.
    const std::vector<std::string>& LeftOut() const { return leftOut; }

    bool IsEmpty() const { return families.empty(); }
    const std::vector<Family>& Families() const { return families; }
    // Spelled as the families list spells it, whatever case the file used.
    const Part& DefaultPart() const { return defaultPart; }

    const Family* FindFamily(const Port::String& name) const;
    const Family* FindVisibleFamily(const Port::String& visibleName) const;
    static const Device* FindDevice(const Family& family, const Port::String& name);
    static const Package* FindPackage(const Device& device, const Port::String& name);

private:
    std::vector<Family> families;
    Part defaultPart;
    std::vector<std::string> leftOut;
};

}  // namespace Sim
