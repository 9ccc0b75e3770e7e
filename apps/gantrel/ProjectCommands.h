#pragma once

#include <QString>

// The host's project modes. Both answer the process's exit status: 0 done, 1 failed with a
// message that names the file and the reason.
namespace ProjectCommands {

// Prints a project. Writes nothing: a legacy project file is migrated in a temporary copy.
int Show(const QString& path, bool json);
// Creates and saves a project; an existing project file is replaced only when forced, and a
// file of another kind never.
int Create(const QString& path, bool force);
// Lists the actions offered for the project, or for one IP of it or of the catalogue
// (ipKey: identifier or name; empty for the project's own actions). Writes nothing.
int ListActions(const QString& path, const QString& ipKey, bool json);
// Regenerates every IP of the project, jobs at a time (0: one per core), and saves it.
int Regenerate(const QString& path, unsigned jobs);
// Imports a customized IP file into the project: recustomized for its part with the file's
// values when the IP suits it, else added as it was made. Waits for the generation and the
// save; 0 only when the IP is in the project and nothing failed.
int Import(const QString& file, const QString& path);

}  // namespace ProjectCommands
