#include "En_ProjectOptionsDlg.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QMessageBox>
#include <QShortcut>

#include "En_Global.h"
#include "En_Message.h"
#include "En_ProjectManager.h"
#include "Ipu_Utilities.h"
#include "Sim_FamilySupport.h"
#include "Sim_Utility.h"
#include "ui_ProjectOptionsUi.h"

namespace En {

namespace {

using Options = Ipu::ProjectOptions;

QString ToQ(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

Port::String ToPort(const QString& text)
{
    return Sim::Utility::QStringToPortString(text);
}

void ClearCombo(QComboBox* combo)
{
    while (combo->count() > 0)
        combo->removeItem(0);
}

void RefillCombo(QComboBox* combo, const std::vector<Port::String>& items)
{
    ClearCombo(combo);
    for (const Port::String& item : items)
        combo->addItem(ToQ(item));
}

// Keeps the current text when the new items still offer it, else the first item.
void RefillKeepingText(QComboBox* combo, const std::vector<Port::String>& items)
{
    const QString previous = combo->currentText();
    RefillCombo(combo, items);
    const int index = combo->findText(previous);
    combo->setCurrentIndex(index >= 0 ? index : 0);
}

void SelectExactText(QComboBox* combo, const Port::String& text)
{
    const int index = combo->findText(ToQ(text));
    if (index >= 0)
        combo->setCurrentIndex(index);
}

Port::String AdvancedString()
{
    Port::String advanced;
    Options::GetVisibleAdvancedString(advanced);
    return advanced;
}

// Shown beside a part field whose stored value its list no longer offers.
QString CurrentValueText(const QString& value)
{
    if (value.isEmpty())
        return ProjectOptionsDlg::tr("Currently unset");
    return ProjectOptionsDlg::tr("Current value: ") + '"' + value + '"';
}

// A widget's tool tip is its context help too, unless the form names a longer one.
void ToolTipsAsContextHelp(QWidget* dialog)
{
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (widget->whatsThis().isEmpty())
            widget->setWhatsThis(widget->toolTip());
    }
}

}  // namespace

ProjectOptionsDlg::ProjectOptionsDlg(bool readOnly, QWidget* parent)
    : QDialog(parent), ui(new Ui::ProjectOptionsUi), readOnly(readOnly)
{
    ui->setupUi(this);
    ui->_twCategory->clear();
    for (int index = 0; index < 3; ++index)
        ui->_twCategory->addTopLevelItem(new QTreeWidgetItem(QStringList(PageName(index))));
    ui->_swProjectPage->setCurrentIndex(0);
    ui->_twCategory->header()->hide();
    ui->_twCategory->setCurrentItem(ui->_twCategory->topLevelItem(0));
    Connect();
    ui->_designEntryInfoTextLabel->setTextFormat(Qt::RichText);
    ui->_netlistBusFormatInfoTextLabel->setTextFormat(Qt::RichText);
    ui->_pbApply->setEnabled(false);
    if (readOnly)
        MakeReadOnly();
    ToolTipsAsContextHelp(this);
}

ProjectOptionsDlg::~ProjectOptionsDlg() = default;

QString ProjectOptionsDlg::PageName(int index)
{
    switch (index) {
        case 0:
            return tr("Part");
        case 1:
            return tr("Generation");
        case 2:
            return tr("Advanced");
        default:
            return QString();
    }
}

void ProjectOptionsDlg::Connect()
{
    using Dlg = ProjectOptionsDlg;
    const Ui::ProjectOptionsUi& form = *ui;
    if (!readOnly) {
        connect(form._comboFamily, &QComboBox::textActivated, this, &Dlg::ComboBoxFamilyChanged);
        connect(form._comboDevice, &QComboBox::textActivated, this, &Dlg::ComboBoxDeviceChanged);
        connect(form._comboPackage, &QComboBox::textActivated, this, &Dlg::ComboBoxPackageChanged);
        connect(form._comboSpeedGrade, &QComboBox::textActivated, this,
                &Dlg::ComboBoxSpeedGradeChanged);
        // Several slots on one signal run in the order connected.
        for (auto slot : {&Dlg::EnableSimulationFiles, &Dlg::UpdateSimulationFiles,
                          &Dlg::ComboBoxDesignEntryChanged, &Dlg::EnableImplementationFiles})
            connect(form._rbDesignEntry, &QRadioButton::clicked, this, slot);
        for (auto slot : {&Dlg::UpdateSimulationFiles, &Dlg::EnableSimulationFiles,
                          &Dlg::ComboBoxDesignEntryChanged, &Dlg::EnableImplementationFiles,
                          &Dlg::UpdateSimulationFiles})
            connect(form._comboDesignEntry, &QComboBox::textActivated, this, slot);
        for (auto slot : {&Dlg::ComboBoxDesignEntryChanged, &Dlg::EnableSimulationFiles,
                          &Dlg::UpdateSimulationFiles, &Dlg::EnableImplementationFiles,
                          &Dlg::EnableSimulationFiles})
            connect(form._rbCustom, &QRadioButton::clicked, this, slot);
        connect(form._comboNetlistBusFormat, &QComboBox::textActivated, this,
                &Dlg::UpdateNetlistBusFormatInfo);
        connect(form._comboNetlistBusFormat, &QComboBox::textActivated, this,
                &Dlg::ComboBoxNetlistBusFormatChanged);
        connect(form._comboVendor, &QComboBox::textActivated, this, &Dlg::ComboBoxVendorChanged);
        connect(form._cbAsySymbolFile, &QCheckBox::clicked, this,
                &Dlg::CheckBoxAsySymbolFileChanged);
        connect(form._cbNetlistWrapperIoPads, &QCheckBox::clicked, this,
                &Dlg::CheckBoxCreateNetlistWrapperIOPadsChanged);
        connect(form._cbCreateNdf, &QCheckBox::clicked, this, &Dlg::CheckBoxCreateNDFChanged);
        connect(form._leTmpDir, &QLineEdit::textChanged, this, &Dlg::TmpDirLineEditChanged);
        connect(form._pbBrowse, &QPushButton::clicked, this, &Dlg::BrowseClicked);
    }
    connect(form._twCategory, &QTreeWidget::currentItemChanged, this, &Dlg::ChangePage);
    connect(form._pbOk, &QPushButton::clicked, this, &Dlg::Validate);
    connect(form._pbCancel, &QPushButton::clicked, this, &Dlg::reject);
    connect(form._pbApply, &QPushButton::clicked, this, &Dlg::Save);
    connect(form._pbHelp, &QPushButton::clicked, this, &Dlg::Help);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &Dlg::Help);
}

