#include "MessageCapture.h"
#include "Sim_DataLocation.h"
#include "Sim_FamilySupport.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>
#include <atomic>
#include <thread>

using Sim::FamilySupport;

namespace {

// Three families, so that paths such as families[2] exist; the default part is not the
// first part of its family, so that the two default-part rules give different answers.
const char* const BaseDatabase = R"({
  "formatVersion": 1,
  "defaultPart": {"family": "alpha", "device": "a2", "package": "p20", "speedgrade": "-3"},
  "families": [
    {"name": "alpha", "visibleName": "Alpha-I", "devices": [
      {"name": "a1", "packages": [{"name": "p10", "speedGrades": ["-1", "-2"]},
                                  {"name": "p20", "speedGrades": ["-2"]}]},
      {"name": "a2", "packages": [{"name": "p20", "speedGrades": ["-1", "-2", "-3"]}]}]},
    {"name": "beta", "visibleName": "Beta LP", "devices": [
      {"name": "b1", "packages": [{"name": "q30", "speedGrades": ["-5"]}]}]},
    {"name": "gamma", "visibleName": "Gamma-X", "devices": [
      {"name": "g1", "packages": [{"name": "r40", "speedGrades": ["-7", "-8"]}]},
      {"name": "g2", "packages": [{"name": "r40", "speedGrades": ["-8"]},
                                  {"name": "r50", "speedGrades": ["-7"]}]}]}
  ]
})";

QByteArray Replaced(const char* from, const char* to)
{
    QByteArray text(BaseDatabase);
    if (text.count(from) != 1)
        qFatal("test table: '%s' must occur once in the base database", from);
    return text.replace(from, to);
}

QStringList ToQt(const std::vector<Port::String>& list)
{
    QStringList result;
    for (const Port::String& item : list)
        result << QString::fromStdString(item.str());
    return result;
}

Port::String ToPort(const QString& text)
{
    return Port::String(text.toStdString());
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void LoadBase()
{
    const QByteArray base(BaseDatabase);
    QCOMPARE(FamilySupport::LoadFromMemory(base.constData(), base.size(), "base"), 0u);
}

}  // namespace

class tst_FamilySupport : public QObject {
    Q_OBJECT

private slots:
    void firstQueryLoadsFromDataLocation();
    void malformedDatabase_data();
    void malformedDatabase();
    void leavesOutUnusableEntries_data();
    void leavesOutUnusableEntries();
    void unusableFile_data();
    void unusableFile();
    void failedLoadWarnsOnce();
    void queries_data();
    void queries();
    void defaultPart_data();
    void defaultPart();
    void defaultPartUsesDatabaseSpelling();
    void visibleFamilyName_data();
    void visibleFamilyName();
    void internalFamilyName_data();
    void internalFamilyName();
    void everyQueryIsCounted();
    void embeddedDatabase();
    void refreshWhileQuerying();
    void cleanup();
};

// Must stay the first test: nothing may have loaded the process-wide database before it.
void tst_FamilySupport::firstQueryLoadsFromDataLocation()
{
    QTemporaryDir dir;
    const QString first = WriteFile(dir, "first.json", BaseDatabase);
    const QString second = WriteFile(dir, "second.json", Replaced(R"("beta")", R"("delta")"));
    Sim::DataLocation::SetDeviceDatabaseFile(ToPort(first));
    std::vector<Port::String> families;
    QCOMPARE(FamilySupport::GetAvailableFamilies(families), 0u);
    QCOMPARE(ToQt(families), QStringList({"alpha", "beta", "gamma"}));

    // A changed location is read only when the cache is refreshed.
    Sim::DataLocation::SetDeviceDatabaseFile(ToPort(second));
    QCOMPARE(FamilySupport::GetAvailableFamilies(families), 0u);
    QCOMPARE(ToQt(families), QStringList({"alpha", "beta", "gamma"}));
    QCOMPARE(FamilySupport::Refresh(), 0u);
    QCOMPARE(FamilySupport::GetAvailableFamilies(families), 0u);
    QCOMPARE(ToQt(families), QStringList({"alpha", "delta", "gamma"}));
}

