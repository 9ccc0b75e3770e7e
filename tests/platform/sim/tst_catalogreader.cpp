#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_Task.h"
#include "Sim_CatalogReader.h"
#include "TestDevices.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using Sim::CatalogReader;

namespace {

const char* const Extension = R"(
<gantrel:ip xmlns:gantrel="urn:pellor:gantrel:ipxact-extensions:1.0">
  <gantrel:displayName>Widget</gantrel:displayName>
  <gantrel:ipType>0</gantrel:ipType>
  <gantrel:lifeCycle>Beta</gantrel:lifeCycle>
  <gantrel:dataSheet>doc/widget.html</gantrel:dataSheet>
  <gantrel:families>
    <gantrel:family>tellara3</gantrel:family>
    <gantrel:family lifeCycle="deprecated">korvane</gantrel:family>
  </gantrel:families>
  <gantrel:properties>
    <gantrel:property name="isDummyIP">Soon</gantrel:property>
    <gantrel:property name="tag">a</gantrel:property>
    <gantrel:property name="tag">b</gantrel:property>
  </gantrel:properties>
  <gantrel:generatorChains>
    <gantrel:generatorChain task="Regenerate_Current" vendor="pellor" library="generatorchains"
                            name="generate_current_chain" version="1.0">
      <gantrel:displayName>Regenerate</gantrel:displayName>
      <gantrel:group>generate_current</gantrel:group>
      <gantrel:property name="ipType">Customized</gantrel:property>
      <gantrel:property name="familyDependent">dependent</gantrel:property>
      <gantrel:property name="default">TRUE</gantrel:property>
      <gantrel:generator kind="move-out" order="9"/>
      <gantrel:generator kind="validate" name="check"/>
      <other:note xmlns:other="urn:example:other">ignored</other:note>
    </gantrel:generatorChain>
  </gantrel:generatorChains>
</gantrel:ip>)";

const char* const Component2009 = R"(<?xml version="1.0"?>
<spirit:component xmlns:spirit="http://www.spiritconsortium.org/XMLSchema/SPIRIT/1685-2009">
  <spirit:vendor>tst</spirit:vendor><spirit:library>lib</spirit:library>
  <spirit:name>widget</spirit:name><spirit:version>1.2</spirit:version>
  <spirit:model><spirit:modelParameters>
    <spirit:modelParameter spirit:dataType="integer"><spirit:name>G_DEPTH</spirit:name>
      <spirit:value spirit:format="long" spirit:minimum="16" spirit:maximum="4096">256</spirit:value>
    </spirit:modelParameter>
  </spirit:modelParameters></spirit:model>
  <spirit:choices><spirit:choice><spirit:name>modes</spirit:name>
    <spirit:enumeration>fast</spirit:enumeration><spirit:enumeration>small</spirit:enumeration>
  </spirit:choice></spirit:choices>
  <spirit:fileSets><spirit:fileSet><spirit:name>src</spirit:name>
    <spirit:file><spirit:name>hdl/widget.vhd</spirit:name></spirit:file></spirit:fileSet></spirit:fileSets>
  <spirit:description>A widget.</spirit:description>
  <spirit:parameters>
    <spirit:parameter><spirit:name>WIDTH</spirit:name><spirit:displayName>Width</spirit:displayName>
      <spirit:value spirit:format="long" spirit:id="WIDTH" spirit:minimum="1" spirit:maximum="64">8</spirit:value></spirit:parameter>
    <spirit:parameter><spirit:name>MODE</spirit:name>
      <spirit:value spirit:format="string" spirit:choiceRef="modes">fast</spirit:value></spirit:parameter>
  </spirit:parameters>
  <spirit:vendorExtensions>%EXT%</spirit:vendorExtensions>
</spirit:component>)";

