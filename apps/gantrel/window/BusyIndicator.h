#pragma once

#include <QList>
#include <QWidget>

#include "En_BusyNotificationObject.h"

class QLabel;
class QProgressBar;

// The work in progress as the managers announce it, for the status bar: the newest live
// notification's message beside a running progress bar, hidden while nothing runs.
// Notifications are told apart by uid; removing one that is not live does nothing.
class BusyIndicator : public QWidget {
    Q_OBJECT

public:
    explicit BusyIndicator(QWidget* parent = nullptr);
    Q_DISABLE_COPY(BusyIndicator)

    void Add(const En::BusyNotificationObject& notification);
    void Remove(const En::BusyNotificationObject& notification);
    bool IsBusy() const { return !live.isEmpty(); }
    bool IsBlocking() const;
    QString Message() const;

signals:
    // While any blocking notification is live the window refuses input.
    void BlockingChanged(bool blocking);

private:
    void Changed(bool wasBlocking);

    QList<En::BusyNotificationObject> live;
    QLabel* label;
    QProgressBar* bar;
};
