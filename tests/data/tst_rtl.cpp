#include "Ipu_IPComponent.h"
#include "Sim_CatalogReader.h"
#include "TestTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The HDL cores of the embedded catalogue, put through the tools a user builds them
// with: Icarus Verilog compiles and simulates the Verilog, GHDL analyses and
// elaborates the VHDL. Each core is found through its component's rtl file set, so a
// core the catalogue does not name is a failure too.

namespace {

QString Q(const Port::String& text)
{
    return QString::fromStdString(text.str());
}

// The file of the given type in the component's rtl file set, or why there is none.
bool CoreSource(const QString& component, const QString& fileType, QString& path, QString& why)
{
    const QString file = QStringLiteral(GANTREL_SOURCE_CATALOG_DIR "/") + component;
    boost::shared_ptr<Ipu::IPComponent> ip;
    Port::String reason;
    if (Sim::CatalogReader::ReadFile(Port::String(file.toStdString()), ip, reason) != 0) {
        why = QStringLiteral("%1 cannot be read: %2").arg(file, Q(reason));
        return false;
    }
    for (const Ipu::IPComponent::FileEntry& entry : ip->GetFileEntries()) {
        if (Q(entry.fileSet) == u"rtl" && Q(entry.fileType) == fileType) {
            path = Q(entry.path);
            if (!QFile::exists(path)) {
                why = QStringLiteral("%1 names %2, which does not exist").arg(file, path);
                return false;
            }
            return true;
        }
    }
    why = QStringLiteral("%1 names no %2 file in its rtl file set").arg(file, fileType);
    return false;
}

// Parameter values are written as in IP-XACT, strings in double quotes.
QString Unquoted(const QString& value)
{
    return value.startsWith(u'"') ? value.mid(1, value.size() - 2) : value;
}

// Initial contents for the memory rows that name an INIT_FILE.
const char* const InitFile = "1\n2a\nfff\n";

}  // namespace

class TestRtl : public QObject {
    Q_OBJECT

private slots:
    void compilesVerilog_data();
    void compilesVerilog();
    void elaboratesVhdl_data();
    void elaboratesVhdl();
    void simulatesTestbench_data();
    void simulatesTestbench();

private:
    void coreRows(bool verilog);
};

