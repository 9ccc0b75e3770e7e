#include "Sim_ParameterCheck.h"

#include "Sim_Utility.h"

#include <QtTest>

using Sim::ParameterCheck;

namespace {

Port::String P(const QString& text)
{
    return Sim::Utility::QStringToPortString(text);
}

std::vector<Port::String> P(const QStringList& list)
{
    std::vector<Port::String> result;
    for (const QString& text : list) {
        result.push_back(P(text));
    }
    return result;
}

Ipu::Parameters::Parameter Make(const QString& name, const QString& type, const QString& minimum,
                                const QString& maximum, const QStringList& choices = {},
                                const QStringList& labels = {})
{
    return {P(name), Port::String(), P(type), P(choices), P(minimum), P(maximum), P(labels)};
}

const QString k2To63 = QStringLiteral("9223372036854775808");
const QString k2To64Less1 = QStringLiteral("18446744073709551615");
const QString k2To64Less2 = QStringLiteral("18446744073709551614");
const QString k2To64 = QStringLiteral("18446744073709551616");

}  // namespace

class TestParameterCheck : public QObject {
    Q_OBJECT

private slots:
    void integers_data();
    void integers();
    void otherTypes_data();
    void otherTypes();
    void choices_data();
    void choices();
    void checkAllReportsFirstRefused();
    void componentName_data();
    void componentName();
    void emptyComponentNameRefused();

private:
    void AddColumns();
    void Check();
};

void TestParameterCheck::AddColumns()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<QString>("value");
    // Empty when the value is accepted.
    QTest::addColumn<QString>("reason");
}

void TestParameterCheck::Check()
{
    QFETCH(QString, type);
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(QString, value);
    QFETCH(QString, reason);
    QString got;
    const bool ok = ParameterCheck::CheckValue(Make("W", type, minimum, maximum), P(value), got);
    QVERIFY2(ok == reason.isEmpty(), qPrintable(value + QStringLiteral(" -> ") + got));
    QCOMPARE(got, reason);
}

void TestParameterCheck::integers_data()
{
    AddColumns();
    const QString i = QStringLiteral("int");
    const QString l = QStringLiteral("longint");
    QTest::newRow("zero at minimum 0") << i << "0"
                                       << "64"
                                       << "0"
                                       << "";
    QTest::newRow("minus zero at minimum 0") << i << "0"
                                             << "64"
                                             << "-0"
                                             << "";
    QTest::newRow("below minimum") << i << "1"
                                   << "64"
                                   << "0"
                                   << "W: 0 is below the minimum 1";
    QTest::newRow("at maximum") << i << "1"
                                << "64"
                                << "64"
                                << "";
    QTest::newRow("above maximum") << i << "1"
                                   << "64"
                                   << "70"
                                   << "W: 70 is above the maximum 64";
    QTest::newRow("leading zeros") << i << "1"
                                   << "7"
                                   << "007"
                                   << "";
    QTest::newRow("negative below negative") << i << "-11"
                                             << ""
                                             << "-100"
                                             << "W: -100 is below the minimum -11";
    QTest::newRow("negative at negative") << i << "-11"
                                          << ""
                                          << "-11"
                                          << "";
    QTest::newRow("negative above negative") << i << "-11"
                                             << ""
                                             << "-2"
                                             << "";
    QTest::newRow("letters") << i << ""
                             << ""
                             << "abc"
                             << "W: 'abc' is not an integer";
    QTest::newRow("decimal point") << i << ""
                                   << ""
                                   << "1.0"
                                   << "W: '1.0' is not an integer";
    QTest::newRow("plus sign") << i << ""
                               << ""
                               << "+5"
                               << "W: '+5' is not an integer";
    QTest::newRow("lone minus") << i << ""
                                << ""
                                << "-"
                                << "W: '-' is not an integer";
    QTest::newRow("space") << i << ""
                           << ""
                           << " 5"
                           << "W: ' 5' is not an integer";
    QTest::newRow("empty") << i << ""
                           << ""
                           << ""
                           << "W: a value is required";
    QTest::newRow("type in capitals") << "INT"
                                      << ""
                                      << ""
                                      << "x"
                                      << "W: 'x' is not an integer";
    QTest::newRow("2^63 under 2^63-1")
        << l << "0"
        << "9223372036854775807" << k2To63
        << "W: " + k2To63 + " is above the maximum 9223372036854775807";
    QTest::newRow("2^63 under 2^64-1") << l << "0" << k2To64Less1 << k2To63 << "";
    QTest::newRow("2^64-1 at maximum") << l << "0" << k2To64Less1 << k2To64Less1 << "";
    QTest::newRow("2^64-1 above 2^64-2")
        << l << "0" << k2To64Less2 << k2To64Less1
        << "W: " + k2To64Less1 + " is above the maximum " + k2To64Less2;
    QTest::newRow("2^64 above 2^64-1") << l << "0" << k2To64Less1 << k2To64
                                       << "W: " + k2To64 + " is above the maximum " + k2To64Less1;
    QTest::newRow("2^64 unbounded") << l << ""
                                    << "" << k2To64 << "W: " + k2To64 + " does not fit in 64 bits";
    QTest::newRow("-2^63 unbounded") << l << ""
                                     << ""
                                     << "-9223372036854775808"
                                     << "";
    QTest::newRow("-2^63-1 unbounded") << l << ""
                                       << ""
                                       << "-9223372036854775809"
                                       << "W: -9223372036854775809 does not fit in 64 bits";
    QTest::newRow("broken bound") << i << "0"
                                  << "lots"
                                  << "5"
                                  << "W: the maximum 'lots' is not a number of its type";
}

