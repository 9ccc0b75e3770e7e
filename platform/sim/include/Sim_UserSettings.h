#pragma once

#include <vector>

#include "Port_StringBase.h"

namespace Sim {

// The user's settings of the tool, kept with QSettings (organisation "Pellor", application
// "Gantrel"; on Linux $XDG_CONFIG_HOME/Pellor/Gantrel.conf). Each call reads or writes the
// store at once. Thread-safe. Keys:
//   Projects/PreviousProject          the previous project's file name
//   Projects/RecentProjects           list of file names, most recent first
//   Projects/OpenPreviousProject      bool, false when absent
//   Generation/OverwriteOutputFiles   bool, false when absent (ask before overwriting)
class UserSettings {
public:
    UserSettings() = delete;

    static bool GetOpenPreviousProject();
    static void SetOpenPreviousProject(bool open);
    static bool GetOverwriteOutputFiles();
    static void SetOverwriteOutputFiles(bool overwrite);

    static Port::String GetPreviousProjectName();
    // Also puts the name at the front of the recent projects, once.
    static void SetPreviousProjectName(const Port::String& name);
    // Most recent first, no duplicates, at most MAX_RECENT_PROJECTS.
    static std::vector<Port::String> GetRecentProjects();

    static constexpr int MAX_RECENT_PROJECTS = 10;
};

}  // namespace Sim
