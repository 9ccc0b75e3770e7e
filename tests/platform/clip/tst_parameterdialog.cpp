#include "Gui_Clip_DialogCustomizer.h"
#include "Gui_Clip_ParameterDialog.h"

#include "Ipu_ElementIndex.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include <boost/make_shared.hpp>

#include <atomic>
#include <thread>

using Gui::Clip::ParameterDialog;

namespace {

const char* const kCatalogID = "pellor:test:widget:1.0";

// A customized component as the project holds it, or (catalogue) the entry it was made from.
Ipu::IPComponent MakeComponent(bool catalogue)
{
    Ipu::Parameters list;
    const auto add = [&](const char* name, const char* shown, const char* initial, const char* type,
                         const char* minimum = "", const char* maximum = "",
                         std::vector<Port::String> choices = {},
                         std::vector<Port::String> labels = {}) {
        list.Add({name, catalogue ? initial : shown, type, choices, minimum, maximum, labels});
    };
    add("WIDTH", "8", "32", "int", "1", "64");
    add("DEPTH", "1024", "16", "int");
    add("BIG", "5", "7", "int", "0", "3000000000");
    add("THRESHOLD", "255", "18446744073709551615", "longint", "0", "18446744073709551615");
    add("FREQ", "100.0", "200.0", "real", "10.0", "800.0");
    add("DIRECTION", "down", "up", "string", "", "", {"up", "down", "updown"},
        {"Up", "Down", "Up/Down"});
    add("LOCKED", "1", "0", "bit", "", "", {"0", "1"}, {"Disabled", "Enabled"});
    add("SYNC", "1", "0", "bit");
    add("FLAG", "true", "false", "bool");
    add("NOTE", "hello", "", "string");
    Ipu::IPComponent component;
    component.SetName(catalogue ? "widget" : "widget_0");
    component.SetDisplayName("Test Widget");
    component.SetUniqueID(catalogue ? kCatalogID : "widget_0-id");
    component.SetUnconfiguredID(kCatalogID);
    component.SetParameters(list);
    return component;
}

struct FieldCase {
    const char* tag;
    const char* name;
    const char* kind;
    const char* shown;
};

const FieldCase kFieldCases[] = {
    {"bounded int", "WIDTH", "QSpinBox", "8"},
    {"unbounded int", "DEPTH", "QLineEdit", "1024"},
    {"int beyond int range", "BIG", "QLineEdit", "5"},
    {"longint to 2^64-1", "THRESHOLD", "QLineEdit", "255"},
    {"real", "FREQ", "QLineEdit", "100.0"},
    {"string choices show labels", "DIRECTION", "QComboBox", "Down"},
    {"bit choices win over the box", "LOCKED", "QComboBox", "Enabled"},
    {"bit", "SYNC", "QCheckBox", "checked"},
    {"bool", "FLAG", "QCheckBox", "checked"},
    {"free string", "NOTE", "QLineEdit", "hello"},
};

// key is the parameter's name or componentName.
struct ReasonCase {
    const char* tag;
    const char* key;
    const char* text;
    const char* reason;
};

const ReasonCase kReasonCases[] = {
    {"2^64", "THRESHOLD", "18446744073709551616",
     "THRESHOLD: 18446744073709551616 is above the maximum 18446744073709551615"},
    {"real", "FREQ", "fast", "FREQ: 'fast' is not a finite number"},
    {"bad name", "componentName", "my-ip",
     "Component name 'my-ip': only letters, digits and underscores are allowed"},
    {"no name", "componentName", "", "Component name: a name is required"},
    {"taken name, other case", "componentName", "Other_IP",
     "Component name 'Other_IP' is taken by another IP of the project"},
};

// What the dialog driver does ("edit", "cancel" or "defaults"), and the component after.
struct CustomizeCase {
    const char* tag;
    bool fromWorker;
    const char* action;
    bool accepted;
    const char* name;
};

const CustomizeCase kCustomizeCases[] = {
    {"worker accepts", true, "edit", true, "renamed"},
    {"worker cancels", true, "cancel", false, "widget_0"},
    {"worker takes catalogue defaults", true, "defaults", true, "widget_0"},
    {"GUI thread accepts", false, "edit", true, "renamed"},
};

// What a field shows, whatever its kind.
QString Shown(const QWidget* field)
{
    if (const auto* box = qobject_cast<const QComboBox*>(field)) {
        return box->currentText();
    }
    if (const auto* box = qobject_cast<const QSpinBox*>(field)) {
        return QString::number(box->value());
    }
    if (const auto* box = qobject_cast<const QCheckBox*>(field)) {
        return box->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    }
    return qobject_cast<const QLineEdit*>(field)->text();
}

QPushButton* OkButton(const QDialog& dialog)
{
    return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

// Accepts when OK allows it; otherwise cancels, so that a fault fails the test, not hangs it.
void Finish(QDialog& dialog)
{
    OkButton(dialog)->isEnabled() ? OkButton(dialog)->click() : dialog.reject();
}

QString Value(const Ipu::IPComponent& component, const char* name)
{
    Port::String value;
    component.GetParameters().GetValue(name, value);
    return QString::fromStdString(value.str());
}

}  // namespace

class TestParameterDialog : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Ipu::ElementIndex::RemoveElement(kCatalogID); }
    void fieldPerParameter_data();
    void fieldPerParameter();
    void invalidValueShowsReason_data();
    void invalidValueShowsReason();
    void customize_data();
    void customize();
};

