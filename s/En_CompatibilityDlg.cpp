#include "En_CompatibilityDlg.h"

#include <QApplication>
#include <QKeySequence>
#include <QMessageBox>
#include <QSet>
#include <QShortcut>

#include "En_ActionManager.h"
#include "En_Global.h"
#include "En_ProjectManager.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_TaskMutexSingleton.h"
#include "Ipu_Utilities.h"
#include "Sim_IPMgr.h"
#include "Sim_Utility.h"
#include "ui_CompatibilityUi.h"

namespace En {

namespace {

QString ToQ(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

// Nothing selected lets every value through; otherwise a selected item must equal it.
bool Matches(const QListWidget* list, const QString& value)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty())
        return true;
    for (const QListWidgetItem* item : selected) {
        if (item->text() == value)
            return true;
    }
    return false;
}

// The items that stand for a value: the same text, ignoring case.
QList<QListWidgetItem*> ItemsOf(const QListWidget* list, const QString& value)
{
    return list->findItems(value, Qt::MatchFixedString);
}

// A filter item stays wanted while any part that owns it is visible.
void MarkWanted(QHash<QListWidgetItem*, bool>& wanted, const QListWidget* list,
                const QString& value, bool visible)
{
    for (QListWidgetItem* item : ItemsOf(list, value))
        wanted[item] = wanted.value(item) || visible;
}

void AddOnce(QListWidget* list, QSet<QString>& added, const QString& text)
{
    if (!added.contains(text)) {
        added.insert(text);
        list->addItem(text);
    }
}

}  // namespace

CompatibilityDlg::CompatibilityDlg(QWidget* parent) : QDialog(parent), ui(new Ui::CompatibilityUi)
{
    ui->setupUi(this);
    updatePart();
    ui->_lwCompatible->setSortingEnabled(true);
    ui->_pbCurrent->setEnabled(false);
    ui->_lwCompatible->setSelectionMode(QAbstractItemView::SingleSelection);
    for (QListWidget* list : {ui->_lwFamily, ui->_lwDevice, ui->_lwPackage})
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    using Dlg = CompatibilityDlg;
    connect(ui->_lwCompatible, &QListWidget::currentItemChanged, this, &Dlg::CompatibleLWChanged);
    connect(ui->_pbCurrent, &QPushButton::clicked, this, &Dlg::setPartType);
    connect(ActionManager::GetInstance(), &ActionManager::MutexStateChange, this,
            &Dlg::setCannotChangePart);
    connect(ui->_lwFamily, &QListWidget::itemSelectionChanged, this, &Dlg::FamilyFilterChanged);
    connect(ui->_lwDevice, &QListWidget::itemSelectionChanged, this, &Dlg::DeviceFilterChanged);
    connect(ui->_lwPackage, &QListWidget::itemSelectionChanged, this, &Dlg::PackageFilterChanged);
    connect(ui->_pbOK, &QPushButton::clicked, this, &Dlg::accept);
    connect(ui->_pbHelp, &QPushButton::clicked, this, &Dlg::Help);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &Dlg::Help);
}

CompatibilityDlg::~CompatibilityDlg() = default;

// The name is shown as text, never as markup.
void CompatibilityDlg::setName(const QString& name)
{
    ui->_tlTitle->setText(QStringLiteral("<h2>") + name.toHtmlEscaped() + QStringLiteral("</h2>"));
}

void CompatibilityDlg::setData(const Ipu::PelPartList& list)
{
    parts = list;
    partIndex.clear();
    for (QListWidget* widget : {ui->_lwCompatible, ui->_lwFamily, ui->_lwDevice, ui->_lwPackage})
        widget->clear();
    QSet<QString> families;
    QSet<QString> devices;
    QSet<QString> packages;
    for (const Ipu::PelPart& part : parts) {
        const QString name = ToQ(part.GetFullPartName());
        partIndex.insert(name, part);
        ui->_lwCompatible->addItem(name);
        AddOnce(ui->_lwFamily, families, ToQ(part.GetFamily()));
        AddOnce(ui->_lwDevice, devices, ToQ(part.GetDevice()));
        AddOnce(ui->_lwPackage, packages, ToQ(part.GetPackage()));
    }
    for (QListWidget* widget : {ui->_lwCompatible, ui->_lwFamily, ui->_lwDevice, ui->_lwPackage})
        widget->sortItems(Qt::AscendingOrder);
}

void CompatibilityDlg::setIP(const En::Ip& ip)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setName(ip.GetIpName());
    if (Sim::IPMgr* manager = Sim::IPMgr::GetInstance()) {
        Ipu::PelPartList list;
        if (manager->GetCompatibleParts(ip.GetIp(), list) == 0)
            setData(list);
    }
    QApplication::restoreOverrideCursor();
}

