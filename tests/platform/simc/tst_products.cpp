#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Utilities.h"
#include "SimC_Products.h"
#include "Sim_CatalogReader.h"
#include "TestFiles.h"
#include "TestTools.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <map>

// The products of customized IPs, checked where it counts: every catalogue IP's wrapper
// compiles with its core under Icarus Verilog and GHDL, simulated wrappers show the
// customized values at work, and the .gtc file replays into the same options.

namespace {

using Component = boost::shared_ptr<Ipu::IPComponent>;
using Step = unsigned (SimC::Products::*)(QString&);

const char* const Counter = "counter/counter_binary/counter_binary_v1_1.xml";

QString Q(const Port::String& text)
{
    return QString::fromStdString(text.str());
}

Port::String P(const QString& text)
{
    return Port::String(text.toStdString());
}

// A customization of ip named name, "NAME=value" items over its defaults; why not, or empty.
QString Customize(const Ipu::IPComponent& ip, const QString& name, const QStringList& values,
                  Component& out)
{
    out.reset(new Ipu::IPComponent(ip));
    out->SetName(P(name));
    for (const QString& item : values) {
        const qsizetype eq = item.indexOf(u'=');
        if (out->GetParameters().SetValue(P(item.left(eq)), P(item.mid(eq + 1))) != 0) {
            return QStringLiteral("no parameter %1").arg(item.left(eq));
        }
    }
    return QString();
}

Ipu::ProjectOptions Options(const QString& entry)
{
    Ipu::ProjectOptions options;
    options.SetDesignEntry(P(entry));
    return options;
}

// Every product, in the order a generator chain writes them; the first failure's reason.
QString WriteAll(SimC::Products& products)
{
    using P = SimC::Products;
    for (const Step step : {&P::WriteHdl, &P::WriteTemplate, &P::WriteGtc, &P::WriteAsy,
                            &P::WriteResourceReport, &P::WriteFileList}) {
        QString reason;
        if ((products.*step)(reason) != 0) {
            return reason.isEmpty() ? QStringLiteral("failed without a reason") : reason;
        }
    }
    return QString();
}

// Each parameter at its minimum (or first choice), or at its maximum (or last choice).
QStringList Extremes(const Ipu::IPComponent& ip, bool maximum)
{
    QStringList values;
    for (const Ipu::Parameters::Parameter& parameter : ip.GetParameters()) {
        const Port::String bound = maximum ? parameter.maximum : parameter.minimum;
        if (!parameter.choices.empty()) {
            const Port::String& choice =
                maximum ? parameter.choices.back() : parameter.choices.front();
            values << Q(parameter.name) + u'=' + Q(choice);
        } else if (!bound.IsEmpty()) {
            values << Q(parameter.name) + u'=' + Q(bound);
        }
    }
    return values;
}

// A port whose width differs from the core's is only a warning to Icarus: any warning fails.
QString CompileVerilog(const QString& dir, const QString& top, const QStringList& files)
{
    const QString iverilog = TestTools::find("iverilog", "iverilog");
    QStringList arguments{"-g2012", "-o", QDir(dir).filePath("out.vvp"), "-s", top};
    const TestTools::Run run = TestTools::execute(iverilog, arguments + files, dir);
    return run.ok && !run.output.contains(QLatin1String("warning")) ? QString() : run.output;
}

// The cores before the wrapper that binds them. Running the wrapper for no time checks the
// generics against the cores' ranges and every port's width against the core's.
QString CompileVhdl(const QString& dir, const QString& top, const QStringList& files, bool run)
{
    const QString ghdl = TestTools::find("ghdl", "ghdl");
    const QString workdir = QStringLiteral("--workdir=") + dir;
    QStringList ordered = files.filter(QRegularExpression(QStringLiteral("\\.vhd$")));
    ordered.move(ordered.indexOf(top + QStringLiteral(".vhd")), ordered.size() - 1);
    TestTools::Run step =
        TestTools::execute(ghdl, QStringList{"-a", "--std=08", workdir} + ordered, dir);
    if (step.ok && run) {
        step = TestTools::execute(ghdl,
                                  {"--elab-run", "--std=08", workdir, top, "--stop-time=0ns",
                                   "--ieee-asserts=disable-at-0", "--max-stack-alloc=0"},
                                  dir);
    }
    return step.ok ? QString() : step.output;
}

int SourceCount(const Ipu::IPComponent& ip, const QString& fileType)
{
    int count = 0;
    for (const Ipu::IPComponent::FileEntry& entry : ip.GetFileEntries()) {
        count += Q(entry.fileSet) == u"rtl" && Q(entry.fileType) == fileType ? 1 : 0;
    }
    return count;
}

// A value of a .gtc line: as it is, or in double quotes with \" and \\ escaped.
QString Unquote(const QString& text)
{
    if (!text.startsWith(u'"')) {
        return text;
    }
    QString value;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        value += text[i] == u'\\' ? text[++i] : text[i];
    }
    return value;
}

