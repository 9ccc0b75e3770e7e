#pragma once

#include <vector>

#include "Port_StringBase.h"

namespace Port {

// Makes a directory and its missing parents for a file about to be written, and takes
// back what it made unless the write is kept: a failed save leaves no directories behind.
// Only directories this object made are removed, deepest first, and only while empty.
class DirectoryMaker {
public:
    DirectoryMaker() = default;
    ~DirectoryMaker();
    DirectoryMaker(const DirectoryMaker&) = delete;
    DirectoryMaker& operator=(const DirectoryMaker&) = delete;

    // True when path is a directory afterwards; errno tells why not.
    bool Make(const String& path);
    // The directories made so far stay.
    void Keep();

private:
    std::vector<String> made;
};

}  // namespace Port