void tst_FamilySupport::malformedDatabase_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty file") << QByteArray() << "the file is empty";
    QTest::newRow("binary") << QByteArray("{\"formatVersion\"\0: 1}", 21)
                            << "binary content (a NUL byte at byte offset 16)";
    QTest::newRow("top level array")
        << QByteArray("[1, 2]") << "the top level is not a JSON object";
    QTest::newRow("format version missing")
        << Replaced(R"("formatVersion": 1,)", "") << "formatVersion: missing";
    QTest::newRow("format version 2") << Replaced(R"("formatVersion": 1)", R"("formatVersion": 2)")
                                      << "formatVersion: version 2 is not supported (expected 1)";
    QTest::newRow("format version text")
        << Replaced(R"("formatVersion": 1)", R"("formatVersion": "1")")
        << "formatVersion: expected a number";
    QTest::newRow("families not an array")
        << QByteArray(R"({"formatVersion": 1, "families": {}})") << "families: expected an array";
    QTest::newRow("no devices") << Replaced(R"([
      {"name": "b1", "packages": [{"name": "q30", "speedGrades": ["-5"]}]}])",
                                            "[]")
                                << "families[1].devices: expected at least one entry";
    QTest::newRow("visible name missing")
        << Replaced(R"("visibleName": "Beta LP", )", "") << "families[1].visibleName: missing";
    QTest::newRow("invalid name")
        << Replaced(R"("beta")", R"("be ta")")
        << "families[1].name: 'be ta' is not a valid name (1 to 64 letters, digits, '_', '.', "
           "'+' or '-')";
    QTest::newRow("visible name with blank edge")
        << Replaced(R"("Beta LP")", R"(" Beta LP")")
        << "families[1].visibleName: ' Beta LP' is not a valid visible name (1 to 64 printable "
           "characters, no leading or trailing space)";
    QTest::newRow("duplicate family in other case")
        << Replaced(R"("name": "gamma")", R"("name": "ALPHA")")
        << "families[2].name: duplicate family 'ALPHA' (first at families[0].name)";
    QTest::newRow("duplicate visible name")
        << Replaced(R"("Gamma-X")", R"("alpha-i")")
        << "families[2].visibleName: duplicate visible name 'alpha-i' (first at "
           "families[0].visibleName)";
    QTest::newRow("default device left out") << Replaced(R"("name": "a2")", R"("name": "A1")")
                                             << "defaultPart.device: 'a2' is not in family alpha";
    QTest::newRow("no usable device")
        << Replaced(R"(["-5"])", R"(["="])") << "families[1].devices: no usable entry";
    QTest::newRow("default part missing")
        << Replaced(
               R"("defaultPart": {"family": "alpha", "device": "a2", "package": "p20", "speedgrade": "-3"},)",
               "")
        << "defaultPart: missing";
    QTest::newRow("default device of another family")
        << Replaced(R"("device": "a2")", R"("device": "b1")")
        << "defaultPart.device: 'b1' is not in family alpha";
    QTest::newRow("default speed grade not offered")
        << Replaced(R"("speedgrade": "-3")", R"("speedgrade": "-5")")
        << "defaultPart.speedgrade: '-5' is not in package p20";
}

// Each fault gives exactly one warning naming the file and the reason, and leaves the
// database empty even though a good one was loaded before.
void tst_FamilySupport::malformedDatabase()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "devices.json", content);
    LoadBase();

    MessageCapture capture;
    QCOMPARE(FamilySupport::LoadFromFile(ToPort(path)), 1u);
    const auto messages = capture.messages();
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].kind, Port_MsgManData::Warning);
    QCOMPARE(messages[0].module, std::string("sim"));
    QCOMPARE(messages[0].source, std::string("Sim_FamilySupport"));
    const QString expected =
        QStringLiteral("Device database '%1' not loaded: %2\n").arg(path, reason);
    QCOMPARE(QString::fromStdString(messages[0].text), expected);

    std::vector<Port::String> families{"stale"};
    QCOMPARE(FamilySupport::GetAvailableFamilies(families), 1u);
    QVERIFY(families.empty());
    Port::String family, device, package, speedGrade;
    QCOMPARE(FamilySupport::GetDefaultFamilyAndPart(family, device, package, speedGrade), 1u);
}