// An IP of no catalogue: one output port p with the given bounds, no core.
Component Widget(const QString& left, const QString& right)
{
    Component ip(new Ipu::IPComponent);
    ip->SetName("widget");
    ip->SetIdentifier(Ipu::VersionedIdentifier("tst", "lib", "widget", "1.0"));
    const char* const values[][2] = {
        {"WIDTH", "8"},    {"DEPTH", "1000"}, {"DEPTH_A", "1024"},     {"WIDTH_A", "9"},
        {"WIDTH_B", "72"}, {"MODE", "fast"},  {"BIG", "1099511627776"}};
    for (const auto& [name, value] : values) {
        ip->GetParameters().Add({name, value, "int", {}, "", ""});
    }
    ip->AddPort({"p", "out", P(left), P(right)});
    return ip;
}

// A core of one parameter V, declared as the row says, that stops the simulation unless it
// receives the value the row expects; and an IP that customizes it.
Component TypedCore(const QString& dir, const QString& type, const QString& value,
                    const QStringList& verilog, const QStringList& vhdl)
{
    const QString v = QStringLiteral(
                          "module typed_core #(parameter %1 V = %2) (input wire a);\n"
                          "    initial $display(V == %3 ? \"PASS\" : \"FAIL\");\nendmodule\n")
                          .arg(verilog[0], verilog[1], verilog[2]);
    const QString vhd =
        QStringLiteral(
            "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n"
            "entity typed_core is\n    generic (V : %1 := %2);\n"
            "    port (a : in std_logic);\nend entity;\n"
            "architecture rtl of typed_core is\nbegin\n"
            "    assert %3 report \"FAIL\" severity failure;\nend architecture;\n")
            .arg(vhdl[0], vhdl[1], vhdl[2]);
    Component ip(new Ipu::IPComponent);
    ip->SetName("typed_w");
    ip->SetIdentifier(Ipu::VersionedIdentifier("tst", "lib", "typed", "1.0"));
    ip->GetParameters().Add({"V", P(value), P(type), {}, "", ""});
    ip->AddPort({"a", "in", "", ""});
    const QString base = QDir(dir).filePath("src/typed_core");
    if (TestFiles::write(base + ".v", v.toUtf8()) &&
        TestFiles::write(base + ".vhd", vhd.toUtf8())) {
        ip->AddFileEntry({"rtl", P(base + ".v"), "verilogSource", ""});
        ip->AddFileEntry({"rtl", P(base + ".vhd"), "vhdlSource", "work"});
    }
    return ip;
}

}  // namespace