void ProjectOptionsDlg::MakeReadOnly()
{
    const Ui::ProjectOptionsUi& form = *ui;
    for (QWidget* widget : std::initializer_list<QWidget*>{
             form._comboFamily, form._comboDevice, form._comboPackage, form._comboSpeedGrade,
             form._rbDesignEntry, form._rbCustom, form._comboDesignEntry, form._comboVendor,
             form._comboNetlistBusFormat, form._rbBehavioural, form._rbStructural, form._rbNone,
             form._rbVHDL, form._rbVerilog, form._cbAsySymbolFile, form._cbNetlistWrapperIoPads,
             form._cbCreateNdf, form._leTmpDir, form._pbBrowse})
        widget->setEnabled(false);
    form._pbOk->hide();
    form._pbApply->hide();
    form._pbCancel->setText(tr("Close"));
}

Ipu::ProjectOptions ProjectOptionsDlg::GetProjectOptions() const
{
    return options;
}

bool ProjectOptionsDlg::GetFamilyChanged() const
{
    return familyChanged;
}

bool ProjectOptionsDlg::GetOutputDirectoryChanged() const
{
    return outputDirectoryChanged;
}

void ProjectOptionsDlg::SetProjectOptions(const Ipu::ProjectOptions& value)
{
    options = value;
    InitialiseProjectOptions();
    ui->_pbApply->setEnabled(false);
}

void ProjectOptionsDlg::SetWorkingDirectory(const QString& dir)
{
    directoryText = dir;
    options.SetWorkingDirectory(RelativeToOutput(dir));
}

void ProjectOptionsDlg::EnableApply()
{
    if (!readOnly)
        ui->_pbApply->setEnabled(true);
}

void ProjectOptionsDlg::SetEditable(QWidget* widget, bool editable)
{
    if (!readOnly)
        widget->setEnabled(editable);
}

