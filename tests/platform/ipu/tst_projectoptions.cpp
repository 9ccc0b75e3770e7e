#include "Ipu_ProjectOptions.h"

#include <QtTest>

#include <vector>

using Ipu::ProjectOptions;
using StringList = std::vector<Port::String>;

namespace {

Port::String S(const QByteArray& text)
{
    return Port::String(text.constData(), static_cast<std::size_t>(text.size()));
}

QByteArray Q(const Port::String& text)
{
    return QByteArray(text.c_str(), static_cast<int>(text.GetLength()));
}

QByteArray Value(const ProjectOptions& options, const char* key)
{
    Port::String value;
    return options.GetValue(key, value) == 0 ? Q(value) : QByteArray("<no key>");
}

QByteArrayList ToList(const StringList& list)
{
    QByteArrayList out;
    for (const Port::String& s : list) {
        out << Q(s);
    }
    return out;
}

using ListFn = unsigned (*)(StringList&);
using ConvertFn = unsigned (*)(const Port::String&, Port::String&);

struct SpellingKind {
    ListFn internalList;
    ListFn visibleList;
    ConvertFn toVisible;
    ConvertFn toInternal;
};

// Options that differ from the defaults in every group, for replay and equality tests.
ProjectOptions Customised()
{
    ProjectOptions o;
    o.SetDeviceFamily("tellara2");
    o.SetDevice("tl2x50");
    o.SetPackage("qf100");
    o.SetSpeedGrade("-4");
    o.SetProjectName("core");
    o.SetOutputDirectory("/work/out");
    o.SetWorkingDirectory("tmp");
    o.SetDesignEntry("Verilog");
    o.SetFlowVendor("Quendral");
    o.SetImplementationFileType("Edif");
    o.SetSimulationFiles("Structural");
    // Verilog entry cleared VHDL; setting it again must survive the replay.
    o.SetVHDLSimulationModel(true);
    o.SetTellmarSymbolFile(true);
    o.SetRemoveRPMs(true);
    return o;
}

}  // namespace

Q_DECLARE_METATYPE(SpellingKind)

class TestProjectOptions : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void spellingRoundTrip_data();
    void spellingRoundTrip();
    void setValueByKey_data();
    void setValueByKey();
    void designEntryAnswers_data();
    void designEntryAnswers();
    void designEntryMovesVendor();
    void vendorFixesBusFormat_data();
    void vendorFixesBusFormat();
    void asySymbolRequired_data();
    void asySymbolRequired();
    void deprecatedListKeys_data();
    void deprecatedListKeys();
    void fullProjectName_data();
    void fullProjectName();
    void equality();
    void keyValueReplay();
};

void TestProjectOptions::defaults()
{
    ProjectOptions o;
    QVERIFY(!o.GetPelPart().IsDefined());
    Port::String text;
    QCOMPARE(o.GetDesignEntry(text), 0u);
    QCOMPARE(Q(text), QByteArray(ProjectOptions::DESIGNENTRY_VISIBLE_VHDL));
    QCOMPARE(o.GetFlowVendor(text), 0u);
    QCOMPARE(Q(text), QByteArray(ProjectOptions::FLOWVENDOR_VISIBLE_OTHER));
    QCOMPARE(o.GetBusFormat(text), 0u);
    QCOMPARE(Q(text), QByteArray("B<n:m>"));
    QCOMPARE(Value(o, "SimulationFiles"), QByteArray("Behavioral"));
    QCOMPARE(Value(o, "VHDLSim"), QByteArray("true"));
    for (const char* key : {"VerilogSim", "ASYSymbol", "TellmarSym", "FormalVerification",
                            "AddPads", "RemoveRPMs", "CreateNDF"}) {
        QCOMPARE(Value(o, key), QByteArray("false"));
    }
}

void TestProjectOptions::spellingRoundTrip_data()
{
    QTest::addColumn<SpellingKind>("kind");
    QTest::newRow("design entry") << SpellingKind{
        ProjectOptions::GetAllInternalDesignEntries, ProjectOptions::GetAllVisibleDesignEntries,
        ProjectOptions::DesignEntryToVisible, ProjectOptions::DesignEntryToInternal};
    QTest::newRow("flow vendor") << SpellingKind{
        ProjectOptions::GetAllInternalFlowVendors, ProjectOptions::GetAllVisibleFlowVendors,
        ProjectOptions::FlowVendorToVisible, ProjectOptions::FlowVendorToInternal};
    QTest::newRow("bus format") << SpellingKind{
        ProjectOptions::GetAllInternalBusFormats, ProjectOptions::GetAllVisibleBusFormats,
        ProjectOptions::BusFormatToVisible, ProjectOptions::BusFormatToInternal};
}

