#pragma once

#include "Ipu_PelPart.h"
#include "Port_StringBase.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

namespace Ipu {

// The options a design (or a customized IP) is generated with: the target part, names and
// directories, the flow (design entry, flow vendor, bus format) and the output products.
//
// A value type: every option is a text under a fixed key, held in its stored spelling.
// Design entry, flow vendor and bus format have a stored ("internal") spelling, which is
// what files, batch SET commands and GetValue use, and a "visible" spelling for people.
// Their typed setters take either spelling in any letter case; their plain typed getters
// answer the visible spelling (GetInternal... the stored one). Booleans are stored as
// TRUEVALUE / FALSEVALUE.
//
// Dependencies kept by the setters (so that a batch of SET commands cannot leave the
// options inconsistent): the design entry decides which flow vendors are offered and which
// simulation languages and symbol files are required; every flow vendor but Other decides
// the bus format. docs/project-options.md has the tables.
//
// Every fallible operation answers 0 on success and 1 for an unknown key or a value
// outside the key's list; a rejected value leaves the options unchanged.
class ProjectOptions {
public:
    using KeyValue = std::pair<Port::String, Port::String>;
    using KeyValueList = std::vector<KeyValue>;

    // ---- Keys (looked up ignoring letter case) ----
    static constexpr const char* DEVICEFAMILY = "DeviceFamily";
    static constexpr const char* DEVICE = "Device";
    static constexpr const char* PACKAGE = "Package";
    static constexpr const char* SPEEDGRADE = "SpeedGrade";
    static constexpr const char* PROJECTNAME = "ProjectName";
    static constexpr const char* OUTPUTDIRECTORY = "OutputDirectory";
    static constexpr const char* WORKINGDIRECTORY = "WorkingDirectory";
    static constexpr const char* DESIGNENTRY = "DesignEntry";
    static constexpr const char* FLOWVENDOR = "FlowVendor";
    static constexpr const char* BUSFORMAT = "BusFormat";
    static constexpr const char* IMPLEMENTATIONFILETYPE = "ImplementationFileType";
    static constexpr const char* SIMULATIONFILES = "SimulationFiles";
    static constexpr const char* VHDLSIM = "VHDLSim";
    static constexpr const char* VERILOGSIM = "VerilogSim";
    static constexpr const char* ASYSYMBOL = "ASYSymbol";
    static constexpr const char* TELLMARSYM = "TellmarSym";
    static constexpr const char* FORMALVERIFICATION = "FormalVerification";
    static constexpr const char* ADDPADS = "AddPads";
    static constexpr const char* REMOVERPMS = "RemoveRPMs";
    static constexpr const char* CREATENDF = "CreateNDF";
    // Deprecated list keys: comma-separated tokens, read from and written to the keys above.
    static constexpr const char* OUTPUTPRODUCTS = "OutputProducts";
    static constexpr const char* SIMELABOPTIONS = "SimElabOptions";

    // ---- Boolean values ----
    static constexpr const char* TRUEVALUE = "true";
    static constexpr const char* FALSEVALUE = "false";

    // ---- Design entry: stored / visible ----
    static constexpr const char* DESIGNENTRY_VHDL = "VHDL";
    static constexpr const char* DESIGNENTRY_VERILOG = "Verilog";
    static constexpr const char* DESIGNENTRY_SCHEMATIC = "Schematic";
    static constexpr const char* DESIGNENTRY_EDIF = "EdifNetlist";
    static constexpr const char* DESIGNENTRY_ADVANCED = "Advanced";
    static constexpr const char* DESIGNENTRY_VISIBLE_VHDL = "VHDL";
    static constexpr const char* DESIGNENTRY_VISIBLE_VERILOG = "Verilog";
    static constexpr const char* DESIGNENTRY_VISIBLE_SCHEMATIC = "Schematic";
    static constexpr const char* DESIGNENTRY_VISIBLE_EDIF = "EDIF Netlist";
    // The custom choice of output products; never offered as an ordinary design entry.
    static constexpr const char* DESIGNENTRY_VISIBLE_ADVANCED = "Advanced";

    // ---- Flow vendor: stored / visible ----
    static constexpr const char* FLOWVENDOR_OTHER = "Other";
    static constexpr const char* FLOWVENDOR_PELLOR = "Pellor";
    static constexpr const char* FLOWVENDOR_BRELLIX = "Brellix";
    static constexpr const char* FLOWVENDOR_QUENDRAL = "Quendral";
    static constexpr const char* FLOWVENDOR_TARVONNE = "Tarvonne";
    static constexpr const char* FLOWVENDOR_VISIBLE_OTHER = "Other";
    static constexpr const char* FLOWVENDOR_VISIBLE_PELLOR = "Pellor ECX";
    static constexpr const char* FLOWVENDOR_VISIBLE_BRELLIX = "Brellix";
    static constexpr const char* FLOWVENDOR_VISIBLE_QUENDRAL = "Quendral";
    static constexpr const char* FLOWVENDOR_VISIBLE_TARVONNE = "Tarvonne";

