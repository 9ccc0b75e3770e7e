#include "ModalCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

ModalCloser::ModalCloser(Inspector inspector) : inspector(std::move(inspector))
{
    connect(&timer, &QTimer::timeout, this, &ModalCloser::closeActive);
    timer.start(10);
}

void ModalCloser::closeActive()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || handling.contains(modal))
        return;
    // A window that the inspector opens is closed by a later tick, inside its own loop.
    handling.append(modal);
    auto* box = qobject_cast<QMessageBox*>(modal);
    seen << (box != nullptr ? box->text() : QString(modal->metaObject()->className()));
    if (inspector)
        inspector(modal);
    if (modal->isVisible()) {
        if (box != nullptr && box->button(QMessageBox::Ok) != nullptr)
            box->button(QMessageBox::Ok)->click();
        else if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    handling.removeOne(modal);
}
