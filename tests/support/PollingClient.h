#pragma once

#include <QByteArray>
#include <QString>

// The client side of the polling directory, as a program that drives gantrel writes it:
// drop gantrel.cmd, end it with COMPLETE, wait for gantrel.fin, read and remove it.
namespace PollingClient {

// Writes gantrel.cmd with the commands but without the completion marker.
bool drop(const QString& directory, const QByteArray& commands);
// Appends the completion marker line.
bool complete(const QString& directory);
// True once gantrel.fin ends with its status line.
bool answered(const QString& directory);
// Waits until the command file is gone and the finish file is whole: the finish file's
// text, or empty after timeoutMs. On the application's thread it processes events meanwhile.
// Any thread.
QByteArray waitForAnswer(const QString& directory, int timeoutMs);
// The same, then removes the finish file so that the next answer can be told apart.
QByteArray takeAnswer(const QString& directory, int timeoutMs);

}  // namespace PollingClient