void ProjectOptionsDlg::InitialiseProjectOptions()
{
    familyChanged = false;
    outputDirectoryChanged = false;
    PopulateFamilyCombo();
    SelectFamily();
    PopulateDeviceCombo();
    SelectPartValue(ui->_comboDevice, &Options::GetDevice, ui->_tlDeviceError);
    PopulatePackageCombo();
    SelectPartValue(ui->_comboPackage, &Options::GetPackage, ui->_tlPackageError);
    PopulateSpeedGradeCombo();
    SelectPartValue(ui->_comboSpeedGrade, &Options::GetSpeedGrade, ui->_tlSpeedGradeError);
    PopulateDesignEntryCombo();
    SelectDesignEntry();
    InitialiseFlowSettings();
    for (const Language& language : Languages()) {
        bool selectable = false;
        (options.*language.selectable)(selectable);
        SetEditable(language.radio, selectable);
    }
    PopulateSimulationFiles();
    if (!readOnly)
        RequireAsySymbolFile(SelectedDesignEntry(), SelectedFlowVendor());
    bool checked = false;
    options.GetASYSymbolFile(checked);
    ui->_cbAsySymbolFile->setChecked(checked);
    options.GetAddPads(checked);
    ui->_cbNetlistWrapperIoPads->setChecked(checked);
    options.GetCreateNDF(checked);
    ui->_cbCreateNdf->setChecked(checked);
    Port::String directory;
    options.GetWorkingDirectory(directory);
    ui->_leTmpDir->setText(ToQ(directory));
}

// The bus-format combo keeps the enabled state the form gave it until the first vendor or
// design-entry change decides it.
void ProjectOptionsDlg::InitialiseFlowSettings()
{
    std::vector<Port::String> items;
    Port::String value;
    if (options.GetAvailableVisibleFlowVendors(items) == 0)
        RefillCombo(ui->_comboVendor, items);
    if (options.GetVisibleFlowVendor(value) == 0)
        SelectExactText(ui->_comboVendor, value);
    if (options.GetAvailableVisibleBusFormats(items) == 0)
        RefillCombo(ui->_comboNetlistBusFormat, items);
    if (options.GetVisibleBusFormat(value) == 0)
        SelectExactText(ui->_comboNetlistBusFormat, value);
}

// ---- Part ----

bool ProjectOptionsDlg::InternalFamily(Port::String& family) const
{
    return Sim::FamilySupport::GetInternalFamilyName(ToPort(ui->_comboFamily->currentText()),
                                                     family) == 0;
}

void ProjectOptionsDlg::PopulateFamilyCombo()
{
    std::vector<Port::String> families;
    Sim::FamilySupport::GetAvailableFamilies(families);
    ClearCombo(ui->_comboFamily);
    for (const Port::String& family : families) {
        Port::String visible;
        if (Sim::FamilySupport::GetVisibleFamilyName(family, visible) == 0)
            ui->_comboFamily->addItem(ToQ(visible));
    }
}

void ProjectOptionsDlg::PopulateDeviceCombo()
{
    Port::String family;
    if (!InternalFamily(family))
        return;
    std::vector<Port::String> devices;
    Sim::FamilySupport::GetAvailableDevices(family, devices);
    RefillCombo(ui->_comboDevice, devices);
}

void ProjectOptionsDlg::PopulatePackageCombo()
{
    Port::String family;
    if (!InternalFamily(family))
        return;
    std::vector<Port::String> packages;
    Sim::FamilySupport::GetAvailablePackages(family, ToPort(ui->_comboDevice->currentText()),
                                             packages);
    RefillCombo(ui->_comboPackage, packages);
}

void ProjectOptionsDlg::PopulateSpeedGradeCombo()
{
    Port::String family;
    if (!InternalFamily(family))
        return;
    std::vector<Port::String> grades;
    Sim::FamilySupport::GetAvailableSpeedGrades(family, ToPort(ui->_comboDevice->currentText()),
                                                ToPort(ui->_comboPackage->currentText()), grades);
    RefillCombo(ui->_comboSpeedGrade, grades);
}