// Rows for every core: catalogue defaults, then values at the ends of the ranges.
// Wide and deep memories are separate rows so that no row elaborates a huge array.
void TestRtl::coreRows(bool verilog)
{
    QTest::addColumn<QString>("component");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<bool>("accepted");

    struct Row {
        const char* name;
        const char* component;
        const char* top;
        QStringList parameters;
        // GHDL cannot set a vector generic (a THRESHOLD beyond VHDL's integer) or a real
        // one from its command line.
        QStringList verilogOnly;
    };
    const Row rows[] = {
        {"counter defaults",
         "counter/counter_binary/counter_binary_v1_1.xml",
         "counter_binary_core",
         {},
         {}},
        {"counter narrowest",
         "counter/counter_binary/counter_binary_v1_1.xml",
         "counter_binary_core",
         {"WIDTH=1", "DIRECTION=\"down\"", "SYNC_LOAD=1"},
         {"THRESHOLD=64'h0"}},
        {"counter widest",
         "counter/counter_binary/counter_binary_v1_1.xml",
         "counter_binary_core",
         {"WIDTH=64", "DIRECTION=\"up_down\""},
         {"THRESHOLD=64'hFFFFFFFFFFFFFFFF"}},
        {"adder defaults",
         "arithmetic/adder_subtracter/adder_subtracter_v1_1.xml",
         "adder_subtracter_core",
         {},
         {}},
        {"adder narrowest",
         "arithmetic/adder_subtracter/adder_subtracter_v1_1.xml",
         "adder_subtracter_core",
         {"WIDTH=2", "MODE=\"subtract\"", "LATENCY=0", "CARRY_IN=1"},
         {}},
        {"adder widest",
         "arithmetic/adder_subtracter/adder_subtracter_v1_1.xml",
         "adder_subtracter_core",
         {"WIDTH=256", "MODE=\"add_subtract\"", "LATENCY=4"},
         {}},
        {"multiplier defaults",
         "arithmetic/multiplier/multiplier_v3_0.xml",
         "multiplier_core",
         {},
         {}},
        {"multiplier narrowest",
         "arithmetic/multiplier/multiplier_v3_0.xml",
         "multiplier_core",
         {"A_WIDTH=2", "B_WIDTH=2", "SIGNEDNESS=\"unsigned\"", "PIPELINE_STAGES=0",
          "IMPLEMENTATION=\"logic\""},
         {}},
        {"multiplier widest",
         "arithmetic/multiplier/multiplier_v3_0.xml",
         "multiplier_core",
         {"A_WIDTH=64", "B_WIDTH=64", "PIPELINE_STAGES=6"},
         {}},
        {"sync fifo defaults", "fifo/fifo_sync/fifo_sync_v2_1.xml", "fifo_sync_core", {}, {}},
        {"sync fifo smallest",
         "fifo/fifo_sync/fifo_sync_v2_1.xml",
         "fifo_sync_core",
         {"DATA_WIDTH=1", "DEPTH=16", "READ_MODE=\"fwft\"", "PROG_FULL_THRESHOLD=4",
          "HAS_DATA_COUNT=1"},
         {}},
        {"sync fifo widest",
         "fifo/fifo_sync/fifo_sync_v2_1.xml",
         "fifo_sync_core",
         {"DATA_WIDTH=1024", "DEPTH=16"},
         {}},
        {"sync fifo deepest",
         "fifo/fifo_sync/fifo_sync_v2_1.xml",
         "fifo_sync_core",
         {"DATA_WIDTH=1", "DEPTH=131072", "PROG_FULL_THRESHOLD=131070"},
         {}},
        {"async fifo defaults", "fifo/fifo_async/fifo_async_v1_2.xml", "fifo_async_core", {}, {}},
        {"async fifo smallest",
         "fifo/fifo_async/fifo_async_v1_2.xml",
         "fifo_async_core",
         {"DATA_WIDTH=1", "DEPTH=16", "SYNC_STAGES=2"},
         {}},
        {"async fifo widest",
         "fifo/fifo_async/fifo_async_v1_2.xml",
         "fifo_async_core",
         {"DATA_WIDTH=512", "DEPTH=16", "SYNC_STAGES=8"},
         {}},
        {"async fifo deepest",
         "fifo/fifo_async/fifo_async_v1_2.xml",
         "fifo_async_core",
         {"DATA_WIDTH=1", "DEPTH=32768"},
         {}},
        {"single-port ram defaults",
         "memory/block_ram_sp/block_ram_sp_v2_0.xml",
         "block_ram_sp_core",
         {},
         {}},
        {"single-port ram smallest",
         "memory/block_ram_sp/block_ram_sp_v2_0.xml",
         "block_ram_sp_core",
         {"DATA_WIDTH=1", "DEPTH=512", "WRITE_MODE=\"read_first\"", "OUTPUT_REGISTER=0",
          "INIT_FILE=\"init.hex\""},
         {}},
        {"single-port ram largest",
         "memory/block_ram_sp/block_ram_sp_v2_0.xml",
         "block_ram_sp_core",
         {"DATA_WIDTH=72", "DEPTH=16384", "WRITE_MODE=\"no_change\"", "INIT_FILE=\"init.hex\""},
         {}},
        {"dual-port ram defaults",
         "memory/block_ram_dp/block_ram_dp_v1_3.xml",
         "block_ram_dp_core",
         {},
         {}},
        {"dual-port ram smallest",
         "memory/block_ram_dp/block_ram_dp_v1_3.xml",
         "block_ram_dp_core",
         {"WIDTH_A=1", "WIDTH_B=1", "DEPTH_A=512"},
         {}},
        {"dual-port ram wide A",
         "memory/block_ram_dp/block_ram_dp_v1_3.xml",
         "block_ram_dp_core",
         {"WIDTH_A=72", "WIDTH_B=9", "DEPTH_A=8192", "CLOCKING=\"independent\""},
         {}},
        {"dual-port ram wide B",
         "memory/block_ram_dp/block_ram_dp_v1_3.xml",
         "block_ram_dp_core",
         {"WIDTH_A=9", "WIDTH_B=72", "DEPTH_A=512"},
         {}},
        {"uart defaults", "interface/uart_core/uart_core_v1_4.xml", "uart_core_core", {}, {}},
        {"uart fastest",
         "interface/uart_core/uart_core_v1_4.xml",
         "uart_core_core",
         {"CLK_FREQ_HZ=1000000", "BAUD_RATE=921600", "DATA_BITS=5", "PARITY=\"odd\"",
          "STOP_BITS=2"},
         {}},
        {"uart slowest",
         "interface/uart_core/uart_core_v1_4.xml",
         "uart_core_core",
         {"CLK_FREQ_HZ=500000000", "BAUD_RATE=9600", "DATA_BITS=8", "PARITY=\"even\""},
         {}},
        // Older versions keep their own cores, under the same names.
        {"counter 1.0 defaults",
         "counter/counter_binary/counter_binary_v1_0.xml",
         "counter_binary_core",
         {},
         {}},
        {"counter 1.0 narrowest",
         "counter/counter_binary/counter_binary_v1_0.xml",
         "counter_binary_core",
         {"WIDTH=1", "DIRECTION=\"up_down\"", "SYNC_LOAD=1"},
         {}},
        {"counter 1.0 widest",
         "counter/counter_binary/counter_binary_v1_0.xml",
         "counter_binary_core",
         {"WIDTH=64", "DIRECTION=\"up_down\""},
         {}},
        {"sync fifo 1.0 defaults", "fifo/fifo_sync/fifo_sync_v1_0.xml", "fifo_sync_core", {}, {}},
        {"sync fifo 1.0 smallest",
         "fifo/fifo_sync/fifo_sync_v1_0.xml",
         "fifo_sync_core",
         {"DATA_WIDTH=1", "DEPTH=16"},
         {}},
        {"sync fifo 1.0 largest",
         "fifo/fifo_sync/fifo_sync_v1_0.xml",
         "fifo_sync_core",
         {"DATA_WIDTH=256", "DEPTH=4096"},
         {}},
        {"crc defaults", "misc/crc_engine/crc_engine_v1_0.xml", "crc_engine_core", {}, {}},
        {"crc narrowest, polynomial with leading zeros",
         "misc/crc_engine/crc_engine_v1_0.xml",
         "crc_engine_core",
         {"CRC_WIDTH=8", "POLYNOMIAL=\"0007\"", "DATA_WIDTH=1"},
         {}},
        {"crc widest",
         "misc/crc_engine/crc_engine_v1_0.xml",
         "crc_engine_core",
         {"CRC_WIDTH=32", "POLYNOMIAL=\"1edc6f41\"", "DATA_WIDTH=64"},
         {}},
        {"crc 16 bits",
         "misc/crc_engine/crc_engine_v1_0.xml",
         "crc_engine_core",
         {"CRC_WIDTH=16", "POLYNOMIAL=\"8005\"", "DATA_WIDTH=16"},
         {}},
        {"clock defaults", "clocking/clock_synth/clock_synth_v2_0.xml", "clock_synth_core", {}, {}},
        {"clock slowest",
         "clocking/clock_synth/clock_synth_v2_0.xml",
         "clock_synth_core",
         {"NUM_OUTPUTS=4", "FEEDBACK=\"external\"", "LOCKED_OUTPUT=0"},
         {"CLKIN_FREQ_MHZ=10.0", "CLKOUT0_FREQ_MHZ=4.69"}},
        {"clock fastest",
         "clocking/clock_synth/clock_synth_v2_0.xml",
         "clock_synth_core",
         {"NUM_OUTPUTS=1"},
         {"CLKIN_FREQ_MHZ=800.0", "CLKOUT0_FREQ_MHZ=800.0"}},
        {"fir defaults",
         "dsp/fir_filter_wizard/fir_filter_wizard_v1_0.xml",
         "fir_filter_wizard_core",
         {},
         {}},
        {"fir smallest",
         "dsp/fir_filter_wizard/fir_filter_wizard_v1_0.xml",
         "fir_filter_wizard_core",
         {"TAPS=2", "COEFF_WIDTH=2", "STRUCTURE=\"direct\""},
         {}},
        {"fir largest",
         "dsp/fir_filter_wizard/fir_filter_wizard_v1_0.xml",
         "fir_filter_wizard_core",
         {"TAPS=1024", "COEFF_WIDTH=32", "STRUCTURE=\"systolic\""},
         {}},
        {"mac", "network/packet_mac/packet_mac_v1_0.xml", "packet_mac_core", {}, {}},
    };
    for (const Row& row : rows) {
        QTest::newRow(row.name) << row.component << row.top
                                << (verilog ? row.parameters + row.verilogOnly : row.parameters)
                                << true;
    }
}