// 2014 and 2022 differ here only in where the names and the description go.
const char* const ComponentModern = R"(<?xml version="1.0" encoding="UTF-8"?>
<ipxact:component xmlns:ipxact="%NS%">
  <ipxact:vendor>tst</ipxact:vendor><ipxact:library>lib</ipxact:library>
  <ipxact:name>widget</ipxact:name><ipxact:version>1.2</ipxact:version>%HEAD%
  <ipxact:model><ipxact:instantiations><ipxact:componentInstantiation><ipxact:name>rtl</ipxact:name>
    <ipxact:moduleParameters>
      <ipxact:moduleParameter parameterId="G_DEPTH" type="int" minimum="16" maximum="4096">
        <ipxact:name>G_DEPTH</ipxact:name><ipxact:value>256</ipxact:value></ipxact:moduleParameter>
      <ipxact:moduleParameter parameterId="g_width" type="int">
        <ipxact:name>g_width</ipxact:name><ipxact:value>WIDTH</ipxact:value></ipxact:moduleParameter>
    </ipxact:moduleParameters>
  </ipxact:componentInstantiation></ipxact:instantiations></ipxact:model>
  <ipxact:choices><ipxact:choice><ipxact:name>modes</ipxact:name>
    <ipxact:enumeration text="Fast">"fast"</ipxact:enumeration><ipxact:enumeration>"small"</ipxact:enumeration>
  </ipxact:choice></ipxact:choices>
  <ipxact:fileSets><ipxact:fileSet><ipxact:name>src</ipxact:name>
    <ipxact:file><ipxact:name>hdl/widget.vhd</ipxact:name><ipxact:fileType>vhdlSource</ipxact:fileType></ipxact:file>
  </ipxact:fileSet></ipxact:fileSets>%TAIL%
  <ipxact:parameters>
    <ipxact:parameter parameterId="WIDTH" type="int" minimum="1" maximum="64">
      <ipxact:name>WIDTH</ipxact:name><ipxact:displayName>Width</ipxact:displayName><ipxact:value>8</ipxact:value></ipxact:parameter>
    <ipxact:parameter parameterId="MODE" type="string" choiceRef="modes">
      <ipxact:name>MODE</ipxact:name><ipxact:value>"fast"</ipxact:value></ipxact:parameter>
  </ipxact:parameters>
  <ipxact:vendorExtensions>%EXT%</ipxact:vendorExtensions>
</ipxact:component>)";

QByteArray Modern(const char* ns, const char* head, const char* tail, const char* ext = Extension)
{
    return QByteArray(ComponentModern)
        .replace("%NS%", ns)
        .replace("%HEAD%", head)
        .replace("%TAIL%", tail)
        .replace("%EXT%", ext);
}

QByteArray Minimal(const char* ext)
{
    return Modern("http://www.accellera.org/XMLSchema/IPXACT/1685-2014", "", "", ext);
}

const char* const Ids = R"(task="t" vendor="v" library="l" name="n" version="1")";
const char* const Props =
    R"(<g:property name="ipType">any</g:property><g:property name="familyDependent">dependent</g:property>)";

// Our extension with the elements in before, then one chain of these attributes and body.
QByteArray Ext(const QByteArray& before, const char* attributes = Ids,
               const QByteArray& body = Props)
{
    return R"(<g:ip xmlns:g="urn:pellor:gantrel:ipxact-extensions:1.0">)" + before +
           "<g:generatorChains><g:generatorChain " + attributes + ">" + body +
           "</g:generatorChain></g:generatorChains></g:ip>";
}

QString Q(const Port::String& text)
{
    return QString::fromStdString(text.str());
}

QStringList Q(const std::vector<Port::String>& list)
{
    QStringList result;
    for (const Port::String& item : list) {
        result << Q(item);
    }
    return result;
}

boost::shared_ptr<Ipu::IPComponent> Read(const QByteArray& data, const char* source = "")
{
    boost::shared_ptr<Ipu::IPComponent> component;
    Port::String reason;
    if (CatalogReader::ReadData(data, source, component, reason) != 0) {
        qWarning("unexpected refusal: %s", reason.c_str());
    }
    return component;
}

QString Refusal(const QByteArray& data)
{
    boost::shared_ptr<Ipu::IPComponent> component;
    Port::String reason;
    return CatalogReader::ReadData(data, "", component, reason) == 0 ? QString() : Q(reason);
}

QString Parameter(const Ipu::IPComponent& component, const char* name)
{
    Ipu::Parameters::Parameter p;
    if (component.GetParameters().Get(name, p) != 0) {
        return QStringLiteral("<absent>");
    }
    return QStringList{Q(p.value), Q(p.type), Q(p.minimum), Q(p.maximum), Q(p.choices).join(u'|')}
        .join(u';');
}

}  // namespace

class TestCatalogReader : public QObject {
    Q_OBJECT

private slots:
    void readsEachIpxactVersion_data();
    void readsEachIpxactVersion();
    void readsOurExtension();
    void foreignComponentGetsDefaultChains_data();
    void foreignComponentGetsDefaultChains();
    void refusesBadContent_data();
    void refusesBadContent();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void refusesUnreadableFile();
    void readsWideText();
    void warnsAboutMistakes_data();
    void warnsAboutMistakes();
    void answersCatalogDocument();
    void keepsFileEntries_data();
    void keepsFileEntries();
    void readsModelPorts_data();
    void readsModelPorts();
};