void ProjectOptionsDlg::SelectFamily()
{
    Port::String family;
    options.GetDeviceFamily(family);
    ui->_comboFamily->setCurrentIndex(0);
    Port::String visible;
    if (Sim::FamilySupport::GetVisibleFamilyName(family, visible) != 0)
        return;
    const int index = ui->_comboFamily->findText(ToQ(visible));
    if (index >= 0)
        ui->_comboFamily->setCurrentIndex(index);
    else
        ui->_tlFamilyError->setText(CurrentValueText(ToQ(visible)));
}

// Device, package and speed grade are matched ignoring case; a stored value that the list
// no longer offers stays visible in the field's message label.
void ProjectOptionsDlg::SelectPartValue(QComboBox* combo, PartGetter getter, QLabel* message)
{
    Port::String stored;
    (options.*getter)(stored);
    combo->setCurrentIndex(0);
    const QString value = ToQ(stored).toLower();
    for (int index = 0; index < combo->count(); ++index) {
        if (combo->itemText(index).toLower() == value) {
            combo->setCurrentIndex(index);
            return;
        }
    }
    message->setText(CurrentValueText(value));
}

void ProjectOptionsDlg::ComboBoxFamilyChanged()
{
    ui->_tlFamilyError->clear();
    Port::String family;
    if (InternalFamily(family)) {
        options.SetDeviceFamily(family);
        PopulateDeviceCombo();
        SelectPartValue(ui->_comboDevice, &Options::GetDevice, ui->_tlDeviceError);
        ComboBoxDeviceChanged();
        familyChanged = true;
    }
    EnableApply();
}

void ProjectOptionsDlg::ComboBoxDeviceChanged()
{
    ui->_tlDeviceError->clear();
    options.SetDevice(ToPort(ui->_comboDevice->currentText()));
    PopulatePackageCombo();
    SelectPartValue(ui->_comboPackage, &Options::GetPackage, ui->_tlPackageError);
    ComboBoxPackageChanged();
    familyChanged = true;
    EnableApply();
}

void ProjectOptionsDlg::ComboBoxPackageChanged()
{
    ui->_tlPackageError->clear();
    options.SetPackage(ToPort(ui->_comboPackage->currentText()));
    PopulateSpeedGradeCombo();
    SelectPartValue(ui->_comboSpeedGrade, &Options::GetSpeedGrade, ui->_tlSpeedGradeError);
    ComboBoxSpeedGradeChanged();
    familyChanged = true;
    EnableApply();
}

void ProjectOptionsDlg::ComboBoxSpeedGradeChanged()
{
    ui->_tlSpeedGradeError->clear();
    options.SetSpeedGrade(ToPort(ui->_comboSpeedGrade->currentText()));
    familyChanged = true;
    EnableApply();
}

// ---- Design entry, flow vendor and bus format ----

Port::String ProjectOptionsDlg::SelectedDesignEntry() const
{
    if (ui->_rbCustom->isChecked())
        return AdvancedString();
    return ToPort(ui->_comboDesignEntry->currentText());
}

Port::String ProjectOptionsDlg::SelectedFlowVendor() const
{
    return ToPort(ui->_comboVendor->currentText());
}

// The custom choice of output products is what _rbCustom stands for, never a combo item.
void ProjectOptionsDlg::PopulateDesignEntryCombo()
{
    std::vector<Port::String> entries;
    options.GetAvailableVisibleDesignEntries(entries);
    const Port::String advanced = AdvancedString();
    ClearCombo(ui->_comboDesignEntry);
    for (const Port::String& entry : entries) {
        if (entry.Compare(advanced, Port::CompareExact) != 0)
            ui->_comboDesignEntry->addItem(ToQ(entry));
    }
}

void ProjectOptionsDlg::SelectDesignEntry()
{
    Port::String entry;
    options.GetDesignEntry(entry);
    if (entry.Compare(AdvancedString(), Port::CompareExact) == 0) {
        ui->_rbCustom->setChecked(true);
        ui->_comboDesignEntry->setEnabled(false);
    } else {
        ui->_comboDesignEntry->setCurrentIndex(ui->_comboDesignEntry->findText(ToQ(entry)));
        ui->_rbDesignEntry->setChecked(true);
        SetEditable(ui->_comboDesignEntry, true);
    }
    UpdateDesignEntryInfo();
}

