#include "Sim_ParameterCheck.h"

#include "Sim_Utility.h"

#include <QtTest>

using Sim::ParameterCheck;

namespace {

// One value of a parameter W; reason is empty when the value is accepted.
struct ValueCase {
    const char* tag;
    const char* type;
    const char* minimum;
    const char* maximum;
    const char* value;
    const char* reason;
};

const ValueCase kValueCases[] = {
    {"zero at minimum 0", "int", "0", "64", "0", ""},
    {"below minimum", "int", "1", "64", "0", "W: 0 is below the minimum 1"},
    {"at maximum", "int", "1", "64", "64", ""},
    {"above maximum", "int", "1", "64", "70", "W: 70 is above the maximum 64"},
    {"leading zeros", "int", "1", "7", "007", ""},
    {"more negative digits", "int", "-11", "", "-100", "W: -100 is below the minimum -11"},
    {"negative inside", "int", "-11", "", "-2", ""},
    {"letters", "int", "", "", "abc", "W: 'abc' is not an integer"},
    {"decimal point", "int", "", "", "1.0", "W: '1.0' is not an integer"},
    {"lone minus", "int", "", "", "-", "W: '-' is not an integer"},
    {"space", "INT", "", "", " 5", "W: ' 5' is not an integer"},
    {"empty", "int", "", "", "", "W: a value is required"},
    {"2^63 above 2^63-1", "longint", "0", "9223372036854775807", "9223372036854775808",
     "W: 9223372036854775808 is above the maximum 9223372036854775807"},
    {"2^63 below 2^64-1", "longint", "0", "18446744073709551615", "9223372036854775808", ""},
    {"2^64-1 at maximum", "longint", "0", "18446744073709551615", "18446744073709551615", ""},
    {"2^64-1 above 2^64-2", "longint", "0", "18446744073709551614", "18446744073709551615",
     "W: 18446744073709551615 is above the maximum 18446744073709551614"},
    {"2^64 above 2^64-1", "longint", "0", "18446744073709551615", "18446744073709551616",
     "W: 18446744073709551616 is above the maximum 18446744073709551615"},
    {"2^64 unbounded", "longint", "", "", "18446744073709551616",
     "W: 18446744073709551616 does not fit in 64 bits"},
    {"-2^63 unbounded", "longint", "", "", "-9223372036854775808", ""},
    {"-2^63-1 unbounded", "longint", "", "", "-9223372036854775809",
     "W: -9223372036854775809 does not fit in 64 bits"},
    {"broken bound", "int", "0", "lots", "5", "W: the maximum 'lots' is not a number of its type"},
    {"bit 2", "bit", "", "", "2", "W: '2' is not a bit (0 or 1)"},
    {"boolean 1", "boolean", "", "", "1", "W: '1' is not a boolean (true or false)"},
    {"real at maximum", "real", "10.0", "800.0", "800", ""},
    {"real above maximum", "real", "10.0", "800.0", "800.5", "W: 800.5 is above the maximum 800.0"},
    {"real below fractional minimum", "real", "4.69", "", "4.68",
     "W: 4.68 is below the minimum 4.69"},
    {"real exponent", "real", "", "800.0", "1e3", "W: 1e3 is above the maximum 800.0"},
    {"real nan", "real", "", "", "nan", "W: 'nan' is not a finite number"},
    {"real overflow", "real", "", "", "1e400", "W: '1e400' is not a finite number"},
    {"real empty", "real", "", "", "", "W: a value is required"},
    {"string empty", "string", "", "", "", ""},
    {"untyped anything", "", "", "", "-x-", ""},
};

// A value of DIRECTION, whose choices are up, down and updown labelled Up, Down, Up/Down.
struct ChoiceCase {
    const char* tag;
    const char* value;
    const char* reason;
};

const ChoiceCase kChoiceCases[] = {
    {"a choice", "down", ""},
    {"not a choice", "sideways", "DIRECTION: 'sideways' is not one of Up, Down, Up/Down"},
    {"a label", "Up", "DIRECTION: 'Up' is not one of Up, Down, Up/Down"},
    {"quoted choice", "\"up\"", "DIRECTION: '\"up\"' is not one of Up, Down, Up/Down"},
    {"empty", "", "DIRECTION: '' is not one of Up, Down, Up/Down"},
};

// problem is empty when the name is accepted.
struct NameCase {
    const char* tag;
    const char* name;
    const char* problem;
};

const char* const kKeyword = "it is a keyword of Verilog, SystemVerilog or VHDL";
const char* const kCharacters = "only letters, digits and underscores are allowed";
const NameCase kNameCases[] = {
    {"plain", "fifo_1", ""},
    {"digit first", "1fifo", "it must start with a letter"},
    {"underscore first", "_fifo", "it must start with a letter"},
    {"dash", "my-ip", kCharacters},
    {"non-ASCII letter",
     "gr\xC3\xB6\xC3\x9F"
     "e",
     kCharacters},
    {"double underscore", "fifo__a", "two underscores in a row are not allowed"},
    {"trailing underscore", "fifo_", "it may not end with an underscore"},
    {"Verilog keyword in capitals", "MODULE", kKeyword},
    {"SystemVerilog keyword", "always_ff", kKeyword},
    {"VHDL keyword mixed case", "Entity", kKeyword},
    {"keyword prefix", "module1", ""},
};

}  // namespace

