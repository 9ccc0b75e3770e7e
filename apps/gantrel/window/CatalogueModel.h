#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QString>

#include <vector>

#include "En_Ip.h"

class QCollator;
// The IP catalogue as a tree: folders by the IPs' taxonomy ("/Memories/FIFO"), then one
// row per IP version with its name, version, status and supported families. An IP in two
// taxonomies is listed in both; one without any under "Other". Rows are read once per
// Reload, so painting never goes back to the catalogue. GUI thread only.
class CatalogueModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { Name, Version, Status, Families, ColumnCount };

    explicit CatalogueModel(QObject* parent = nullptr);

    // Reads the catalogue entries of the element index afresh.
    void Reload();
    // Statuses follow the open project's part; the tree stays as it is.
    void RefreshStatus();

    // A null Ip for a folder.
    En::Ip IpAt(const QModelIndex& index) const;
    // The first row of the IP with this VLNV key; invalid when the catalogue lacks it.
    QModelIndex IndexOf(const QString& key) const;
    int IpCount() const { return ipCount; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Node {
        QString texts[ColumnCount];
        QString toolTip;
        En::Ip ip;  // null for a folder
        bool retired = false;
        int parent = -1;
        int row = 0;
        std::vector<int> children;
    };

    int FolderFor(const QString& taxonomy);
    int AddNode(int parent, Node node);
    void AddIp(const En::Ip& ip, const QHash<QString, QString>& familyNames);
    void Sort(int node, const QCollator& collator);
    QString StatusOf(const En::Ip& ip) const;

    std::vector<Node> nodes;  // nodes[0] is the invisible root
    QHash<QString, int> folders;
    QHash<QString, int> byKey;
    int ipCount = 0;
};
