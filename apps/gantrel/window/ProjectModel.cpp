#include "ProjectModel.h"

#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QStyle>

#include <algorithm>

#include "En_Project.h"
#include "En_ProjectManager.h"
#include "Ipu_IPComponent.h"
#include "Sim_Utility.h"

namespace {

// The project's row is index 0; IP i is i + 1.
constexpr quintptr kProjectId = 0;

}  // namespace

ProjectModel::ProjectModel(QObject* parent) : QAbstractItemModel(parent) {}

void ProjectModel::Reload()
{
    beginResetModel();
    En::ProjectManager* manager = En::ProjectManager::GetInstance();
    const boost::shared_ptr<En::Project> current = manager->GetProject();
    open = current && current->IsEnabled();
    project = Row();
    ips.clear();
    if (open) {
        const Ipu::ProjectOptions options = *manager->GetProjectOptions();
        const QString part =
            Sim::Utility::PortStringToQString(options.GetPelPart().GetFullPartName());
        project.texts[Name] = current->GetName();
        project.texts[Source] = part;
        project.toolTip = tr("%1\nPart: %2")
                              .arg(QDir::toNativeSeparators(Sim::Utility::PortStringToQString(
                                       current->GetFullFileName())),
                                   part);
        for (const En::Ip& ip : current->GetIpList()) {
            Row row;
            row.ip = ip;
            row.texts[Name] = ip.GetCoreName();
            row.texts[Source] = ip.GetIpName();
            row.texts[Version] = ip.GetIpVersion();
            row.texts[Status] = ip.GetIpStatus(options);
            row.texts[Date] = ip.GetDateModified();
            row.toolTip = ip.GetDescription();
            ips.push_back(row);
        }
        QCollator collator;
        collator.setNumericMode(true);
        std::sort(ips.begin(), ips.end(), [&](const Row& a, const Row& b) {
            return collator.compare(a.texts[Name], b.texts[Name]) < 0;
        });
    }
    endResetModel();
}

bool ProjectModel::IsProject(const QModelIndex& index) const
{
    return index.isValid() && index.internalId() == kProjectId;
}

En::Ip ProjectModel::IpAt(const QModelIndex& index) const
{
    const Row* row = RowAt(index);
    return row != nullptr ? row->ip : En::Ip();
}

QModelIndex ProjectModel::ProjectIndex() const
{
    return open ? createIndex(0, 0, kProjectId) : QModelIndex();
}

QModelIndex ProjectModel::IndexOf(const QString& componentName) const
{
    for (std::size_t i = 0; i < ips.size(); ++i) {
        if (ips[i].texts[Name] == componentName)
            return createIndex(int(i), 0, quintptr(i + 1));
    }
    return {};
}

const ProjectModel::Row* ProjectModel::RowAt(const QModelIndex& index) const
{
    if (!index.isValid())
        return nullptr;
    return index.internalId() == kProjectId ? &project : &ips[index.internalId() - 1];
}

QModelIndex ProjectModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount || row >= rowCount(parent))
        return {};
    return parent.isValid() ? createIndex(row, column, quintptr(row + 1))
                            : createIndex(row, column, kProjectId);
}

QModelIndex ProjectModel::parent(const QModelIndex& child) const
{
    return child.isValid() && child.internalId() != kProjectId ? ProjectIndex() : QModelIndex();
}

int ProjectModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return open ? 1 : 0;
    return IsProject(parent) && parent.column() == 0 ? int(ips.size()) : 0;
}

int ProjectModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant ProjectModel::data(const QModelIndex& index, int role) const
{
    const Row* row = RowAt(index);
    if (row == nullptr)
        return {};
    if (role == Qt::DisplayRole)
        return row->texts[index.column()];
    if (role == Qt::ToolTipRole)
        return row->toolTip;
    if (role == Qt::DecorationRole && index.column() == Name)
        return QApplication::style()->standardIcon(IsProject(index) ? QStyle::SP_DirHomeIcon
                                                                    : QStyle::SP_FileIcon);
    return {};
}

QVariant ProjectModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
        case Name:
            return tr("Name");
        case Source:
            return tr("IP / Part");
        case Version:
            return tr("Version");
        case Status:
            return tr("Status");
        case Date:
            return tr("Generated");
        default:
            return {};
    }
}
