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
    void defaultsRestoreEveryParameter();
    void customize_data();
    void customize();
};

void TestParameterDialog::fieldPerParameter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("shown");
    QTest::newRow("bounded int") << "WIDTH"
                                 << "QSpinBox"
                                 << "8";
    QTest::newRow("unbounded int") << "DEPTH"
                                   << "QLineEdit"
                                   << "1024";
    QTest::newRow("int beyond int range") << "BIG"
                                          << "QLineEdit"
                                          << "5";
    QTest::newRow("longint to 2^64-1") << "THRESHOLD"
                                       << "QLineEdit"
                                       << "255";
    QTest::newRow("real") << "FREQ"
                          << "QLineEdit"
                          << "100.0";
    QTest::newRow("string choices show labels") << "DIRECTION"
                                                << "QComboBox"
                                                << "Down";
    QTest::newRow("bit choices win over the box") << "LOCKED"
                                                  << "QComboBox"
                                                  << "Enabled";
    QTest::newRow("bit") << "SYNC"
                         << "QCheckBox"
                         << "checked";
    QTest::newRow("bool") << "FLAG"
                          << "QCheckBox"
                          << "checked";
    QTest::newRow("free string") << "NOTE"
                                 << "QLineEdit"
                                 << "hello";
}

void TestParameterDialog::fieldPerParameter()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, shown);
    const Ipu::IPComponent component = MakeComponent(false);
    ParameterDialog dialog(component, MakeComponent(true).GetParameters());
    const auto* field = dialog.findChild<QWidget*>(QStringLiteral("param_") + name);
    QVERIFY2(field != nullptr, qPrintable(name));
    QCOMPARE(QString::fromLatin1(field->metaObject()->className()), kind);
    QCOMPARE(Shown(field), shown);
    QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("reason_") + name)->isHidden());
    QVERIFY(OkButton(dialog)->isEnabled());
    // Untouched fields must hand back the values exactly, not their display form.
    Port::String value;
    QCOMPARE(dialog.GetParameters().GetValue(name.toStdString(), value), 0u);
    QCOMPARE(QString::fromStdString(value.str()), Value(component, qPrintable(name)));
}

void TestParameterDialog::invalidValueShowsReason_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("reasonName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::newRow("2^64")
        << "param_THRESHOLD"
        << "reason_THRESHOLD"
        << "18446744073709551616"
        << "THRESHOLD: 18446744073709551616 is above the maximum 18446744073709551615";
    QTest::newRow("real") << "param_FREQ"
                          << "reason_FREQ"
                          << "fast"
                          << "FREQ: 'fast' is not a finite number";
    QTest::newRow("bad name") << "componentName"
                              << "reason_componentName"
                              << "my-ip"
                              << "Component name 'my-ip': only letters, digits and "
                                 "underscores are allowed";
    QTest::newRow("no name") << "componentName"
                             << "reason_componentName"
                             << ""
                             << "Component name: a name is required";
    QTest::newRow("taken name, other case")
        << "componentName"
        << "reason_componentName"
        << "Other_IP"
        << "Component name 'Other_IP' is taken by another IP of the project";
}

void TestParameterDialog::invalidValueShowsReason()
{
    QFETCH(QString, field);
    QFETCH(QString, reasonName);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    ParameterDialog dialog(MakeComponent(false), MakeComponent(true).GetParameters(), {"other_ip"});
    auto* edit = dialog.findChild<QLineEdit*>(field);
    const auto* label = dialog.findChild<QLabel*>(reasonName);
    const QString valid = edit->text();
    edit->setText(text);
    QVERIFY(!label->isHidden());
    QCOMPARE(label->text(), reason);
    QVERIFY(!OkButton(dialog)->isEnabled());
    edit->setText(valid);
    QVERIFY(label->isHidden());
    QVERIFY(OkButton(dialog)->isEnabled());
}

void TestParameterDialog::defaultsRestoreEveryParameter()
{
    const Ipu::Parameters defaults = MakeComponent(true).GetParameters();
    ParameterDialog dialog(MakeComponent(false), defaults);
    dialog.findChild<QLineEdit*>("param_FREQ")->setText("oops");
    dialog.findChild<QPushButton*>("defaults")->click();
    for (const Ipu::Parameters::Parameter& parameter : dialog.GetParameters()) {
        Port::String expected;
        defaults.GetValue(parameter.name, expected);
        QVERIFY2(parameter.value == expected,
                 qPrintable(QString::fromStdString(parameter.name.str() + " is " +
                                                   parameter.value.str())));
    }
    QCOMPARE(dialog.GetComponentName().str(), std::string("widget_0"));
    QVERIFY(OkButton(dialog)->isEnabled());
}

void TestParameterDialog::customize_data()
{
    QTest::addColumn<bool>("fromWorker");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("direction");
    QTest::newRow("worker accepts") << true << "edit" << true << "renamed"
                                    << "16"
                                    << "updown";
    QTest::newRow("worker cancels") << true << "cancel" << false << "widget_0"
                                    << "8"
                                    << "down";
    QTest::newRow("worker takes catalogue defaults") << true << "defaults" << true << "widget_0"
                                                     << "32"
                                                     << "up";
    QTest::newRow("GUI thread accepts") << false << "edit" << true << "renamed"
                                        << "16"
                                        << "updown";
}

void TestParameterDialog::customize()
{
    QFETCH(bool, fromWorker);
    QFETCH(QString, action);
    QFETCH(bool, accepted);
    QFETCH(QString, name);
    QFETCH(QString, width);
    QFETCH(QString, direction);
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
            dialog->findChild<QPushButton*>("defaults")->click();
            OkButton(*dialog)->click();
        } else {
            dialog->findChild<QLineEdit*>("componentName")->setText("renamed");
            dialog->findChild<QSpinBox*>("param_WIDTH")->setValue(16);
            dialog->findChild<QComboBox*>("param_DIRECTION")->setCurrentIndex(2);
            OkButton(*dialog)->click();
        }
    });
    driver.start();
    Gui::Clip::DialogCustomizer customizer;
    std::atomic<bool> done{false};
    bool result = !accepted;
    const auto run = [&] {
        result = customizer.Customize(component, Ipu::ProjectOptions(), {"other_ip"});
        done = true;
    };
    std::thread worker;
    if (fromWorker) {
        worker = std::thread(run);
    } else {
        run();
    }
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
    if (worker.joinable()) {
        worker.join();
    }
    QCOMPARE(title, QStringLiteral("Customize Test Widget"));
    QCOMPARE(result, accepted);
    QCOMPARE(QString::fromStdString(component.GetName().str()), name);
    QCOMPARE(Value(component, "WIDTH"), width);
    QCOMPARE(Value(component, "DIRECTION"), direction);
    QCOMPARE(Value(component, "NOTE"), action == u"defaults" ? QString() : QStringLiteral("hello"));
}

QTEST_MAIN(TestParameterDialog)
#include "tst_parameterdialog.moc"