void TestParameterCheck::integers()
{
    Check();
}

void TestParameterCheck::otherTypes_data()
{
    AddColumns();
    const QString r = QStringLiteral("real");
    QTest::newRow("bit 0") << "bit"
                           << ""
                           << ""
                           << "0"
                           << "";
    QTest::newRow("bit 1") << "bit"
                           << ""
                           << ""
                           << "1"
                           << "";
    QTest::newRow("bit 2") << "bit"
                           << ""
                           << ""
                           << "2"
                           << "W: '2' is not a bit (0 or 1)";
    QTest::newRow("bit empty") << "bit"
                               << ""
                               << ""
                               << ""
                               << "W: a value is required";
    QTest::newRow("bool true") << "bool"
                               << ""
                               << ""
                               << "true"
                               << "";
    QTest::newRow("boolean false") << "boolean"
                                   << ""
                                   << ""
                                   << "false"
                                   << "";
    QTest::newRow("bool 1") << "bool"
                            << ""
                            << ""
                            << "1"
                            << "W: '1' is not a boolean (true or false)";
    QTest::newRow("real inside") << r << "10.0"
                                 << "800.0"
                                 << "100.0"
                                 << "";
    QTest::newRow("real at maximum") << r << "10.0"
                                     << "800.0"
                                     << "800"
                                     << "";
    QTest::newRow("real above maximum") << r << "10.0"
                                        << "800.0"
                                        << "800.5"
                                        << "W: 800.5 is above the maximum 800.0";
    QTest::newRow("real at fractional minimum") << r << "4.69"
                                                << "800.0"
                                                << "4.69"
                                                << "";
    QTest::newRow("real below fractional minimum") << r << "4.69"
                                                   << "800.0"
                                                   << "4.68"
                                                   << "W: 4.68 is below the minimum 4.69";
    QTest::newRow("real exponent") << r << "10.0"
                                   << "800.0"
                                   << "1e3"
                                   << "W: 1e3 is above the maximum 800.0";
    QTest::newRow("real negative") << r << "-1.5"
                                   << ""
                                   << "-1.25"
                                   << "";
    QTest::newRow("real nan") << r << ""
                              << ""
                              << "nan"
                              << "W: 'nan' is not a finite number";
    QTest::newRow("real inf") << r << ""
                              << ""
                              << "inf"
                              << "W: 'inf' is not a finite number";
    QTest::newRow("real overflow") << r << ""
                                   << ""
                                   << "1e400"
                                   << "W: '1e400' is not a finite number";
    QTest::newRow("real comma") << r << ""
                                << ""
                                << "1,5"
                                << "W: '1,5' is not a finite number";
    QTest::newRow("real empty") << r << ""
                                << ""
                                << ""
                                << "W: a value is required";
    QTest::newRow("string empty") << "string"
                                  << ""
                                  << ""
                                  << ""
                                  << "";
    QTest::newRow("string quoted") << "string"
                                   << ""
                                   << ""
                                   << "\"up\""
                                   << "";
    QTest::newRow("untyped anything") << ""
                                      << ""
                                      << ""
                                      << "-x-"
                                      << "";
}

void TestParameterCheck::otherTypes()
{
    Check();
}