    // ---- Bus format: stored / visible. The four per-bit formats are deprecated. ----
    static constexpr const char* BUSFORMAT_ANGLE_RANGE = "BusFormatAngleRange";
    static constexpr const char* BUSFORMAT_SQUARE_RANGE = "BusFormatSquareRange";
    static constexpr const char* BUSFORMAT_PAREN_RANGE = "BusFormatParenRange";
    static constexpr const char* BUSFORMAT_ANGLE = "BusFormatAngle";
    static constexpr const char* BUSFORMAT_SQUARE = "BusFormatSquare";
    static constexpr const char* BUSFORMAT_PAREN = "BusFormatParen";
    static constexpr const char* BUSFORMAT_NONE = "BusFormatNone";
    static constexpr const char* BUSFORMAT_VISIBLE_ANGLE_RANGE = "B<n:m>";
    static constexpr const char* BUSFORMAT_VISIBLE_SQUARE_RANGE = "B[n:m]";
    static constexpr const char* BUSFORMAT_VISIBLE_PAREN_RANGE = "B(n:m)";
    static constexpr const char* BUSFORMAT_VISIBLE_ANGLE = "B<n>";
    static constexpr const char* BUSFORMAT_VISIBLE_SQUARE = "B[n]";
    static constexpr const char* BUSFORMAT_VISIBLE_PAREN = "B(n)";
    static constexpr const char* BUSFORMAT_VISIBLE_NONE = "Bn";

    // ---- Implementation file type ----
    static constexpr const char* IMPLEMENTATION_EDIF = "Edif";
    static constexpr const char* IMPLEMENTATION_NGC = "Ngc";

    // ---- Simulation files ----
    static constexpr const char* BEHAVIORAL = "Behavioral";
    static constexpr const char* STRUCTURAL = "Structural";
    static constexpr const char* NONE = "None";

    // Defaults: empty part, names and directories; VHDL, Other, B<n:m>, Ngc, Behavioral
    // with VHDL models; every other boolean false.
    ProjectOptions();

    // ---- Part ----
    PelPart GetPelPart() const;
    unsigned GetDeviceFamily(Port::String& out) const;
    unsigned GetDevice(Port::String& out) const;
    unsigned GetPackage(Port::String& out) const;
    unsigned GetSpeedGrade(Port::String& out) const;
    unsigned SetDeviceFamily(const Port::String& value);
    unsigned SetDevice(const Port::String& value);
    unsigned SetPackage(const Port::String& value);
    unsigned SetSpeedGrade(const Port::String& value);

    // ---- Names and directories (single-line texts) ----
    unsigned GetProjectName(Port::String& out) const;
    unsigned SetProjectName(const Port::String& value);
    unsigned GetOutputDirectory(Port::String& out) const;
    unsigned SetOutputDirectory(const Port::String& value);
    // Usually relative to the output directory.
    unsigned GetWorkingDirectory(Port::String& out) const;
    unsigned SetWorkingDirectory(const Port::String& value);
    // <output directory>/<project name>.gtcfg, the name "gantrel" when none is set;
    // 1 when no output directory is set.
    unsigned GetFullProjectName(Port::String& out) const;

    // ---- Design entry ----
    unsigned GetDesignEntry(Port::String& visible) const;
    unsigned GetVisibleDesignEntry(Port::String& visible) const;
    unsigned GetInternalDesignEntry(Port::String& internal) const;
    // Also moves the flow vendor to the first one offered when the current one is not,
    // and sets the simulation languages and symbol file that the entry requires.
    unsigned SetDesignEntry(const Port::String& value);
    static unsigned GetAllInternalDesignEntries(std::vector<Port::String>& out);
    static unsigned GetAllVisibleDesignEntries(std::vector<Port::String>& out);
    unsigned GetAvailableVisibleDesignEntries(std::vector<Port::String>& out) const;
    static unsigned GetVisibleAdvancedString(Port::String& out);
    // Either spelling in, the asked-for spelling out; 1 when the value is not a design entry.
    static unsigned DesignEntryToVisible(const Port::String& value, Port::String& visible);
    static unsigned DesignEntryToInternal(const Port::String& value, Port::String& internal);

    // ---- Flow vendor ----
    unsigned GetFlowVendor(Port::String& visible) const;
    unsigned GetVisibleFlowVendor(Port::String& visible) const;
    unsigned GetInternalFlowVendor(Port::String& internal) const;
    // 1 when the vendor is not offered for the design entry. Every vendor but Other also
    // sets its own bus format.
    unsigned SetFlowVendor(const Port::String& value);
    static unsigned GetAllInternalFlowVendors(std::vector<Port::String>& out);
    static unsigned GetAllVisibleFlowVendors(std::vector<Port::String>& out);
    // The vendors offered for the current design entry, or for the given one (either spelling).
    unsigned GetAvailableVisibleFlowVendors(std::vector<Port::String>& out) const;
    static unsigned GetAvailableVisibleFlowVendors(const Port::String& designEntry,
                                                   std::vector<Port::String>& out);
    static unsigned FlowVendorToVisible(const Port::String& value, Port::String& visible);
    static unsigned FlowVendorToInternal(const Port::String& value, Port::String& internal);

