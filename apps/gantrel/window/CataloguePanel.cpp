#include "CataloguePanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QVBoxLayout>

#include "CatalogueModel.h"
#include "Ipu_IPComponent.h"
#include "ItemTreeView.h"
#include "Sim_Utility.h"

CataloguePanel::CataloguePanel(QWidget* parent)
    : QWidget(parent)
    , model(new CatalogueModel(this))
    , proxy(new QSortFilterProxyModel(this))
    , search(new QLineEdit)
    , view(new ItemTreeView)
{
    proxy->setSourceModel(model);
    proxy->setRecursiveFilteringEnabled(true);
    proxy->setAutoAcceptChildRows(true);
    proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy->setFilterKeyColumn(-1);
    search->setObjectName(QStringLiteral("catalogueSearch"));
    search->setPlaceholderText(tr("Name, version, status or family"));
    search->setClearButtonEnabled(true);
    view->setObjectName(QStringLiteral("catalogueView"));
    view->setModel(proxy);
    auto* title = new QLabel(tr("IP &Catalog"));
    title->setBuddy(view);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* searchLabel = new QLabel(tr("&Search:"));
    searchLabel->setBuddy(search);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search);
    auto* layout = new QVBoxLayout(this);
    const int margin = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    layout->setContentsMargins(margin, margin, margin, 0);
    layout->addWidget(title);
    layout->addLayout(searchRow);
    layout->addWidget(view);
    connect(search, &QLineEdit::textChanged, this, &CataloguePanel::Search);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CataloguePanel::CurrentIpChanged);
    connect(view, &ItemTreeView::ItemActivated, this, [this](const QModelIndex& index) {
        if (const En::Ip ip = IpAt(index); ip.GetIPComponent())
            emit IpActivated(ip);
    });
    connect(view, &ItemTreeView::ItemMenuRequested, this,
            [this](const QModelIndex& index, const QPoint& at) {
                if (const En::Ip ip = IpAt(index); ip.GetIPComponent())
                    emit IpMenuRequested(ip, at);
            });
}

void CataloguePanel::Reload()
{
    const En::Ip selected = CurrentIp();
    model->Reload();
    view->expandAll();
    view->FitColumns();
    if (selected.GetIPComponent())
        Select(selected);
}

void CataloguePanel::RefreshStatus()
{
    model->RefreshStatus();
}

void CataloguePanel::Search(const QString& text)
{
    proxy->setFilterFixedString(text);
    view->expandAll();
    if (view->currentIndex().isValid())
        view->scrollTo(view->currentIndex());
}

En::Ip CataloguePanel::IpAt(const QModelIndex& proxyIndex) const
{
    return model->IpAt(proxy->mapToSource(proxyIndex));
}

En::Ip CataloguePanel::CurrentIp() const
{
    const QModelIndex current = view->currentIndex();
    return view->selectionModel()->isSelected(current) ? IpAt(current) : En::Ip();
}

bool CataloguePanel::Select(const En::Ip& ip)
{
    const auto component = ip.GetIPComponent();
    if (!component)
        return false;
    const QModelIndex source =
        model->IndexOf(Sim::Utility::PortStringToQString(component->GetUnconfiguredID()));
    if (!source.isValid())
        return false;
    if (!proxy->mapFromSource(source).isValid())
        search->clear();
    const QModelIndex shown = proxy->mapFromSource(source);
    view->setCurrentIndex(shown);
    view->scrollTo(shown);
    return true;
}

void CataloguePanel::ClearSelection()
{
    view->selectionModel()->clear();
}