void TestCatalogReader::readsEachIpxactVersion_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("labels");

    QTest::newRow("2009") << QByteArray(Component2009).replace("%EXT%", Extension) << "Widget"
                          << "8;long;1;64;"
                          << "256;long;16;4096;"
                          << "|";
    QTest::newRow("2014") << Modern("http://www.accellera.org/XMLSchema/IPXACT/1685-2014", "",
                                    "<ipxact:description>A widget.</ipxact:description>")
                          << "Widget"
                          << "8;int;1;64;"
                          << "256;int;16;4096;"
                          << "Fast|";
    // 2022 brings its own display name, which wins over the extension's.
    QTest::newRow("2022") << Modern("http://www.accellera.org/XMLSchema/IPXACT/1685-2022",
                                    "<ipxact:displayName>Widget 2022</ipxact:displayName>"
                                    "<ipxact:shortDescription>W</ipxact:shortDescription>"
                                    "<ipxact:description>A widget.</ipxact:description>",
                                    "")
                          << "Widget 2022"
                          << "8;int;1;64;"
                          << "256;int;16;4096;"
                          << "Fast|";
}

void TestCatalogReader::readsEachIpxactVersion()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, displayName);
    QFETCH(QString, width);
    QFETCH(QString, depth);
    QFETCH(QString, labels);

    auto component = Read(xml, "/cat/widget.xml");
    QVERIFY(component);
    QCOMPARE(Q(component->GetIdentifier().GetKey()), QStringLiteral("tst:lib:widget:1.2"));
    QCOMPARE(Q(component->GetUniqueID()), QStringLiteral("tst:lib:widget:1.2"));
    QCOMPARE(Q(component->GetUnconfiguredID()), QStringLiteral("tst:lib:widget:1.2"));
    QVERIFY(!component->IsCustomized());
    QCOMPARE(Q(component->GetName()), QStringLiteral("widget"));
    QCOMPARE(Q(component->GetDisplayName()), displayName);
    QCOMPARE(Q(component->GetDescription()), QStringLiteral("A widget."));
    QCOMPARE(Q(component->GetSourceFile()), QStringLiteral("/cat/widget.xml"));
    QCOMPARE(Q(component->GetFiles()), QStringList{"hdl/widget.vhd"});
    // Component parameters first, then the model's own; the one that only passes WIDTH on
    // is left out, and quoted string values lose their quotes.
    QCOMPARE(component->GetParameters().Size(), std::size_t(3));
    QCOMPARE(Q(component->GetParameters().GetList()[2].name), QStringLiteral("G_DEPTH"));
    QCOMPARE(Parameter(*component, "WIDTH"), width);
    QCOMPARE(Parameter(*component, "MODE").section(u';', 0, 0), QStringLiteral("fast"));
    QCOMPARE(Parameter(*component, "MODE").section(u';', 4), QStringLiteral("fast|small"));
    QCOMPARE(Parameter(*component, "G_DEPTH"), depth);
    Ipu::Parameters::Parameter mode;
    QCOMPARE(component->GetParameters().Get("MODE", mode), 0u);
    QCOMPARE(Q(mode.choiceLabels).join(u'|'), labels);
    Ipu::Parameters::Parameter shown;
    QCOMPARE(component->GetParameters().Get("WIDTH", shown), 0u);
    QCOMPARE(Q(shown.displayName), QStringLiteral("Width"));
    QCOMPARE(Parameter(*component, "g_width"), QStringLiteral("<absent>"));
}

