#pragma once

#include <QStringList>

#include <functional>

// Debug traces go straight to stderr; tests read them back from there.
namespace StderrCapture {

// The non-empty lines that body writes to stderr, caught in a file of a fresh temporary
// directory.
QStringList lines(const std::function<void()>& body);

}  // namespace StderrCapture