void ProjectOptionsDlg::UpdateDesignEntryInfo()
{
    Port::String entry;
    options.GetDesignEntry(entry);
    const QString intro =
        tr("Please refer to the online help for information about compiling behavioral models "
           "using vlibcomp and using ");
    if (entry == Options::DESIGNENTRY_VISIBLE_VHDL)
        ui->_designEntryInfoTextLabel->setText(intro + tr(".VHO (VHDL)") + tr(" templates."));
    else if (entry == Options::DESIGNENTRY_VISIBLE_VERILOG)
        ui->_designEntryInfoTextLabel->setText(intro + tr(".VEO (Verilog)") + tr(" templates."));
    else
        ui->_designEntryInfoTextLabel->clear();
}

void ProjectOptionsDlg::ComboBoxDesignEntryChanged()
{
    const Port::String selected = SelectedDesignEntry();
    if (selected.Compare(AdvancedString(), Port::CompareExact) == 0)
        ui->_comboDesignEntry->setEnabled(false);
    else
        SetEditable(ui->_comboDesignEntry, true);
    options.SetDesignEntry(selected);
    UpdateVendorCombo(selected);
    options.SetFlowVendor(SelectedFlowVendor());
    UpdateNetlistBusFormat();
    UpdateOutputProducts();
    EnableApply();
    SetDefaultSimulationFiles();
    UpdateDesignEntryInfo();
    EnableApply();
}

void ProjectOptionsDlg::UpdateVendorCombo(const Port::String& designEntry)
{
    std::vector<Port::String> vendors;
    Options::GetAvailableVisibleFlowVendors(designEntry, vendors);
    RefillKeepingText(ui->_comboVendor, vendors);
    // The combo's size follows its new contents.
    ui->_comboVendor->setFont(ui->_comboVendor->font());
    ui->_comboVendor->updateGeometry();
    EnableApply();
}

void ProjectOptionsDlg::ComboBoxVendorChanged()
{
    options.SetFlowVendor(SelectedFlowVendor());
    UpdateNetlistBusFormat();
    UpdateOutputProducts();
    EnableApply();
}

// Every vendor but Other fixes its own bus format, so only Other lets the user choose.
void ProjectOptionsDlg::UpdateNetlistBusFormat()
{
    Port::String vendor;
    options.GetFlowVendor(vendor);
    const bool other =
        vendor.Compare(Port::String(Options::FLOWVENDOR_VISIBLE_OTHER), Port::CompareExact) == 0;
    if (other)
        SetEditable(ui->_comboNetlistBusFormat, true);
    else
        ui->_comboNetlistBusFormat->setEnabled(false);
    EnableApply();
    std::vector<Port::String> formats;
    Options::GetAvailableVisibleBusFormats(vendor, formats);
    RefillKeepingText(ui->_comboNetlistBusFormat, formats);
    options.SetBusFormat(ToPort(ui->_comboNetlistBusFormat->currentText()));
    EnableApply();
    UpdateNetlistBusFormatInfo(ui->_comboNetlistBusFormat->currentText());
    EnableApply();
}

void ProjectOptionsDlg::ComboBoxNetlistBusFormatChanged()
{
    options.SetBusFormat(ToPort(ui->_comboNetlistBusFormat->currentText()));
    EnableApply();
}

void ProjectOptionsDlg::UpdateNetlistBusFormatInfo(const QString& text)
{
    for (const char* deprecated :
         {Options::BUSFORMAT_VISIBLE_NONE, Options::BUSFORMAT_VISIBLE_ANGLE,
          Options::BUSFORMAT_VISIBLE_SQUARE, Options::BUSFORMAT_VISIBLE_PAREN}) {
        if (text == QLatin1String(deprecated)) {
            QMessageBox::warning(this, ToQ(Ipu::Utilities::ApplicationName()),
                                 tr("Chosen bus format is deprecated.\n"), QMessageBox::Ok);
            return;
        }
    }
}

// ---- Simulation files and output products ----

std::array<ProjectOptionsDlg::Language, 2> ProjectOptionsDlg::Languages() const
{
    return {{{ui->_rbVHDL, &Options::IsSelectableVHDLSimulationModel,
              &Options::IsRequiredVHDLSimulationModel},
             {ui->_rbVerilog, &Options::IsSelectableVerilogSimulationModel,
              &Options::IsRequiredVerilogSimulationModel}}};
}