class TestProducts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void compilesEveryIp_data();
    void compilesEveryIp();
    void simulatesWrapper_data();
    void simulatesWrapper();
    void passesTypedValues_data();
    void passesTypedValues();
    void evaluatesBounds_data();
    void evaluatesBounds();
    void refusesValues_data();
    void refusesValues();
    void writesGtc_data();
    void writesGtc();
    void writesLanguagesAsked_data();
    void writesLanguagesAsked();
    void listsEveryFile();
    void matchesDocumentedExamples_data();
    void matchesDocumentedExamples();
    void refusesUnwritableDirectory_data();
    void refusesUnwritableDirectory();

private:
    std::map<QString, Component> catalogue;
};

void TestProducts::initTestCase()
{
    const QDir root(QStringLiteral(GANTREL_SOURCE_CATALOG_DIR));
    QDirIterator it(root.path(), {"*.xml"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        Component ip;
        Port::String reason;
        QVERIFY2(Sim::CatalogReader::ReadFile(P(file), ip, reason) == 0,
                 qPrintable(file + u' ' + Q(reason)));
        catalogue[root.relativeFilePath(file)] = ip;
    }
    QVERIFY(catalogue.count(Counter) == 1);
}

void TestProducts::compilesEveryIp_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("values");
    // The largest memories are only compiled: elaborating them takes minutes.
    QTest::addColumn<bool>("run");

    for (const auto& [file, ip] : catalogue) {
        for (const char* entry : {"VHDL", "Verilog"}) {
            const QByteArray tag = file.toUtf8() + ' ' + entry;
            QTest::addRow("%s defaults", tag.data()) << file << entry << QStringList() << true;
            QTest::addRow("%s minimum", tag.data())
                << file << entry << Extremes(*ip, false) << true;
            QTest::addRow("%s maximum", tag.data())
                << file << entry << Extremes(*ip, true) << false;
        }
    }
}

void TestProducts::compilesEveryIp()
{
    QFETCH(QString, file);
    QFETCH(QString, entry);
    QFETCH(QStringList, values);
    QFETCH(bool, run);

    Component ip;
    const QString fault =
        Customize(*catalogue.at(file), QStringLiteral("generated_ip"), values, ip);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QTemporaryDir dir;
    const Ipu::ProjectOptions options = Options(entry);
    SimC::Products products(*ip, options, dir.path());
    const QString failure = WriteAll(products);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    const bool verilog = entry == u"Verilog";
    const QString suffix = verilog ? QStringLiteral(".v") : QStringLiteral(".vhd");
    const QStringList hdl = products.Written().filter(QRegularExpression("\\.(v|vhd)$"));
    QVERIFY2(hdl.filter(QRegularExpression(verilog ? "\\.vhd$" : "\\.v$")).isEmpty(),
             qPrintable(hdl.join(u' ')));
    QCOMPARE(hdl.size(), 1 + SourceCount(*ip, verilog ? "verilogSource" : "vhdlSource"));
    QVERIFY(hdl.contains(QStringLiteral("generated_ip") + suffix));
    const QString errors = verilog ? CompileVerilog(dir.path(), "generated_ip", hdl)
                                   : CompileVhdl(dir.path(), "generated_ip", hdl, run);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

void TestProducts::simulatesWrapper_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("bench");
    // Customized values, also the bench's parameters.
    QTest::addColumn<QStringList>("values");

    const QString counter = QString::fromLatin1(Counter);
    const QString fifo = QStringLiteral("fifo/fifo_sync/fifo_sync_v2_1.xml");
    QTest::newRow("counter 5 bits")
        << counter << "counter" << QStringList{"WIDTH=5", "THRESHOLD=3"};
    // A threshold beyond the counter's range never matches.
    QTest::newRow("counter 3 bits")
        << counter << "counter" << QStringList{"WIDTH=3", "THRESHOLD=9"};
    QTest::newRow("fifo 3x16") << fifo << "fifo" << QStringList{"DATA_WIDTH=3", "DEPTH=16"};
    QTest::newRow("fifo 12x64") << fifo << "fifo" << QStringList{"DATA_WIDTH=12", "DEPTH=64"};
}

