#pragma once

// A small device database for tests: family "alpha" (visible "Alpha-I") with devices
// "a10" (packages "p1" {-1,-2}, "p2" {-1}) and "a20" ("p2" {-2}); family "beta" with
// device "b5" (package "q9" {-3}). The default part is alpha a10 p1 -1.
namespace TestDevices {

// The database above as JSON text, for a file that a child process reads.
const char* json();
// Replaces the process's device database with the one above; false when it did not load.
bool load();

}  // namespace TestDevices