void CompatibilityDlg::setCannotChangePart(bool cannot)
{
    ui->_pbCurrent->setVisible(!cannot);
}

void CompatibilityDlg::setPartType()
{
    const QString title = ToQ(Ipu::Utilities::ApplicationName());
    const QListWidgetItem* current = ui->_lwCompatible->currentItem();
    if (current == nullptr || !partIndex.contains(current->text())) {
        QMessageBox::warning(this, title, tr("Nothing Selected. Please select a part."),
                             QMessageBox::Ok);
        return;
    }
    const Ipu::PelPart part = partIndex.value(current->text());
    ProjectManager* manager = ProjectManager::GetInstance();
    if (!manager->ProjectOpen()) {
        QMessageBox::warning(this, title, tr("No project open."), QMessageBox::Ok);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Ipu::ProjectOptions options = *manager->GetProjectOptions();
    options.SetDeviceFamily(part.GetFamily());
    options.SetDevice(part.GetDevice());
    options.SetPackage(part.GetPackage());
    options.SetSpeedGrade(part.GetSpeedGrade());
    manager->SetProjectOptions(options);
    updatePart();
    ui->_pbCurrent->setEnabled(false);
    QApplication::restoreOverrideCursor();
}

void CompatibilityDlg::Help()
{
    Global::ShowHelpTopic(QStringLiteral("gt-dialog-compatibility"));
}

void CompatibilityDlg::CompatibleLWChanged(QListWidgetItem* current, QListWidgetItem* /*previous*/)
{
    const QString currentName = ui->_tlCurrent->text().remove(CurrentPrefix());
    if (!ProjectManager::GetInstance()->ProjectOpen())
        return;
    ui->_pbCurrent->setEnabled(current != nullptr && current->text() != currentName &&
                               !Ipu::TaskMutexSingleton::IsLocked());
}

// Clearing a selection runs that list's own handler first.
void CompatibilityDlg::FamilyFilterChanged()
{
    ui->_lwDevice->clearSelection();
    ui->_lwPackage->clearSelection();
    ApplyPartFilter(1);
}

void CompatibilityDlg::DeviceFilterChanged()
{
    ui->_lwPackage->clearSelection();
    ApplyPartFilter(2);
}

void CompatibilityDlg::PackageFilterChanged()
{
    ApplyPartFilter(3);
}

// The project manager answers default options while no project is open; those are no part.
void CompatibilityDlg::updatePart()
{
    ProjectManager* manager = ProjectManager::GetInstance();
    const Ipu::ProjectOptions* options =
        manager->ProjectOpen() ? manager->GetProjectOptions() : nullptr;
    ui->_tlCurrent->setText(options != nullptr
                                ? CurrentPrefix() + ToQ(options->GetPelPart().GetFullPartName())
                                : CurrentPrefix() + tr("none"));
}

QString CompatibilityDlg::CurrentPrefix() const
{
    return tr("Current part: ");
}

// lists: how many of the filters (family, device, package) decide visibility. The filter
// lists after the deciding ones show only the items that a visible part owns.
void CompatibilityDlg::ApplyPartFilter(int lists)
{
    QHash<QListWidgetItem*, bool> wanted;
    for (const Ipu::PelPart& part : parts) {
        const QString device = ToQ(part.GetDevice());
        const QString package = ToQ(part.GetPackage());
        const bool visible = Matches(ui->_lwFamily, ToQ(part.GetFamily())) &&
                             (lists < 2 || Matches(ui->_lwDevice, device)) &&
                             (lists < 3 || Matches(ui->_lwPackage, package));
        ShowPart(part, visible);
        if (lists < 2)
            MarkWanted(wanted, ui->_lwDevice, device, visible);
        if (lists < 3)
            MarkWanted(wanted, ui->_lwPackage, package, visible);
    }
    for (auto marked = wanted.cbegin(); marked != wanted.cend(); ++marked)
        marked.key()->setHidden(!marked.value());
}

// Hiding the selected part clears the selection, so that no hidden part can be applied.
void CompatibilityDlg::ShowPart(const Ipu::PelPart& part, bool visible)
{
    for (QListWidgetItem* item : ItemsOf(ui->_lwCompatible, ToQ(part.GetFullPartName()))) {
        item->setHidden(!visible);
        if (!visible && item->isSelected()) {
            ui->_lwCompatible->clearSelection();
            ui->_pbCurrent->setEnabled(false);
            return;
        }
    }
}

}  // namespace En