void TestProjectOptions::spellingRoundTrip()
{
    QFETCH(SpellingKind, kind);
    StringList internal, visible;
    QCOMPARE(kind.internalList(internal), 0u);
    QCOMPARE(kind.visibleList(visible), 0u);
    QVERIFY(!internal.empty());
    QCOMPARE(internal.size(), visible.size());
    for (std::size_t i = 0; i < internal.size(); ++i) {
        Port::String out;
        QCOMPARE(kind.toVisible(internal[i], out), 0u);
        QCOMPARE(Q(out), Q(visible[i]));
        QCOMPARE(kind.toInternal(visible[i], out), 0u);
        QCOMPARE(Q(out), Q(internal[i]));
        Port::String shouted = visible[i];
        QCOMPARE(kind.toInternal(shouted.MakeUpper(), out), 0u);
        QCOMPARE(Q(out), Q(internal[i]));
        // No spelling may stand for two entries, or the round trip above could not hold.
        QCOMPARE(ToList(visible).count(Q(visible[i])), 1);
        QCOMPARE(ToList(internal).count(Q(internal[i])), 1);
    }
    Port::String out = "kept";
    QCOMPARE(kind.toVisible("no such value", out), 1u);
    QCOMPARE(Q(out), QByteArray("kept"));
}

void TestProjectOptions::setValueByKey_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<unsigned>("status");
    QTest::addColumn<QByteArray>("stored");

    QTest::newRow("entry lower key")
        << QByteArray("designentry") << QByteArray("verilog") << 0u << QByteArray("Verilog");
    QTest::newRow("entry visible") << QByteArray("DESIGNENTRY") << QByteArray("EDIF Netlist") << 0u
                                   << QByteArray("EdifNetlist");
    QTest::newRow("vendor visible")
        << QByteArray("flowvendor") << QByteArray("pellor ecx") << 0u << QByteArray("Pellor");
    QTest::newRow("bus visible") << QByteArray("busFormat") << QByteArray("B(n)") << 0u
                                 << QByteArray("BusFormatParen");
    QTest::newRow("flag upper") << QByteArray("vhdlsim") << QByteArray("FALSE") << 0u
                                << QByteArray("false");
    QTest::newRow("flag mixed") << QByteArray("AddPads") << QByteArray("True") << 0u
                                << QByteArray("true");
    QTest::newRow("simulation") << QByteArray("simulationfiles") << QByteArray("structural") << 0u
                                << QByteArray("Structural");
    QTest::newRow("implementation")
        << QByteArray("ImplementationFileType") << QByteArray("EDIF") << 0u << QByteArray("Edif");
    QTest::newRow("free text") << QByteArray("device") << QByteArray("TL2x50") << 0u
                               << QByteArray("TL2x50");
    QTest::newRow("bad entry") << QByteArray("DesignEntry") << QByteArray("Pascal") << 1u
                               << QByteArray("VHDL");
    QTest::newRow("bad bus") << QByteArray("BusFormat") << QByteArray("B{n}") << 1u
                             << QByteArray("BusFormatAngleRange");
    QTest::newRow("bad flag") << QByteArray("AddPads") << QByteArray("yes") << 1u
                              << QByteArray("false");
    QTest::newRow("empty choice") << QByteArray("SimulationFiles") << QByteArray() << 1u
                                  << QByteArray("Behavioral");
    QTest::newRow("two lines") << QByteArray("ProjectName") << QByteArray("a\nb") << 1u
                               << QByteArray();
    QTest::newRow("unknown key") << QByteArray("Colour") << QByteArray("red") << 1u
                                 << QByteArray("<no key>");
}

void TestProjectOptions::setValueByKey()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(unsigned, status);
    QFETCH(QByteArray, stored);

    ProjectOptions o;
    const ProjectOptions before = o;
    QCOMPARE(o.SetValue(S(key), S(value)), status);
    QCOMPARE(Value(o, key.toLower().constData()), stored);
    if (status != 0) {
        QVERIFY(o == before);
    }
}

void TestProjectOptions::designEntryAnswers_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<bool>("selectable");
    QTest::addColumn<bool>("vhdlRequired");
    QTest::addColumn<bool>("verilogRequired");
    QTest::addColumn<QByteArray>("defaultSimulation");
    QTest::addColumn<int>("vendors");

    QTest::newRow("vhdl") << QByteArray("VHDL") << false << true << false
                          << QByteArray("Behavioral") << 5;
    QTest::newRow("verilog") << QByteArray("Verilog") << false << false << true
                             << QByteArray("Behavioral") << 5;
    QTest::newRow("schematic") << QByteArray("Schematic") << true << false << false
                               << QByteArray("Behavioral") << 2;
    QTest::newRow("netlist") << QByteArray("EDIF Netlist") << true << false << false
                             << QByteArray("Structural") << 4;
    QTest::newRow("advanced") << QByteArray("Advanced") << true << false << false
                              << QByteArray("Behavioral") << 5;
}