void TestParameterDialog::fieldPerParameter_data()
{
    QTest::addColumn<FieldCase>("c");
    for (const FieldCase& c : kFieldCases) {
        QTest::newRow(c.tag) << c;
    }
}

void TestParameterDialog::fieldPerParameter()
{
    QFETCH(FieldCase, c);
    const QString name = QString::fromLatin1(c.name);
    const Ipu::IPComponent component = MakeComponent(false);
    ParameterDialog dialog(component, MakeComponent(true).GetParameters());
    const auto* field = dialog.findChild<QWidget*>(QStringLiteral("param_") + name);
    QVERIFY2(field != nullptr, qPrintable(name));
    QCOMPARE(QString::fromLatin1(field->metaObject()->className()), QString::fromLatin1(c.kind));
    QCOMPARE(Shown(field), QString::fromUtf8(c.shown));
    QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("reason_") + name)->isHidden());
    QVERIFY(OkButton(dialog)->isEnabled());
    // Untouched fields must hand back the values exactly, not their display form.
    Port::String value;
    QCOMPARE(dialog.GetParameters().GetValue(name.toStdString(), value), 0u);
    QCOMPARE(QString::fromStdString(value.str()), Value(component, qPrintable(name)));
}

void TestParameterDialog::invalidValueShowsReason_data()
{
    QTest::addColumn<ReasonCase>("c");
    for (const ReasonCase& c : kReasonCases) {
        QTest::newRow(c.tag) << c;
    }
}

void TestParameterDialog::invalidValueShowsReason()
{
    QFETCH(ReasonCase, c);
    const QString key = QString::fromLatin1(c.key);
    ParameterDialog dialog(MakeComponent(false), MakeComponent(true).GetParameters(), {"other_ip"});
    auto* edit = dialog.findChild<QLineEdit*>(key == u"componentName" ? key : "param_" + key);
    const auto* label = dialog.findChild<QLabel*>("reason_" + key);
    const QString valid = edit->text();
    edit->setText(QString::fromLatin1(c.text));
    QVERIFY(!label->isHidden());
    QCOMPARE(label->text(), QString::fromLatin1(c.reason));
    QVERIFY(!OkButton(dialog)->isEnabled());
    edit->setText(valid);
    QVERIFY(label->isHidden());
    QVERIFY(OkButton(dialog)->isEnabled());
}

void TestParameterDialog::customize_data()
{
    QTest::addColumn<CustomizeCase>("c");
    for (const CustomizeCase& c : kCustomizeCases) {
        QTest::newRow(c.tag) << c;
    }
}

void TestParameterDialog::customize()
{
    QFETCH(CustomizeCase, c);
    const QLatin1String action(c.action);
    // The catalogue entry supplies the defaults, not the values the component holds.
    QCOMPARE(
        Ipu::ElementIndex::AddElement(boost::make_shared<Ipu::IPComponent>(MakeComponent(true))),
        0u);
    Ipu::IPComponent component = MakeComponent(false);
    QString title;
    QTimer driver;
    driver.setInterval(10);
    connect(&driver, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<ParameterDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        driver.stop();
        title = dialog->windowTitle();
        if (action == u"cancel") {
            dialog->findChild<QLineEdit*>("componentName")->setText("renamed");
            dialog->reject();
        } else if (action == u"defaults") {
            dialog->findChild<QLineEdit*>("param_FREQ")->setText("oops");
            dialog->findChild<QPushButton*>("defaults")->click();
            Finish(*dialog);
        } else {
            dialog->findChild<QLineEdit*>("componentName")->setText("renamed");
            dialog->findChild<QSpinBox*>("param_WIDTH")->setValue(16);
            dialog->findChild<QComboBox*>("param_DIRECTION")->setCurrentIndex(2);
            Finish(*dialog);
        }
    });
    driver.start();
    Gui::Clip::DialogCustomizer customizer;
    std::atomic<bool> done{false};
    bool result = !c.accepted;
    const auto run = [&] {
        result = customizer.Customize(component, Ipu::ProjectOptions(), {"other_ip"});
        done = true;
    };
    std::thread worker;
    if (c.fromWorker) {
        worker = std::thread(run);
    } else {
        run();
    }
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
    if (worker.joinable()) {
        worker.join();
    }
    QCOMPARE(title, QStringLiteral("Customize Test Widget"));
    QCOMPARE(result, c.accepted);
    QCOMPARE(QString::fromStdString(component.GetName().str()), QString::fromLatin1(c.name));
    if (action == u"edit") {
        QCOMPARE(Value(component, "WIDTH"), QStringLiteral("16"));
        QCOMPARE(Value(component, "DIRECTION"), QStringLiteral("updown"));
        return;
    }
    // Cancelled: untouched. Defaults: every kind of field takes the catalogue entry's value.
    const Ipu::IPComponent expected = MakeComponent(action == u"defaults");
    for (const Ipu::Parameters::Parameter& parameter : expected.GetParameters()) {
        QCOMPARE(Value(component, parameter.name.c_str()),
                 QString::fromStdString(parameter.value.str()));
    }
}

QTEST_MAIN(TestParameterDialog)
#include "tst_parameterdialog.moc"
