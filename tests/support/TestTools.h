#pragma once

#include <QString>
#include <QStringList>

// The HDL tools that the tests build and simulate generated and shipped hardware with.
namespace TestTools {

// The tool's path, or empty after failing the running test with the Debian package that
// provides it.
QString find(const char* name, const char* package);

struct Run {
    bool ok = false;
    QString output;  // stdout and stderr; on failure led by the command line
};

// Runs program in dir, for at most five minutes.
Run execute(const QString& program, const QStringList& arguments, const QString& dir);

}  // namespace TestTools
