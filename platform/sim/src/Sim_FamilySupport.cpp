#include "Sim_FamilySupport.h"

#include "Port_MsgManData.h"
#include "Sim_DataLocation.h"
#include "Sim_DeviceDatabase.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <memory>
#include <mutex>

namespace {

using Sim::DeviceDatabase;
using DatabasePtr = std::shared_ptr<const DeviceDatabase>;

struct Shared {
    // One load at a time, so that threads meeting an unloaded database read the file once.
    std::mutex loadMutex;
    // Guards only the pointer: queries copy it and then read their own snapshot unlocked.
    std::mutex dataMutex;
    DatabasePtr database;  // null until the first load
    std::atomic<unsigned long> queries{0};
};

Shared& State()
{
    static Shared shared;
    return shared;
}

DatabasePtr Current()
{
    std::lock_guard<std::mutex> lock(State().dataMutex);
    return State().database;
}

void Install(DatabasePtr database)
{
    std::lock_guard<std::mutex> lock(State().dataMutex);
    State().database.swap(database);
}

void Reject(const Port::String& origin, const std::string& reason)
{
    Port_MsgManData::createObject("sim", "Sim_FamilySupport", __LINE__)
        .issueWarning("Device database '%s' not loaded: %s\n", origin.c_str(), reason.c_str());
    Install(std::make_shared<DeviceDatabase>());
}

unsigned LoadBytes(const QByteArray& bytes, const Port::String& origin)
{
    auto database = std::make_shared<DeviceDatabase>();
    std::string reason;
    if (!database->Parse(bytes, reason)) {
        Reject(origin, reason);
        return 1;
    }
    const Port_MsgManData message =
        Port_MsgManData::createObject("sim", "Sim_FamilySupport", __LINE__);
    for (const std::string& entry : database->LeftOut())
        message.issueWarning("Device database '%s': entry left out: %s\n", origin.c_str(),
                             entry.c_str());
    Install(std::move(database));
    return 0;
}

bool ReadFile(const Port::String& path, QByteArray& bytes, std::string& reason)
{
    const QString name = QFile::decodeName(path.c_str());
    const QFileInfo info(name);
    if (!info.exists()) {
        reason = "the file does not exist";
    } else if (!info.isFile()) {
        reason = "not a regular file";
    } else if (info.size() > DeviceDatabase::MaximumSize) {
        reason = QStringLiteral("the file is too large (%1 bytes; at most %2 are read)")
                     .arg(info.size())
                     .arg(DeviceDatabase::MaximumSize)
                     .toStdString();
    } else {
        QFile file(name);
        if (file.open(QIODevice::ReadOnly)) {
            // One byte past the limit, so that a file grown since the check is still refused.
            bytes = file.read(DeviceDatabase::MaximumSize + 1);
            if (file.error() == QFileDevice::NoError)
                return true;
        }
        reason = "the file cannot be read: " + file.errorString().toStdString();
    }
    return false;
}

unsigned LoadPath(const Port::String& path)
{
    QByteArray bytes;
    std::string reason;
    if (!ReadFile(path, bytes, reason)) {
        Reject(path, reason);
        return 1;
    }
    return LoadBytes(bytes, path);
}

DatabasePtr Snapshot()
{
    State().queries.fetch_add(1, std::memory_order_relaxed);
    if (DatabasePtr database = Current())
        return database;
    std::lock_guard<std::mutex> lock(State().loadMutex);
    if (!Current())
        LoadPath(Sim::DataLocation::DeviceDatabaseFile());
    return Current();
}

template <typename T>
void Names(const std::vector<T>& items, std::vector<Port::String>& names)
{
    for (const T& item : items)
        names.push_back(item.name);
}

void Clear(Port::String& a, Port::String& b, Port::String& c)
{
    a = Port::String();
    b = Port::String();
    c = Port::String();
}

}  // namespace

