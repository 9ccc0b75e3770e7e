#include "En_ProjectPropertiesXmlWriter.h"

#include <QFile>
#include <QSaveFile>

#include "En_Message.h"
#include "Ipu_IPUpdateInfo.h"
#include "Ipu_ProjectOptions.h"
#include "Port_File.h"
#include "Port_Version.h"

namespace En {

const Port::String ProjectPropertiesXmlWriter::_START_GANTRELPROPERTIES("<gantrelproperties>");
const Port::String ProjectPropertiesXmlWriter::_END_GANTRELPROPERTIES("</gantrelproperties>");
const Port::String ProjectPropertiesXmlWriter::_START_GANTRELVERSION("<gantrelversion>");
const Port::String ProjectPropertiesXmlWriter::_END_GANTRELVERSION("</gantrelversion>");
const Port::String ProjectPropertiesXmlWriter::_START_GANTRELPATCH("<gantrelpatch>");
const Port::String ProjectPropertiesXmlWriter::_END_GANTRELPATCH("</gantrelpatch>");
const Port::String ProjectPropertiesXmlWriter::_START_PROPERTY("<property>");
const Port::String ProjectPropertiesXmlWriter::_END_PROPERTY("</property>");
const Port::String ProjectPropertiesXmlWriter::_START_KEY("<key>");
const Port::String ProjectPropertiesXmlWriter::_END_KEY("</key>");
const Port::String ProjectPropertiesXmlWriter::_START_REQUIRED("<required>");
const Port::String ProjectPropertiesXmlWriter::_END_REQUIRED("</required>");
const Port::String ProjectPropertiesXmlWriter::_START_DEPENDENCY("<dependency>");
const Port::String ProjectPropertiesXmlWriter::_END_DEPENDENCY("</dependency>");
const Port::String ProjectPropertiesXmlWriter::_START_COMMENT("<!--");
const Port::String ProjectPropertiesXmlWriter::_END_COMMENT("-->");
const Port::String ProjectPropertiesXmlWriter::_START_DESCRIPTION("<description>");
const Port::String ProjectPropertiesXmlWriter::_END_DESCRIPTION("</description>");
const Port::String ProjectPropertiesXmlWriter::_START_VALUE("<value>");
const Port::String ProjectPropertiesXmlWriter::_END_VALUE("</value>");
const Port::String ProjectPropertiesXmlWriter::_INDENT("   ");

namespace {

using PO = Ipu::ProjectOptions;
using ValueList = std::vector<Port::String>;

void ReportOpenFailure(const Port::String& path)
{
    EN_MESSAGE("En_ProjectPropertiesXmlWriter")
        .issueError("Couldn't open %s for writing.\n", path.c_str());
}

Port::String EscapedText(Port::String text)
{
    // "&" first, so that the references made for the others are not escaped again.
    text.Replace("&", "&amp;");
    text.Replace("<", "&lt;");
    text.Replace(">", "&gt;");
    return text;
}

// A comment may hold neither "--" nor a final "-", which would run into its "-->".
Port::String CommentText(Port::String text)
{
    while (text.Replace("--", "- -") > 0) {
    }
    if (!text.IsEmpty() && text[text.GetLength() - 1] == '-')
        text.Append(' ');
    return text;
}

ValueList Booleans()
{
    return {PO::TRUEVALUE, PO::FALSEVALUE};
}

ValueList FromCore(unsigned (*list)(ValueList&))
{
    // The lists are those of default options; the core answers them without an instance.
    ValueList values;
    list(values);
    return values;
}

}  // namespace

unsigned int ProjectPropertiesXmlWriter::Write(const Port::String& path)
{
    if (!Port::File::canwrite(path)) {
        ReportOpenFailure(path);
        return 1;
    }
    if (!Open(path)) {
        ReportOpenFailure(path);
        return 1;
    }
    WriteHeader();
    WriteDesignEntry();
    WriteFlowVendor();
    WriteBusFormat();
    WriteOutputProducts();
    WriteSimElabOptions();
    WriteFooter();
    // Nothing was put in place, so the caller must not take the file for written.
    if (!Commit()) {
        ReportOpenFailure(path);
        return 1;
    }
    return 0;
}

bool ProjectPropertiesXmlWriter::Open(const Port::String& path)
{
    stream = new QSaveFile(QFile::decodeName(path.c_str()));
    if (stream->open(QIODevice::WriteOnly))
        return true;
    delete stream;
    stream = nullptr;
    return false;
}

// A write that failed on the way makes the commit fail too, and the half file goes.
bool ProjectPropertiesXmlWriter::Commit()
{
    const bool committed = stream->commit();
    delete stream;
    stream = nullptr;
    return committed;
}

// The whole line in one write, so that no line is ever split.
void ProjectPropertiesXmlWriter::WriteLine(const Port::String& line)
{
    const Port::String whole = line + "\n";
    stream->write(whole.c_str(), static_cast<qint64>(whole.GetLength()));
}

void ProjectPropertiesXmlWriter::WriteElement(const Port::String& start, const Port::String& text,
                                              const Port::String& end)
{
    WriteLine(_INDENT + _INDENT + start + EscapedText(text) + end);
}

unsigned int ProjectPropertiesXmlWriter::WriteHeader()
{
    WriteLine("<?xml version=\"1.0\" standalone='yes'?>");
    WriteLine(_START_GANTRELPROPERTIES);
    const Port::String version = Port::Version::getValue("version");
    WriteLine(_INDENT + _START_GANTRELVERSION + EscapedText("Pellor Gantrel " + version) +
              _END_GANTRELVERSION);
    Port::String patch;
    if (Ipu::IPUpdateInfo::GetCoresLevel(patch) == Ipu::IPUpdateInfo::CORES_LEVEL_PATCHED)
        WriteLine(_INDENT + _START_GANTRELPATCH + EscapedText(patch) + _END_GANTRELPATCH);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteFooter()
{
    WriteLine(_END_GANTRELPROPERTIES);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteStartProperty()
{
    WriteLine(_INDENT + _START_PROPERTY);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteEndProperty()
{
    WriteLine(_INDENT + _END_PROPERTY);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteKey(Port::String key)
{
    WriteElement(_START_KEY, key, _END_KEY);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteRequired(Port::String required)
{
    WriteElement(_START_REQUIRED, required, _END_REQUIRED);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteDependency(Port::String dependency)
{
    WriteElement(_START_DEPENDENCY, dependency, _END_DEPENDENCY);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteComment(Port::String comment)
{
    WriteLine(_INDENT + _INDENT + _START_COMMENT + CommentText(comment) + _END_COMMENT);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteDescription(Port::String description)
{
    WriteElement(_START_DESCRIPTION, description, _END_DESCRIPTION);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteValue(Port::String value)
{
    WriteElement(_START_VALUE, value, _END_VALUE);
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteValueList(std::vector<Port::String>& values)
{
    for (const Port::String& value : values)
        WriteValue(value);
    return 0;
}

void ProjectPropertiesXmlWriter::WriteProperty(const char* key, const char* required,
                                               const char* description, ValueList values)
{
    WriteStartProperty();
    WriteKey(key);
    WriteRequired(required);
    WriteDescription(description);
    WriteValueList(values);
    WriteEndProperty();
}

unsigned int ProjectPropertiesXmlWriter::WriteDesignEntry()
{
    WriteProperty(PO::DESIGNENTRY, PO::TRUEVALUE,
                  "The Design Entry flow for the generated core. This affects which output files "
                  "are generated.",
                  FromCore(&PO::GetAllInternalDesignEntries));
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteFlowVendor()
{
    WriteProperty(PO::FLOWVENDOR, PO::TRUEVALUE,
                  "The flow vendor to which the output products will be tailored."
                  " This affects which output files are generated"
                  " (i.e. the EDIF bus format and HDL meta comments)",
                  FromCore(&PO::GetAllInternalFlowVendors));
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteBusFormat()
{
    ValueList values = FromCore(&PO::GetAllInternalBusFormats);
    WriteStartProperty();
    WriteKey(PO::BUSFORMAT);
    WriteRequired(PO::FALSEVALUE);
    WriteDependency("FlowVendor");
    WriteComment(
        "The BusFormat can be selected with the OutputProducts when the DesignEntry is "
        "set to Advanced."
        " Otherwise, the FlowVendor setting determines the BusFormat.");
    WriteDescription("The bus format used in the generated implementation files.");
    WriteValueList(values);
    WriteEndProperty();
    return 0;
}

unsigned int ProjectPropertiesXmlWriter::WriteOutputProducts()
{
    WriteProperty("ImplementationFileType", PO::FALSEVALUE,
                  "Specifies the file type the Gantrel will generate to implement the core.",
                  {"Edif", "Ngc"});
    WriteProperty("SimulationFiles", PO::FALSEVALUE,
                  "Specifies the file type the Gantrel will  generate for simulating the core.",
                  {"Behavioral", "Structural", "None"});
    WriteProperty("VHDLSim", PO::FALSEVALUE,
                  "Generates files for simulating a generated core in a VHDL simulation "
                  "environment.",
                  Booleans());
    WriteProperty("VerilogSim", PO::FALSEVALUE,
                  "Generates files for simulating a generated core in a Verilog simulation "
                  "environment.",
                  Booleans());
    WriteProperty("ASYSymbol", PO::FALSEVALUE,
                  "If selected, the Gantrel will generate an ASY symbol file. This is an ASCII "
                  "symbol information file used by the TVR tools and some third party interface "
                  "tools to create a symbol representing the core.",
                  Booleans());
    WriteProperty("TellmarSym", PO::FALSEVALUE,
                  "If selected, the Gantrel will generate an SYM symbol file. This is an TVR "
                  "Schematic Editor symbol file (for the Pellor ECX schematic editor",
                  Booleans());
    WriteDeprecatedOutputProducts();
    return 0;
}

void ProjectPropertiesXmlWriter::WriteDeprecatedOutputProducts()
{
    ValueList products = FromCore(&PO::GetAllInternalOutputProducts);
    WriteStartProperty();
    WriteKey("OutputProducts");
    WriteRequired(PO::FALSEVALUE);
    WriteDependency(PO::FLOWVENDOR);
    WriteDependency(PO::DESIGNENTRY);
    WriteComment(
        "Note: the OutputProducts KEY is deprecated. Please use ImplementationFileType, "
        "SimulationFiles, VHDLSim, VerilogSim, ASYSymbol and TellmarSym KEYS to select "
        "the output products.");
    WriteDescription("A list that indicates which output products to generate");
    WriteValueList(products);
    WriteEndProperty();
}

unsigned int ProjectPropertiesXmlWriter::WriteSimElabOptions()
{
    WriteProperty("FormalVerification", PO::FALSEVALUE,
                  "If selected, generates a Verilog model called [module_name]_for.v to support "
                  "formal verification of your design.",
                  Booleans());
    WriteProperty("AddPads", PO::FALSEVALUE,
                  "This option adds Input/Output blocks (IOBs) to a core when the Gantrel "
                  "generates the core and writes out its EDIF implementation netlist. The IOB "
                  "definitions are supplied in an additional output file.",
                  Booleans());
    WriteProperty("RemoveRPMs", PO::FALSEVALUE,
                  "When selected, this option removes any RLOC and HU_SET attributes embedded in "
                  "a parameterized core before writing out its EDIF netlist.",
                  Booleans());
    WriteProperty("CreateNDF", PO::FALSEVALUE,
                  "When selected, this option creates NDF syntheses optimization interface for "
                  "NGC cores.",
                  Booleans());
    WriteDeprecatedSimElabOptions();
    return 0;
}

void ProjectPropertiesXmlWriter::WriteDeprecatedSimElabOptions()
{
    ValueList options = FromCore(&PO::GetAllInternalSimElabOptions);
    WriteStartProperty();
    WriteKey("SimElabOptions");
    WriteRequired(PO::FALSEVALUE);
    WriteComment(
        "Note: the SimElabOptions KEY is deprecated. Please use FormalVerification, "
        "AddPads, RemoveRPMs and CreateNDF KEYS to select the extra output products.");
    WriteDescription("A list that indicates extra output products to generate");
    WriteValueList(options);
    WriteEndProperty();
}

}  // namespace En
