#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// gantrel -poll run as a client's server, with the shipped data, the user's settings in a
// directory of its own and its messages (polling traces included) collected in a file, so
// that a long run never blocks on a full pipe.
class PollingServer {
public:
    PollingServer(const QString& executable, const QString& directory);
    ~PollingServer();
    PollingServer(const PollingServer&) = delete;
    PollingServer& operator=(const PollingServer&) = delete;

    // Starts and waits until polling is entered; false when the program ended first.
    bool start();
    // True when the program ended within timeoutMs.
    bool waitForExit(int timeoutMs);
    int exitCode() const { return process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return process.exitStatus(); }
    // Everything printed to stderr so far.
    QByteArray messages() const;

private:
    QTemporaryDir home;
    QProcess process;
};
