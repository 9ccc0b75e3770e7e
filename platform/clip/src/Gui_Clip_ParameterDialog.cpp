#include "Gui_Clip_ParameterDialog.h"

#include "Gui_Clip_Mnemonics.h"
#include "Sim_ParameterCheck.h"
#include "Sim_Utility.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <optional>

namespace Gui {
namespace Clip {

namespace {

using Kind = Sim::ParameterCheck::ValueKind;
using Parameter = Ipu::Parameters::Parameter;

QString ToQ(const Port::String& text)
{
    return Sim::Utility::PortStringToQString(text);
}

Port::String ToPort(const QString& text)
{
    return Sim::Utility::QStringToPortString(text);
}

std::optional<int> ToInt(const Port::String& text)
{
    bool ok = false;
    const int value = ToQ(text).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// The checked state's text in the type's own spelling.
QString CheckedText(const Parameter& parameter, bool checked)
{
    if (Sim::ParameterCheck::KindOf(parameter.type) == Kind::Boolean) {
        return checked ? QStringLiteral("true") : QStringLiteral("false");
    }
    return checked ? QStringLiteral("1") : QStringLiteral("0");
}

QComboBox* MakeChoiceBox(const Parameter& parameter)
{
    auto* box = new QComboBox;
    for (std::size_t i = 0; i < parameter.choices.size(); ++i) {
        const bool labelled =
            i < parameter.choiceLabels.size() && !parameter.choiceLabels[i].IsEmpty();
        box->addItem(ToQ(labelled ? parameter.choiceLabels[i] : parameter.choices[i]),
                     ToQ(parameter.choices[i]));
    }
    return box;
}

// A spin box only where QSpinBox holds the whole range; wider integers are typed.
QSpinBox* MakeSpinBox(const Parameter& parameter)
{
    const std::optional<int> minimum = ToInt(parameter.minimum);
    const std::optional<int> maximum = ToInt(parameter.maximum);
    if (Sim::ParameterCheck::KindOf(parameter.type) != Kind::Integer || !minimum || !maximum ||
        *minimum > *maximum) {
        return nullptr;
    }
    auto* box = new QSpinBox;
    box->setRange(*minimum, *maximum);
    return box;
}

QWidget* MakeField(const Parameter& parameter)
{
    if (!parameter.choices.empty()) {
        return MakeChoiceBox(parameter);
    }
    if (QSpinBox* box = MakeSpinBox(parameter)) {
        return box;
    }
    const Kind kind = Sim::ParameterCheck::KindOf(parameter.type);
    if (kind == Kind::Bit || kind == Kind::Boolean) {
        return new QCheckBox;
    }
    auto* edit = new QLineEdit;
    if (!parameter.minimum.IsEmpty() || !parameter.maximum.IsEmpty()) {
        edit->setPlaceholderText(
            QStringLiteral("%1 to %2")
                .arg(parameter.minimum.IsEmpty() ? QStringLiteral("…") : ToQ(parameter.minimum),
                     parameter.maximum.IsEmpty() ? QStringLiteral("…") : ToQ(parameter.maximum)));
    }
    return edit;
}

QString FieldValue(const QWidget* field, const Parameter& parameter)
{
    if (const auto* box = qobject_cast<const QComboBox*>(field)) {
        return box->currentIndex() < 0 ? QString() : box->currentData().toString();
    }
    if (const auto* box = qobject_cast<const QSpinBox*>(field)) {
        return QString::number(box->value());
    }
    if (const auto* box = qobject_cast<const QCheckBox*>(field)) {
        return CheckedText(parameter, box->isChecked());
    }
    return qobject_cast<const QLineEdit*>(field)->text();
}

// A value no choice holds leaves the box blank, so that the check refuses it rather than
// the box passing off another choice as the value held.
void SetFieldValue(QWidget* field, const Parameter& parameter, const QString& value)
{
    if (auto* box = qobject_cast<QComboBox*>(field)) {
        box->setCurrentIndex(box->findData(value));
    } else if (auto* box = qobject_cast<QSpinBox*>(field)) {
        box->setValue(value.toInt());
    } else if (auto* box = qobject_cast<QCheckBox*>(field)) {
        box->setChecked(value == CheckedText(parameter, true));
    } else {
        qobject_cast<QLineEdit*>(field)->setText(value);
    }
}

}  // namespace

ParameterDialog::ParameterDialog(const Ipu::IPComponent& component, const Ipu::Parameters& defaults,
                                 const std::vector<Port::String>& takenNames, QWidget* parent)
    : QDialog(parent), defaults(defaults), takenNames(takenNames)
{
    const Port::String shown =
        component.GetDisplayName().IsEmpty() ? component.GetName() : component.GetDisplayName();
    setWindowTitle(tr("Customize %1").arg(ToQ(shown)));
    // Room for a reason beside a value and for long values, at any font size.
    setMinimumWidth(fontMetrics().averageCharWidth() * 72);
    auto* form = new QFormLayout;
    AddNameRow(form, component.GetName());
    for (const Parameter& parameter : component.GetParameters()) {
        AddParameterRow(form, parameter);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MakeButtons());
    AssignMnemonics(findChild<QPushButton*>(QStringLiteral("defaults")));
    Revalidate();
}

QDialogButtonBox* ParameterDialog::MakeButtons()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    okButton = buttons->button(QDialogButtonBox::Ok);
    QPushButton* reset = buttons->addButton(tr("&Defaults"), QDialogButtonBox::ResetRole);
    reset->setObjectName(QStringLiteral("defaults"));
    connect(reset, &QPushButton::clicked, this, &ParameterDialog::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

ParameterDialog::~ParameterDialog() = default;

Port::String ParameterDialog::GetComponentName() const
{
    return ToPort(nameEdit->text());
}

Ipu::Parameters ParameterDialog::GetParameters() const
{
    Ipu::Parameters result;
    for (const Row& row : rows) {
        Parameter parameter = row.parameter;
        parameter.value = ToPort(FieldValue(row.field, row.parameter));
        result.Add(parameter);
    }
    return result;
}

void ParameterDialog::RestoreDefaults()
{
    for (const Row& row : rows) {
        Port::String value;
        if (defaults.GetValue(row.parameter.name, value) == 0) {
            SetFieldValue(row.field, row.parameter, ToQ(value));
        }
    }
    Revalidate();
}

void ParameterDialog::AddNameRow(QFormLayout* form, const Port::String& name)
{
    nameEdit = new QLineEdit(ToQ(name));
    nameEdit->setObjectName(QStringLiteral("componentName"));
    nameReason = AddRow(form, tr("Component Name"), nameEdit, QStringLiteral("componentName"));
    connect(nameEdit, &QLineEdit::textChanged, this, &ParameterDialog::Revalidate);
}

// Labelled by the catalogue's display name, or else by the name the batch language and the
// HDL use.
void ParameterDialog::AddParameterRow(QFormLayout* form, const Parameter& parameter)
{
    QWidget* field = MakeField(parameter);
    SetFieldValue(field, parameter, ToQ(parameter.value));
    field->setObjectName(QStringLiteral("param_") + ToQ(parameter.name));
    const QString label =
        ToQ(parameter.displayName.IsEmpty() ? parameter.name : parameter.displayName);
    QLabel* reason = AddRow(form, label, field, ToQ(parameter.name));
    rows.push_back({parameter, field, reason});
    if (auto* box = qobject_cast<QComboBox*>(field)) {
        connect(box, &QComboBox::currentIndexChanged, this, &ParameterDialog::Revalidate);
    } else if (auto* box = qobject_cast<QSpinBox*>(field)) {
        connect(box, &QSpinBox::valueChanged, this, &ParameterDialog::Revalidate);
    } else if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        connect(edit, &QLineEdit::textChanged, this, &ParameterDialog::Revalidate);
    }
}

// The field with its reason underneath; answers the reason's label, hidden until needed.
QLabel* ParameterDialog::AddRow(QFormLayout* form, const QString& label, QWidget* field,
                                const QString& key)
{
    auto* reason = new QLabel;
    reason->setObjectName(QStringLiteral("reason_") + key);
    reason->setWordWrap(true);
    QPalette palette = reason->palette();
    palette.setColor(QPalette::WindowText, Qt::darkRed);
    reason->setPalette(palette);
    reason->hide();
    auto* cell = new QWidget;
    auto* column = new QVBoxLayout(cell);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(field);
    column->addWidget(reason);
    // A name from the catalogue is shown as written: its "&" is no mnemonic.
    auto* caption = new QLabel(QString(label).replace(u'&', QStringLiteral("&&")));
    caption->setBuddy(field);
    captions.push_back(caption);
    form->addRow(caption, cell);
    return reason;
}

// Every field can be reached from the keyboard, each by a key of its own.
void ParameterDialog::AssignMnemonics(QPushButton* defaultsButton)
{
    QStringList texts{defaultsButton->text()};
    for (const QLabel* caption : captions) {
        texts.append(caption->text());
    }
    texts = Mnemonics::Assign(texts);
    defaultsButton->setText(texts.takeFirst());
    for (std::size_t i = 0; i < captions.size(); ++i) {
        captions[i]->setText(texts[qsizetype(i)]);
    }
}

QString ParameterDialog::NameReason() const
{
    const Port::String name = GetComponentName();
    QString reason;
    if (!Sim::ParameterCheck::CheckComponentName(name, reason)) {
        return reason;
    }
    for (const Port::String& taken : takenNames) {
        if (name.Compare(taken, Port::CompareIgnoreCase) == 0) {
            return tr("Component name '%1' is taken by another IP of the project").arg(ToQ(name));
        }
    }
    return QString();
}

void ParameterDialog::Revalidate()
{
    const QString name = NameReason();
    nameReason->setText(name);
    nameReason->setVisible(!name.isEmpty());
    bool valid = name.isEmpty();
    for (const Row& row : rows) {
        QString reason;
        const bool ok = Sim::ParameterCheck::CheckValue(
            row.parameter, ToPort(FieldValue(row.field, row.parameter)), reason);
        row.reason->setText(ok ? QString() : reason);
        row.reason->setVisible(!ok);
        valid = valid && ok;
    }
    okButton->setEnabled(valid);
}

}  // namespace Clip
}  // namespace Gui