void TestProducts::simulatesWrapper()
{
    QFETCH(QString, file);
    QFETCH(QString, bench);
    QFETCH(QStringList, values);

    Component ip;
    const QString fault = Customize(*catalogue.at(file), bench + "_under_test", values, ip);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QTemporaryDir dir;
    const Ipu::ProjectOptions options = Options("Verilog");
    SimC::Products products(*ip, options, dir.path());
    QString reason;
    QVERIFY2(products.WriteHdl(reason) == 0, qPrintable(reason));

    const QString top = QStringLiteral("tb_%1_wrapper").arg(bench);
    QStringList arguments{"-g2012", "-o", dir.filePath("tb.vvp"),
                          "-s",     top,  QStringLiteral(GANTREL_TESTBENCH_DIR "/%1.v").arg(top)};
    for (const QString& value : values) {
        arguments << QStringLiteral("-P%1.%2").arg(top, value);
    }
    TestTools::Run run = TestTools::execute(TestTools::find("iverilog", "iverilog"),
                                            arguments + products.Written(), dir.path());
    QVERIFY2(run.ok, qPrintable(run.output));
    run = TestTools::execute(TestTools::find("vvp", "iverilog"), {"-n", "tb.vvp"}, dir.path());
    QVERIFY2(run.ok && run.output.contains(
                           QRegularExpression("^PASS ", QRegularExpression::MultilineOption)),
             qPrintable(run.output));
}

void TestProducts::passesTypedValues_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    // The core's declaration (type, default) and the check of what it receives.
    QTest::addColumn<QStringList>("verilog");
    QTest::addColumn<QStringList>("vhdl");

    QTest::newRow("real, whole") << "real"
                                 << "100" << QStringList{"real", "0.0", "100.0"}
                                 << QStringList{"real", "0.0", "V = 100.0"};
    QTest::newRow("real, exponent") << "real"
                                    << "2.5e9" << QStringList{"real", "0.0", "2.5e9"}
                                    << QStringList{"real", "0.0", "V = 2.5e9"};
    QTest::newRow("bit into boolean, integer")
        << "bit"
        << "1" << QStringList{"integer", "0", "1"} << QStringList{"boolean", "false", "V"};
    QTest::newRow("bool into std_logic")
        << "bool"
        << "true" << QStringList{"integer", "0", "1"} << QStringList{"std_logic", "'0'", "V = '1'"};
    QTest::newRow("negative into signed")
        << "int"
        << "-5" << QStringList{"signed [7:0]", "0", "-8'sd5"}
        << QStringList{"signed(7 downto 0)", "x\"00\"", "V = to_signed(-5, 8)"};
    QTest::newRow("odd-width vector")
        << "int"
        << "37" << QStringList{"[5:0]", "0", "6'd37"}
        << QStringList{"std_logic_vector(5 downto 0)", "\"000000\"", "unsigned(V) = 37"};
    QTest::newRow("hexadecimal") << "int"
                                 << "0x1F" << QStringList{"integer", "0", "31"}
                                 << QStringList{"natural", "0", "V = 31"};
    QTest::newRow("string with quotes")
        << "string"
        << "say \"hi\" \\o/" << QStringList{"", "\"\"", "\"say \\\"hi\\\" \\\\o/\""}
        << QStringList{"string", "\"\"", "V = \"say \"\"hi\"\" \\o/\""};
}