void TestCatalogReader::readsOurExtension()
{
    auto component = Read(Minimal(Extension), "/cat/widget.xml");
    QVERIFY(component);
    QCOMPARE(component->GetIPType(), 0);
    QCOMPARE(component->GetLifecycleValue(), 3);
    Ipu::ProjectOptions korvane;
    korvane.SetDeviceFamily("KORVANE");
    QCOMPARE(component->GetLifecycleStatus(korvane).GetValue(), 5);
    QVERIFY(component->HasFamily("tellara3"));
    QCOMPARE(component->GetFamilies().size(), std::size_t(2));
    Port::String text;
    QCOMPARE(component->GetPropertyValue("isDummyIP", text), 0u);
    QCOMPARE(Q(text), QStringLiteral("Soon"));
    std::vector<Port::String> tags;
    component->GetPropertyValues("tag", tags);
    QCOMPARE(Q(tags), (QStringList{"a", "b"}));
    Port::String sheet;
    QCOMPARE(Ipu::IP(component).GetDataSheet(sheet, true), 0u);
    QCOMPARE(Q(sheet), QStringLiteral("/cat/doc/widget.html"));

    // One chain, named by its task in lower case, its values in the format's spelling.
    const Ipu::GeneratorChainList& chains = component->GetGeneratorChains();
    QCOMPARE(chains.Size(), std::size_t(1));
    auto chain = chains.Get("REGENERATE_CURRENT");
    QVERIFY(chain);
    QCOMPARE(Q(chain->GetName()), QStringLiteral("regenerate_current"));
    QCOMPARE(Q(chain->GetUniqueID()), QStringLiteral("tst:lib:widget:1.2/regenerate_current"));
    QVERIFY(chains.Has(
        Ipu::VersionedIdentifier("pellor", "generatorchains", "generate_current_chain", "1.0")));
    QVERIFY(chain->HasGroup("generate_current"));
    QCOMPARE(chain->GetPropertyValue("ipType", text), 0u);
    QCOMPARE(Q(text), QStringLiteral("customized"));
    const Ipu::Task task(chain);
    QVERIFY(task.IsDefault());
    QCOMPARE(task.GetIPType(), Ipu::Task::IPTYPE_CUSTOMIZED);
    QCOMPARE(Q(task.GetVisibleName()), QStringLiteral("Regenerate"));
    // Steps run by their order; a step without one takes its position.
    const auto steps = chain->GetOrderedGenerators();
    QCOMPARE(steps.size(), std::size_t(2));
    QCOMPARE(Q(steps[0]->GetExecutable()), QStringLiteral("validate"));
    QCOMPARE(Q(steps[0]->GetName()), QStringLiteral("check"));
    QCOMPARE(Q(steps[1]->GetExecutable()), QStringLiteral("move-out"));
    QCOMPARE(Q(steps[1]->GetName()), QStringLiteral("move-out"));
}

void TestCatalogReader::foreignComponentGetsDefaultChains_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("no extension") << Minimal("");
    QTest::newRow("extension without chains") << Minimal(
        R"(<g:ip xmlns:g="urn:pellor:gantrel:ipxact-extensions:1.0"><g:lifeCycle>production</g:lifeCycle></g:ip>)");
    QTest::newRow("another vendor's extension")
        << Minimal(R"(<x:ip xmlns:x="urn:example:other"><x:lifeCycle>bad</x:lifeCycle></x:ip>)");
}

void TestCatalogReader::foreignComponentGetsDefaultChains()
{
    QFETCH(QByteArray, xml);
    auto component = Read(xml);
    QVERIFY(component);
    QCOMPARE(Q(component->GetDisplayName()), QStringLiteral("widget"));
    QCOMPARE(component->GetLifecycleValue(), 2);
    QCOMPARE(component->GetIPType(), 1);
    QVERIFY(component->IsFamilyIndependent());
    QVERIFY(component->HasFamily("<empty>"));
    const Ipu::GeneratorChainList& chains = component->GetGeneratorChains();
    QStringList names;
    for (const auto& chain : chains) {
        names << Q(chain->GetName());
    }
    QCOMPARE(names, (QStringList{"customize", "generate", "view_datasheet"}));
    QVERIFY(chains.Get("generate")
                ->GetIdentifier()
                .IsSameAs(Ipu::VersionedIdentifier("pellor", "generatorchains",
                                                   "generate_current_chain", "1.0")));
    QVERIFY(Ipu::Task(chains.Get("customize")).IsDefault());
    QCOMPARE(Ipu::Task(chains.Get("view_datasheet")).GetFamilyDependence(),
             Ipu::Task::FAMILYDEPENDENCE_INDEPENDENT);
    for (const auto& chain : chains) {
        QVERIFY(!chain->GetOrderedGenerators().empty());
        QVERIFY(!chain->GetUniqueID().IsEmpty());
    }
}