void TestProjectOptions::designEntryAnswers()
{
    QFETCH(QByteArray, entry);
    QFETCH(bool, selectable);
    QFETCH(bool, vhdlRequired);
    QFETCH(bool, verilogRequired);
    QFETCH(QByteArray, defaultSimulation);
    QFETCH(int, vendors);

    ProjectOptions o;
    QCOMPARE(o.SetDesignEntry(S(entry)), 0u);
    bool answer = !selectable;
    QCOMPARE(o.IsSelectableVHDLSimulationModel(answer), 0u);
    QCOMPARE(answer, selectable);
    answer = !selectable;
    QCOMPARE(o.IsSelectableVerilogSimulationModel(answer), 0u);
    QCOMPARE(answer, selectable);
    QCOMPARE(o.IsRequiredVHDLSimulationModel(answer), 0u);
    QCOMPARE(answer, vhdlRequired);
    QCOMPARE(o.IsRequiredVerilogSimulationModel(answer), 0u);
    QCOMPARE(answer, verilogRequired);
    Port::String simulation;
    QCOMPARE(o.GetDefaultSimulationFiles(simulation), 0u);
    QCOMPARE(Q(simulation), defaultSimulation);
    StringList offered;
    QCOMPARE(o.GetAvailableVisibleFlowVendors(offered), 0u);
    QCOMPARE(int(offered.size()), vendors);
    // A language that cannot be chosen must already hold its required value.
    if (!selectable) {
        bool vhdl = false, verilog = false;
        o.GetVHDLSimulationModel(vhdl);
        o.GetVerilogSimulationModel(verilog);
        QCOMPARE(vhdl, vhdlRequired);
        QCOMPARE(verilog, verilogRequired);
    }
}

void TestProjectOptions::designEntryMovesVendor()
{
    ProjectOptions o;
    QCOMPARE(o.SetFlowVendor("Brellix"), 0u);
    QCOMPARE(o.SetDesignEntry("schematic"), 0u);
    QCOMPARE(Value(o, "FlowVendor"), QByteArray("Pellor"));
    QCOMPARE(Value(o, "BusFormat"), QByteArray("BusFormatAngleRange"));
    QCOMPARE(Value(o, "ASYSymbol"), QByteArray("true"));

    const ProjectOptions before = o;
    QCOMPARE(o.SetFlowVendor("Brellix"), 1u);
    QVERIFY(o == before);
    // The advanced string is an ordinary entry for the options, just never a combo item.
    Port::String advanced;
    QCOMPARE(ProjectOptions::GetVisibleAdvancedString(advanced), 0u);
    QCOMPARE(o.SetDesignEntry(advanced), 0u);
    QCOMPARE(Value(o, "DesignEntry"), QByteArray("Advanced"));
}

void TestProjectOptions::vendorFixesBusFormat_data()
{
    QTest::addColumn<QByteArray>("vendor");
    QTest::addColumn<QByteArray>("busFormat");
    QTest::addColumn<int>("offered");

    QTest::newRow("pellor") << QByteArray("Pellor ECX") << QByteArray("B<n:m>") << 1;
    QTest::newRow("brellix") << QByteArray("Brellix") << QByteArray("B[n:m]") << 1;
    QTest::newRow("quendral") << QByteArray("Quendral") << QByteArray("B(n:m)") << 1;
    QTest::newRow("tarvonne") << QByteArray("Tarvonne") << QByteArray("B<n:m>") << 1;
    // Other keeps the user's earlier choice.
    QTest::newRow("other") << QByteArray("Other") << QByteArray("Bn") << 7;
}

void TestProjectOptions::vendorFixesBusFormat()
{
    QFETCH(QByteArray, vendor);
    QFETCH(QByteArray, busFormat);
    QFETCH(int, offered);

    ProjectOptions o;
    QCOMPARE(o.SetBusFormat(ProjectOptions::BUSFORMAT_VISIBLE_NONE), 0u);
    QCOMPARE(o.SetFlowVendor(S(vendor)), 0u);
    Port::String text;
    QCOMPARE(o.GetBusFormat(text), 0u);
    QCOMPARE(Q(text), busFormat);
    StringList list;
    QCOMPARE(o.GetAvailableVisibleBusFormats(list), 0u);
    QCOMPARE(int(list.size()), offered);
    QVERIFY(ToList(list).contains(busFormat));
    // A fixed format rejects every other one.
    QCOMPARE(o.SetBusFormat(ProjectOptions::BUSFORMAT_VISIBLE_SQUARE), offered == 1 ? 1u : 0u);
}

