#include "Sim_UserSettings.h"

#include "Sim_Utility.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <mutex>

namespace Sim {

namespace {

const char* const kPreviousProject = "Projects/PreviousProject";
const char* const kRecentProjects = "Projects/RecentProjects";
const char* const kOpenPreviousProject = "Projects/OpenPreviousProject";
const char* const kOverwriteOutputFiles = "Generation/OverwriteOutputFiles";

// The recent list is read, changed and written back as one step.
std::mutex& StoreMutex()
{
    static std::mutex mutex;
    return mutex;
}

QSettings Store()
{
    return QSettings(QStringLiteral("Pellor"), QStringLiteral("Gantrel"));
}

bool ReadFlag(const char* key)
{
    std::lock_guard<std::mutex> lock(StoreMutex());
    return Store().value(QLatin1String(key), false).toBool();
}

void WriteFlag(const char* key, bool value)
{
    std::lock_guard<std::mutex> lock(StoreMutex());
    Store().setValue(QLatin1String(key), value);
}

// The stored list may have been edited by hand: empty names and repeats are dropped and
// the length is capped, so callers always see the list as documented.
QStringList Normalized(const QStringList& names)
{
    QStringList result;
    for (const QString& name : names) {
        if (!name.isEmpty() && !result.contains(name)) {
            result.append(name);
        }
        if (result.size() == UserSettings::MAX_RECENT_PROJECTS) {
            break;
        }
    }
    return result;
}

QStringList ReadRecent(const QSettings& store)
{
    return Normalized(store.value(QLatin1String(kRecentProjects)).toStringList());
}

}  // namespace

bool UserSettings::GetOpenPreviousProject()
{
    return ReadFlag(kOpenPreviousProject);
}

void UserSettings::SetOpenPreviousProject(bool open)
{
    WriteFlag(kOpenPreviousProject, open);
}

bool UserSettings::GetOverwriteOutputFiles()
{
    return ReadFlag(kOverwriteOutputFiles);
}

void UserSettings::SetOverwriteOutputFiles(bool overwrite)
{
    WriteFlag(kOverwriteOutputFiles, overwrite);
}

Port::String UserSettings::GetPreviousProjectName()
{
    std::lock_guard<std::mutex> lock(StoreMutex());
    return Utility::QStringToPortString(Store().value(QLatin1String(kPreviousProject)).toString());
}

void UserSettings::SetPreviousProjectName(const Port::String& name)
{
    const QString text = Utility::PortStringToQString(name);
    std::lock_guard<std::mutex> lock(StoreMutex());
    QSettings store = Store();
    store.setValue(QLatin1String(kPreviousProject), text);
    if (text.isEmpty()) {
        return;
    }
    QStringList recent = ReadRecent(store);
    recent.removeAll(text);
    recent.prepend(text);
    store.setValue(QLatin1String(kRecentProjects), Normalized(recent));
}

std::vector<Port::String> UserSettings::GetRecentProjects()
{
    QStringList recent;
    {
        std::lock_guard<std::mutex> lock(StoreMutex());
        recent = ReadRecent(Store());
    }
    std::vector<Port::String> result;
    result.reserve(static_cast<std::size_t>(recent.size()));
    for (const QString& name : recent) {
        result.push_back(Utility::QStringToPortString(name));
    }
    return result;
}

}  // namespace Sim
