#include "ItemTreeView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

ItemTreeView::ItemTreeView(QWidget* parent) : QTreeView(parent)
{
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(true);
}

void ItemTreeView::FitColumns()
{
    for (int column = 0; column + 1 < header()->count(); ++column)
        resizeColumnToContents(column);
}

void ItemTreeView::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the position says nothing: the menu is the current item's.
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QModelIndex index = keyboard ? currentIndex() : indexAt(event->pos());
    if (!index.isValid())
        return;
    const QPoint at = keyboard ? visualRect(index).bottomLeft() : event->pos();
    setCurrentIndex(index);
    emit ItemMenuRequested(index, viewport()->mapToGlobal(at));
}

void ItemTreeView::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentIndex().isValid() && event->modifiers() == Qt::NoModifier) {
        emit ItemActivated(currentIndex());
        return;
    }
    QTreeView::keyPressEvent(event);
}

void ItemTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton)
        emit ItemActivated(index);
}