namespace Sim {

unsigned FamilySupport::GetAvailableFamilies(std::vector<Port::String>& families)
{
    families.clear();
    const DatabasePtr database = Snapshot();
    Names(database->Families(), families);
    return families.empty() ? 1 : 0;
}

unsigned FamilySupport::GetAvailableDevices(const Port::String& family,
                                            std::vector<Port::String>& devices)
{
    devices.clear();
    const DatabasePtr database = Snapshot();
    const DeviceDatabase::Family* found = database->FindFamily(family);
    if (!found)
        return 1;
    Names(found->devices, devices);
    return 0;
}

unsigned FamilySupport::GetAvailablePackages(const Port::String& family, const Port::String& device,
                                             std::vector<Port::String>& packages)
{
    packages.clear();
    const DatabasePtr database = Snapshot();
    const DeviceDatabase::Family* foundFamily = database->FindFamily(family);
    const DeviceDatabase::Device* foundDevice =
        foundFamily ? DeviceDatabase::FindDevice(*foundFamily, device) : nullptr;
    if (!foundDevice)
        return 1;
    Names(foundDevice->packages, packages);
    return 0;
}

unsigned FamilySupport::GetAvailableSpeedGrades(const Port::String& family,
                                                const Port::String& device,
                                                const Port::String& package,
                                                std::vector<Port::String>& speedGrades)
{
    speedGrades.clear();
    const DatabasePtr database = Snapshot();
    const DeviceDatabase::Family* foundFamily = database->FindFamily(family);
    const DeviceDatabase::Device* foundDevice =
        foundFamily ? DeviceDatabase::FindDevice(*foundFamily, device) : nullptr;
    const DeviceDatabase::Package* foundPackage =
        foundDevice ? DeviceDatabase::FindPackage(*foundDevice, package) : nullptr;
    if (!foundPackage)
        return 1;
    speedGrades = foundPackage->speedGrades;
    return 0;
}

unsigned FamilySupport::GetDefaultFamilyAndPart(Port::String& family, Port::String& device,
                                                Port::String& package, Port::String& speedGrade)
{
    const DatabasePtr database = Snapshot();
    const DeviceDatabase::Part& part = database->DefaultPart();
    family = part.family;
    device = part.device;
    package = part.package;
    speedGrade = part.speedGrade;
    return database->IsEmpty() ? 1 : 0;
}

unsigned FamilySupport::GetDefaultPart(const Port::String& family, Port::String& device,
                                       Port::String& package, Port::String& speedGrade)
{
    const DatabasePtr database = Snapshot();
    const DeviceDatabase::Family* found = database->FindFamily(family);
    if (!found) {
        Clear(device, package, speedGrade);
        return 1;
    }
    const DeviceDatabase::Part& part = database->DefaultPart();
    if (part.family == found->name) {
        device = part.device;
        package = part.package;
        speedGrade = part.speedGrade;
        return 0;
    }
    // The parser guarantees that no list is empty.
    const DeviceDatabase::Device& first = found->devices.front();
    device = first.name;
    package = first.packages.front().name;
    speedGrade = first.packages.front().speedGrades.front();
    return 0;
}

unsigned FamilySupport::GetVisibleFamilyName(const Port::String& internalName,
                                             Port::String& visibleName)
{
    const DatabasePtr database = Snapshot();
    const DeviceDatabase::Family* found = database->FindFamily(internalName);
    visibleName = found ? found->visibleName : internalName;
    return 0;
}

unsigned FamilySupport::GetInternalFamilyName(const Port::String& visibleName,
                                              Port::String& internalName)
{
    const DatabasePtr database = Snapshot();
    const DeviceDatabase::Family* found = database->FindVisibleFamily(visibleName);
    internalName = found ? found->name : Port::String();
    return found ? 0 : 1;
}

unsigned FamilySupport::Refresh()
{
    std::lock_guard<std::mutex> lock(State().loadMutex);
    return LoadPath(DataLocation::DeviceDatabaseFile());
}

unsigned FamilySupport::LoadFromFile(const Port::String& file)
{
    std::lock_guard<std::mutex> lock(State().loadMutex);
    return LoadPath(file);
}

unsigned FamilySupport::LoadFromMemory(const char* data, std::size_t size,
                                       const Port::String& origin)
{
    std::lock_guard<std::mutex> lock(State().loadMutex);
    if (size > static_cast<std::size_t>(DeviceDatabase::MaximumSize)) {
        Reject(origin, "the input is too large");
        return 1;
    }
    return LoadBytes(QByteArray::fromRawData(data, static_cast<qsizetype>(size)), origin);
}

unsigned long FamilySupport::QueryCount()
{
    return State().queries.load(std::memory_order_relaxed);
}

}  // namespace Sim
