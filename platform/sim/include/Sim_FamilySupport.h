#pragma once

#include "Port_StringBase.h"

#include <cstddef>
#include <vector>

namespace Sim {

// The installed device support: families, their devices, packages and speed grades, and
// the default part, read from the device database file that DataLocation names.
//
// The database is process-wide. The first query loads it; Refresh and the Load calls
// replace it. Queries may run on any thread while another thread replaces it: each query
// answers from one whole database, the old or the new.
//
// Family, device, package and speed-grade arguments are compared ignoring letter case;
// answers use the database's own spelling. Every query answers 0 on success and 1 when
// the database does not hold what was asked; on failure its out values are emptied. A
// database that could not be loaded is empty: every query then fails, and the one
// warning of the failed load says why.
class FamilySupport {
public:
    FamilySupport() = delete;

    // Internal family names, in database order; fails when the database is empty.
    static unsigned GetAvailableFamilies(std::vector<Port::String>& families);
    static unsigned GetAvailableDevices(const Port::String& family,
                                        std::vector<Port::String>& devices);
    static unsigned GetAvailablePackages(const Port::String& family, const Port::String& device,
                                         std::vector<Port::String>& packages);
    static unsigned GetAvailableSpeedGrades(const Port::String& family, const Port::String& device,
                                            const Port::String& package,
                                            std::vector<Port::String>& speedGrades);

    // The database's default part.
    static unsigned GetDefaultFamilyAndPart(Port::String& family, Port::String& device,
                                            Port::String& package, Port::String& speedGrade);
    // The database's default part when it belongs to family, otherwise the family's first
    // device with that device's first package and that package's first speed grade.
    static unsigned GetDefaultPart(const Port::String& family, Port::String& device,
                                   Port::String& package, Port::String& speedGrade);

    // An empty name answers an empty name, and a family the database does not hold answers
    // its own name, so that a project's stale family can still be shown to the user.
    static unsigned GetVisibleFamilyName(const Port::String& internalName,
                                         Port::String& visibleName);
    // Fails for a visible name that no family of the database carries.
    static unsigned GetInternalFamilyName(const Port::String& visibleName,
                                          Port::String& internalName);

    // Reloads the file that DataLocation::DeviceDatabaseFile names now.
    static unsigned Refresh();
    // Replace the database with the one in file, or in size bytes at data (origin names
    // them in the warning). Both answer 0 when it loaded, else 1 after one warning, leaving
    // an empty database.
    static unsigned LoadFromFile(const Port::String& file);
    static unsigned LoadFromMemory(const char* data, std::size_t size, const Port::String& origin);

    // How many Get* queries were made in this process, so a caller's caching can be checked.
    static unsigned long QueryCount();
};

}  // namespace Sim
