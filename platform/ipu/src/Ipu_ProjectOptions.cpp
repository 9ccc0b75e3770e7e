#include "Ipu_ProjectOptions.h"

#include "Ipu_Keyword.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace Ipu {

namespace {

using PO = ProjectOptions;
using StringList = std::vector<Port::String>;

// Index of each option in the stored values; the two deprecated list keys follow them.
enum KeyIndex : int {
    kFamily,
    kDevice,
    kPackage,
    kSpeedGrade,
    kProjectName,
    kOutputDirectory,
    kWorkingDirectory,
    kDesignEntry,
    kFlowVendor,
    kBusFormat,
    kImplementation,
    kSimulationFiles,
    kVhdlSim,
    kVerilogSim,
    kAsySymbol,
    kTellmarSym,
    kFormalVerification,
    kAddPads,
    kRemoveRpms,
    kCreateNdf,
    kStoredCount,
    kOutputProducts = kStoredCount,
    kSimElabOptions,
    kKeyCount
};
static_assert(static_cast<std::size_t>(kStoredCount) == PO::STORED_KEY_COUNT,
              "stored key count out of step");

constexpr const char* kKeyNames[kKeyCount] = {PO::DEVICEFAMILY,
                                              PO::DEVICE,
                                              PO::PACKAGE,
                                              PO::SPEEDGRADE,
                                              PO::PROJECTNAME,
                                              PO::OUTPUTDIRECTORY,
                                              PO::WORKINGDIRECTORY,
                                              PO::DESIGNENTRY,
                                              PO::FLOWVENDOR,
                                              PO::BUSFORMAT,
                                              PO::IMPLEMENTATIONFILETYPE,
                                              PO::SIMULATIONFILES,
                                              PO::VHDLSIM,
                                              PO::VERILOGSIM,
                                              PO::ASYSYMBOL,
                                              PO::TELLMARSYM,
                                              PO::FORMALVERIFICATION,
                                              PO::ADDPADS,
                                              PO::REMOVERPMS,
                                              PO::CREATENDF,
                                              PO::OUTPUTPRODUCTS,
                                              PO::SIMELABOPTIONS};

struct Spelling {
    const char* internal;
    const char* visible;
};

// Index order of these tables is relied on by the rule tables below.
enum DesignEntryIndex { kEntryVhdl, kEntryVerilog, kEntrySchematic, kEntryEdif, kEntryAdvanced };
constexpr Spelling kDesignEntries[] = {
    {PO::DESIGNENTRY_VHDL, PO::DESIGNENTRY_VISIBLE_VHDL},
    {PO::DESIGNENTRY_VERILOG, PO::DESIGNENTRY_VISIBLE_VERILOG},
    {PO::DESIGNENTRY_SCHEMATIC, PO::DESIGNENTRY_VISIBLE_SCHEMATIC},
    {PO::DESIGNENTRY_EDIF, PO::DESIGNENTRY_VISIBLE_EDIF},
    {PO::DESIGNENTRY_ADVANCED, PO::DESIGNENTRY_VISIBLE_ADVANCED}};

enum FlowVendorIndex {
    kVendorPellor,
    kVendorBrellix,
    kVendorQuendral,
    kVendorTarvonne,
    kVendorOther
};
constexpr Spelling kFlowVendors[] = {{PO::FLOWVENDOR_PELLOR, PO::FLOWVENDOR_VISIBLE_PELLOR},
                                     {PO::FLOWVENDOR_BRELLIX, PO::FLOWVENDOR_VISIBLE_BRELLIX},
                                     {PO::FLOWVENDOR_QUENDRAL, PO::FLOWVENDOR_VISIBLE_QUENDRAL},
                                     {PO::FLOWVENDOR_TARVONNE, PO::FLOWVENDOR_VISIBLE_TARVONNE},
                                     {PO::FLOWVENDOR_OTHER, PO::FLOWVENDOR_VISIBLE_OTHER}};

enum BusFormatIndex { kBusAngleRange, kBusSquareRange, kBusParenRange };
constexpr Spelling kBusFormats[] = {
    {PO::BUSFORMAT_ANGLE_RANGE, PO::BUSFORMAT_VISIBLE_ANGLE_RANGE},
    {PO::BUSFORMAT_SQUARE_RANGE, PO::BUSFORMAT_VISIBLE_SQUARE_RANGE},
    {PO::BUSFORMAT_PAREN_RANGE, PO::BUSFORMAT_VISIBLE_PAREN_RANGE},
    {PO::BUSFORMAT_ANGLE, PO::BUSFORMAT_VISIBLE_ANGLE},
    {PO::BUSFORMAT_SQUARE, PO::BUSFORMAT_VISIBLE_SQUARE},
    {PO::BUSFORMAT_PAREN, PO::BUSFORMAT_VISIBLE_PAREN},
    {PO::BUSFORMAT_NONE, PO::BUSFORMAT_VISIBLE_NONE}};

// Vendors offered per design entry, one bit per FlowVendorIndex, listed in table order.
constexpr std::uint32_t kAllVendors = 0x1f;
constexpr std::uint32_t kVendorsByEntry[] = {kAllVendors, kAllVendors,
                                             (1u << kVendorPellor) | (1u << kVendorOther),
                                             kAllVendors & ~(1u << kVendorPellor), kAllVendors};

// Each vendor's netlist bus format; Other leaves the choice to the user (-1).
constexpr int kBusFormatByVendor[] = {kBusAngleRange, kBusSquareRange, kBusParenRange,
                                      kBusAngleRange, -1};

constexpr const char* kFlagValues[] = {PO::TRUEVALUE, PO::FALSEVALUE};
constexpr const char* kImplementationTypes[] = {PO::IMPLEMENTATION_EDIF, PO::IMPLEMENTATION_NGC};
constexpr const char* kSimulationModels[] = {PO::BEHAVIORAL, PO::STRUCTURAL, PO::NONE};
constexpr const char* kSimElabTokens[] = {PO::FORMALVERIFICATION, PO::ADDPADS, PO::REMOVERPMS,
                                          PO::CREATENDF};
constexpr KeyIndex kSimElabKeys[] = {kFormalVerification, kAddPads, kRemoveRpms, kCreateNdf};
// OutputProducts tokens: the two implementation types, two simulation models, four flags.
constexpr const char* kOutputProductTokens[] = {
    PO::IMPLEMENTATION_EDIF, PO::IMPLEMENTATION_NGC, PO::BEHAVIORAL, PO::STRUCTURAL, PO::VHDLSIM,
    PO::VERILOGSIM,          PO::ASYSYMBOL,          PO::TELLMARSYM};
constexpr KeyIndex kOutputProductFlags[] = {kVhdlSim, kVerilogSim, kAsySymbol, kTellmarSym};

bool SameIgnoringCase(const Port::String& a, const char* b)
{
    return a.Compare(b, Port::CompareIgnoreCase) == 0;
}

template <std::size_t N>
int FindName(const char* const (&names)[N], const Port::String& value)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (SameIgnoringCase(value, names[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Either spelling, any letter case.
template <std::size_t N>
int FindSpelling(const Spelling (&table)[N], const Port::String& value)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (SameIgnoringCase(value, table[i].internal) ||
            SameIgnoringCase(value, table[i].visible)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

template <std::size_t N>
unsigned Convert(const Spelling (&table)[N], const Port::String& value, bool visible,
                 Port::String& out)
{
    int i = FindSpelling(table, value);
    if (i < 0) {
        return 1;
    }
    out = visible ? table[i].visible : table[i].internal;
    return 0;
}

template <std::size_t N>
unsigned ListNames(const char* const (&names)[N], StringList& out)
{
    out.assign(std::begin(names), std::end(names));
    return 0;
}

template <std::size_t N>
unsigned ListSpellings(const Spelling (&table)[N], bool visible, StringList& out)
{
    out.clear();
    for (const Spelling& s : table) {
        out.emplace_back(visible ? s.visible : s.internal);
    }
    return 0;
}

const char* FlagText(bool value)
{
    return value ? PO::TRUEVALUE : PO::FALSEVALUE;
}

// Values end up in line-based files; a control character would break them.
bool IsSingleLine(const Port::String& value)
{
    for (std::size_t i = 0; i < value.GetLength(); ++i) {
        unsigned char c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7f) {
            return false;
        }
    }
    return true;
}

// Comma-separated tokens of a deprecated list key, each an index into names; -1 on an
// unknown token.
template <std::size_t N>
int ParseTokens(const char* const (&names)[N], const Port::String& value, bool (&seen)[N])
{
    std::fill(std::begin(seen), std::end(seen), false);
    std::size_t start = 0;
    while (start <= value.GetLength()) {
        long comma = value.GetIndexOfString(",", Port::CompareExact, start);
        std::size_t end = comma < 0 ? value.GetLength() : static_cast<std::size_t>(comma);
        Port::String token = value.Extract(start, end - start);
        token.Trim();
        if (!token.IsEmpty()) {
            int i = FindName(names, token);
            if (i < 0) {
                return -1;
            }
            seen[i] = true;
        }
        start = end + 1;
    }
    return 0;
}

void AppendToken(Port::String& list, const char* token)
{
    if (!list.IsEmpty()) {
        list.Append(',');
    }
    list.Append(token);
}

int EntryIndexOf(const Port::String& value)
{
    return FindSpelling(kDesignEntries, value);
}
int VendorIndexOf(const Port::String& value)
{
    return FindSpelling(kFlowVendors, value);
}

bool IsHdlEntry(int entry)
{
    return entry == kEntryVhdl || entry == kEntryVerilog;
}

}  // namespace

ProjectOptions::ProjectOptions()
{
    values[kDesignEntry] = DESIGNENTRY_VHDL;
    values[kFlowVendor] = FLOWVENDOR_OTHER;
    values[kBusFormat] = BUSFORMAT_ANGLE_RANGE;
    values[kImplementation] = IMPLEMENTATION_NGC;
    values[kSimulationFiles] = BEHAVIORAL;
    for (std::size_t i = kVhdlSim; i < kStoredCount; ++i) {
        values[i] = FALSEVALUE;
    }
    values[kVhdlSim] = TRUEVALUE;
}

// ---- Stored values ----

unsigned ProjectOptions::GetStored(std::size_t index, Port::String& out) const
{
    out = values[index];
    return 0;
}

unsigned ProjectOptions::SetText(std::size_t index, const Port::String& value)
{
    if (!IsSingleLine(value)) {
        return 1;
    }
    values[index] = value;
    return 0;
}

unsigned ProjectOptions::GetFlag(std::size_t index, bool& out) const
{
    out = values[index] == TRUEVALUE;
    return 0;
}

unsigned ProjectOptions::SetFlag(std::size_t index, bool value)
{
    values[index] = FlagText(value);
    return 0;
}

// ---- Part ----

PelPart ProjectOptions::GetPelPart() const
{
    return PelPart(values[kFamily], values[kDevice], values[kPackage], values[kSpeedGrade]);
}

unsigned ProjectOptions::GetDeviceFamily(Port::String& out) const
{
    return GetStored(kFamily, out);
}
unsigned ProjectOptions::GetDevice(Port::String& out) const
{
    return GetStored(kDevice, out);
}
unsigned ProjectOptions::GetPackage(Port::String& out) const
{
    return GetStored(kPackage, out);
}
unsigned ProjectOptions::GetSpeedGrade(Port::String& out) const
{
    return GetStored(kSpeedGrade, out);
}
unsigned ProjectOptions::SetDeviceFamily(const Port::String& value)
{
    return SetText(kFamily, value);
}
unsigned ProjectOptions::SetDevice(const Port::String& value)
{
    return SetText(kDevice, value);
}
unsigned ProjectOptions::SetPackage(const Port::String& value)
{
    return SetText(kPackage, value);
}
unsigned ProjectOptions::SetSpeedGrade(const Port::String& value)
{
    return SetText(kSpeedGrade, value);
}

// ---- Names and directories ----

unsigned ProjectOptions::GetProjectName(Port::String& out) const
{
    return GetStored(kProjectName, out);
}
unsigned ProjectOptions::SetProjectName(const Port::String& value)
{
    return SetText(kProjectName, value);
}
unsigned ProjectOptions::GetOutputDirectory(Port::String& out) const
{
    return GetStored(kOutputDirectory, out);
}
unsigned ProjectOptions::SetOutputDirectory(const Port::String& value)
{
    return SetText(kOutputDirectory, value);
}
unsigned ProjectOptions::GetWorkingDirectory(Port::String& out) const
{
    return GetStored(kWorkingDirectory, out);
}
unsigned ProjectOptions::SetWorkingDirectory(const Port::String& value)
{
    return SetText(kWorkingDirectory, value);
}

unsigned ProjectOptions::GetFullProjectName(Port::String& out) const
{
    const Port::String& directory = values[kOutputDirectory];
    if (directory.IsEmpty()) {
        return 1;
    }
    Port::String name = directory;
    if (name[name.GetLength() - 1] != '/') {
        name.Append('/');
    }
    const Port::String& project = values[kProjectName];
    name.Append(project.IsEmpty() ? Port::String(Keyword::GANTREL_DEFAULT_PROJECT_NAME) : project);
    name.Append('.');
    name.Append(Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION);
    out = name;
    return 0;
}

// ---- Design entry ----

unsigned ProjectOptions::GetDesignEntry(Port::String& visible) const
{
    return DesignEntryToVisible(values[kDesignEntry], visible);
}
unsigned ProjectOptions::GetVisibleDesignEntry(Port::String& visible) const
{
    return GetDesignEntry(visible);
}
unsigned ProjectOptions::GetInternalDesignEntry(Port::String& internal) const
{
    return GetStored(kDesignEntry, internal);
}

unsigned ProjectOptions::SetDesignEntry(const Port::String& value)
{
    int entry = EntryIndexOf(value);
    if (entry < 0) {
        return 1;
    }
    values[kDesignEntry] = kDesignEntries[entry].internal;
    ApplyDesignEntryRules();
    return 0;
}

void ProjectOptions::ApplyDesignEntryRules()
{
    int entry = EntryIndexOf(values[kDesignEntry]);
    std::uint32_t offered = kVendorsByEntry[entry];
    if ((offered & (1u << VendorIndexOf(values[kFlowVendor]))) == 0) {
        int first = 0;
        while ((offered & (1u << first)) == 0) {
            ++first;
        }
        SetFlowVendor(kFlowVendors[first].internal);
    }
    if (IsHdlEntry(entry)) {
        SetFlag(kVhdlSim, entry == kEntryVhdl);
        SetFlag(kVerilogSim, entry == kEntryVerilog);
    }
    bool required = false;
    IsRequiredASYSymbolFile(values[kDesignEntry], values[kFlowVendor], required);
    if (required) {
        SetFlag(kAsySymbol, true);
    }
}

unsigned ProjectOptions::GetAllInternalDesignEntries(StringList& out)
{
    return ListSpellings(kDesignEntries, false, out);
}
unsigned ProjectOptions::GetAllVisibleDesignEntries(StringList& out)
{
    return ListSpellings(kDesignEntries, true, out);
}
unsigned ProjectOptions::GetAvailableVisibleDesignEntries(StringList& out) const
{
    return GetAllVisibleDesignEntries(out);
}
unsigned ProjectOptions::GetVisibleAdvancedString(Port::String& out)
{
    out = DESIGNENTRY_VISIBLE_ADVANCED;
    return 0;
}
unsigned ProjectOptions::DesignEntryToVisible(const Port::String& value, Port::String& visible)
{
    return Convert(kDesignEntries, value, true, visible);
}
unsigned ProjectOptions::DesignEntryToInternal(const Port::String& value, Port::String& internal)
{
    return Convert(kDesignEntries, value, false, internal);
}

// ---- Flow vendor ----

unsigned ProjectOptions::GetFlowVendor(Port::String& visible) const
{
    return FlowVendorToVisible(values[kFlowVendor], visible);
}
unsigned ProjectOptions::GetVisibleFlowVendor(Port::String& visible) const
{
    return GetFlowVendor(visible);
}
unsigned ProjectOptions::GetInternalFlowVendor(Port::String& internal) const
{
    return GetStored(kFlowVendor, internal);
}

unsigned ProjectOptions::SetFlowVendor(const Port::String& value)
{
    int vendor = VendorIndexOf(value);
    int entry = EntryIndexOf(values[kDesignEntry]);
    if (vendor < 0 || (kVendorsByEntry[entry] & (1u << vendor)) == 0) {
        return 1;
    }
    values[kFlowVendor] = kFlowVendors[vendor].internal;
    if (kBusFormatByVendor[vendor] >= 0) {
        values[kBusFormat] = kBusFormats[kBusFormatByVendor[vendor]].internal;
    }
    bool required = false;
    IsRequiredASYSymbolFile(values[kDesignEntry], values[kFlowVendor], required);
    if (required) {
        SetFlag(kAsySymbol, true);
    }
    return 0;
}

unsigned ProjectOptions::GetAllInternalFlowVendors(StringList& out)
{
    return ListSpellings(kFlowVendors, false, out);
}
unsigned ProjectOptions::GetAllVisibleFlowVendors(StringList& out)
{
    return ListSpellings(kFlowVendors, true, out);
}
unsigned ProjectOptions::GetAvailableVisibleFlowVendors(StringList& out) const
{
    return GetAvailableVisibleFlowVendors(values[kDesignEntry], out);
}
unsigned ProjectOptions::GetAvailableVisibleFlowVendors(const Port::String& designEntry,
                                                        StringList& out)
{
    out.clear();
    int entry = EntryIndexOf(designEntry);
    if (entry < 0) {
        return 1;
    }
    for (std::size_t v = 0; v < std::size(kFlowVendors); ++v) {
        if (kVendorsByEntry[entry] & (1u << v)) {
            out.emplace_back(kFlowVendors[v].visible);
        }
    }
    return 0;
}
unsigned ProjectOptions::FlowVendorToVisible(const Port::String& value, Port::String& visible)
{
    return Convert(kFlowVendors, value, true, visible);
}
unsigned ProjectOptions::FlowVendorToInternal(const Port::String& value, Port::String& internal)
{
    return Convert(kFlowVendors, value, false, internal);
}

// ---- Bus format ----

unsigned ProjectOptions::GetBusFormat(Port::String& visible) const
{
    return BusFormatToVisible(values[kBusFormat], visible);
}
unsigned ProjectOptions::GetVisibleBusFormat(Port::String& visible) const
{
    return GetBusFormat(visible);
}
unsigned ProjectOptions::GetInternalBusFormat(Port::String& internal) const
{
    return GetStored(kBusFormat, internal);
}

unsigned ProjectOptions::SetBusFormat(const Port::String& value)
{
    int format = FindSpelling(kBusFormats, value);
    int fixed = kBusFormatByVendor[VendorIndexOf(values[kFlowVendor])];
    if (format < 0 || (fixed >= 0 && format != fixed)) {
        return 1;
    }
    values[kBusFormat] = kBusFormats[format].internal;
    return 0;
}

unsigned ProjectOptions::GetAllInternalBusFormats(StringList& out)
{
    return ListSpellings(kBusFormats, false, out);
}
unsigned ProjectOptions::GetAllVisibleBusFormats(StringList& out)
{
    return ListSpellings(kBusFormats, true, out);
}
unsigned ProjectOptions::GetAvailableVisibleBusFormats(StringList& out) const
{
    return GetAvailableVisibleBusFormats(values[kFlowVendor], out);
}
unsigned ProjectOptions::GetAvailableVisibleBusFormats(const Port::String& flowVendor,
                                                       StringList& out)
{
    out.clear();
    int vendor = VendorIndexOf(flowVendor);
    if (vendor < 0) {
        return 1;
    }
    int fixed = kBusFormatByVendor[vendor];
    if (fixed < 0) {
        return GetAllVisibleBusFormats(out);
    }
    out.emplace_back(kBusFormats[fixed].visible);
    return 0;
}
unsigned ProjectOptions::BusFormatToVisible(const Port::String& value, Port::String& visible)
{
    return Convert(kBusFormats, value, true, visible);
}
unsigned ProjectOptions::BusFormatToInternal(const Port::String& value, Port::String& internal)
{
    return Convert(kBusFormats, value, false, internal);
}

// ---- Output products ----

unsigned ProjectOptions::GetImplementationFileType(Port::String& out) const
{
    return GetStored(kImplementation, out);
}
unsigned ProjectOptions::SetImplementationFileType(const Port::String& value)
{
    int i = FindName(kImplementationTypes, value);
    if (i < 0) {
        return 1;
    }
    values[kImplementation] = kImplementationTypes[i];
    return 0;
}
unsigned ProjectOptions::GetAllImplementationFileTypes(StringList& out)
{
    return ListNames(kImplementationTypes, out);
}
unsigned ProjectOptions::GetASYSymbolFile(bool& out) const
{
    return GetFlag(kAsySymbol, out);
}
unsigned ProjectOptions::SetASYSymbolFile(bool value)
{
    return SetFlag(kAsySymbol, value);
}
unsigned ProjectOptions::GetTellmarSymbolFile(bool& out) const
{
    return GetFlag(kTellmarSym, out);
}
unsigned ProjectOptions::SetTellmarSymbolFile(bool value)
{
    return SetFlag(kTellmarSym, value);
}

unsigned ProjectOptions::IsRequiredASYSymbolFile(const Port::String& designEntry,
                                                 const Port::String& flowVendor, bool& required)
{
    int entry = EntryIndexOf(designEntry);
    int vendor = VendorIndexOf(flowVendor);
    if (entry < 0 || vendor < 0) {
        return 1;
    }
    // Schematic flows place the core as a symbol; our own editor always wants one.
    // Custom output products leave every choice to the user.
    required = entry == kEntrySchematic || (entry != kEntryAdvanced && vendor == kVendorPellor);
    return 0;
}

unsigned ProjectOptions::GetAllInternalOutputProducts(StringList& out)
{
    return ListNames(kOutputProductTokens, out);
}

Port::String ProjectOptions::GetOutputProducts() const
{
    Port::String list = values[kImplementation];
    if (values[kSimulationFiles] != NONE) {
        AppendToken(list, values[kSimulationFiles].c_str());
    }
    for (KeyIndex flag : kOutputProductFlags) {
        if (values[flag] == TRUEVALUE) {
            AppendToken(list, kKeyNames[flag]);
        }
    }
    return list;
}

unsigned ProjectOptions::SetOutputProducts(const Port::String& value)
{
    bool seen[std::size(kOutputProductTokens)];
    if (ParseTokens(kOutputProductTokens, value, seen) < 0 || (seen[0] && seen[1]) ||
        (seen[2] && seen[3])) {
        return 1;
    }
    if (seen[0] || seen[1]) {
        values[kImplementation] = kOutputProductTokens[seen[0] ? 0 : 1];
    }
    values[kSimulationFiles] = seen[2] ? BEHAVIORAL : seen[3] ? STRUCTURAL : NONE;
    for (std::size_t i = 0; i < std::size(kOutputProductFlags); ++i) {
        SetFlag(kOutputProductFlags[i], seen[4 + i]);
    }
    return 0;
}

// ---- Simulation files ----

unsigned ProjectOptions::GetSimulationFiles(Port::String& out) const
{
    return GetStored(kSimulationFiles, out);
}
unsigned ProjectOptions::SetSimulationFiles(const Port::String& value)
{
    int i = FindName(kSimulationModels, value);
    if (i < 0) {
        return 1;
    }
    values[kSimulationFiles] = kSimulationModels[i];
    return 0;
}
unsigned ProjectOptions::GetAllSimulationFiles(StringList& out)
{
    return ListNames(kSimulationModels, out);
}
unsigned ProjectOptions::GetDefaultSimulationFiles(Port::String& out) const
{
    // A netlist flow has no behavioural source to model.
    out = EntryIndexOf(values[kDesignEntry]) == kEntryEdif ? STRUCTURAL : BEHAVIORAL;
    return 0;
}
unsigned ProjectOptions::GetVHDLSimulationModel(bool& out) const
{
    return GetFlag(kVhdlSim, out);
}
unsigned ProjectOptions::SetVHDLSimulationModel(bool value)
{
    return SetFlag(kVhdlSim, value);
}
unsigned ProjectOptions::GetVerilogSimulationModel(bool& out) const
{
    return GetFlag(kVerilogSim, out);
}
unsigned ProjectOptions::SetVerilogSimulationModel(bool value)
{
    return SetFlag(kVerilogSim, value);
}

unsigned ProjectOptions::IsSelectableVHDLSimulationModel(bool& selectable) const
{
    selectable = !IsHdlEntry(EntryIndexOf(values[kDesignEntry]));
    return 0;
}
unsigned ProjectOptions::IsSelectableVerilogSimulationModel(bool& selectable) const
{
    return IsSelectableVHDLSimulationModel(selectable);
}
unsigned ProjectOptions::IsRequiredVHDLSimulationModel(bool& required) const
{
    required = EntryIndexOf(values[kDesignEntry]) == kEntryVhdl;
    return 0;
}
unsigned ProjectOptions::IsRequiredVerilogSimulationModel(bool& required) const
{
    required = EntryIndexOf(values[kDesignEntry]) == kEntryVerilog;
    return 0;
}

// ---- Elaboration options ----

unsigned ProjectOptions::GetFormalVerification(bool& out) const
{
    return GetFlag(kFormalVerification, out);
}
unsigned ProjectOptions::SetFormalVerification(bool value)
{
    return SetFlag(kFormalVerification, value);
}
unsigned ProjectOptions::GetAddPads(bool& out) const
{
    return GetFlag(kAddPads, out);
}
unsigned ProjectOptions::SetAddPads(bool value)
{
    return SetFlag(kAddPads, value);
}
unsigned ProjectOptions::GetRemoveRPMs(bool& out) const
{
    return GetFlag(kRemoveRpms, out);
}
unsigned ProjectOptions::SetRemoveRPMs(bool value)
{
    return SetFlag(kRemoveRpms, value);
}
unsigned ProjectOptions::GetCreateNDF(bool& out) const
{
    return GetFlag(kCreateNdf, out);
}
unsigned ProjectOptions::SetCreateNDF(bool value)
{
    return SetFlag(kCreateNdf, value);
}
unsigned ProjectOptions::GetAllInternalSimElabOptions(StringList& out)
{
    return ListNames(kSimElabTokens, out);
}

Port::String ProjectOptions::GetSimElabOptions() const
{
    Port::String list;
    for (KeyIndex flag : kSimElabKeys) {
        if (values[flag] == TRUEVALUE) {
            AppendToken(list, kKeyNames[flag]);
        }
    }
    return list;
}

unsigned ProjectOptions::SetSimElabOptions(const Port::String& value)
{
    bool seen[std::size(kSimElabTokens)];
    if (ParseTokens(kSimElabTokens, value, seen) < 0) {
        return 1;
    }
    for (std::size_t i = 0; i < std::size(kSimElabKeys); ++i) {
        SetFlag(kSimElabKeys[i], seen[i]);
    }
    return 0;
}

// ---- Generic access ----

bool ProjectOptions::IsKey(const Port::String& key)
{
    return FindName(kKeyNames, key) >= 0;
}

unsigned ProjectOptions::GetValue(const Port::String& key, Port::String& out) const
{
    int index = FindName(kKeyNames, key);
    if (index < 0) {
        return 1;
    }
    if (index == kOutputProducts) {
        out = GetOutputProducts();
    } else if (index == kSimElabOptions) {
        out = GetSimElabOptions();
    } else {
        out = values[index];
    }
    return 0;
}

unsigned ProjectOptions::SetValue(const Port::String& key, const Port::String& value)
{
    int index = FindName(kKeyNames, key);
    switch (index) {
        case kDesignEntry:
            return SetDesignEntry(value);
        case kFlowVendor:
            return SetFlowVendor(value);
        case kBusFormat:
            return SetBusFormat(value);
        case kImplementation:
            return SetImplementationFileType(value);
        case kSimulationFiles:
            return SetSimulationFiles(value);
        case kOutputProducts:
            return SetOutputProducts(value);
        case kSimElabOptions:
            return SetSimElabOptions(value);
        default:
            break;
    }
    if (index < 0) {
        return 1;
    }
    if (index < kDesignEntry) {
        return SetText(index, value);
    }
    int flag = FindName(kFlagValues, value);
    return flag < 0 ? 1 : SetFlag(index, flag == 0);
}

void ProjectOptions::GetKeyValuePairs(KeyValueList& out) const
{
    out.clear();
    for (std::size_t i = 0; i < kStoredCount; ++i) {
        out.emplace_back(kKeyNames[i], values[i]);
    }
}

bool operator==(const ProjectOptions& a, const ProjectOptions& b)
{
    return a.values == b.values;
}

}  // namespace Ipu
