#include "Sim_DataLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

using Sim::DataLocation;

namespace {

const char* const CatalogVariable = "GANTREL_CATALOG_PATH";
const char* const DevicesVariable = "GANTREL_DEVICE_DB";

// Unsets both variables and the command-line values for one test and puts them back after.
class LocationGuard {
public:
    LocationGuard()
        : catalog(qgetenv(CatalogVariable))
        , devices(qgetenv(DevicesVariable))
        , hadCatalog(qEnvironmentVariableIsSet(CatalogVariable))
        , hadDevices(qEnvironmentVariableIsSet(DevicesVariable))
    {
        qunsetenv(CatalogVariable);
        qunsetenv(DevicesVariable);
    }
    ~LocationGuard()
    {
        Restore(CatalogVariable, hadCatalog, catalog);
        Restore(DevicesVariable, hadDevices, devices);
        DataLocation::SetCatalogDirectories({});
        DataLocation::SetDefaultCatalogUsed(true);
        DataLocation::SetDeviceDatabaseFile(Port::String());
    }
    LocationGuard(const LocationGuard&) = delete;
    LocationGuard& operator=(const LocationGuard&) = delete;

private:
    static void Restore(const char* name, bool wasSet, const QByteArray& value)
    {
        if (wasSet)
            qputenv(name, value);
        else
            qunsetenv(name);
    }

    QByteArray catalog;
    QByteArray devices;
    bool hadCatalog;
    bool hadDevices;
};

QString ToQt(const Port::String& text)
{
    return QString::fromStdString(text.str());
}

QStringList ToQt(const std::vector<Port::String>& list)
{
    QStringList result;
    for (const Port::String& item : list)
        result << ToQt(item);
    return result;
}

// "<default>" stands for the embedded default; relative paths are taken against the
// current directory, as the class takes them.
QString Expand(const QString& path, const QString& defaultPath)
{
    if (path == "<default>")
        return defaultPath;
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QString LoadedLibrary()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<const void*>(&DataLocation::DataDirectory), &info) == 0 ||
        info.dli_fname == nullptr)
        return QString();
    return QFile::decodeName(info.dli_fname);
}

}  // namespace

class tst_DataLocation : public QObject {
    Q_OBJECT

private slots:
    void precedence_data();
    void precedence();
    void defaultIsTheBuildTreeData();
    void installedLayout_data();
    void installedLayout();
};

void tst_DataLocation::precedence_data()
{
    QTest::addColumn<QStringList>("commandLineCatalog");
    QTest::addColumn<bool>("defaultCatalogUsed");
    QTest::addColumn<QByteArray>("environmentCatalog");  // null: unset
    QTest::addColumn<QStringList>("expectedCatalog");
    QTest::addColumn<QString>("commandLineDevices");
    QTest::addColumn<QByteArray>("environmentDevices");
    QTest::addColumn<QString>("expectedDevices");

    const QStringList none;
    const QStringList embedded("<default>");
    QTest::newRow("embedded default")
        << none << true << QByteArray() << embedded << "" << QByteArray() << "<default>";
    QTest::newRow("environment") << none << true << QByteArray("/e/one:/e/two")
                                 << QStringList({"/e/one", "/e/two", "<default>"}) << ""
                                 << QByteArray("/e/devices.json") << "/e/devices.json";
    QTest::newRow("environment, empty entries skipped")
        << none << true << QByteArray("::/e/one::") << QStringList({"/e/one", "<default>"}) << ""
        << QByteArray("/e/devices.json") << "/e/devices.json";
    QTest::newRow("environment set but empty")
        << none << true << QByteArray("") << embedded << "" << QByteArray("") << "<default>";
    QTest::newRow("command line over environment")
        << QStringList({"/c/one", "/c/two"}) << true << QByteArray("/e/one")
        << QStringList({"/c/one", "/c/two", "<default>"}) << "/c/devices.json"
        << QByteArray("/e/devices.json") << "/c/devices.json";
    QTest::newRow("command line before default")
        << QStringList("/c/one") << true << QByteArray() << QStringList({"/c/one", "<default>"})
        << "/c/devices.json" << QByteArray() << "/c/devices.json";
    QTest::newRow("command line without default")
        << QStringList("/c/one") << false << QByteArray("/e/one") << QStringList("/c/one") << ""
        << QByteArray() << "<default>";
    QTest::newRow("environment without default")
        << none << false << QByteArray("/e/one") << QStringList("/e/one") << "" << QByteArray()
        << "<default>";
    QTest::newRow("nothing at all")
        << none << false << QByteArray() << none << "" << QByteArray() << "<default>";
    QTest::newRow("relative paths made absolute")
        << QStringList("rel/catalog") << false << QByteArray() << QStringList("rel/catalog") << ""
        << QByteArray("rel/devices.json") << "rel/devices.json";
    QTest::newRow("paths cleaned")
        << QStringList("/c/one/../two/") << false << QByteArray() << QStringList("/c/two") << ""
        << QByteArray("/e//x/./d.json") << "/e/x/d.json";
}