void tst_FamilySupport::leavesOutUnusableEntries_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("leftOut");
    QTest::addColumn<QString>("listing");  // "family/device/package" and what it offers
    const QString grades = "families[0].devices[0].packages[0].speedGrades";
    const QString name =
        "' is not a valid part name (1 to 64 printable characters, no blank, "
        "'\"', '=' or '\\')";

    QTest::newRow("grades with a slash") << Replaced(R"(["-1", "-2"])", R"(["C6/I5", "I6"])")
                                         << QStringList() << "alpha/a1/p10: C6/I5 I6";
    QTest::newRow("any printable text")
        << Replaced(R"("name": "p10")", R"x("name": "µBGA-484(A)")x") << QStringList()
        << "alpha/a1: µBGA-484(A) p20";
    QTest::newRow("grade with a blank")
        << Replaced(R"(["-1", "-2"])", R"(["-1", "C6 I5"])")
        << QStringList(grades + "[1]: 'C6 I5" + name) << "alpha/a1/p10: -1";
    QTest::newRow("grade not a string")
        << Replaced(R"(["-1", "-2"])", R"(["-1", 2])")
        << QStringList(grades + "[1]: expected a string") << "alpha/a1/p10: -1";
    QTest::newRow("package with a quote")
        << Replaced(R"("name": "p10")", R"("name": "p\"10")")
        << QStringList("families[0].devices[0].packages[0].name: 'p\"10" + name) << "alpha/a1: p20";
    QTest::newRow("device with an equals sign")
        << Replaced(R"("name": "g1")", R"("name": "g=1")")
        << QStringList("families[2].devices[0].name: 'g=1" + name) << "gamma: g2";
    QTest::newRow("package without a usable grade")
        << Replaced(R"(["-1", "-2"])", R"(["a\tb"])")
        << QStringList({grades + "[0]: 'a\tb" + name, grades + ": no usable entry"})
        << "alpha/a1: p20";
    QTest::newRow("packages not an array")
        << Replaced(R"([{"name": "r40", "speedGrades": ["-7", "-8"]}])", R"("r40")")
        << QStringList("families[2].devices[0].packages: expected an array") << "gamma: g2";
    QTest::newRow("duplicate device across families")
        << Replaced(R"("name": "g2")", R"("name": "b1")")
        << QStringList(
               "families[2].devices[1].name: duplicate device 'b1' (first at "
               "families[1].devices[0].name)")
        << "gamma: g1";
    QTest::newRow("duplicate package")
        << Replaced(R"("name": "r50")", R"("name": "R40")")
        << QStringList(
               "families[2].devices[1].packages[1].name: duplicate package 'R40' (first "
               "at families[2].devices[1].packages[0].name)")
        << "gamma/g2: r40";
    QTest::newRow("duplicate speed grade")
        << Replaced(R"(["-1", "-2", "-3"])", R"(["-1", "-2", "-1", "-3"])")
        << QStringList(
               "families[0].devices[1].packages[0].speedGrades[2]: duplicate speed grade "
               "'-1' (first at families[0].devices[1].packages[0].speedGrades[0])")
        << "alpha/a2/p20: -1 -2 -3";
}

// An entry that cannot be used is one warning naming the file and where it is; the rest of
// the database loads.
void tst_FamilySupport::leavesOutUnusableEntries()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, leftOut);
    QFETCH(QString, listing);
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "devices.json", content);
    MessageCapture capture;
    QCOMPARE(FamilySupport::LoadFromFile(ToPort(path)), 0u);
    QStringList expected;
    for (const QString& entry : leftOut)
        expected << "WARNING:sim:Sim_FamilySupport - Device database '" + path +
                        "': entry left out: " + entry + "\n";
    QCOMPARE(capture.textLines(), expected);

    const QStringList where = listing.section(": ", 0, 0).split('/');
    std::vector<Port::String> offered;
    if (where.size() == 1)
        QCOMPARE(FamilySupport::GetAvailableDevices(ToPort(where[0]), offered), 0u);
    else if (where.size() == 2)
        QCOMPARE(FamilySupport::GetAvailablePackages(ToPort(where[0]), ToPort(where[1]), offered),
                 0u);
    else
        QCOMPARE(FamilySupport::GetAvailableSpeedGrades(ToPort(where[0]), ToPort(where[1]),
                                                        ToPort(where[2]), offered),
                 0u);
    QCOMPARE(ToQt(offered).join(' '), listing.section(": ", 1));
}