void ProjectOptionsDlg::CheckSimulationModel(const Port::String& model)
{
    if (model.Compare(Port::String(Options::STRUCTURAL), Port::CompareIgnoreCase) == 0)
        ui->_rbStructural->setChecked(true);
    else if (model.Compare(Port::String(Options::BEHAVIORAL), Port::CompareIgnoreCase) == 0)
        ui->_rbBehavioural->setChecked(true);
    else if (model.Compare(Port::String(Options::NONE), Port::CompareIgnoreCase) == 0)
        ui->_rbNone->setChecked(true);
}

void ProjectOptionsDlg::PopulateSimulationFiles()
{
    // Read before any radio changes: once connected, a toggle stores the radios' state.
    Port::String model;
    bool vhdl = false;
    bool verilog = false;
    options.GetSimulationFiles(model);
    options.GetVHDLSimulationModel(vhdl);
    options.GetVerilogSimulationModel(verilog);
    CheckSimulationModel(model);
    ui->_rbVHDL->setChecked(vhdl);
    ui->_rbVerilog->setChecked(verilog);
    // Unique: a second SetProjectOptions must not run the handler twice per toggle.
    for (QRadioButton* radio :
         {ui->_rbVHDL, ui->_rbVerilog, ui->_rbBehavioural, ui->_rbNone, ui->_rbStructural})
        connect(radio, &QRadioButton::toggled, this,
                &ProjectOptionsDlg::CheckBoxSimulationFileTypeChanged, Qt::UniqueConnection);
}

void ProjectOptionsDlg::SetDefaultSimulationFiles()
{
    Port::String model;
    options.GetDefaultSimulationFiles(model);
    CheckSimulationModel(model);
    for (const Language& language : Languages()) {
        bool selectable = false;
        bool required = false;
        if ((options.*language.selectable)(selectable) == 0)
            SetEditable(language.radio, selectable);
        if ((options.*language.required)(required) == 0)
            language.radio->setChecked(required);
    }
}

void ProjectOptionsDlg::UpdateSimulationFiles()
{
    SetDefaultSimulationFiles();
}

void ProjectOptionsDlg::CheckBoxSimulationFileTypeChanged()
{
    const char* model = ui->_rbStructural->isChecked()    ? Options::STRUCTURAL
                        : ui->_rbBehavioural->isChecked() ? Options::BEHAVIORAL
                                                          : Options::NONE;
    options.SetSimulationFiles(model);
    for (const Language& language : Languages()) {
        bool required = false;
        bool selectable = false;
        if ((options.*language.required)(required) != 0 ||
            (options.*language.selectable)(selectable) != 0)
            continue;
        if (selectable) {
            SetEditable(language.radio, true);
        } else {
            language.radio->setChecked(required);
            language.radio->setEnabled(false);
        }
    }
    options.SetVHDLSimulationModel(ui->_rbVHDL->isChecked());
    options.SetVerilogSimulationModel(ui->_rbVerilog->isChecked());
    EnableApply();
}

void ProjectOptionsDlg::EnableSimulationFiles()
{
    for (const Language& language : Languages()) {
        bool selectable = false;
        (options.*language.selectable)(selectable);
        SetEditable(language.radio, selectable);
    }
}

void ProjectOptionsDlg::EnableImplementationFiles() {}

void ProjectOptionsDlg::RequireAsySymbolFile(const Port::String& designEntry,
                                             const Port::String& flowVendor)
{
    bool required = false;
    Options::IsRequiredASYSymbolFile(designEntry, flowVendor, required);
    if (required)
        ui->_cbAsySymbolFile->setChecked(true);
    SetEditable(ui->_cbAsySymbolFile, !required);
}

void ProjectOptionsDlg::UpdateOutputProducts()
{
    Port::String vendor;
    Port::String entry;
    options.GetFlowVendor(vendor);
    options.GetDesignEntry(entry);
    for (const Language& language : Languages()) {
        bool selectable = true;
        bool required = false;
        (options.*language.selectable)(selectable);
        (options.*language.required)(required);
        if (!selectable)
            language.radio->setChecked(required);
    }
    RequireAsySymbolFile(entry, vendor);
    options.SetASYSymbolFile(ui->_cbAsySymbolFile->isChecked());
    EnableApply();
}

