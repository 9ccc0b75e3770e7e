#pragma once

namespace Ipu {

// Names that the whole tool agrees on.
struct Keyword {
    // Our vendor identifier in VLNV keys.
    static constexpr const char* GANTREL_VENDOR = "pellor";
    static constexpr const char* GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION = "gtcfg";
    static constexpr const char* GANTREL_DEFAULT_PROJECT_NAME = "gantrel";
    // The property that marks a placeholder IP; its value, when not empty, is the status
    // text shown for it.
    static constexpr const char* IS_DUMMY_IP = "isDummyIP";
    // Library of the generator chains' identifiers, and the chain that regenerates an IP
    // with the current project options (the whole-project regeneration looks for it).
    static constexpr const char* GENERATOR_CHAINS_LIBRARY = "generatorchains";
    static constexpr const char* GENERATE_CURRENT_CHAIN = "generate_current_chain";
    static constexpr const char* GENERATOR_CHAINS_VERSION = "1.0";
    // The family list of an IP that names none.
    static constexpr const char* EMPTY_FAMILY = "<empty>";
};

}  // namespace Ipu
