#pragma once

#include <QString>
#include <QTemporaryDir>

// A legacy project file and its configuration file, copied with their times into a
// temporary directory, so that opening the copy migrates there and never beside the user's
// files. The directory goes with the object.
class LegacyCopy {
public:
    LegacyCopy() = default;
    Q_DISABLE_COPY(LegacyCopy)

    // False with reason() set when the temporary directory or a copy cannot be made. A
    // file that does not exist is not copied; opening then behaves as it would in place.
    bool make(const QString& legacyFile);
    // The copy of the legacy file (which may not exist, as the original).
    QString path() const { return copiedLegacyFile; }
    QString reason() const { return failure; }

private:
    bool copy(const QString& from, const QString& to);

    QTemporaryDir directory;
    QString copiedLegacyFile;
    QString failure;
};