void TestProjectOptions::asySymbolRequired_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QByteArray>("vendor");
    QTest::addColumn<unsigned>("status");
    QTest::addColumn<bool>("required");

    QTest::newRow("schematic") << QByteArray("Schematic") << QByteArray("Other") << 0u << true;
    QTest::newRow("own editor") << QByteArray("VHDL") << QByteArray("Pellor ECX") << 0u << true;
    QTest::newRow("custom") << QByteArray("Advanced") << QByteArray("Pellor") << 0u << false;
    QTest::newRow("hdl other") << QByteArray("verilog") << QByteArray("other") << 0u << false;
    QTest::newRow("bad entry") << QByteArray("Pascal") << QByteArray("Other") << 1u << false;
    QTest::newRow("bad vendor") << QByteArray("VHDL") << QByteArray("Nobody") << 1u << false;
}

void TestProjectOptions::asySymbolRequired()
{
    QFETCH(QByteArray, entry);
    QFETCH(QByteArray, vendor);
    QFETCH(unsigned, status);
    QFETCH(bool, required);

    bool answer = false;
    QCOMPARE(ProjectOptions::IsRequiredASYSymbolFile(S(entry), S(vendor), answer), status);
    QCOMPARE(answer, required);
}

void TestProjectOptions::deprecatedListKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<unsigned>("status");
    QTest::addColumn<QByteArray>("readBack");

    QTest::newRow("products set") << QByteArray("outputproducts")
                                  << QByteArray(" edif, structural,VerilogSim ,TellmarSym") << 0u
                                  << QByteArray("Edif,Structural,VerilogSim,TellmarSym");
    QTest::newRow("products no sim") << QByteArray("OutputProducts") << QByteArray("ASYSymbol")
                                     << 0u << QByteArray("Ngc,ASYSymbol");
    QTest::newRow("two netlists") << QByteArray("OutputProducts") << QByteArray("Edif,Ngc") << 1u
                                  << QByteArray("Ngc,Behavioral,VHDLSim");
    QTest::newRow("unknown product") << QByteArray("OutputProducts") << QByteArray("Ngc,Pdf") << 1u
                                     << QByteArray("Ngc,Behavioral,VHDLSim");
    QTest::newRow("elab set") << QByteArray("SimElabOptions") << QByteArray("createndf,AddPads")
                              << 0u << QByteArray("AddPads,CreateNDF");
    QTest::newRow("elab clear") << QByteArray("SimElabOptions") << QByteArray("") << 0u
                                << QByteArray("");
}

void TestProjectOptions::deprecatedListKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(unsigned, status);
    QFETCH(QByteArray, readBack);

    ProjectOptions o;
    const ProjectOptions before = o;
    QCOMPARE(o.SetValue(S(key), S(value)), status);
    QCOMPARE(Value(o, key.constData()), readBack);
    if (status != 0) {
        QVERIFY(o == before);
    }
}

void TestProjectOptions::fullProjectName_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<unsigned>("status");
    QTest::addColumn<QByteArray>("full");

    QTest::newRow("no directory") << QByteArray() << QByteArray("core") << 1u << QByteArray();
    QTest::newRow("default name") << QByteArray("/w/out") << QByteArray() << 0u
                                  << QByteArray("/w/out/gantrel.gtcfg");
    QTest::newRow("trailing slash")
        << QByteArray("/w/out/") << QByteArray("core") << 0u << QByteArray("/w/out/core.gtcfg");
}

void TestProjectOptions::fullProjectName()
{
    QFETCH(QByteArray, directory);
    QFETCH(QByteArray, name);
    QFETCH(unsigned, status);
    QFETCH(QByteArray, full);

    ProjectOptions o;
    o.SetOutputDirectory(S(directory));
    o.SetProjectName(S(name));
    Port::String out;
    QCOMPARE(o.GetFullProjectName(out), status);
    QCOMPARE(Q(out), full);
}

void TestProjectOptions::equality()
{
    QVERIFY(ProjectOptions() == ProjectOptions());
    const ProjectOptions custom = Customised();
    ProjectOptions copy = custom;
    QVERIFY(copy == custom);
    QVERIFY(!(copy != custom));
    // Part texts compare exactly, as the caller decides how loosely to match a part.
    copy.SetDevice("TL2X50");
    QVERIFY(copy != custom);
    copy = custom;
    copy.SetCreateNDF(true);
    QVERIFY(copy != custom);
}

void TestProjectOptions::keyValueReplay()
{
    const ProjectOptions custom = Customised();
    ProjectOptions::KeyValueList pairs;
    custom.GetKeyValuePairs(pairs);
    QCOMPARE(pairs.size(), ProjectOptions::STORED_KEY_COUNT);
    ProjectOptions rebuilt;
    for (const auto& [key, value] : pairs) {
        QVERIFY2(rebuilt.SetValue(key, value) == 0, key.c_str());
    }
    QVERIFY(rebuilt == custom);
}

QTEST_GUILESS_MAIN(TestProjectOptions)
#include "tst_projectoptions.moc"