void TestCatalogReader::refusesBadContent_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("reason");
    const auto bad = [](const char* tag, const QByteArray& ext, const char* reason) {
        QTest::newRow(tag) << Minimal(ext.constData()) << reason;
    };
    const QByteArray props = Props;
    const QByteArray second =
        R"(</g:generatorChain><g:generatorChain task="T" vendor="v" library="l" name="m" version="1">)";

    QTest::newRow("empty") << QByteArray() << "malformed XML at line 1, column 0";
    QTest::newRow("truncated") << Minimal("").left(300) << "malformed XML at line";
    QTest::newRow("mismatched tag") << Minimal("").replace("</ipxact:library>", "</ipxact:librar>")
                                    << "malformed XML at line 3, column";
    QTest::newRow("garbage after root") << Minimal("") + "<again/>"
                                        << "malformed XML at line";
    QTest::newRow("design, not component")
        << Minimal("").replace("ipxact:component", "ipxact:design")
        << "not an IP-XACT 1685-2009, 2014 or 2022 component (root element 'ipxact:design'";
    QTest::newRow("older SPIRIT") << Minimal("").replace("IPXACT/1685-2014", "SPIRIT/1.5")
                                  << "not an IP-XACT";
    QTest::newRow("no version") << Minimal("").replace("<ipxact:version>1.2</ipxact:version>", "")
                                << "incomplete VLNV: no version";
    QTest::newRow("no vendor, no name") << Minimal("")
                                               .replace("<ipxact:vendor>tst</ipxact:vendor>", "")
                                               .replace("<ipxact:name>widget</ipxact:name>", "")
                                        << "incomplete VLNV: no vendor, name";
    QTest::newRow("damaged, another root")
        << QByteArray("<component><vendor>")
        << "malformed XML at line 1, column 19: Premature end of document.";
    const auto badName = [](const char* tag, const char* name, const char* reason) {
        QTest::newRow(tag) << Minimal("").replace(">widget<", QByteArray(">") + name + "<")
                           << QStringLiteral(
                                  "component name '%1' at line 4 cannot name output "
                                  "files: %2")
                                  .arg(QString::fromUtf8(name), QLatin1String(reason));
    };
    badName("name with a slash", "a/b", "it holds a path separator");
    badName("name with a backslash", "a\\b", "it holds a path separator");
    badName("name '..'", "..", "it is '.' or '..'");
    badName("name with a colon", "w:x", "it holds ':', which file names cannot hold");
    badName("name starting with a digit", "9lives", "an HDL identifier begins with a letter");
    badName("name starting with a non-ASCII letter", "\xc3\xa9t\xc3\xa9",
            "an HDL identifier begins with a letter");
    QTest::newRow("name with a tab")
        << Minimal("").replace(">widget<", ">w&#9;x<")
        << "component name 'w\\x09x' at line 4 cannot name output files: it holds a control "
           "character";
    bad("life-cycle", Ext("<g:lifeCycle>sometimes</g:lifeCycle>"),
        "invalid Gantrel extension at line 25: unknown lifeCycle 'sometimes'");
    bad("ip type", Ext("<g:ipType>-1</g:ipType>"), "ipType '-1' is not an unsigned number");
    bad("family life-cycle",
        Ext(R"(<g:families><g:family lifeCycle="x">f</g:family></g:families>)"),
        "unknown lifeCycle 'x' of family f");
    bad("unknown element", Ext("<g:colour/>"), "unknown element gantrel:colour");
    bad("two extensions", Ext("") + Ext(""), "more than one gantrel:ip");
    bad("chain without task", Ext("", R"(vendor="v" library="l" name="n" version="1")"),
        "a generatorChain without a task");
    bad("chain without version", Ext("", R"(task="t" vendor="v" library="l" name="n")"),
        "generatorChain t lacks part of its vendor");
    bad("chain without ipType",
        Ext("", Ids, R"(<g:property name="familyDependent">dependent</g:property>)"),
        "chain t lacks the property ipType");
    bad("chain ipType value", Ext("", Ids, R"(<g:property name="ipType">all</g:property>)"),
        "chain t: ipType 'all' is not one of any, customized, uncustomized");
    bad("unknown generator", Ext("", Ids, props + R"(<g:generator kind="compile"/>)"),
        "unknown generator kind 'compile'");
    bad("generator order", Ext("", Ids, props + R"(<g:generator kind="validate" order="1st"/>)"),
        "generator order '1st' is not an unsigned number");
    bad("same task twice", Ext("", Ids, props + second + props), "two chains for the task t");
    bad("same identifier twice",
        Ext("", Ids,
            props + QByteArray(second).replace("\"T\"", "\"u\"").replace("\"m\"", "\"n\"") + props),
        "chain u repeats the identifier v:l:n:1");
}

void TestCatalogReader::refusesBadContent()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, reason);
    const QString refusal = Refusal(xml);
    QVERIFY2(refusal.contains(reason), qPrintable(refusal));
}