void ProjectOptionsDlg::EnableOutputProducts()
{
    if (!readOnly)
        RequireAsySymbolFile(SelectedDesignEntry(), SelectedFlowVendor());
}

void ProjectOptionsDlg::CheckBoxAsySymbolFileChanged()
{
    options.SetASYSymbolFile(ui->_cbAsySymbolFile->isChecked());
    EnableApply();
}

void ProjectOptionsDlg::CheckBoxCreateNetlistWrapperIOPadsChanged()
{
    options.SetAddPads(ui->_cbNetlistWrapperIoPads->isChecked());
    EnableApply();
}

void ProjectOptionsDlg::CheckBoxCreateNDFChanged()
{
    options.SetCreateNDF(ui->_cbCreateNdf->isChecked());
    EnableApply();
}

// ---- Temporary directory ----

// Relative to the output directory only when that is an absolute path: anything else
// would resolve against the process's working directory.
Port::String ProjectOptionsDlg::RelativeToOutput(const QString& path) const
{
    Port::String output;
    if (options.GetOutputDirectory(output) != 0 || !QDir::isAbsolutePath(ToQ(output)))
        return ToPort(path);
    return Ipu::Utilities::MakeRelativePath(output, ToPort(path));
}

void ProjectOptionsDlg::TmpDirLineEditChanged(const QString& /*text*/)
{
    directoryText = ui->_leTmpDir->text();
    options.SetWorkingDirectory(RelativeToOutput(directoryText));
    EnableApply();
}

void ProjectOptionsDlg::BrowseClicked()
{
    BrowseDirectoryName(ui->_leTmpDir, tr("Select temporary directory"));
    TmpDirLineEditChanged(ui->_leTmpDir->text());
}

void ProjectOptionsDlg::BrowseDirectoryName(QLineEdit* edit, QString caption)
{
    const QString start = edit->text();
    const QString tested = QDir::isRelativePath(start) && !directoryText.isEmpty()
                               ? directoryText + QDir::separator() + start
                               : start;
    // The directory that was found to exist is the one offered.
    const QString initial = !start.isEmpty() && QFileInfo(tested).isDir() ? tested : QString();
    const QString chosen = QFileDialog::getExistingDirectory(parentWidget(), caption, initial,
                                                             QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return;
    edit->setText(QDir::toNativeSeparators(chosen));
    edit->setStyleSheet(QStringLiteral("color: black"));
}

// ---- Pages and buttons ----

void ProjectOptionsDlg::ChangePage(QTreeWidgetItem* current, QTreeWidgetItem* /*previous*/)
{
    if (current == nullptr)
        return;
    QWidget* const pages[] = {ui->_page_Part, ui->_page_Generation, ui->_page_Advanced};
    for (int index = 0; index < 3; ++index) {
        if (current->text(0) == PageName(index)) {
            ui->_swProjectPage->setCurrentWidget(pages[index]);
            return;
        }
    }
}

// A refused hand-over keeps Apply enabled and says why, rather than dropping the edits as
// though they had been stored.
void ProjectOptionsDlg::Save()
{
    if (!ui->_pbApply->isEnabled())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ProjectManager* manager = ProjectManager::GetInstance();
    const bool stored = manager->SetProjectOptions(options) == 0;
    if (stored)
        manager->SetProjectSaveNeeded(true);
    QApplication::restoreOverrideCursor();
    if (!stored) {
        if (!manager->ProjectOpen())
            EN_MESSAGE("En_ProjectOptionsDlg")
                .issueError("Could not apply project options: no project is open.\n");
        else
            EN_MESSAGE("En_ProjectOptionsDlg")
                .issueError("Could not apply project options: part '%s' is not available.\n",
                            options.GetPelPart().GetFullPartName().c_str());
        return;
    }
    ui->_pbApply->setEnabled(false);
}

void ProjectOptionsDlg::Validate()
{
    Save();
    if (!ui->_pbApply->isEnabled())
        accept();
}

void ProjectOptionsDlg::Help()
{
    Global::ShowHelpTopic(QStringLiteral("gt-dialog-project_options"));
}

}  // namespace En
