#pragma once

#include <QWidget>

#include "En_Ip.h"

class ItemTreeView;
class ProjectModel;
class QModelIndex;

// The open project for choosing what to act on: the project itself or one of its IPs.
class ProjectPanel : public QWidget {
    Q_OBJECT

public:
    explicit ProjectPanel(QWidget* parent = nullptr);

    // Reads the project afresh; the selection stays on the same row where it can.
    void Reload();
    bool ProjectSelected() const;
    // A null Ip unless one of the project's IPs is selected.
    En::Ip CurrentIp() const;
    void SelectProject();
    // By component name; false when the project has no such IP.
    bool Select(const En::Ip& ip);
    void ClearSelection();
    ProjectModel* Model() const { return model; }

signals:
    void SelectionChanged();
    // ip is null for the project itself.
    void Activated(const En::Ip& ip);
    void MenuRequested(const En::Ip& ip, const QPoint& globalPosition);

private:
    ProjectModel* model;
    ItemTreeView* view;
};