void tst_FamilySupport::unusableFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing"
                             << "the file does not exist";
    QTest::newRow("directory") << "directory"
                               << "not a regular file";
    QTest::newRow("huge") << "huge"
                          << "the file is too large (67108865 bytes; at most 67108864 are read)";
    QTest::newRow("unreadable") << "unreadable"
                                << "the file cannot be read: Permission denied";
}

void tst_FamilySupport::unusableFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    if (kind == "unreadable" && geteuid() == 0)
        QSKIP("root reads files whatever their permissions");
    QTemporaryDir dir;
    QString path = dir.filePath("devices.json");
    if (kind == "directory") {
        QVERIFY(QDir(dir.path()).mkdir("devices.json"));
    } else if (kind == "huge") {
        QFile file(path);
        // Sparse: only the size matters, the loader must not read it.
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(64LL * 1024 * 1024 + 1));
    } else if (kind == "unreadable") {
        WriteFile(dir, "devices.json", BaseDatabase);
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    }
    LoadBase();

    MessageCapture capture;
    QCOMPARE(FamilySupport::LoadFromFile(ToPort(path)), 1u);
    QCOMPARE(capture.lines().size(), size_t(1));
    QCOMPARE(QString::fromStdString(capture.messages()[0].text),
             QStringLiteral("Device database '%1' not loaded: %2\n").arg(path, reason));
    std::vector<Port::String> families;
    QCOMPARE(FamilySupport::GetAvailableFamilies(families), 1u);
}

// A broken file must not be read again, nor warned about again, by every later query.
void tst_FamilySupport::failedLoadWarnsOnce()
{
    QTemporaryDir dir;
    const QString broken = WriteFile(dir, "broken.json", "{\n  \"formatVersion\": 1,\n  [\n}");
    MessageCapture capture;
    QCOMPARE(FamilySupport::LoadFromFile(ToPort(broken)), 1u);

    QJsonParseError error;
    QJsonDocument::fromJson("{\n  \"formatVersion\": 1,\n  [\n}", &error);
    const QString text = QString::fromStdString(capture.messages().at(0).text);
    QVERIFY2(
        text.contains("malformed JSON at line 3, column ") && text.contains(error.errorString()),
        qPrintable(text));

    std::vector<Port::String> list;
    Port::String a, b, c, d;
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(FamilySupport::GetAvailableFamilies(list), 1u);
        QCOMPARE(FamilySupport::GetAvailableDevices("alpha", list), 1u);
        QCOMPARE(FamilySupport::GetDefaultPart("alpha", b, c, d), 1u);
        QCOMPARE(FamilySupport::GetInternalFamilyName("Alpha-I", a), 1u);
    }
    QCOMPARE(capture.messages().size(), size_t(1));

    LoadBase();
    QCOMPARE(FamilySupport::GetAvailableDevices("alpha", list), 0u);
}

void tst_FamilySupport::queries_data()
{
    QTest::addColumn<int>("depth");  // 0 families, 1 devices, 2 packages, 3 speed grades
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("package");
    QTest::addColumn<unsigned>("status");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("families") << 0 << ""
                              << ""
                              << "" << 0u << QStringList({"alpha", "beta", "gamma"});
    QTest::newRow("devices, upper case") << 1 << "ALPHA"
                                         << ""
                                         << "" << 0u << QStringList({"a1", "a2"});
    QTest::newRow("devices, visible name") << 1 << "Alpha-I"
                                           << ""
                                           << "" << 1u << QStringList();
    QTest::newRow("devices, unknown family") << 1 << "delta"
                                             << ""
                                             << "" << 1u << QStringList();
    QTest::newRow("devices, empty family") << 1 << ""
                                           << ""
                                           << "" << 1u << QStringList();
    QTest::newRow("packages, mixed case") << 2 << "Gamma"
                                          << "G2"
                                          << "" << 0u << QStringList({"r40", "r50"});
    QTest::newRow("packages, device of another family") << 2 << "alpha"
                                                        << "b1"
                                                        << "" << 1u << QStringList();
    QTest::newRow("speed grades, mixed case") << 3 << "aLpHa"
                                              << "A1"
                                              << "P10" << 0u << QStringList({"-1", "-2"});
    QTest::newRow("speed grades per package") << 3 << "alpha"
                                              << "a1"
                                              << "p20" << 0u << QStringList({"-2"});
    QTest::newRow("speed grades, package of another device") << 3 << "alpha"
                                                             << "a1"
                                                             << "q30" << 1u << QStringList();
}