void TestParameterCheck::choices_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("reason");
    const QStringList directions = {"up", "down", "updown"};
    const QStringList labels = {"Up", "Down", "Up/Down"};
    const QString allowed = QStringLiteral("is not one of Up, Down, Up/Down");
    QTest::newRow("a choice") << "string" << directions << labels << "down"
                              << "";
    QTest::newRow("not a choice") << "string" << directions << labels << "sideways"
                                  << "DIRECTION: 'sideways' " + allowed;
    QTest::newRow("label is no choice") << "string" << directions << labels << "Up"
                                        << "DIRECTION: 'Up' " + allowed;
    QTest::newRow("quoted choice") << "string" << directions << labels << "\"up\""
                                   << "DIRECTION: '\"up\"' " + allowed;
    QTest::newRow("empty string") << "string" << directions << labels << ""
                                  << "DIRECTION: '' " + allowed;
    QTest::newRow("unlabelled choices shown as values")
        << "int" << QStringList{"8", "16"} << QStringList{"", "Wide"} << "12"
        << "DIRECTION: '12' is not one of 8, Wide";
    QTest::newRow("choice of the wrong type")
        << "int" << QStringList{"8", "x"} << QStringList{} << "x"
        << "DIRECTION: 'x' is not an integer";
}

void TestParameterCheck::choices()
{
    QFETCH(QString, type);
    QFETCH(QStringList, choices);
    QFETCH(QStringList, labels);
    QFETCH(QString, value);
    QFETCH(QString, reason);
    QString got;
    const bool ok =
        ParameterCheck::CheckValue(Make("DIRECTION", type, "", "", choices, labels), P(value), got);
    QVERIFY2(ok == reason.isEmpty(), qPrintable(got));
    QCOMPARE(got, reason);
}

void TestParameterCheck::checkAllReportsFirstRefused()
{
    Ipu::Parameters parameters;
    parameters.Add({"A", "1", "int", {}, "0", "3"});
    parameters.Add({"B", "9", "int", {}, "0", "3"});
    parameters.Add({"C", "x", "bit", {}, "", ""});
    QString reason;
    QVERIFY(!ParameterCheck::CheckAll(parameters, reason));
    QCOMPARE(reason, QStringLiteral("B: 9 is above the maximum 3"));
    parameters.SetValue("B", "2");
    parameters.SetValue("C", "1");
    reason.clear();
    QVERIFY2(ParameterCheck::CheckAll(parameters, reason), qPrintable(reason));
}

void TestParameterCheck::componentName_data()
{
    QTest::addColumn<QString>("name");
    // Empty when the name is accepted.
    QTest::addColumn<QString>("problem");
    QTest::newRow("plain") << "fifo_1"
                           << "";
    QTest::newRow("one letter") << "a"
                                << "";
    QTest::newRow("100 characters") << QString(100, u'a') << "";
    QTest::newRow("101 characters") << QString(101, u'a') << "it is longer than 100 characters";
    QTest::newRow("digit first") << "1fifo"
                                 << "it must start with a letter";
    QTest::newRow("underscore first") << "_fifo"
                                      << "it must start with a letter";
    QTest::newRow("dash") << "my-ip"
                          << "only letters, digits and underscores are allowed";
    QTest::newRow("space") << "my ip"
                           << "only letters, digits and underscores are allowed";
    QTest::newRow("non-ASCII letter") << "größe"
                                      << "only letters, digits and underscores are allowed";
    QTest::newRow("double underscore") << "fifo__a"
                                       << "two underscores in a row are not allowed";
    QTest::newRow("trailing underscore") << "fifo_"
                                         << "it may not end with an underscore";
    const QString keyword = QStringLiteral("it is a keyword of Verilog, SystemVerilog or VHDL");
    QTest::newRow("Verilog keyword") << "module" << keyword;
    QTest::newRow("keyword in capitals") << "MODULE" << keyword;
    QTest::newRow("SystemVerilog keyword") << "always_ff" << keyword;
    QTest::newRow("VHDL keyword mixed case") << "Entity" << keyword;
    QTest::newRow("VHDL-2008 keyword") << "vunit" << keyword;
    QTest::newRow("keyword prefix") << "module1"
                                    << "";
}

void TestParameterCheck::componentName()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    QString reason;
    const bool ok = ParameterCheck::CheckComponentName(P(name), reason);
    QVERIFY2(ok == problem.isEmpty(), qPrintable(reason));
    QCOMPARE(reason, problem.isEmpty()
                         ? QString()
                         : QStringLiteral("Component name '%1': %2").arg(name, problem));
}

void TestParameterCheck::emptyComponentNameRefused()
{
    QString reason;
    QVERIFY(!ParameterCheck::CheckComponentName(Port::String(), reason));
    QCOMPARE(reason, QStringLiteral("Component name: a name is required"));
}

QTEST_GUILESS_MAIN(TestParameterCheck)
#include "tst_parametercheck.moc"