void TestRtl::compilesVerilog_data()
{
    coreRows(true);
}

void TestRtl::compilesVerilog()
{
    QFETCH(QString, component);
    QFETCH(QString, top);
    QFETCH(QStringList, parameters);

    const QString iverilog = TestTools::find("iverilog", "iverilog");
    if (iverilog.isEmpty()) {
        return;
    }
    QString source;
    QString why;
    QVERIFY2(CoreSource(component, QStringLiteral("verilogSource"), source, why), qPrintable(why));
    QVERIFY2(
        source.contains(u"/rtl/") && QFileInfo(source).fileName() == top + QStringLiteral(".v"),
        qPrintable(source));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    QStringList arguments{"-g2012", "-o", dir.filePath("core.vvp"), "-s", top};
    for (const QString& parameter : parameters) {
        arguments << QStringLiteral("-P%1.%2").arg(top, parameter);
    }
    const TestTools::Run run = TestTools::execute(iverilog, arguments << source, dir.path());
    QVERIFY2(run.ok, qPrintable(run.output));
}

void TestRtl::elaboratesVhdl_data()
{
    coreRows(false);
    // Values the generics refuse must fail elaboration rather than build odd hardware.
    QTest::newRow("counter too wide") << "counter/counter_binary/counter_binary_v1_1.xml"
                                      << "counter_binary_core" << QStringList{"WIDTH=65"} << false;
    QTest::newRow("sync fifo depth not a power of two")
        << "fifo/fifo_sync/fifo_sync_v2_1.xml"
        << "fifo_sync_core" << QStringList{"DEPTH=100"} << false;
    QTest::newRow("dual-port ram width ratio not a power of two")
        << "memory/block_ram_dp/block_ram_dp_v1_3.xml"
        << "block_ram_dp_core" << QStringList{"WIDTH_A=9", "WIDTH_B=27"} << false;
    QTest::newRow("sync fifo 1.0 depth not a power of two")
        << "fifo/fifo_sync/fifo_sync_v1_0.xml"
        << "fifo_sync_core" << QStringList{"DEPTH=100"} << false;
    const QString crc = QStringLiteral("misc/crc_engine/crc_engine_v1_0.xml");
    QTest::newRow("crc width not 8, 16 or 32")
        << crc << "crc_engine_core" << QStringList{"CRC_WIDTH=24", "POLYNOMIAL=\"864CFB\""}
        << false;
    QTest::newRow("crc polynomial wider than the crc keeps its low bits")
        << crc << "crc_engine_core" << QStringList{"CRC_WIDTH=16"} << true;
    QTest::newRow("crc polynomial not hexadecimal")
        << crc << "crc_engine_core" << QStringList{"CRC_WIDTH=16", "POLYNOMIAL=\"0x1021\""}
        << false;
    QTest::newRow("clock feedback unknown")
        << "clocking/clock_synth/clock_synth_v2_0.xml"
        << "clock_synth_core" << QStringList{"FEEDBACK=\"none\""} << false;
    QTest::newRow("fir structure unknown")
        << "dsp/fir_filter_wizard/fir_filter_wizard_v1_0.xml"
        << "fir_filter_wizard_core" << QStringList{"STRUCTURE=\"lattice\""} << false;
}

