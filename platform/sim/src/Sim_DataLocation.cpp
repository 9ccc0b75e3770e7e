#include "Sim_DataLocation.h"

#include "Port_Env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <dlfcn.h>
#include <mutex>

namespace {

struct Overrides {
    std::mutex mutex;
    std::vector<Port::String> catalogDirectories;
    bool defaultCatalogUsed = true;
    Port::String deviceDatabaseFile;
};

Overrides& State()
{
    static Overrides overrides;
    return overrides;
}

QString ToQt(const Port::String& path)
{
    return QFile::decodeName(path.c_str());
}

Port::String ToPort(const QString& path)
{
    return Port::String(QFile::encodeName(path).toStdString());
}

Port::String Absolute(const Port::String& path)
{
    return ToPort(QDir::cleanPath(QDir::current().absoluteFilePath(ToQt(path))));
}

std::vector<Port::String> SplitSearchPath(const Port::String& value)
{
    std::vector<Port::String> directories;
    for (const QString& part : ToQt(value).split(QLatin1Char(':'), Qt::SkipEmptyParts))
        directories.push_back(Absolute(ToPort(part)));
    return directories;
}

// Only its address matters: dladdr on it names the file this library was loaded from.
void Anchor() {}

QString LibraryDirectory()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<const void*>(&Anchor), &info) == 0 || info.dli_fname == nullptr)
        return QString();
    // Follow links, so a library linked into a system directory still finds its own tree.
    const QFileInfo library(QFile::decodeName(info.dli_fname));
    const QString real = library.canonicalFilePath();
    return QFileInfo(real.isEmpty() ? library.absoluteFilePath() : real).absolutePath();
}

Port::String FindDataDirectory()
{
    const QString libraryDirectory = LibraryDirectory();
    if (!libraryDirectory.isEmpty()) {
        const QString installed = QDir::cleanPath(libraryDirectory + QLatin1Char('/') +
                                                  QStringLiteral(GANTREL_DATA_DIR_FROM_LIBDIR));
        if (QFileInfo(installed).isDir())
            return ToPort(installed);
    }
    return ToPort(QDir::cleanPath(QStringLiteral(GANTREL_SOURCE_DATA_DIR)));
}

}  // namespace

namespace Sim {

void DataLocation::SetCatalogDirectories(const std::vector<Port::String>& directories)
{
    std::vector<Port::String> absolute;
    for (const Port::String& directory : directories) {
        if (!directory.IsEmpty())
            absolute.push_back(Absolute(directory));
    }
    std::lock_guard<std::mutex> lock(State().mutex);
    State().catalogDirectories = std::move(absolute);
}

void DataLocation::SetDeviceDatabaseFile(const Port::String& file)
{
    const Port::String absolute = file.IsEmpty() ? Port::String() : Absolute(file);
    std::lock_guard<std::mutex> lock(State().mutex);
    State().deviceDatabaseFile = absolute;
}

void DataLocation::SetDefaultCatalogUsed(bool used)
{
    std::lock_guard<std::mutex> lock(State().mutex);
    State().defaultCatalogUsed = used;
}

bool DataLocation::IsDefaultCatalogUsed()
{
    std::lock_guard<std::mutex> lock(State().mutex);
    return State().defaultCatalogUsed;
}

// The user's directories come first, so that the first file of a VLNV, which the loader
// keeps, is the user's own copy rather than the embedded one.
std::vector<Port::String> DataLocation::CatalogDirectories()
{
    std::vector<Port::String> directories;
    bool useDefault = true;
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        directories = State().catalogDirectories;
        useDefault = State().defaultCatalogUsed;
    }
    if (directories.empty())
        directories = SplitSearchPath(Port_Env::GetVariable("GANTREL_CATALOG_PATH"));
    if (useDefault)
        directories.push_back(DataDirectory() + "/catalog");
    return directories;
}

Port::String DataLocation::DeviceDatabaseFile()
{
    {
        std::lock_guard<std::mutex> lock(State().mutex);
        if (!State().deviceDatabaseFile.IsEmpty())
            return State().deviceDatabaseFile;
    }
    const Port::String fromEnvironment = Port_Env::GetVariable("GANTREL_DEVICE_DB");
    if (!fromEnvironment.IsEmpty())
        return Absolute(fromEnvironment);
    return DataDirectory() + "/devices/devices.json";
}

Port::String DataLocation::DataDirectory()
{
    // The library does not move while it is loaded.
    static const Port::String directory = FindDataDirectory();
    return directory;
}

}  // namespace Sim
