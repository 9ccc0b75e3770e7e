#pragma once

#include <QString>
#include <QTemporaryDir>

// A process set up for the project manager: the user's settings redirected into a
// temporary directory, the test device database and a catalogue directory, batch mode
// (no background family thread) and the end watch running.
class TestEnvironment {
public:
    TestEnvironment();

    QString catalogDirectory() const { return root.filePath("catalog"); }
    // Writes a component file into the catalogue directory.
    void addToCatalog(const QString& fileName, const QByteArray& xml) const;
    // The shipped catalogue and device database instead of the test's, as a first run has.
    static void useShippedData();
    // Waits until the manager's first catalogue refresh has run.
    static bool waitForCatalog();

private:
    QTemporaryDir root;
};
