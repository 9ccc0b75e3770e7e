#pragma once

#include <QDialog>
#include <QMetaType>
#include <QString>

#include <array>
#include <memory>

#include "Ipu_ProjectOptions.h"
#include "Port_StringBase.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTreeWidgetItem;

namespace Ui {
class ProjectOptionsUi;
}

namespace En {

// The modal dialog in which the user edits the open project's options. It edits its own
// copy: every change goes into the copy at once and the dependent widgets are re-derived
// from it; the copy reaches the project manager only through OK or Apply. Read-only (fixed
// at construction) shows the options without letting them change. GUI thread only.
class ProjectOptionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit ProjectOptionsDlg(bool readOnly = false, QWidget* parent = nullptr);
    ~ProjectOptionsDlg() override;

    Ipu::ProjectOptions GetProjectOptions() const;
    // Whether the user changed the part since the last SetProjectOptions.
    bool GetFamilyChanged() const;
    // Always false: nothing in the dialog changes the output directory.
    bool GetOutputDirectoryChanged() const;

signals:
    void saveRequested();

public slots:
    // Shows options; a freshly shown dialog has nothing to apply.
    void SetProjectOptions(const Ipu::ProjectOptions& options);
    // The working directory, made relative to the options' output directory.
    void SetWorkingDirectory(const QString& dir);

private slots:
    void ChangePage(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void UpdateNetlistBusFormatInfo(const QString& text);
    void Validate();
    void Save();
    void ComboBoxFamilyChanged();
    void ComboBoxDeviceChanged();
    void ComboBoxPackageChanged();
    void ComboBoxSpeedGradeChanged();
    void ComboBoxDesignEntryChanged();
    void ComboBoxVendorChanged();
    void ComboBoxNetlistBusFormatChanged();
    void UpdateNetlistBusFormat();
    void UpdateSimulationFiles();
    void UpdateOutputProducts();
    void EnableImplementationFiles();
    void EnableSimulationFiles();
    void EnableOutputProducts();
    void CheckBoxAsySymbolFileChanged();
    void CheckBoxSimulationFileTypeChanged();
    void CheckBoxCreateNetlistWrapperIOPadsChanged();
    void CheckBoxCreateNDFChanged();
    void BrowseClicked();
    void BrowseDirectoryName(QLineEdit* edit, QString caption);
    void Help();
    void TmpDirLineEditChanged(const QString& text);

private:
    // A simulation language's radio and the options' answers about it.
    struct Language {
        QRadioButton* radio;
        unsigned (Ipu::ProjectOptions::*selectable)(bool&) const;
        unsigned (Ipu::ProjectOptions::*required)(bool&) const;
    };
    using PartGetter = unsigned (Ipu::ProjectOptions::*)(Port::String&) const;

    static QString PageName(int index);
    void Connect();
    void MakeReadOnly();
    void EnableApply();
    // Sets the enabled state, except in read-only mode, where every edit widget stays disabled.
    void SetEditable(QWidget* widget, bool editable);
    void InitialiseProjectOptions();
    void InitialiseFlowSettings();
    bool InternalFamily(Port::String& family) const;
    void PopulateFamilyCombo();
    void PopulateDeviceCombo();
    void PopulatePackageCombo();
    void PopulateSpeedGradeCombo();
    void SelectFamily();
    void SelectPartValue(QComboBox* combo, PartGetter getter, QLabel* message);
    Port::String SelectedDesignEntry() const;
    Port::String SelectedFlowVendor() const;
    void PopulateDesignEntryCombo();
    void SelectDesignEntry();
    void UpdateDesignEntryInfo();
    void UpdateVendorCombo(const Port::String& designEntry);
    // VHDL, then Verilog.
    std::array<Language, 2> Languages() const;
    void CheckSimulationModel(const Port::String& model);
    void PopulateSimulationFiles();
    void SetDefaultSimulationFiles();
    void RequireAsySymbolFile(const Port::String& designEntry, const Port::String& flowVendor);
    Port::String RelativeToOutput(const QString& path) const;

    bool familyChanged = false;
    Ipu::ProjectOptions options;
    bool outputDirectoryChanged = false;
    QString directoryText;
    std::unique_ptr<Ui::ProjectOptionsUi> ui;
    const bool readOnly;
};

}  // namespace En

Q_DECLARE_METATYPE(Ipu::ProjectOptions)
