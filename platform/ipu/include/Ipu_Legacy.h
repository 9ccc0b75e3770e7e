#pragma once

namespace Ipu {

// File extensions of the older file kinds (without the dot; compare ignoring case).
struct Legacy {
    static constexpr const char* CORE_FILE_EXTENSION = "gtc";
    static constexpr const char* SYLVANE_FILE_EXTENSION = "syv";
    static constexpr const char* PROJECT_FILE_EXTENSION = "gtp";
    static constexpr const char* DEPRECATED_PROJECT_FILE_EXTENSION = "gpr";
    static constexpr const char* WIZARD_PARAMETER_FILE_EXTENSION = "gtq";
};

}  // namespace Ipu