void TestRtl::elaboratesVhdl()
{
    QFETCH(QString, component);
    QFETCH(QString, top);
    QFETCH(QStringList, parameters);
    QFETCH(bool, accepted);

    const QString ghdl = TestTools::find("ghdl", "ghdl");
    if (ghdl.isEmpty()) {
        return;
    }
    QString source;
    QString why;
    QVERIFY2(CoreSource(component, QStringLiteral("vhdlSource"), source, why), qPrintable(why));
    QVERIFY2(
        source.contains(u"/rtl/") && QFileInfo(source).fileName() == top + QStringLiteral(".vhd"),
        qPrintable(source));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile init(dir.filePath("init.hex"));
    QVERIFY(init.open(QIODevice::WriteOnly) && init.write(InitFile) > 0);
    init.close();

    const QString workdir = QStringLiteral("--workdir=") + dir.path();
    TestTools::Run run = TestTools::execute(ghdl, {"-a", "--std=08", workdir, source}, dir.path());
    QVERIFY2(run.ok, qPrintable(run.output));
    run = TestTools::execute(ghdl, {"-e", "--std=08", workdir, top}, dir.path());
    QVERIFY2(run.ok, qPrintable(run.output));
    // Generics are bound when the design is elaborated for a run; a run of no time
    // evaluates the generics' ranges and the cores' checks on them. The standard
    // library's warnings about undefined values before the first delta are noise. A
    // memory's initial contents are built by a function, on GHDL's stack, whose default
    // limit is smaller than the largest memory.
    QStringList arguments{"-r", "--std=08", workdir, top};
    for (const QString& parameter : parameters) {
        const qsizetype eq = parameter.indexOf(u'=');
        arguments << QStringLiteral("-g%1=%2").arg(parameter.left(eq),
                                                   Unquoted(parameter.mid(eq + 1)));
    }
    arguments << "--max-stack-alloc=0"
              << "--ieee-asserts=disable-at-0"
              << "--stop-time=0ns";
    run = TestTools::execute(ghdl, arguments, dir.path());
    QVERIFY2(run.ok == accepted,
             qPrintable(run.ok ? QStringLiteral("accepted: ") + arguments.join(u' ') : run.output));
}

