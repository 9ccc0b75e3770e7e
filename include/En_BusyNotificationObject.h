#pragma once

#include <QMetaType>
#include <QString>

#include <memory>

namespace En {

// A message shown while work runs, and removed again by its uid when the work ends.
// Copies share the uid; a uid is unique among live notifications and is given out again
// once every copy of its notification is gone.
class BusyNotificationObject {
public:
    BusyNotificationObject();
    BusyNotificationObject(const QString& message, bool blocking);
    BusyNotificationObject(const BusyNotificationObject& other);
    BusyNotificationObject& operator=(const BusyNotificationObject& other);
    ~BusyNotificationObject();

    // Equal when the uids are; message and flag are not compared.
    bool operator==(const BusyNotificationObject& other) const;

    QString Message() const;
    bool IsBlocking() const;
    int GetUID() const;

private:
    struct Record;
    void Release();

    std::unique_ptr<Record> record;
};

}  // namespace En

Q_DECLARE_METATYPE(En::BusyNotificationObject)
