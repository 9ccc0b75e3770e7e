#pragma once

#include <vector>

#include "Port_StringBase.h"

// Directory listing with shell-style wildcards: '*' any run of bytes, '?' one byte.
namespace UT_DIR {

bool match(const char* pattern, const char* name);
bool match_names(const Port::String& pattern, const Port::String& name);

// Names (not paths) of the entries of directory that match pattern, "." and ".." left out,
// sorted byte-wise. False when the directory cannot be read.
bool list(const Port::String& directory, const Port::String& pattern,
          std::vector<Port::String>& names);

}  // namespace UT_DIR