void TestRtl::simulatesTestbench_data()
{
    QTest::addColumn<bool>("verilog");
    QTest::addColumn<QString>("testbench");
    QTest::addColumn<QString>("component");
    QTest::addColumn<QStringList>("parameters");

    const QString counter = QStringLiteral("counter/counter_binary/counter_binary_v1_1.xml");
    const QString fifo = QStringLiteral("fifo/fifo_sync/fifo_sync_v2_1.xml");
    const QString afifo = QStringLiteral("fifo/fifo_async/fifo_async_v1_2.xml");
    const QString uart = QStringLiteral("interface/uart_core/uart_core_v1_4.xml");
    const QString counter10 = QStringLiteral("counter/counter_binary/counter_binary_v1_0.xml");
    const QString crc = QStringLiteral("misc/crc_engine/crc_engine_v1_0.xml");
    const QString mac = QStringLiteral("network/packet_mac/packet_mac_v1_0.xml");
    const QString clock = QStringLiteral("clocking/clock_synth/clock_synth_v2_0.xml");
    for (const bool verilog : {true, false}) {
        const char* const language = verilog ? "verilog" : "vhdl";
        auto row = [&](const char* name) {
            return &(QTest::addRow("%s %s", language, name) << verilog);
        };
        *row("counter 3 bits") << "tb_counter_binary" << counter << QStringList{"WIDTH=3"};
        *row("counter 8 bits") << "tb_counter_binary" << counter << QStringList{"WIDTH=8"};
        *row("sync fifo 8x16") << "tb_fifo_sync" << fifo << QStringList{"DATA_WIDTH=8", "DEPTH=16"};
        *row("sync fifo 3x64") << "tb_fifo_sync" << fifo << QStringList{"DATA_WIDTH=3", "DEPTH=64"};
        *row("uart 8N1") << "tb_uart_core" << uart << QStringList{};
        *row("uart 5O2") << "tb_uart_core" << uart
                         << QStringList{"DATA_BITS=5", "PARITY=\"odd\"", "STOP_BITS=2"};
        *row("counter 1.0 turning, 1 bit")
            << "tb_counter_binary_v1_0" << counter10 << QStringList{"WIDTH=1"};
        *row("counter 1.0 turning, 3 bits")
            << "tb_counter_binary_v1_0" << counter10 << QStringList{"WIDTH=3"};
        // Check values of "123456789": CRC-32/MPEG-2 0x0376E6E7, CRC-16/CCITT-FALSE
        // 0x29B1, CRC-16/CMS 0xAEE7.
        *row("crc-32 by bytes") << "tb_crc_engine" << crc
                                << QStringList{"CRC_WIDTH=32", "POLYNOMIAL=\"04C11DB7\"",
                                               "DATA_WIDTH=8", "EXPECTED=58124007"};
        *row("crc-32 by 24 bits") << "tb_crc_engine" << crc
                                  << QStringList{"CRC_WIDTH=32", "POLYNOMIAL=\"04C11DB7\"",
                                                 "DATA_WIDTH=24", "EXPECTED=58124007"};
        *row("crc-16 bit by bit") << "tb_crc_engine" << crc
                                  << QStringList{"CRC_WIDTH=16", "POLYNOMIAL=\"1021\"",
                                                 "DATA_WIDTH=1", "EXPECTED=10673"};
        *row("crc-16 by 36 bits") << "tb_crc_engine" << crc
                                  << QStringList{"CRC_WIDTH=16", "POLYNOMIAL=\"8005\"",
                                                 "DATA_WIDTH=36", "EXPECTED=44775"};
        *row("mac streaming") << "tb_packet_mac" << mac << QStringList{};
        *row("mac stalled") << "tb_packet_mac" << mac << QStringList{"SEND_GAP=4", "READ_GAP=3"};
        *row("clock defaults") << "tb_clock_synth" << clock << QStringList{};
        *row("clock slowest") << "tb_clock_synth" << clock
                              << QStringList{"CLKIN_KHZ=10000", "CLKOUT0_KHZ=4690",
                                             "NUM_OUTPUTS=4"};
        *row("clock fastest, no locked") << "tb_clock_synth" << clock
                                         << QStringList{"CLKIN_KHZ=800000", "CLKOUT0_KHZ=800000",
                                                        "NUM_OUTPUTS=2", "LOCKED_OUTPUT=0"};
    }
    QTest::newRow("verilog async fifo 8x16")
        << true << "tb_fifo_async" << afifo
        << QStringList{"DATA_WIDTH=8", "DEPTH=16", "SYNC_STAGES=2"};
    QTest::newRow("verilog async fifo 5x32")
        << true << "tb_fifo_async" << afifo
        << QStringList{"DATA_WIDTH=5", "DEPTH=32", "SYNC_STAGES=3"};
    // EXPECTED holds the coefficients, the first tap in the lowest byte.
    const QString fir = QStringLiteral("dsp/fir_filter_wizard/fir_filter_wizard_v1_0.xml");
    QTest::newRow("verilog fir 3 taps")
        << true << "tb_fir_filter_wizard" << fir
        << QStringList{"TAPS=3", "COEFF_WIDTH=4", "EXPECTED=128'h030703"};
    QTest::newRow("verilog fir 4 taps")
        << true << "tb_fir_filter_wizard" << fir
        << QStringList{"TAPS=4", "COEFF_WIDTH=3", "EXPECTED=128'h01030301"};
}

