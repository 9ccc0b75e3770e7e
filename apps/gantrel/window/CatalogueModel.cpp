#include "CatalogueModel.h"

#include <QApplication>
#include <QCollator>
#include <QPalette>
#include <QStyle>

#include <algorithm>

#include <boost/pointer_cast.hpp>

#include "En_ProjectManager.h"
#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Version.h"
#include "Sim_CatalogFormat.h"
#include "Sim_FamilySupport.h"
#include "Sim_Utility.h"

namespace {

QString ToQ(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

// Internal family names to the names people know; asked once per reload, not per IP.
QHash<QString, QString> VisibleFamilyNames()
{
    QHash<QString, QString> names;
    std::vector<Port::String> families;
    if (Sim::FamilySupport::GetAvailableFamilies(families) != 0)
        return names;
    for (const Port::String& family : families) {
        Port::String visible;
        if (Sim::FamilySupport::GetVisibleFamilyName(family, visible) == 0)
            names.insert(ToQ(family).toLower(), ToQ(visible));
    }
    return names;
}

QString FamiliesText(const En::Ip& ip, const QHash<QString, QString>& visibleNames)
{
    QStringList names;
    for (const Ipu::Family& family : ip.GetSupportedFamilies()) {
        Port::String name;
        if (family.GetName(name) == 0)
            names.append(visibleNames.value(ToQ(name).toLower(), ToQ(name)));
    }
    return names.isEmpty() ? CatalogueModel::tr("All") : names.join(QStringLiteral(", "));
}

// Where the IP sits: its taxonomies without empty steps ("/Memories//FIFO/" is
// "Memories/FIFO").
QStringList Taxonomies(const En::Ip& ip)
{
    std::vector<Port::String> values;
    ip.GetPropertyValues(Sim::CatalogFormat::PROPERTY_TAXONOMY, values);
    QStringList result;
    for (const Port::String& value : values) {
        const QString path = ToQ(value).split(u'/', Qt::SkipEmptyParts).join(u'/');
        if (!path.isEmpty() && !result.contains(path))
            result.append(path);
    }
    return result;
}

bool IsRetired(const En::Ip& ip)
{
    const auto value = ip.GetLifeCycleStatus().GetValue();
    return value == Ipu::LifeCycleStatus::DEPRECATED || value == Ipu::LifeCycleStatus::REMOVED;
}

}  // namespace

CatalogueModel::CatalogueModel(QObject* parent) : QAbstractItemModel(parent), nodes(1) {}

void CatalogueModel::Reload()
{
    beginResetModel();
    nodes.assign(1, Node());
    folders.clear();
    byKey.clear();
    ipCount = 0;
    const QHash<QString, QString> familyNames = VisibleFamilyNames();
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (component && !component->IsCustomized())
            AddIp(En::Ip(component), familyNames);
    }
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    Sort(0, collator);
    endResetModel();
}

void CatalogueModel::RefreshStatus()
{
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        Node& node = nodes[i];
        if (node.ip.GetIPComponent())
            node.texts[Status] = StatusOf(node.ip);
    }
    // IPs sit in folders only: one signal per folder covers every row.
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        const Node& folder = nodes[i];
        if (folder.ip.GetIPComponent() || folder.children.empty())
            continue;
        const QModelIndex parent = createIndex(folder.row, 0, quintptr(i));
        emit dataChanged(index(0, Status, parent),
                         index(int(folder.children.size()) - 1, Status, parent), {Qt::DisplayRole});
    }
}

QString CatalogueModel::StatusOf(const En::Ip& ip) const
{
    return ip.GetIpStatus(*En::ProjectManager::GetInstance()->GetProjectOptions());
}

int CatalogueModel::FolderFor(const QString& taxonomy)
{
    const auto found = folders.constFind(taxonomy);
    if (found != folders.constEnd())
        return *found;
    const qsizetype slash = taxonomy.lastIndexOf(u'/');
    const int parent = slash < 0 ? 0 : FolderFor(taxonomy.left(slash));
    Node folder;
    folder.texts[Name] = taxonomy.mid(slash + 1);
    folder.toolTip = taxonomy;
    const int node = AddNode(parent, folder);
    folders.insert(taxonomy, node);
    return node;
}

