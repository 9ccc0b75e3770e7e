#pragma once

#include <QWidget>

#include "En_Ip.h"

class CatalogueModel;
class ItemTreeView;
class QLineEdit;
class QModelIndex;
class QSortFilterProxyModel;

// The IP catalogue for choosing an IP: the tree by taxonomy under a search field that
// filters as one types. A search matches any column, ignoring letter case; a folder stays
// while anything under it matches, a matching folder keeps all it holds, and everything
// shown is expanded.
class CataloguePanel : public QWidget {
    Q_OBJECT

public:
    explicit CataloguePanel(QWidget* parent = nullptr);

    // Reads the catalogue afresh; the selection and the search stay where they can.
    void Reload();
    void RefreshStatus();
    // A null Ip when a folder or nothing is selected.
    En::Ip CurrentIp() const;
    // Selects the IP's row (by VLNV), clearing a search that hides it; false when the
    // catalogue lacks the IP.
    bool Select(const En::Ip& ip);
    void ClearSelection();
    CatalogueModel* Model() const { return model; }

signals:
    void CurrentIpChanged();
    void IpActivated(const En::Ip& ip);
    void IpMenuRequested(const En::Ip& ip, const QPoint& globalPosition);

private:
    void Search(const QString& text);
    En::Ip IpAt(const QModelIndex& proxyIndex) const;

    CatalogueModel* model;
    QSortFilterProxyModel* proxy;
    QLineEdit* search;
    ItemTreeView* view;
};
