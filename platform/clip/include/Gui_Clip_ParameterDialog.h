#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_Parameters.h"
#include "Port_StringBase.h"

#include <QDialog>

#include <vector>

class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Gui {
namespace Clip {

// Asks for the name and parameter values of an IP being customized: one field per
// parameter, the reason beside each value the generator would refuse, and OK only while
// every value is acceptable. GUI thread only.
class ParameterDialog : public QDialog {
    Q_OBJECT

public:
    // Shows component's name and values. defaults are what the Defaults button restores
    // (the catalogue's values); takenNames are names the component may not take (other IPs
    // of the project), compared ignoring case as VHDL and most file systems do.
    ParameterDialog(const Ipu::IPComponent& component, const Ipu::Parameters& defaults,
                    const std::vector<Port::String>& takenNames = {}, QWidget* parent = nullptr);
    ~ParameterDialog() override;

    Port::String GetComponentName() const;
    // The component's parameters, each with the value shown.
    Ipu::Parameters GetParameters() const;
    // Every parameter back to its default; the name stays.
    void RestoreDefaults();

private:
    struct Row {
        Ipu::Parameters::Parameter parameter;
        QWidget* field;
        QLabel* reason;
    };

    QDialogButtonBox* MakeButtons();
    void AddNameRow(QFormLayout* form, const Port::String& name);
    void AddParameterRow(QFormLayout* form, const Ipu::Parameters::Parameter& parameter);
    QLabel* AddRow(QFormLayout* form, const QString& label, QWidget* field, const QString& key);
    void AssignMnemonics(QPushButton* defaultsButton);
    QString NameReason() const;
    void Revalidate();

    QLineEdit* nameEdit = nullptr;
    QLabel* nameReason = nullptr;
    QPushButton* okButton = nullptr;
    std::vector<Row> rows;
    std::vector<QLabel*> captions;
    Ipu::Parameters defaults;
    std::vector<Port::String> takenNames;
};

}  // namespace Clip
}  // namespace Gui