void TestRtl::simulatesTestbench()
{
    QFETCH(bool, verilog);
    QFETCH(QString, testbench);
    QFETCH(QString, component);
    QFETCH(QStringList, parameters);

    const QString compiler =
        verilog ? TestTools::find("iverilog", "iverilog") : TestTools::find("ghdl", "ghdl");
    const QString simulator = verilog ? TestTools::find("vvp", "iverilog") : compiler;
    if (compiler.isEmpty() || simulator.isEmpty()) {
        return;
    }
    QString source;
    QString why;
    QVERIFY2(CoreSource(component,
                        verilog ? QStringLiteral("verilogSource") : QStringLiteral("vhdlSource"),
                        source, why),
             qPrintable(why));
    const QString bench =
        QStringLiteral(GANTREL_TESTBENCH_DIR "/%1.%2").arg(testbench, verilog ? "v" : "vhd");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    TestTools::Run run;
    if (verilog) {
        const QString image = dir.filePath("tb.vvp");
        QStringList arguments{"-g2012", "-o", image, "-s", testbench};
        for (const QString& parameter : parameters) {
            arguments << QStringLiteral("-P%1.%2").arg(testbench, parameter);
        }
        run = TestTools::execute(compiler, arguments << bench << source, dir.path());
        QVERIFY2(run.ok, qPrintable(run.output));
        run = TestTools::execute(simulator, {"-n", image}, dir.path());
    } else {
        const QString workdir = QStringLiteral("--workdir=") + dir.path();
        run = TestTools::execute(compiler, {"-a", "--std=08", workdir, source, bench}, dir.path());
        QVERIFY2(run.ok, qPrintable(run.output));
        run = TestTools::execute(compiler, {"-e", "--std=08", workdir, testbench}, dir.path());
        QVERIFY2(run.ok, qPrintable(run.output));
        QStringList arguments{"-r", "--std=08", workdir, testbench};
        for (const QString& parameter : parameters) {
            const qsizetype eq = parameter.indexOf(u'=');
            arguments << QStringLiteral("-g%1=%2").arg(parameter.left(eq),
                                                       Unquoted(parameter.mid(eq + 1)));
        }
        run = TestTools::execute(simulator, arguments << "--ieee-asserts=disable-at-0", dir.path());
    }
    QVERIFY2(run.ok, qPrintable(run.output));
    // $display prints the verdict at the start of a line, a VHDL report after its
    // location; a testbench that stops before its verdict prints neither.
    static const QRegularExpression pass(QStringLiteral("(^|\\): )PASS "),
                                         QRegularExpression::MultilineOption);
    static const QRegularExpression fail(QStringLiteral("(^|\\): )FAIL"),
                                         QRegularExpression::MultilineOption);
    QVERIFY2(run.output.contains(pass) && !run.output.contains(fail), qPrintable(run.output));
}

QTEST_GUILESS_MAIN(TestRtl)
#include "tst_rtl.moc"