void TestCatalogReader::refusesBadFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("binary") << "binary"
                            << "binary data (a NUL byte at offset 4)";
    QTest::newRow("huge") << "huge"
                          << "larger than 16 MiB (16777217 bytes)";
    QTest::newRow("dangling link") << "dangling"
                                   << "cannot be read: dangling symbolic link";
    QTest::newRow("missing") << "missing"
                             << "cannot be read: no such file";
    QTest::newRow("fifo") << "fifo"
                          << "not a regular file";
    QTest::newRow("directory") << "directory"
                               << "not a regular file";
}

void TestCatalogReader::refusesBadFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("bad.xml");
    if (kind == "binary") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            QByteArray("\x7f"
                       "ELF\0\0\0<xml/>",
                       12));
    } else if (kind == "huge") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(16 * 1024 * 1024 + 1));  // sparse: costs no disk
    } else if (kind == "dangling") {
        QVERIFY(QFile::link(dir.filePath("nowhere.xml"), path));
    } else if (kind == "fifo") {
        QCOMPARE(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
    } else if (kind == "directory") {
        QVERIFY(QDir(dir.path()).mkdir("bad.xml"));
    }
    boost::shared_ptr<Ipu::IPComponent> component;
    Port::String why;
    QCOMPARE(CatalogReader::ReadFile(path.toStdString(), component, why), 1u);
    QCOMPARE(Q(why), reason);
    QVERIFY(!component);
}

void TestCatalogReader::refusesUnreadableFile()
{
    if (geteuid() == 0) {
        QSKIP("root reads files whatever their permissions; the dangling link covers it");
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.xml");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Minimal(""));
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
    boost::shared_ptr<Ipu::IPComponent> component;
    Port::String why;
    QCOMPARE(CatalogReader::ReadFile(path.toStdString(), component, why), 1u);
    QVERIFY2(Q(why).startsWith("cannot be read: "), why.c_str());
}

// UTF-16 text holds NUL bytes but is no binary file.
void TestCatalogReader::readsWideText()
{
    const QString text = QString::fromUtf8(Minimal(""))
                             .replace("encoding=\"UTF-8\"", "encoding=\"UTF-16\"")
                             .replace("widget</ipxact:name>", "wïdget</ipxact:name>");
    QByteArray data("\xFF\xFE");
    data.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    auto component = Read(data);
    QVERIFY(component);
    QCOMPARE(Q(component->GetName()), QStringLiteral("wïdget"));
}

void TestCatalogReader::warnsAboutMistakes_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("warnings");  // "line: text"
    const QByteArray clean = Minimal("");
    const auto edit = [&clean](const char* from, const char* to) {
        return QByteArray(clean).replace(from, to);
    };
    const char* const width = R"(minimum="1" maximum="64")";

    QTest::newRow("clean") << clean << QStringList();
    QTest::newRow("default above maximum")
        << edit("<ipxact:value>8<", "<ipxact:value>99<")
        << QStringList("20: parameter 'WIDTH': default '99' is above its maximum '64'");
    QTest::newRow("default below minimum")
        << edit("<ipxact:value>8<", "<ipxact:value>0<")
        << QStringList("20: parameter 'WIDTH': default '0' is below its minimum '1'");
    QTest::newRow("minimum above maximum")
        << edit(width, R"(minimum="64" maximum="1")")
        << QStringList("20: parameter 'WIDTH': minimum '64' is above its maximum '1'");
    QTest::newRow("hexadecimal maximum")
        << edit(width, R"(minimum="1" maximum="0x4")")
        << QStringList("20: parameter 'WIDTH': default '8' is above its maximum '0x4'");
    QTest::newRow("real numbers in range")
        << edit(width, R"(minimum="0.5" maximum="8.0")") << QStringList();
    QTest::newRow("expressions are not judged")
        << edit(width, R"(minimum="W_MIN" maximum="2**W")") << QStringList();
    QTest::newRow("model parameter out of range")
        << edit("<ipxact:value>256<", "<ipxact:value>8<")
        << QStringList("7: parameter 'G_DEPTH': default '8' is below its minimum '16'");
    QTest::newRow("default outside its choices")
        << edit(R"("fast"</ipxact:value>)", R"("slow"</ipxact:value>)")
        << QStringList(
               "22: parameter 'MODE': default 'slow' is not one of its choices (fast, "
               "small)");
    QTest::newRow("choiceRef to no choice")
        << edit(R"(choiceRef="modes")", R"(choiceRef="speeds")")
        << QStringList("22: parameter 'MODE': choiceRef 'speeds' names no choice");
    QTest::newRow("version with a letter")
        << edit(">1.2<", ">1.2a<")
        << QStringList("4: version '1.2a' is not numeric (numbers separated by '.')");
    QTest::newRow("unknown family, known ones in any case")
        << Minimal(R"(<g:ip xmlns:g="urn:pellor:gantrel:ipxact-extensions:1.0"><g:families>
<g:family>ALPHA</g:family>
<g:family>zeta</g:family><g:family>beta</g:family></g:families></g:ip>)")
        << QStringList("27: family 'zeta' is not in the device database");
    QTest::newRow("several at once")
        << edit(">1.2<", ">v1<").replace("<ipxact:value>8<", "<ipxact:value>65<")
        << QStringList{"4: version 'v1' is not numeric (numbers separated by '.')",
                       "20: parameter 'WIDTH': default '65' is above its maximum '64'"};
}