class TestParameterCheck : public QObject {
    Q_OBJECT

private slots:
    void checkValue_data();
    void checkValue();
    void choices_data();
    void choices();
    void checkAllReportsFirstRefused();
    void componentName_data();
    void componentName();
};

void TestParameterCheck::checkValue_data()
{
    QTest::addColumn<ValueCase>("c");
    for (const ValueCase& c : kValueCases) {
        QTest::newRow(c.tag) << c;
    }
}

void TestParameterCheck::checkValue()
{
    QFETCH(ValueCase, c);
    QString reason;
    const bool ok =
        ParameterCheck::CheckValue({"W", "", c.type, {}, c.minimum, c.maximum}, c.value, reason);
    QVERIFY2(ok == !*c.reason, qPrintable(reason));
    QCOMPARE(reason, QString::fromUtf8(c.reason));
}

void TestParameterCheck::choices_data()
{
    QTest::addColumn<ChoiceCase>("c");
    for (const ChoiceCase& c : kChoiceCases) {
        QTest::newRow(c.tag) << c;
    }
}

void TestParameterCheck::choices()
{
    QFETCH(ChoiceCase, c);
    const Ipu::Parameters::Parameter direction{
        "DIRECTION", "", "string", {"up", "down", "updown"}, "", "", {"Up", "Down", "Up/Down"}};
    QString reason;
    QVERIFY2(ParameterCheck::CheckValue(direction, c.value, reason) == !*c.reason,
             qPrintable(reason));
    QCOMPARE(reason, QString::fromUtf8(c.reason));
}

void TestParameterCheck::checkAllReportsFirstRefused()
{
    Ipu::Parameters parameters;
    parameters.Add({"A", "1", "int", {}, "0", "3"});
    parameters.Add({"B", "9", "int", {}, "0", "3"});
    parameters.Add({"C", "x", "bit", {}, "", ""});
    parameters.Add({"D", "12", "int", {"8", "16"}, "", "", {"", "Wide"}});
    QString reason;
    QVERIFY(!ParameterCheck::CheckAll(parameters, reason));
    QCOMPARE(reason, QStringLiteral("B: 9 is above the maximum 3"));
    parameters.SetValue("B", "2");
    QVERIFY(!ParameterCheck::CheckAll(parameters, reason));
    QCOMPARE(reason, QStringLiteral("C: 'x' is not a bit (0 or 1)"));
    parameters.SetValue("C", "1");
    // Unlabelled choices are listed as themselves.
    QVERIFY(!ParameterCheck::CheckAll(parameters, reason));
    QCOMPARE(reason, QStringLiteral("D: '12' is not one of 8, Wide"));
    parameters.SetValue("D", "16");
    QVERIFY2(ParameterCheck::CheckAll(parameters, reason), qPrintable(reason));
}

void TestParameterCheck::componentName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    for (const NameCase& c : kNameCases) {
        const QString name = QString::fromUtf8(c.name);
        QTest::newRow(c.tag) << name
                             << (*c.problem ? QStringLiteral("Component name '%1': %2")
                                                  .arg(name, QString::fromUtf8(c.problem))
                                            : QString());
    }
    QTest::newRow("100 characters") << QString(100, u'a') << QString();
    QTest::newRow("101 characters")
        << QString(101, u'a')
        << "Component name '" + QString(101, u'a') + "': it is longer than 100 characters";
    QTest::newRow("empty") << QString() << "Component name: a name is required";
}

void TestParameterCheck::componentName()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QString got;
    const bool ok =
        ParameterCheck::CheckComponentName(Sim::Utility::QStringToPortString(name), got);
    QVERIFY2(ok == reason.isEmpty(), qPrintable(got));
    QCOMPARE(got, reason);
}

QTEST_GUILESS_MAIN(TestParameterCheck)
#include "tst_parametercheck.moc"