void tst_DataLocation::precedence()
{
    QFETCH(QStringList, commandLineCatalog);
    QFETCH(bool, defaultCatalogUsed);
    QFETCH(QByteArray, environmentCatalog);
    QFETCH(QStringList, expectedCatalog);
    QFETCH(QString, commandLineDevices);
    QFETCH(QByteArray, environmentDevices);
    QFETCH(QString, expectedDevices);
    LocationGuard guard;
    if (!environmentCatalog.isNull())
        qputenv(CatalogVariable, environmentCatalog);
    if (!environmentDevices.isNull())
        qputenv(DevicesVariable, environmentDevices);
    std::vector<Port::String> directories;
    for (const QString& directory : commandLineCatalog)
        directories.push_back(Port::String(directory.toStdString()));
    DataLocation::SetCatalogDirectories(directories);
    DataLocation::SetDefaultCatalogUsed(defaultCatalogUsed);
    DataLocation::SetDeviceDatabaseFile(Port::String(commandLineDevices.toStdString()));

    const QString data = ToQt(DataLocation::DataDirectory());
    QStringList expected;
    for (const QString& directory : expectedCatalog)
        expected << Expand(directory, data + "/catalog");
    QCOMPARE(ToQt(DataLocation::CatalogDirectories()), expected);
    QCOMPARE(ToQt(DataLocation::DeviceDatabaseFile()),
             Expand(expectedDevices, data + "/devices/devices.json"));
}

// Tests run from the build tree, where no share/gantrel lies beside the library.
void tst_DataLocation::defaultIsTheBuildTreeData()
{
    LocationGuard guard;
    const QString data = ToQt(DataLocation::DataDirectory());
    QVERIFY2(QFileInfo(data).isAbsolute(), qPrintable(data));
    QVERIFY2(QFileInfo(ToQt(DataLocation::DeviceDatabaseFile())).isFile(), qPrintable(data));
}

void tst_DataLocation::installedLayout_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("share beside the library") << true;
    QTest::newRow("no share: build tree data") << false;
}

// Loads a copy of the library from an install-like tree, since the running copy lives in
// the build tree; only the copy's own answer tells where an installed library looks.
void tst_DataLocation::installedLayout()
{
    QFETCH(bool, installed);
    const QString library = LoadedLibrary();
    QVERIFY2(library.contains("gantrel_sim"), qPrintable(library));
    QTemporaryDir prefix;
    const QString libraryDirectory = prefix.filePath(GANTREL_INSTALL_LIBDIR);
    const QString dataDirectory = prefix.filePath(GANTREL_INSTALL_DATADIR "/gantrel");
    QVERIFY(QDir().mkpath(libraryDirectory));
    if (installed)
        QVERIFY(QDir().mkpath(dataDirectory));
    const QString copy = libraryDirectory + "/" + QFileInfo(library).fileName();
    QVERIFY(QFile::copy(library, copy));

    void* handle = dlopen(QFile::encodeName(copy).constData(), RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(handle, dlerror());
    using Answer = Port::String (*)();
    const auto dataDirectoryOf =
        reinterpret_cast<Answer>(dlsym(handle, "_ZN3Sim12DataLocation13DataDirectoryEv"));
    const QString answer = dataDirectoryOf ? ToQt(dataDirectoryOf()) : QString();
    dlclose(handle);
    QVERIFY(dataDirectoryOf);

    if (installed)
        QCOMPARE(answer, QFileInfo(dataDirectory).canonicalFilePath());
    else
        QCOMPARE(answer, ToQt(DataLocation::DataDirectory()));
}

QTEST_GUILESS_MAIN(tst_DataLocation)
#include "tst_datalocation.moc"
