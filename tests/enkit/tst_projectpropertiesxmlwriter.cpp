#include <QDir>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include "En_ProjectPropertiesXmlWriter.h"
#include "En_ProjectPropertiesXmlWriter_p.h"
#include "MessageCapture.h"
#include "Port_Version.h"
#include "TestFiles.h"

namespace {

// One property of the key table; dependencies and values separated by blanks.
struct Block {
    const char* key;
    const char* required;
    const char* dependencies;
    const char* comment;
    const char* description;
    const char* values;
};

const char* const flags = "true false";

// The key table as a reader of the file expects it, the core's lists spelled out.
const Block blocks[] = {
    {"DesignEntry", "true", "", "",
     "The Design Entry flow for the generated core. This affects which output files are "
     "generated.",
     "VHDL Verilog Schematic EdifNetlist Advanced"},
    {"FlowVendor", "true", "", "",
     "The flow vendor to which the output products will be tailored. This affects which output "
     "files are generated (i.e. the EDIF bus format and HDL meta comments)",
     "Pellor Brellix Quendral Tarvonne Other"},
    {"BusFormat", "false", "FlowVendor",
     "The BusFormat can be selected with the OutputProducts when the DesignEntry is set to "
     "Advanced. Otherwise, the FlowVendor setting determines the BusFormat.",
     "The bus format used in the generated implementation files.",
     "BusFormatAngleRange BusFormatSquareRange BusFormatParenRange BusFormatAngle "
     "BusFormatSquare BusFormatParen BusFormatNone"},
    {"ImplementationFileType", "false", "", "",
     "Specifies the file type the Gantrel will generate to implement the core.", "Edif Ngc"},
    {"SimulationFiles", "false", "", "",
     "Specifies the file type the Gantrel will  generate for simulating the core.",
     "Behavioral Structural None"},
    {"VHDLSim", "false", "", "",
     "Generates files for simulating a generated core in a VHDL simulation environment.", flags},
    {"VerilogSim", "false", "", "",
     "Generates files for simulating a generated core in a Verilog simulation environment.", flags},
    {"ASYSymbol", "false", "", "",
     "If selected, the Gantrel will generate an ASY symbol file. This is an ASCII symbol "
     "information file used by the TVR tools and some third party interface tools to create a "
     "symbol representing the core.",
     flags},
    {"TellmarSym", "false", "", "",
     "If selected, the Gantrel will generate an SYM symbol file. This is an TVR Schematic Editor "
     "symbol file (for the Pellor ECX schematic editor",
     flags},
    {"OutputProducts", "false", "FlowVendor DesignEntry",
     "Note: the OutputProducts KEY is deprecated. Please use ImplementationFileType, "
     "SimulationFiles, VHDLSim, VerilogSim, ASYSymbol and TellmarSym KEYS to select the output "
     "products.",
     "A list that indicates which output products to generate",
     "Edif Ngc Behavioral Structural VHDLSim VerilogSim ASYSymbol TellmarSym"},
    {"FormalVerification", "false", "", "",
     "If selected, generates a Verilog model called [module_name]_for.v to support formal "
     "verification of your design.",
     flags},
    {"AddPads", "false", "", "",
     "This option adds Input/Output blocks (IOBs) to a core when the Gantrel generates the core "
     "and writes out its EDIF implementation netlist. The IOB definitions are supplied in an "
     "additional output file.",
     flags},
    {"RemoveRPMs", "false", "", "",
     "When selected, this option removes any RLOC and HU_SET attributes embedded in a "
     "parameterized core before writing out its EDIF netlist.",
     flags},
    {"CreateNDF", "false", "", "",
     "When selected, this option creates NDF syntheses optimization interface for NGC cores.",
     flags},
    {"SimElabOptions", "false", "",
     "Note: the SimElabOptions KEY is deprecated. Please use FormalVerification, AddPads, "
     "RemoveRPMs and CreateNDF KEYS to select the extra output products.",
     "A list that indicates extra output products to generate",
     "FormalVerification AddPads RemoveRPMs CreateNDF"},
};

QString reference(const QString& patchLine)
{
    const QString in = "      ";
    QString text =
        "<?xml version=\"1.0\" standalone='yes'?>\n<gantrelproperties>\n"
        "   <gantrelversion>Pellor Gantrel " +
        QString(Port::Version::getValue("version").c_str()) + "</gantrelversion>\n" + patchLine;
    for (const Block& block : blocks) {
        text += "   <property>\n" + in + "<key>" + block.key + "</key>\n" + in + "<required>" +
                block.required + "</required>\n";
        for (const QString& dependency : QString(block.dependencies).split(' ', Qt::SkipEmptyParts))
            text += in + "<dependency>" + dependency + "</dependency>\n";
        if (*block.comment != '\0')
            text += in + "<!--" + block.comment + "-->\n";
        text += in + "<description>" + block.description + "</description>\n";
        for (const QString& value : QString(block.values).split(' '))
            text += in + "<value>" + value + "</value>\n";
        text += "   </property>\n";
    }
    return text + "</gantrelproperties>\n";
}

// Element texts by name, in document order; comments under "#comment".
QMap<QString, QStringList> parse(const QByteArray& xml, QString& error)
{
    QMap<QString, QStringList> texts;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isComment())
            texts["#comment"].append(reader.text().toString());
        else if (reader.isStartElement() && reader.name() != QLatin1String("gantrelproperties") &&
                 reader.name() != QLatin1String("property"))
            texts[reader.name().toString()].append(reader.readElementText());
    }
    error = reader.hasError() ? reader.errorString() : QString();
    return texts;
}

}  // namespace