void TestProducts::passesTypedValues()
{
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(QStringList, verilog);
    QFETCH(QStringList, vhdl);

    QTemporaryDir dir;
    const Component ip = TypedCore(dir.path(), type, value, verilog, vhdl);
    QCOMPARE(ip->GetFileEntries().size(), std::size_t(2));
    Ipu::ProjectOptions options = Options("Schematic");
    SimC::Products products(*ip, options, dir.filePath("out"));
    QVERIFY(QDir(dir.path()).mkpath("out"));
    QString reason;
    QVERIFY2(products.WriteHdl(reason) == 0, qPrintable(reason));

    const QString out = dir.filePath("out");
    QString errors =
        CompileVerilog(out, "typed_w", products.Written().filter(QRegularExpression("\\.v$")));
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
    const TestTools::Run run =
        TestTools::execute(TestTools::find("vvp", "iverilog"), {"-n", "out.vvp"}, out);
    QVERIFY2(run.ok && run.output.startsWith(QLatin1String("PASS")), qPrintable(run.output));
    errors = CompileVhdl(out, "typed_w", products.Written(), true);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

void TestProducts::evaluatesBounds_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    // The symbol's pin, or the reason with %1 for the file refused.
    QTest::addColumn<QString>("expected");

    QTest::newRow("width - 1") << "WIDTH - 1"
                               << "0"
                               << "PIN p out 8 7 0";
    QTest::newRow("ascending") << "0"
                               << "WIDTH-1"
                               << "PIN p out 8 0 7";
    QTest::newRow("names ignore case") << "width - 1"
                                       << "0"
                                       << "PIN p out 8 7 0";
    QTest::newRow("clog2 rounds up") << "$clog2(DEPTH) - 1"
                                     << "0"
                                     << "PIN p out 10 9 0";
    QTest::newRow("clog2 of one") << "$clog2(1)"
                                  << "0"
                                  << "PIN p out 1 0 0";
    QTest::newRow("products before sums") << "$clog2(DEPTH_A * WIDTH_A / WIDTH_B) - 1"
                                          << "0"
                                          << "PIN p out 7 6 0";
    QTest::newRow("parentheses, unary minus") << "-(1 - WIDTH) * 2 + 1"
                                              << "(2)"
                                              << "PIN p out 14 15 2";
    QTest::newRow("64-bit values") << "BIG / 1099511627775"
                                   << "0"
                                   << "PIN p out 2 1 0";
    QTest::newRow("stray character")
        << "WIDTH - 1x"
        << "0"
        << "%1: port p: bound 'WIDTH - 1x' cannot be evaluated: unexpected 'x' at column 10";
    QTest::newRow("unknown parameter")
        << "WIDHT - 1"
        << "0"
        << "%1: port p: bound 'WIDHT - 1' cannot be evaluated: unknown parameter 'WIDHT'";
    QTest::newRow("text parameter")
        << "$clog2(MODE)"
        << "0"
        << "%1: port p: bound '$clog2(MODE)' cannot be evaluated: parameter 'MODE' is not a "
           "64-bit integer ('fast')";
    QTest::newRow("division by zero")
        << "8 / (WIDTH - WIDTH)"
        << "0"
        << "%1: port p: bound '8 / (WIDTH - WIDTH)' cannot be evaluated: division by zero";
    QTest::newRow("overflow") << "BIG * BIG"
                              << "0"
                              << "%1: port p: bound 'BIG * BIG' cannot be evaluated: "
                                 "1099511627776 * 1099511627776 overflows 64 bits";
}

void TestProducts::evaluatesBounds()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(QString, expected);

    const Component ip = Widget(left, right);
    QTemporaryDir dir;
    Ipu::ProjectOptions options = Options("VHDL");
    options.SetASYSymbolFile(true);
    SimC::Products products(*ip, options, dir.path());
    QString asy;
    QString hdl;
    const bool written = products.WriteAsy(asy) == 0;
    const bool wrapped = products.WriteHdl(hdl) == 0;
    if (!expected.startsWith(u'%')) {
        QVERIFY2(written && wrapped, qPrintable(asy + hdl));
        const QStringList lines =
            QString::fromUtf8(TestFiles::read(dir.filePath("widget.asy"))).split(u'\n');
        QCOMPARE(lines.filter(QRegularExpression("^PIN ")), QStringList{expected});
        return;
    }
    QVERIFY(!written && !wrapped);
    QCOMPARE(asy, expected.arg(dir.filePath("widget.asy")));
    QCOMPARE(hdl, expected.arg(dir.filePath("widget.vhd")));
    QVERIFY(products.Written().isEmpty());
}

