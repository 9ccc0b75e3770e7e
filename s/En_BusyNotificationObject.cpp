#include "En_BusyNotificationObject.h"

#include <QHash>

#include <mutex>

namespace En {
namespace {

// uid -> number of live handles carrying it. Guarded: the polling thread may make
// notifications while the GUI thread drops others.
struct UidRegistry {
    std::mutex mutex;
    QHash<int, int> uidRegistry;
};

UidRegistry& registry()
{
    static UidRegistry instance;
    return instance;
}

int freshUid()
{
    UidRegistry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    int uid = 0;
    while (r.uidRegistry.contains(uid))
        ++uid;
    r.uidRegistry.insert(uid, 1);
    return uid;
}

void addHandle(int uid)
{
    UidRegistry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.uidRegistry.find(uid);
    if (it != r.uidRegistry.end())
        ++it.value();
}

void dropHandle(int uid)
{
    UidRegistry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.uidRegistry.find(uid);
    if (it != r.uidRegistry.end() && --it.value() <= 0)
        r.uidRegistry.erase(it);
}

}  // namespace

struct BusyNotificationObject::Record {
    int uid;
    QString message;
    bool blocking;
};

BusyNotificationObject::BusyNotificationObject() : BusyNotificationObject(QString(), false) {}

BusyNotificationObject::BusyNotificationObject(const QString& message, bool blocking)
    : record(new Record{freshUid(), message, blocking})
{
}

BusyNotificationObject::BusyNotificationObject(const BusyNotificationObject& other)
    : record(new Record(*other.record))
{
    addHandle(record->uid);
}

BusyNotificationObject& BusyNotificationObject::operator=(const BusyNotificationObject& other)
{
    if (this != &other) {
        Release();
        record.reset(new Record(*other.record));
        addHandle(record->uid);
    }
    return *this;
}

BusyNotificationObject::~BusyNotificationObject()
{
    Release();
}

void BusyNotificationObject::Release()
{
    if (record)
        dropHandle(record->uid);
    record.reset();
}

bool BusyNotificationObject::operator==(const BusyNotificationObject& other) const
{
    return record->uid == other.record->uid;
}

QString BusyNotificationObject::Message() const
{
    return record->message;
}

bool BusyNotificationObject::IsBlocking() const
{
    return record->blocking;
}

int BusyNotificationObject::GetUID() const
{
    return record->uid;
}

}  // namespace En