void tst_FamilySupport::queries()
{
    QFETCH(int, depth);
    QFETCH(QString, family);
    QFETCH(QString, device);
    QFETCH(QString, package);
    QFETCH(unsigned, status);
    QFETCH(QStringList, expected);
    LoadBase();

    std::vector<Port::String> list{"stale"};
    unsigned result = 0;
    if (depth == 0)
        result = FamilySupport::GetAvailableFamilies(list);
    else if (depth == 1)
        result = FamilySupport::GetAvailableDevices(ToPort(family), list);
    else if (depth == 2)
        result = FamilySupport::GetAvailablePackages(ToPort(family), ToPort(device), list);
    else
        result = FamilySupport::GetAvailableSpeedGrades(ToPort(family), ToPort(device),
                                                        ToPort(package), list);
    QCOMPARE(result, status);
    QCOMPARE(ToQt(list), expected);
}

void tst_FamilySupport::defaultPart_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<unsigned>("status");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("family of the default part")
        << "ALPHA" << 0u << QStringList({"a2", "p20", "-3"});
    QTest::newRow("other family: its first part")
        << "gamma" << 0u << QStringList({"g1", "r40", "-7"});
    QTest::newRow("unknown family") << "delta" << 1u << QStringList({"", "", ""});
}

void tst_FamilySupport::defaultPart()
{
    QFETCH(QString, family);
    QFETCH(unsigned, status);
    QFETCH(QStringList, expected);
    LoadBase();
    Port::String device = "x", package = "x", speedGrade = "x";
    QCOMPARE(FamilySupport::GetDefaultPart(ToPort(family), device, package, speedGrade), status);
    QCOMPARE(ToQt({device, package, speedGrade}), expected);

    Port::String defaultFamily;
    QCOMPARE(FamilySupport::GetDefaultFamilyAndPart(defaultFamily, device, package, speedGrade),
             0u);
    QCOMPARE(ToQt({defaultFamily, device, package, speedGrade}),
             QStringList({"alpha", "a2", "p20", "-3"}));
}

// Projects store what the default part answers, so it must be the lists' spelling.
void tst_FamilySupport::defaultPartUsesDatabaseSpelling()
{
    const QByteArray content = Replaced(R"("family": "alpha", "device": "a2", "package": "p20")",
                                        R"("family": "ALPHA", "device": "A2", "package": "P20")");
    QCOMPARE(FamilySupport::LoadFromMemory(content.constData(), content.size(), "mixed"), 0u);
    Port::String family, device, package, speedGrade;
    QCOMPARE(FamilySupport::GetDefaultFamilyAndPart(family, device, package, speedGrade), 0u);
    QCOMPARE(ToQt({family, device, package, speedGrade}),
             QStringList({"alpha", "a2", "p20", "-3"}));
}