void TestProducts::refusesValues_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("reason");

    const QString counter = QString::fromLatin1(Counter);
    QTest::newRow("negative into an unsigned vector")
        << counter << "VHDL"
        << "c0" << QStringList{"THRESHOLD=-1"}
        << "%1/c0.vhd: parameter THRESHOLD: '-1' does not fit 64 bits";
    QTest::newRow("beyond 64 bits")
        << counter << "Verilog"
        << "c0" << QStringList{"THRESHOLD=18446744073709551616"}
        << "%1/c0.v: parameter THRESHOLD: '18446744073709551616' is not a 64-bit integer";
    QTest::newRow("beyond VHDL's integer")
        << "interface/uart_core/uart_core_v1_4.xml"
        << "VHDL"
        << "u0" << QStringList{"CLK_FREQ_HZ=5000000000"}
        << "%1/u0.vhd: parameter CLK_FREQ_HZ: '5000000000' does not fit VHDL's 32-bit integer";
    QTest::newRow("text for a number")
        << counter << "Verilog"
        << "c0" << QStringList{"SYNC_LOAD=yes"}
        << "%1/c0.v: parameter SYNC_LOAD: 'yes' is not a 64-bit integer";
    // The wrapper would instantiate itself, and its file would be the core's.
    QTest::newRow("named after its core")
        << counter << "VHDL"
        << "Counter_Binary_Core" << QStringList()
        << "%1/Counter_Binary_Core.vhd: the name Counter_Binary_Core is taken by the IP's core";
}

void TestProducts::refusesValues()
{
    QFETCH(QString, file);
    QFETCH(QString, entry);
    QFETCH(QString, name);
    QFETCH(QStringList, values);
    QFETCH(QString, reason);

    Component ip;
    const QString fault = Customize(*catalogue.at(file), name, values, ip);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QTemporaryDir dir;
    const Ipu::ProjectOptions options = Options(entry);
    SimC::Products products(*ip, options, dir.path());
    QString why;
    QCOMPARE(products.WriteHdl(why), 1u);
    QCOMPARE(why, reason.arg(dir.path()));
    QCOMPARE(TestFiles::entries(dir.path()), QStringList());
}

void TestProducts::writesGtc_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("written");

    QTest::newRow("plain") << "up_down"
                           << "up_down";
    QTest::newRow("blank") << "up down"
                           << "\"up down\"";
    QTest::newRow("tab") << "up\tdown"
                         << "\"up\tdown\"";
    QTest::newRow("double quote") << "say \"up\""
                                  << "\"say \\\"up\\\"\"";
    QTest::newRow("backslash") << "C:\\up"
                               << "\"C:\\\\up\"";
    QTest::newRow("empty") << ""
                           << "\"\"";
}