// The IP loads as written; each mistake is answered with the line it is on.
void TestCatalogReader::warnsAboutMistakes()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, warnings);
    QVERIFY(TestDevices::load());
    boost::shared_ptr<Ipu::IPComponent> component;
    Port::String reason;
    std::vector<CatalogReader::Warning> found;
    QCOMPARE(CatalogReader::ReadData(xml, "", component, reason, found), 0u);
    QVERIFY(component);
    QStringList lines;
    for (const CatalogReader::Warning& warning : found) {
        lines << QStringLiteral("%1: %2").arg(warning.line).arg(Q(warning.text));
    }
    QCOMPARE(lines, warnings);
}

void TestCatalogReader::answersCatalogDocument()
{
    const QByteArray xml =
        R"(<ipxact:catalog xmlns:ipxact="http://www.accellera.org/XMLSchema/IPXACT/1685-2022">
<ipxact:vendor>v</ipxact:vendor></ipxact:catalog>)";
    boost::shared_ptr<Ipu::IPComponent> component;
    Port::String reason;
    QCOMPARE(CatalogReader::ReadData(xml, "", component, reason), 2u);
    QVERIFY(!component);
    QCOMPARE(Q(reason), QStringLiteral("an IP-XACT catalog document, not a component"));
}

void TestCatalogReader::keepsFileEntries_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("files");
    // set|path|type|logical name of every entry, the template's own "src" set first.
    QTest::addColumn<QStringList>("expected");

    const QString src = QStringLiteral("src|/cat/ip/hdl/widget.vhd|vhdlSource|");
    QTest::newRow("relative resolved")
        << QByteArray("/cat/ip/widget.xml")
        << QByteArray(
               "<ipxact:file><ipxact:name>rtl/../rtl/core.v</ipxact:name>"
               "<ipxact:fileType>verilogSource</ipxact:fileType></ipxact:file>")
        << QStringList{src, "rtl|/cat/ip/rtl/core.v|verilogSource|"};
    QTest::newRow("absolute kept, library")
        << QByteArray("/cat/ip/widget.xml")
        << QByteArray(
               "<ipxact:file><ipxact:name>/opt/hdl/core.vhd</ipxact:name>"
               "<ipxact:fileType>vhdlSource</ipxact:fileType>"
               "<ipxact:logicalName>cores</ipxact:logicalName></ipxact:file>")
        << QStringList{src, "rtl|/opt/hdl/core.vhd|vhdlSource|cores"};
    QTest::newRow("user type, first type wins")
        << QByteArray("/cat/ip/widget.xml")
        << QByteArray(
               "<ipxact:file><ipxact:name>doc/a.html</ipxact:name>"
               "<ipxact:fileType user=\"htmlDocumentation\">user</ipxact:fileType>"
               "<ipxact:fileType>unknown</ipxact:fileType></ipxact:file>")
        << QStringList{src, "rtl|/cat/ip/doc/a.html|htmlDocumentation|"};
    QTest::newRow("no catalogue file: as written")
        << QByteArray("")
        << QByteArray(
               "<ipxact:file><ipxact:name>rtl/core.v</ipxact:name>"
               "<ipxact:fileType>verilogSource</ipxact:fileType></ipxact:file>")
        << QStringList{"src|hdl/widget.vhd|vhdlSource|", "rtl|rtl/core.v|verilogSource|"};
    QTest::newRow("nameless file left out")
        << QByteArray("/cat/ip/widget.xml")
        << QByteArray("<ipxact:file><ipxact:fileType>verilogSource</ipxact:fileType></ipxact:file>")
        << QStringList{src};
}

