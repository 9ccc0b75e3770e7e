#include "ProjectPanel.h"

#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "ItemTreeView.h"
#include "ProjectModel.h"

ProjectPanel::ProjectPanel(QWidget* parent)
    : QWidget(parent), model(new ProjectModel(this)), view(new ItemTreeView)
{
    view->setObjectName(QStringLiteral("projectView"));
    view->setModel(model);
    auto* title = new QLabel(tr("&Project"));
    title->setBuddy(view);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* layout = new QVBoxLayout(this);
    const int margin = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    layout->setContentsMargins(margin, margin, margin, 0);
    layout->addWidget(title);
    layout->addWidget(view);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ProjectPanel::SelectionChanged);
    connect(view, &ItemTreeView::ItemActivated, this,
            [this](const QModelIndex& index) { emit Activated(model->IpAt(index)); });
    connect(view, &ItemTreeView::ItemMenuRequested, this,
            [this](const QModelIndex& index, const QPoint& at) {
                emit MenuRequested(model->IpAt(index), at);
            });
}

void ProjectPanel::Reload()
{
    const bool project = ProjectSelected();
    const En::Ip ip = CurrentIp();
    model->Reload();
    view->expandAll();
    view->FitColumns();
    if (project)
        SelectProject();
    else if (ip.GetIPComponent())
        Select(ip);
}

bool ProjectPanel::ProjectSelected() const
{
    const QModelIndex current = view->currentIndex();
    return view->selectionModel()->isSelected(current) && model->IsProject(current);
}

En::Ip ProjectPanel::CurrentIp() const
{
    const QModelIndex current = view->currentIndex();
    return view->selectionModel()->isSelected(current) ? model->IpAt(current) : En::Ip();
}

void ProjectPanel::SelectProject()
{
    view->setCurrentIndex(model->ProjectIndex());
}

bool ProjectPanel::Select(const En::Ip& ip)
{
    const QModelIndex index = model->IndexOf(ip.GetCoreName());
    if (!index.isValid())
        return false;
    view->setCurrentIndex(index);
    view->scrollTo(index);
    return true;
}

void ProjectPanel::ClearSelection()
{
    view->selectionModel()->clear();
}