// Its SET lines replay into equal options; the rest is compared whole.
void TestProducts::writesGtc()
{
    QFETCH(QString, value);
    QFETCH(QString, written);

    Component ip;
    const QString fault = Customize(*catalogue.at(Counter), "c0", {"DIRECTION=" + value}, ip);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    Ipu::ProjectOptions options = Options("Verilog");
    QCOMPARE(options.SetOutputDirectory("/home/me/my designs"), 0u);
    QCOMPARE(options.SetWorkingDirectory("tmp\\\"x\""), 0u);
    QCOMPARE(options.SetDeviceFamily("tellara2"), 0u);
    QTemporaryDir dir;
    SimC::Products products(*ip, options, dir.path());
    QString reason;
    QVERIFY2(products.WriteGtc(reason) == 0, qPrintable(reason));
    QCOMPARE(products.Written(), QStringList{"c0.gtc"});

    QStringList lines = QString::fromUtf8(TestFiles::read(dir.filePath("c0.gtc"))).split(u'\n');
    QVERIFY(lines.first().startsWith(u'#'));
    Ipu::ProjectOptions replayed;
    static const QRegularExpression set(QStringLiteral("^SET (\\S+) = (.*)$"));
    while (!lines.isEmpty() && !lines.first().startsWith(QLatin1String("SELECT"))) {
        const QRegularExpressionMatch match = set.match(lines.takeFirst());
        if (match.hasMatch()) {
            QCOMPARE(replayed.SetValue(P(match.captured(1)), P(Unquote(match.captured(2)))), 0u);
        }
    }
    QVERIFY(replayed == options);
    bool valid = false;
    QCOMPARE(Ipu::Utilities::ValidateFileChecksum(P(dir.filePath("c0.gtc")), valid), 0u);
    QVERIFY(valid);
    QVERIFY(lines.size() > 1 && lines[lines.size() - 2].startsWith("# gantrel-checksum crc32 "));
    lines.removeAt(lines.size() - 2);
    QCOMPARE(lines,
             (QStringList{"SELECT \"Binary Counter\" pellor ip 1.1", "CSET component_name = c0",
                          "CSET WIDTH = 16", "CSET DIRECTION = " + written, "CSET SYNC_LOAD = 0",
                          "CSET THRESHOLD = 255", "GENERATE", ""}));
}

void TestProducts::writesLanguagesAsked_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("vhdlSim");
    QTest::addColumn<bool>("verilogSim");
    QTest::addColumn<QStringList>("written");

    const QStringList vhdl{"c0.vhd", "counter_binary_core.vhd"};
    const QStringList verilog{"c0.v", "counter_binary_core.v"};
    QTest::newRow("VHDL") << "VHDL" << true << false << vhdl + QStringList{"c0.vho"};
    QTest::newRow("Verilog") << "Verilog" << false << true << verilog + QStringList{"c0.veo"};
    QTest::newRow("VHDL, Verilog models too")
        << "VHDL" << true << true << vhdl + verilog + QStringList{"c0.vho", "c0.veo"};
    QTest::newRow("Verilog, VHDL models too")
        << "Verilog" << true << true << vhdl + verilog + QStringList{"c0.vho", "c0.veo"};
    QTest::newRow("netlist, no models asked")
        << "EdifNetlist" << false << false << vhdl + verilog + QStringList{"c0.vho", "c0.veo"};
}

void TestProducts::writesLanguagesAsked()
{
    QFETCH(QString, entry);
    QFETCH(bool, vhdlSim);
    QFETCH(bool, verilogSim);
    QFETCH(QStringList, written);

    Component ip;
    QVERIFY(Customize(*catalogue.at(Counter), "c0", {}, ip).isEmpty());
    Ipu::ProjectOptions options = Options(entry);
    options.SetVHDLSimulationModel(vhdlSim);
    options.SetVerilogSimulationModel(verilogSim);
    QTemporaryDir dir;
    SimC::Products products(*ip, options, dir.path());
    QString reason;
    QVERIFY2(products.WriteHdl(reason) == 0 && products.WriteTemplate(reason) == 0,
             qPrintable(reason));
    QCOMPARE(products.Written(), written);
}

void TestProducts::listsEveryFile()
{
    Component ip;
    QVERIFY(Customize(*catalogue.at(Counter), "c0", {}, ip).isEmpty());
    Ipu::ProjectOptions options = Options("Verilog");
    options.SetASYSymbolFile(true);
    QTemporaryDir dir;
    SimC::Products products(*ip, options, dir.path());
    const QString failure = WriteAll(products);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    const QStringList expected{"c0.v",   "counter_binary_core.v", "c0.veo",      "c0.gtc",
                               "c0.asy", "c0_resources.txt",      "c0_flist.txt"};
    QCOMPARE(products.Written(), expected);
    QCOMPARE(TestFiles::read(dir.filePath("c0_flist.txt")), expected.join(u'\n').toUtf8() + '\n');
    QStringList sorted = expected;
    sorted.sort();
    // Nothing else, no temporary file left behind.
    QCOMPARE(TestFiles::entries(dir.path()), sorted);
}

