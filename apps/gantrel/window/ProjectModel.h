#pragma once

#include <QAbstractItemModel>
#include <QString>

#include <vector>

#include "En_Ip.h"

// The open project as a tree: the project's row (its name and part) over one row per
// customized IP with its catalogue IP, version, status and the date of its files. Rows
// are read once per Reload; empty while no project is open. GUI thread only.
class ProjectModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { Name, Source, Version, Status, Date, ColumnCount };

    explicit ProjectModel(QObject* parent = nullptr);

    void Reload();

    bool IsProject(const QModelIndex& index) const;
    // A null Ip for the project's row.
    En::Ip IpAt(const QModelIndex& index) const;
    QModelIndex ProjectIndex() const;
    // The row of the project's IP by its component name; invalid when there is none.
    QModelIndex IndexOf(const QString& componentName) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        QString texts[ColumnCount];
        QString toolTip;
        En::Ip ip;
    };

    const Row* RowAt(const QModelIndex& index) const;

    bool open = false;
    Row project;
    std::vector<Row> ips;
};
