#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

// Stands in for the user at every modal window that opens while it lives: it lets an
// inspector look at the window, notes it, then closes it (a message box by its OK
// button, any other dialog by reject()) unless the inspector closed it already.
// GUI thread only.
class ModalCloser : public QObject {
public:
    using Inspector = std::function<void(QWidget*)>;

    explicit ModalCloser(Inspector inspector = {});

    // In order: a message box's text, else the window's meta-object class name.
    QStringList seen;

private:
    void closeActive();

    Inspector inspector;
    QTimer timer;
    QList<QWidget*> handling;
};