    // ---- Bus format ----
    unsigned GetBusFormat(Port::String& visible) const;
    unsigned GetVisibleBusFormat(Port::String& visible) const;
    unsigned GetInternalBusFormat(Port::String& internal) const;
    // 1 when the format is not offered for the flow vendor.
    unsigned SetBusFormat(const Port::String& value);
    static unsigned GetAllInternalBusFormats(std::vector<Port::String>& out);
    static unsigned GetAllVisibleBusFormats(std::vector<Port::String>& out);
    // Every format for Other, the vendor's own one for any other vendor.
    unsigned GetAvailableVisibleBusFormats(std::vector<Port::String>& out) const;
    static unsigned GetAvailableVisibleBusFormats(const Port::String& flowVendor,
                                                  std::vector<Port::String>& out);
    static unsigned BusFormatToVisible(const Port::String& value, Port::String& visible);
    static unsigned BusFormatToInternal(const Port::String& value, Port::String& internal);

    // ---- Output products ----
    unsigned GetImplementationFileType(Port::String& out) const;
    unsigned SetImplementationFileType(const Port::String& value);
    static unsigned GetAllImplementationFileTypes(std::vector<Port::String>& out);
    unsigned GetASYSymbolFile(bool& out) const;
    unsigned SetASYSymbolFile(bool value);
    unsigned GetTellmarSymbolFile(bool& out) const;
    unsigned SetTellmarSymbolFile(bool value);
    // Whether the design entry and flow vendor (either spelling) need the ASY symbol file;
    // 1 when either is unknown.
    static unsigned IsRequiredASYSymbolFile(const Port::String& designEntry,
                                            const Port::String& flowVendor, bool& required);
    // The tokens the deprecated OutputProducts key accepts.
    static unsigned GetAllInternalOutputProducts(std::vector<Port::String>& out);

    // ---- Simulation files ----
    unsigned GetSimulationFiles(Port::String& out) const;
    unsigned SetSimulationFiles(const Port::String& value);
    static unsigned GetAllSimulationFiles(std::vector<Port::String>& out);
    // The simulation model the design entry suggests.
    unsigned GetDefaultSimulationFiles(Port::String& out) const;
    unsigned GetVHDLSimulationModel(bool& out) const;
    unsigned SetVHDLSimulationModel(bool value);
    unsigned GetVerilogSimulationModel(bool& out) const;
    unsigned SetVerilogSimulationModel(bool value);
    // HDL design entries fix their own language: it is required, neither is selectable.
    unsigned IsSelectableVHDLSimulationModel(bool& selectable) const;
    unsigned IsSelectableVerilogSimulationModel(bool& selectable) const;
    unsigned IsRequiredVHDLSimulationModel(bool& required) const;
    unsigned IsRequiredVerilogSimulationModel(bool& required) const;

    // ---- Elaboration options ----
    unsigned GetFormalVerification(bool& out) const;
    unsigned SetFormalVerification(bool value);
    unsigned GetAddPads(bool& out) const;
    unsigned SetAddPads(bool value);
    unsigned GetRemoveRPMs(bool& out) const;
    unsigned SetRemoveRPMs(bool value);
    unsigned GetCreateNDF(bool& out) const;
    unsigned SetCreateNDF(bool value);
    // The tokens the deprecated SimElabOptions key accepts.
    static unsigned GetAllInternalSimElabOptions(std::vector<Port::String>& out);

    // ---- Generic access by key (ignoring letter case), stored spellings ----
    unsigned GetValue(const Port::String& key, Port::String& out) const;
    // Goes through the typed setter of the key, so the same rules apply.
    unsigned SetValue(const Port::String& key, const Port::String& value);
    static bool IsKey(const Port::String& key);
    // Every stored key with its value, in an order that SetValue can replay to rebuild
    // equal options (deprecated list keys are left out: they only mirror other keys).
    void GetKeyValuePairs(KeyValueList& out) const;

    // Exact on every stored value.
    friend bool operator==(const ProjectOptions& a, const ProjectOptions& b);
    friend bool operator!=(const ProjectOptions& a, const ProjectOptions& b) { return !(a == b); }

    static constexpr std::size_t STORED_KEY_COUNT = 20;

private:
    unsigned GetStored(std::size_t index, Port::String& out) const;
    unsigned SetText(std::size_t index, const Port::String& value);
    unsigned GetFlag(std::size_t index, bool& out) const;
    unsigned SetFlag(std::size_t index, bool value);
    unsigned SetOutputProducts(const Port::String& value);
    unsigned SetSimElabOptions(const Port::String& value);
    Port::String GetOutputProducts() const;
    Port::String GetSimElabOptions() const;
    void ApplyDesignEntryRules();

    std::array<Port::String, STORED_KEY_COUNT> values;
};

}  // namespace Ipu
