#include "Sim_ParameterCheck.h"

#include "Sim_Utility.h"

#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace Sim {

namespace {

using Kind = ParameterCheck::ValueKind;

QString ToQ(const Port::String& text)
{
    return Utility::PortStringToQString(text);
}

// A decimal integer as sign and digits without leading zeros, so that values of any size
// compare exactly: the catalogue bounds reach 2^64 - 1, beyond every signed type.
struct Integer {
    bool negative = false;
    std::string digits;
};

std::optional<Integer> ParseInteger(const std::string& text)
{
    Integer result;
    std::size_t start = 0;
    if (!text.empty() && text[0] == '-') {
        result.negative = true;
        start = 1;
    }
    if (start == text.size() || !std::all_of(text.begin() + static_cast<long>(start), text.end(),
                                             [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const std::size_t first = std::min(text.find_first_not_of('0', start), text.size() - 1);
    result.digits = text.substr(first);
    result.negative = result.negative && result.digits != "0";
    return result;
}

int CompareMagnitudes(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

int Compare(const Integer& a, const Integer& b)
{
    if (a.negative != b.negative) {
        return a.negative ? -1 : 1;
    }
    const int magnitude = CompareMagnitudes(a.digits, b.digits);
    return a.negative ? -magnitude : magnitude;
}

// Strict: the whole text, no white space, no sign other than a leading '-'.
std::optional<double> ParseReal(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The text shown for the allowed values: each choice's label, or the choice itself.
QString AllowedList(const Ipu::Parameters::Parameter& parameter)
{
    QStringList shown;
    for (std::size_t i = 0; i < parameter.choices.size(); ++i) {
        const bool labelled =
            i < parameter.choiceLabels.size() && !parameter.choiceLabels[i].IsEmpty();
        shown.append(ToQ(labelled ? parameter.choiceLabels[i] : parameter.choices[i]));
    }
    return shown.join(QStringLiteral(", "));
}

// Checks one inclusive bound; which is "minimum" or "maximum", sign the order it demands.
template <typename Value, typename Parse, typename Cmp>
bool CheckBound(const QString& where, const QString& shown, const Value& value,
                const Port::String& bound, const char* which, int sign, Parse parse, Cmp cmp,
                QString& reason)
{
    if (bound.IsEmpty()) {
        return true;
    }
    const auto limit = parse(bound.str());
    if (!limit) {
        // A broken catalogue bound must show, not let every value through.
        reason = where + QStringLiteral("the %1 '%2' is not a number of its type")
                             .arg(QLatin1String(which), ToQ(bound));
        return false;
    }
    if (cmp(value, *limit) * sign > 0) {
        reason = where + QStringLiteral("%1 is %2 the %3 %4")
                             .arg(shown, QLatin1String(sign > 0 ? "above" : "below"),
                                  QLatin1String(which), ToQ(bound));
        return false;
    }
    return true;
}

bool CheckInteger(const QString& where, const Ipu::Parameters::Parameter& parameter,
                  QString& reason)
{
    const QString shown = ToQ(parameter.value);
    const std::optional<Integer> value = ParseInteger(parameter.value.str());
    if (!value) {
        reason = where + QStringLiteral("'%1' is not an integer").arg(shown);
        return false;
    }
    const auto cmp = [](const Integer& a, const Integer& b) { return Compare(a, b); };
    if (!CheckBound(where, shown, *value, parameter.minimum, "minimum", -1, ParseInteger, cmp,
                    reason) ||
        !CheckBound(where, shown, *value, parameter.maximum, "maximum", 1, ParseInteger, cmp,
                    reason)) {
        return false;
    }
    // Generators hold every integer in 64 bits, signed or not.
    static const Integer lowest = *ParseInteger("-9223372036854775808");
    static const Integer highest = *ParseInteger("18446744073709551615");
    if (Compare(*value, lowest) < 0 || Compare(*value, highest) > 0) {
        reason = where + QStringLiteral("%1 does not fit in 64 bits").arg(shown);
        return false;
    }
    return true;
}

bool CheckReal(const QString& where, const Ipu::Parameters::Parameter& parameter, QString& reason)
{
    const QString shown = ToQ(parameter.value);
    const std::optional<double> value = ParseReal(parameter.value.str());
    if (!value) {
        reason = where + QStringLiteral("'%1' is not a finite number").arg(shown);
        return false;
    }
    const auto cmp = [](double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); };
    return CheckBound(where, shown, *value, parameter.minimum, "minimum", -1, ParseReal, cmp,
                      reason) &&
           CheckBound(where, shown, *value, parameter.maximum, "maximum", 1, ParseReal, cmp,
                      reason);
}

bool CheckType(const QString& where, const Ipu::Parameters::Parameter& parameter, QString& reason)
{
    const Port::String& value = parameter.value;
    switch (ParameterCheck::KindOf(parameter.type)) {
        case Kind::Integer:
            return CheckInteger(where, parameter, reason);
        case Kind::Real:
            return CheckReal(where, parameter, reason);
        case Kind::Bit:
            if (value == "0" || value == "1") {
                return true;
            }
            reason = where + QStringLiteral("'%1' is not a bit (0 or 1)").arg(ToQ(value));
            return false;
        case Kind::Boolean:
            if (value == "true" || value == "false") {
                return true;
            }
            reason =
                where + QStringLiteral("'%1' is not a boolean (true or false)").arg(ToQ(value));
            return false;
        case Kind::Text:
            return true;
    }
    return true;
}

// Reserved words of Verilog-2005, SystemVerilog (IEEE 1800-2017) and VHDL-2008, in lower
// case: the name becomes a module, an entity and an instance in either language.
const char* const kKeywords[] = {
    // Verilog-2005
    "always", "and", "assign", "automatic", "begin", "buf", "bufif0", "bufif1", "case", "casex",
    "casez", "cell", "cmos", "config", "deassign", "default", "defparam", "design", "disable",
    "edge", "else", "end", "endcase", "endconfig", "endfunction", "endgenerate", "endmodule",
    "endprimitive", "endspecify", "endtable", "endtask", "event", "for", "force", "forever", "fork",
    "function", "generate", "genvar", "highz0", "highz1", "if", "ifnone", "incdir", "include",
    "initial", "inout", "input", "instance", "integer", "join", "large", "liblist", "library",
    "localparam", "macromodule", "medium", "module", "nand", "negedge", "nmos", "nor",
    "noshowcancelled", "not", "notif0", "notif1", "or", "output", "parameter", "pmos", "posedge",
    "primitive", "pull0", "pull1", "pulldown", "pullup", "pulsestyle_ondetect",
    "pulsestyle_onevent", "rcmos", "real", "realtime", "reg", "release", "repeat", "rnmos", "rpmos",
    "rtran", "rtranif0", "rtranif1", "scalared", "showcancelled", "signed", "small", "specify",
    "specparam", "strong0", "strong1", "supply0", "supply1", "table", "task", "time", "tran",
    "tranif0", "tranif1", "tri", "tri0", "tri1", "triand", "trior", "trireg", "unsigned", "use",
    "uwire", "vectored", "wait", "wand", "weak0", "weak1", "while", "wire", "wor", "xnor", "xor",
    // SystemVerilog
    "accept_on", "alias", "always_comb", "always_ff", "always_latch", "assert", "assume", "before",
    "bind", "bins", "binsof", "bit", "break", "byte", "chandle", "checker", "class", "clocking",
    "const", "constraint", "context", "continue", "cover", "covergroup", "coverpoint", "cross",
    "dist", "do", "endchecker", "endclass", "endclocking", "endgroup", "endinterface", "endpackage",
    "endprogram", "endproperty", "endsequence", "enum", "eventually", "expect", "export", "extends",
    "extern", "final", "first_match", "foreach", "forkjoin", "global", "iff", "ignore_bins",
    "illegal_bins", "implements", "implies", "import", "inside", "int", "interconnect", "interface",
    "intersect", "join_any", "join_none", "let", "local", "logic", "longint", "matches", "modport",
    "nettype", "new", "nexttime", "null", "package", "packed", "priority", "program", "property",
    "protected", "pure", "rand", "randc", "randcase", "randsequence", "ref", "reject_on",
    "restrict", "return", "s_always", "s_eventually", "s_nexttime", "s_until", "s_until_with",
    "sequence", "shortint", "shortreal", "soft", "solve", "static", "string", "strong", "struct",
    "super", "sync_accept_on", "sync_reject_on", "tagged", "this", "throughout", "timeprecision",
    "timeunit", "type", "typedef", "union", "unique", "unique0", "until", "until_with", "untyped",
    "var", "virtual", "void", "wait_order", "weak", "wildcard", "with", "within",
    // VHDL-2008
    "abs", "access", "after", "all", "architecture", "array", "assume_guarantee", "attribute",
    "block", "body", "buffer", "bus", "component", "configuration", "constant", "disconnect",
    "downto", "elsif", "entity", "exit", "fairness", "file", "generic", "group", "guarded",
    "impure", "in", "inertial", "is", "label", "linkage", "literal", "loop", "map", "mod", "next",
    "of", "on", "open", "others", "out", "port", "postponed", "procedure", "process", "range",
    "record", "register", "reject", "rem", "report", "restrict_guarantee", "rol", "ror", "select",
    "severity", "shared", "signal", "sla", "sll", "sra", "srl", "subtype", "then", "to",
    "transport", "unaffected", "units", "variable", "vmode", "vprop", "vunit", "when"};

constexpr std::size_t kMaxNameLength = 100;

bool IsKeyword(const Port::String& name)
{
    const std::string lower = Port::String(name).MakeLower().str();
    return std::any_of(std::begin(kKeywords), std::end(kKeywords),
                       [&lower](const char* keyword) { return lower == keyword; });
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsNameCharacter(char c)
{
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_';
}

// The first rule name breaks, or null.
const char* NameProblem(const std::string& name)
{
    if (!IsAsciiLetter(name[0])) {
        return "it must start with a letter";
    }
    if (!std::all_of(name.begin(), name.end(), IsNameCharacter)) {
        return "only letters, digits and underscores are allowed";
    }
    if (name.find("__") != std::string::npos) {
        return "two underscores in a row are not allowed";
    }
    if (name.back() == '_') {
        return "it may not end with an underscore";
    }
    if (name.size() > kMaxNameLength) {
        return "it is longer than 100 characters";
    }
    if (IsKeyword(name)) {
        return "it is a keyword of Verilog, SystemVerilog or VHDL";
    }
    return nullptr;
}

}  // namespace

// Types outside these lists are taken as free text: the catalogue may name types we do not
// know, and refusing every value of them would block the IP altogether.
ParameterCheck::ValueKind ParameterCheck::KindOf(const Port::String& type)
{
    const std::string name = Port::String(type).MakeLower().str();
    if (name == "int" || name == "longint" || name == "integer" || name == "shortint") {
        return Kind::Integer;
    }
    if (name == "bit") {
        return Kind::Bit;
    }
    if (name == "bool" || name == "boolean") {
        return Kind::Boolean;
    }
    if (name == "real" || name == "shortreal") {
        return Kind::Real;
    }
    return Kind::Text;
}

bool ParameterCheck::CheckValue(const Ipu::Parameters::Parameter& parameter,
                                const Port::String& value, QString& reason)
{
    const QString where = ToQ(parameter.name) + QStringLiteral(": ");
    Ipu::Parameters::Parameter checked = parameter;
    checked.value = value;
    if (value.IsEmpty() && KindOf(parameter.type) != Kind::Text) {
        reason = where + QStringLiteral("a value is required");
        return false;
    }
    const auto& choices = parameter.choices;
    if (!choices.empty() && std::find(choices.begin(), choices.end(), value) == choices.end()) {
        reason =
            where + QStringLiteral("'%1' is not one of %2").arg(ToQ(value), AllowedList(parameter));
        return false;
    }
    return CheckType(where, checked, reason);
}

bool ParameterCheck::CheckAll(const Ipu::Parameters& parameters, QString& reason)
{
    for (const Ipu::Parameters::Parameter& parameter : parameters) {
        if (!CheckValue(parameter, parameter.value, reason)) {
            return false;
        }
    }
    return true;
}

bool ParameterCheck::CheckComponentName(const Port::String& name, QString& reason)
{
    if (name.IsEmpty()) {
        reason = QStringLiteral("Component name: a name is required");
        return false;
    }
    const char* problem = NameProblem(name.str());
    if (problem != nullptr) {
        reason = QStringLiteral("Component name '%1': %2").arg(ToQ(name), QLatin1String(problem));
        return false;
    }
    return true;
}

}  // namespace Sim