int CatalogueModel::AddNode(int parent, Node node)
{
    node.parent = parent;
    nodes.push_back(std::move(node));
    const int added = int(nodes.size()) - 1;
    nodes[parent].children.push_back(added);
    return added;
}

void CatalogueModel::AddIp(const En::Ip& ip, const QHash<QString, QString>& familyNames)
{
    const boost::shared_ptr<Ipu::IPComponent> component = ip.GetIPComponent();
    Node row;
    row.ip = ip;
    row.texts[Name] = ip.GetIpName();
    row.texts[Version] = ip.GetIpVersion();
    row.texts[Status] = StatusOf(ip);
    row.texts[Families] = FamiliesText(ip, familyNames);
    const QString key = ToQ(component->GetKey());
    row.toolTip = key;
    if (!ip.GetDescription().isEmpty())
        row.toolTip += u'\n' + ip.GetDescription();
    row.retired = IsRetired(ip);
    QStringList taxonomies = Taxonomies(ip);
    if (taxonomies.isEmpty())
        taxonomies.append(tr("Other"));
    for (const QString& taxonomy : taxonomies) {
        const int node = AddNode(FolderFor(taxonomy), row);
        if (!byKey.contains(key))
            byKey.insert(key, node);
    }
    ++ipCount;
}

// Folders before IPs, each by name as people sort words; versions of an IP oldest first.
void CatalogueModel::Sort(int node, const QCollator& collator)
{
    std::vector<int>& children = nodes[node].children;
    std::stable_sort(children.begin(), children.end(), [&](int a, int b) {
        const Node& x = nodes[a];
        const Node& y = nodes[b];
        const bool xFolder = !x.ip.GetIPComponent();
        const bool yFolder = !y.ip.GetIPComponent();
        if (xFolder != yFolder)
            return xFolder;
        const int order = collator.compare(x.texts[Name], y.texts[Name]);
        if (order != 0 || xFolder)
            return order < 0;
        return Ipu::Version(Sim::Utility::QStringToPortString(x.texts[Version])) <
               Ipu::Version(Sim::Utility::QStringToPortString(y.texts[Version]));
    });
    for (std::size_t row = 0; row < children.size(); ++row) {
        nodes[children[row]].row = int(row);
        Sort(children[row], collator);
    }
}

En::Ip CatalogueModel::IpAt(const QModelIndex& index) const
{
    return index.isValid() ? nodes[index.internalId()].ip : En::Ip();
}

QModelIndex CatalogueModel::IndexOf(const QString& key) const
{
    const auto found = byKey.constFind(key);
    return found == byKey.constEnd() ? QModelIndex()
                                     : createIndex(nodes[*found].row, 0, quintptr(*found));
}

QModelIndex CatalogueModel::index(int row, int column, const QModelIndex& parent) const
{
    const std::size_t node = parent.isValid() ? parent.internalId() : 0;
    if (row < 0 || column < 0 || column >= ColumnCount || row >= int(nodes[node].children.size()))
        return {};
    return createIndex(row, column, quintptr(nodes[node].children[row]));
}

QModelIndex CatalogueModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    const int parent = nodes[child.internalId()].parent;
    return parent <= 0 ? QModelIndex() : createIndex(nodes[parent].row, 0, quintptr(parent));
}

int CatalogueModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(nodes[parent.isValid() ? parent.internalId() : 0].children.size());
}

int CatalogueModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

QVariant CatalogueModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node& node = nodes[index.internalId()];
    switch (role) {
        case Qt::DisplayRole:
            return node.texts[index.column()];
        case Qt::ToolTipRole:
            return node.toolTip;
        case Qt::DecorationRole:
            return index.column() == Name && !node.ip.GetIPComponent()
                       ? QApplication::style()->standardIcon(QStyle::SP_DirIcon)
                       : QVariant();
        case Qt::ForegroundRole:
            return node.retired
                       ? QVariant(QApplication::palette().color(QPalette::Disabled, QPalette::Text))
                       : QVariant();
        default:
            return {};
    }
}

QVariant CatalogueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
        case Name:
            return tr("IP");
        case Version:
            return tr("Version");
        case Status:
            return tr("Status");
        case Families:
            return tr("Families");
        default:
            return {};
    }
}