void TestCatalogReader::keepsFileEntries()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, files);
    QFETCH(QStringList, expected);

    QByteArray xml = Minimal(Extension);
    const QByteArray end = "</ipxact:fileSet></ipxact:fileSets>";
    QVERIFY(xml.contains(end));
    xml.replace(end,
                "</ipxact:fileSet><ipxact:fileSet><ipxact:name>rtl</ipxact:name>" + files + end);
    auto component = Read(xml, source.constData());
    QVERIFY(component);
    QStringList entries;
    for (const Ipu::IPComponent::FileEntry& entry : component->GetFileEntries()) {
        entries << QStringList{Q(entry.fileSet), Q(entry.path), Q(entry.fileType),
                               Q(entry.logicalName)}
                       .join(u'|');
    }
    QCOMPARE(entries, expected);
}

void TestCatalogReader::readsModelPorts_data()
{
    QTest::addColumn<QByteArray>("xml");
    // name|direction|left|right of every port kept, in order.
    QTest::addColumn<QStringList>("expected");

    // A second vector, a phantom wire and a transactional port do not reach the HDL.
    const char* const ports2009 = R"(<spirit:ports>
      <spirit:port><spirit:name>clk</spirit:name>
        <spirit:wire><spirit:direction>in</spirit:direction></spirit:wire></spirit:port>
      <spirit:port><spirit:name>q</spirit:name><spirit:wire><spirit:direction>out</spirit:direction>
        <spirit:vector><spirit:left>WIDTH - 1</spirit:left><spirit:right>0</spirit:right></spirit:vector>
        <spirit:vector><spirit:left>7</spirit:left><spirit:right>0</spirit:right></spirit:vector>
      </spirit:wire></spirit:port>
      <spirit:port><spirit:name>ghost</spirit:name>
        <spirit:wire><spirit:direction>phantom</spirit:direction></spirit:wire></spirit:port>
      <spirit:port><spirit:name>bus</spirit:name><spirit:transactional/></spirit:port>
    </spirit:ports>)";
    const char* const portsModern = R"(<ipxact:ports>
      <ipxact:port><ipxact:name>clk</ipxact:name>
        <ipxact:wire><ipxact:direction>in</ipxact:direction></ipxact:wire></ipxact:port>
      <ipxact:port><ipxact:name>q</ipxact:name><ipxact:wire><ipxact:direction>out</ipxact:direction>
        <ipxact:vectors>
          <ipxact:vector><ipxact:left>WIDTH - 1</ipxact:left><ipxact:right>0</ipxact:right></ipxact:vector>
          <ipxact:vector><ipxact:left>7</ipxact:left><ipxact:right>0</ipxact:right></ipxact:vector>
        </ipxact:vectors></ipxact:wire></ipxact:port>
      <ipxact:port><ipxact:name>ghost</ipxact:name>
        <ipxact:wire><ipxact:direction>phantom</ipxact:direction></ipxact:wire></ipxact:port>
      <ipxact:port><ipxact:name>bus</ipxact:name><ipxact:transactional/></ipxact:port>
    </ipxact:ports>)";
    const QStringList expected{"clk|in||", "q|out|WIDTH - 1|0"};
    const QByteArray modelEnd = "</ipxact:instantiations></ipxact:model>";
    const QByteArray modernPorts =
        "</ipxact:instantiations>" + QByteArray(portsModern) + "</ipxact:model>";
    QTest::newRow("2009") << QByteArray(Component2009)
                                 .replace("%EXT%", "")
                                 .replace("</spirit:modelParameters></spirit:model>",
                                          "</spirit:modelParameters>" + QByteArray(ports2009) +
                                              "</spirit:model>")
                          << expected;
    QTest::newRow("2014") << Minimal("").replace(modelEnd, modernPorts) << expected;
    QTest::newRow("2022") << Modern("http://www.accellera.org/XMLSchema/IPXACT/1685-2022", "", "",
                                    "")
                                 .replace(modelEnd, modernPorts)
                          << expected;
    QTest::newRow("no ports") << Minimal("") << QStringList();
}

void TestCatalogReader::readsModelPorts()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, expected);

    auto component = Read(xml, "/cat/widget.xml");
    QVERIFY(component);
    QStringList ports;
    for (const Ipu::IPComponent::ModelPort& port : component->GetPorts()) {
        ports << QStringList{Q(port.name), Q(port.direction), Q(port.left), Q(port.right)}.join(
            u'|');
    }
    QCOMPARE(ports, expected);
}

QTEST_GUILESS_MAIN(TestCatalogReader)
#include "tst_catalogreader.moc"
