#include "BusyIndicator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

BusyIndicator::BusyIndicator(QWidget* parent)
    : QWidget(parent), label(new QLabel), bar(new QProgressBar)
{
    label->setObjectName(QStringLiteral("busyMessage"));
    bar->setObjectName(QStringLiteral("busyProgress"));
    bar->setRange(0, 0);  // how long the work takes is unknown: a running bar
    bar->setTextVisible(false);
    bar->setMaximumWidth(fontMetrics().averageCharWidth() * 16);
    bar->setMaximumHeight(fontMetrics().height());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(bar);
    setVisible(false);
}

void BusyIndicator::Add(const En::BusyNotificationObject& notification)
{
    const bool wasBlocking = IsBlocking();
    live.removeAll(notification);
    live.append(notification);
    Changed(wasBlocking);
}

void BusyIndicator::Remove(const En::BusyNotificationObject& notification)
{
    const bool wasBlocking = IsBlocking();
    if (live.removeAll(notification) > 0)
        Changed(wasBlocking);
}

bool BusyIndicator::IsBlocking() const
{
    for (const En::BusyNotificationObject& notification : live) {
        if (notification.IsBlocking())
            return true;
    }
    return false;
}

QString BusyIndicator::Message() const
{
    return live.isEmpty() ? QString() : live.constLast().Message();
}

void BusyIndicator::Changed(bool wasBlocking)
{
    label->setText(Message());
    setVisible(IsBusy());
    if (IsBlocking() != wasBlocking)
        emit BlockingChanged(IsBlocking());
}