void TestProducts::matchesDocumentedExamples_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QString>("product");

    QTest::newRow("customized IP file") << "# Customized IP rx_fifo"
                                        << "rx_fifo.gtc";
    QTest::newRow("symbol") << "SYMBOL rx_fifo"
                            << "rx_fifo.asy";
    QTest::newRow("file list") << "rx_fifo_flist.txt"
                               << "rx_fifo_flist.txt";
}

// Another reader is written from the document: its examples must be what is written.
void TestProducts::matchesDocumentedExamples()
{
    QFETCH(QString, marker);
    QFETCH(QString, product);

    const QString document =
        QString::fromUtf8(TestFiles::read(GANTREL_DOCS_DIR "/customized-ip-file.md"));
    static const QRegularExpression fence(QStringLiteral("```\\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    QString example;
    for (const QRegularExpressionMatch& block : fence.globalMatch(document)) {
        if (example.isEmpty() && block.captured(1).contains(marker)) {
            example = block.captured(1);
        }
    }
    QVERIFY2(!example.isEmpty(), qPrintable(marker));

    Component ip;
    const QString fault = Customize(*catalogue.at("fifo/fifo_sync/fifo_sync_v2_1.xml"), "rx_fifo",
                                    {"DATA_WIDTH=32", "READ_MODE=fwft"}, ip);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    Ipu::ProjectOptions options;
    const char* const settings[][2] = {
        {"DeviceFamily", "tellara2"}, {"Device", "tl2x100"},
        {"Package", "gb256"},         {"SpeedGrade", "-5"},
        {"ProjectName", "receiver"},  {"OutputDirectory", "/home/me/my designs"},
        {"WorkingDirectory", "tmp"},  {"DesignEntry", "Verilog"},
        {"FlowVendor", "Brellix"},    {"ASYSymbol", "true"}};
    for (const auto& [key, value] : settings) {
        QCOMPARE(options.SetValue(key, value), 0u);
    }
    QTemporaryDir dir;
    SimC::Products products(*ip, options, dir.path());
    const QString failure = WriteAll(products);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(QString::fromUtf8(TestFiles::read(dir.filePath(product))), example);
}

void TestProducts::refusesUnwritableDirectory_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("inTheWay");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("a file in the directory's place") << "plain"
                                                     << "plain"
                                                     << " cannot be made";
    QTest::newRow("a directory in the product's place") << "."
                                                        << "c0.vhd/"
                                                        << "/c0.vhd cannot be written: ";
}

void TestProducts::refusesUnwritableDirectory()
{
    QFETCH(QString, directory);
    QFETCH(QString, inTheWay);
    QFETCH(QString, refusal);

    QTemporaryDir dir;
    if (inTheWay.endsWith(u'/')) {
        QVERIFY(QDir(dir.path()).mkpath(inTheWay));
    } else if (!inTheWay.isEmpty()) {
        QVERIFY(TestFiles::write(dir.filePath(inTheWay), "x"));
    }
    Component ip;
    QVERIFY(Customize(*catalogue.at(Counter), "c0", {}, ip).isEmpty());
    const Ipu::ProjectOptions options = Options("VHDL");
    const QString target = QDir::cleanPath(dir.filePath(directory));
    SimC::Products products(*ip, options, target);
    QString reason;
    QCOMPARE(products.WriteHdl(reason), 1u);
    QVERIFY2(reason.startsWith(target + refusal), qPrintable(reason));
    QVERIFY(products.Written().isEmpty());
}

QTEST_GUILESS_MAIN(TestProducts)
#include "tst_products.moc"
