#include <QtTest>

#include <memory>

#include "En_BusyNotificationObject.h"

using En::BusyNotificationObject;

class tst_BusyNotificationObject : public QObject {
    Q_OBJECT

private slots:
    void equalityIsByUid()
    {
        const BusyNotificationObject a("Generating", true);
        const BusyNotificationObject b("Generating", true);
        QVERIFY2(!(a == b), "two notifications with the same text are still two");
        const BusyNotificationObject copy(a);
        QVERIFY(copy == a);
        QCOMPARE(copy.Message(), QString("Generating"));
        QVERIFY(copy.IsBlocking());

        BusyNotificationObject assigned("other", false);
        assigned = b;
        QVERIFY(assigned == b && !(assigned == a));
        QCOMPARE(assigned.Message(), QString("Generating"));
    }

    void uidIsReusedOnlyAfterTheLastCopy()
    {
        auto first = std::make_unique<BusyNotificationObject>("Loading", false);
        const int uid = first->GetUID();
        auto copy = std::make_unique<BusyNotificationObject>(*first);
        first.reset();
        QVERIFY2(BusyNotificationObject().GetUID() != uid, "a copy still holds the uid");
        copy.reset();
        QCOMPARE(BusyNotificationObject().GetUID(), uid);
    }

    void assignmentReleasesTheOldUid()
    {
        BusyNotificationObject target("old", false);
        const int oldUid = target.GetUID();
        const BusyNotificationObject source("new", false);
        target = source;
        target = target;
        QCOMPARE(target.GetUID(), source.GetUID());
        QCOMPARE(BusyNotificationObject().GetUID(), oldUid);
    }

    void travelsThroughQueuedSignals()
    {
        const BusyNotificationObject notification("queued", true);
        const QVariant value = QVariant::fromValue(notification);
        QVERIFY(value.value<BusyNotificationObject>() == notification);
    }
};

QTEST_GUILESS_MAIN(tst_BusyNotificationObject)
#include "tst_busynotificationobject.moc"