void tst_FamilySupport::visibleFamilyName_data()
{
    QTest::addColumn<QString>("internal");
    QTest::addColumn<QString>("visible");
    QTest::newRow("known") << "alpha"
                           << "Alpha-I";
    QTest::newRow("upper case") << "GAMMA"
                                << "Gamma-X";
    QTest::newRow("unknown answers itself") << "delta"
                                            << "delta";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_FamilySupport::visibleFamilyName()
{
    QFETCH(QString, internal);
    QFETCH(QString, visible);
    LoadBase();
    Port::String answer = "x";
    QCOMPARE(FamilySupport::GetVisibleFamilyName(ToPort(internal), answer), 0u);
    QCOMPARE(QString::fromStdString(answer.str()), visible);
}

void tst_FamilySupport::internalFamilyName_data()
{
    QTest::addColumn<QString>("visible");
    QTest::addColumn<unsigned>("status");
    QTest::addColumn<QString>("internal");
    QTest::newRow("known, with a space") << "Beta LP" << 0u << "beta";
    QTest::newRow("lower case") << "gamma-x" << 0u << "gamma";
    QTest::newRow("internal name is not visible") << "beta" << 1u << "";
    QTest::newRow("empty") << "" << 1u << "";
}

void tst_FamilySupport::internalFamilyName()
{
    QFETCH(QString, visible);
    QFETCH(unsigned, status);
    QFETCH(QString, internal);
    LoadBase();
    Port::String answer = "x";
    QCOMPARE(FamilySupport::GetInternalFamilyName(ToPort(visible), answer), status);
    QCOMPARE(QString::fromStdString(answer.str()), internal);
}

void tst_FamilySupport::everyQueryIsCounted()
{
    LoadBase();
    const unsigned long before = FamilySupport::QueryCount();
    std::vector<Port::String> list;
    Port::String a, b, c, d;
    FamilySupport::GetAvailableFamilies(list);
    FamilySupport::GetAvailableDevices("alpha", list);
    FamilySupport::GetAvailablePackages("alpha", "a1", list);
    FamilySupport::GetAvailableSpeedGrades("alpha", "a1", "p10", list);
    FamilySupport::GetDefaultFamilyAndPart(a, b, c, d);
    FamilySupport::GetDefaultPart("delta", b, c, d);
    FamilySupport::GetVisibleFamilyName("alpha", a);
    FamilySupport::GetInternalFamilyName("Alpha-I", a);
    QCOMPARE(FamilySupport::QueryCount() - before, 8ul);
}

// Guards the shipped data: it must load cleanly and be big enough to be useful.
void tst_FamilySupport::embeddedDatabase()
{
    const Port::String file = Sim::DataLocation::DataDirectory() + "/devices/devices.json";
    MessageCapture capture;
    QCOMPARE(FamilySupport::LoadFromFile(file), 0u);
    const auto lines = capture.lines();
    QVERIFY2(lines.empty(), lines.empty() ? "" : lines[0].c_str());

    std::vector<Port::String> families;
    QCOMPARE(FamilySupport::GetAvailableFamilies(families), 0u);
    QVERIFY(families.size() >= 3);
    size_t devices = 0;
    for (const Port::String& family : families) {
        Port::String visible;
        FamilySupport::GetVisibleFamilyName(family, visible);
        QVERIFY2(visible != family, family.c_str());
        std::vector<Port::String> list;
        QCOMPARE(FamilySupport::GetAvailableDevices(family, list), 0u);
        devices += list.size();
    }
    QVERIFY2(devices >= 20, qPrintable(QString::number(devices)));

    Port::String family, device, package, speedGrade;
    QCOMPARE(FamilySupport::GetDefaultFamilyAndPart(family, device, package, speedGrade), 0u);
    std::vector<Port::String> speedGrades;
    QCOMPARE(FamilySupport::GetAvailableSpeedGrades(family, device, package, speedGrades), 0u);
    QVERIFY(std::find(speedGrades.begin(), speedGrades.end(), speedGrade) != speedGrades.end());
}

// Readers must always see one whole database, the old or the new, never a mixture or a
// freed one. Meant for the tsan and asan builds.
void tst_FamilySupport::refreshWhileQuerying()
{
    QTemporaryDir dir;
    const QString first = WriteFile(dir, "first.json", BaseDatabase);
    const QByteArray secondContent = QByteArray(BaseDatabase).replace("\"a2\"", "\"a7\"");
    const QString second = WriteFile(dir, "second.json", secondContent);
    Sim::DataLocation::SetDeviceDatabaseFile(ToPort(second));
    LoadBase();

    std::atomic<bool> done{false};
    std::atomic<int> faults{0};
    auto reader = [&] {
        std::vector<Port::String> devices;
        Port::String family, device, package, speedGrade;
        while (!done.load()) {
            if (FamilySupport::GetAvailableDevices("alpha", devices) != 0 || devices.size() != 2 ||
                devices[0] != "a1" || (devices[1] != "a2" && devices[1] != "a7"))
                ++faults;
            if (FamilySupport::GetDefaultFamilyAndPart(family, device, package, speedGrade) != 0 ||
                (device != "a2" && device != "a7") || speedGrade != "-3")
                ++faults;
        }
    };
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i)
        readers.emplace_back(reader);
    for (int i = 0; i < 100; ++i) {
        FamilySupport::Refresh();
        FamilySupport::LoadFromFile(ToPort(first));
    }
    done = true;
    for (std::thread& thread : readers)
        thread.join();
    QCOMPARE(faults.load(), 0);
}

void tst_FamilySupport::cleanup()
{
    Sim::DataLocation::SetDeviceDatabaseFile(Port::String());
}

QTEST_GUILESS_MAIN(tst_FamilySupport)
#include "tst_familysupport.moc"