class tst_ProjectPropertiesXmlWriter : public QObject {
    Q_OBJECT

private slots:
    void writesTheTable_data();
    void writesTheTable();
    void escapesWhateverTheTextsHold_data();
    void escapesWhateverTheTextsHold();
    void refusedPathLeavesNoFile_data();
    void refusedPathLeavesNoFile();
};

void tst_ProjectPropertiesXmlWriter::writesTheTable_data()
{
    QTest::addColumn<QByteArray>("update");  // content of the one update file; null: none
    QTest::addColumn<QString>("patchLine");
    QTest::addColumn<QString>("patch");  // as a reader sees it
    QTest::addColumn<bool>("replace");
    QTest::newRow("no update") << QByteArray() << ""
                               << "" << false;
    QTest::newRow("update without patch") << QByteArray("Device pack 3\n") << ""
                                          << "" << false;
    QTest::newRow("patched") << QByteArray("Cores patch: GP-7\n")
                             << "   <gantrelpatch>GP-7</gantrelpatch>\n"
                             << "GP-7" << false;
    // Regression: the patch was written raw, and "&" or "<" made the file unreadable.
    QTest::newRow("patch with markup") << QByteArray("Cores patch: GP-7 & <hot>\n")
                                       << "   <gantrelpatch>GP-7 &amp; &lt;hot&gt;</gantrelpatch>\n"
                                       << "GP-7 & <hot>" << false;
    QTest::newRow("replacing a file") << QByteArray() << ""
                                      << "" << true;
}

void tst_ProjectPropertiesXmlWriter::writesTheTable()
{
    QFETCH(QByteArray, update);
    QFETCH(QString, patchLine);
    QFETCH(QString, patch);
    QFETCH(bool, replace);
    QTemporaryDir dir;
    qputenv("GANTREL_HOME", QFile::encodeName(dir.path()));
    if (!update.isNull())
        QVERIFY(TestFiles::write(dir.filePath("gantrel/install/names/u.name"), update));
    const QString file = dir.filePath("properties.xml");
    if (replace)
        QVERIFY(TestFiles::write(file, "an older file, longer than nothing"));
    MessageCapture capture;
    QCOMPARE(En::ProjectPropertiesXmlWriter().Write(file.toStdString()), 0u);
    qunsetenv("GANTREL_HOME");
    QVERIFY2(capture.textLines().isEmpty(), qPrintable(capture.textLines().join("")));
    const QByteArray written = TestFiles::read(file);
    QCOMPARE(QString::fromUtf8(written), reference(patchLine));
    QString error;
    const auto texts = parse(written, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(texts.value("key").size(), 15);
    QCOMPARE(texts.value("gantrelpatch").join(""), patch);
}

void tst_ProjectPropertiesXmlWriter::escapesWhateverTheTextsHold_data()
{
    QTest::addColumn<QString>("text");     // key, dependency, description and the values
    QTest::addColumn<QString>("comment");  // given
    QTest::addColumn<QString>("written");  // the comment as a reader sees it
    QTest::newRow("ampersand and less-than") << "R&D <wide>"
                                             << "a < b & c"
                                             << "a < b & c";
    QTest::newRow("a reference stays text") << "&lt;"
                                            << "x"
                                            << "x";
    QTest::newRow("double dash") << "a"
                                 << "a--b"
                                 << "a- -b";
    QTest::newRow("dash runs") << "a"
                               << "a----b"
                               << "a- - - -b";
    QTest::newRow("final dash") << "a"
                                << "ends-"
                                << "ends- ";
}

void tst_ProjectPropertiesXmlWriter::escapesWhateverTheTextsHold()
{
    QFETCH(QString, text);
    QFETCH(QString, comment);
    QFETCH(QString, written);
    const QTemporaryDir dir;
    const QString file = dir.filePath("block.xml");
    const Port::String port = text.toStdString();
    QVERIFY(En::ProjectPropertiesXmlWriterSeam::WriteProperty(
        file.toStdString(), {port, port, comment.toStdString(), port, {port, "plain", port}}));
    QString error;
    const auto texts = parse(TestFiles::read(file), error);
    QVERIFY2(error.isEmpty(), qPrintable(error + "\n" + TestFiles::read(file)));
    for (const char* name : {"key", "dependency", "description"})
        QCOMPARE(texts.value(name), QStringList(text));
    QCOMPARE(texts.value("value"), (QStringList{text, "plain", text}));
    QCOMPARE(texts.value("#comment"), QStringList(written));
}

void tst_ProjectPropertiesXmlWriter::refusedPathLeavesNoFile_data()
{
    QTest::addColumn<QString>("path");  // within the test's directory
    QTest::newRow("missing directory") << "nowhere/properties.xml";
    // Passes the first check, so the open fails instead.
    QTest::newRow("directory in the way") << "taken";
}

void tst_ProjectPropertiesXmlWriter::refusedPathLeavesNoFile()
{
    QFETCH(QString, path);
    const QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("taken"));
    const QString file = dir.filePath(path);
    MessageCapture capture;
    QCOMPARE(En::ProjectPropertiesXmlWriter().Write(file.toStdString()), 1u);
    QCOMPARE(capture.textLines(),
             QStringList("ERROR:enkit:En_ProjectPropertiesXmlWriter - Couldn't open " + file +
                         " for writing.\n"));
    QCOMPARE(TestFiles::entries(dir.path()), QStringList("taken"));
    QCOMPARE(TestFiles::entries(dir.filePath("taken")), QStringList());
}

QTEST_GUILESS_MAIN(tst_ProjectPropertiesXmlWriter)
#include "tst_projectpropertiesxmlwriter.moc"
