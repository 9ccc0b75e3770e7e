#pragma once

#include <QTreeView>

// A tree of items that act: a double click or Return on an item asks for its default
// action, and the context-menu request names the item it is for (the current one when it
// comes from the keyboard). Whatever the desktop's single-click setting, a single click
// only selects.
class ItemTreeView : public QTreeView {
    Q_OBJECT

public:
    explicit ItemTreeView(QWidget* parent = nullptr);

    // Each column as wide as the rows in view need (a long model is not read to its end).
    void FitColumns();

signals:
    void ItemActivated(const QModelIndex& index);
    void ItemMenuRequested(const QModelIndex& index, const QPoint& globalPosition);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
