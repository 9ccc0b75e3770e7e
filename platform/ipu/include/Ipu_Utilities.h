#pragma once

#include <list>
#include <vector>

#include "Port_StringBase.h"

namespace Ipu {

// Path, naming and file-integrity helpers shared by the model and its callers.
class Utilities {
public:
    using StringList = std::list<Port::String>;
    using StringContainer = std::vector<Port::String>;

    // Results of ValidateFileChecksum and WriteFileChecksum.
    enum ChecksumStatus {
        CHECKSUM_OK = 0,
        CHECKSUM_UNREADABLE = 1,  // missing, unreadable or unwritable file
        CHECKSUM_ABSENT = 2,      // the file carries no checksum line
        CHECKSUM_TOO_LARGE = 3,   // larger than any file we write; not read at all
    };

    Utilities() = delete;

    // The product name, used as the title of the tool's dialogs.
    static Port::String ApplicationName();

    // Absolute against the current directory, "." and ".." resolved by text alone, no
    // trailing separator. An empty path gives the current directory.
    static Port::String GetAbsolutePath(const Port::String& path);

    // path expressed relative to the directory base ("." for base itself, "../x" for a
    // sibling). A relative path is taken as relative to base already and comes back
    // unchanged, so applying this twice is harmless; an empty path stays empty.
    static Port::String MakeRelativePath(const Port::String& base, const Port::String& path);

    // Resolves a path inside the tool's installation ("/gantrel/install/names/") to a full
    // path, keeping a trailing separator. The installation is GANTREL_HOME when that is
    // set, otherwise the directory above the one holding this library (the prefix after
    // installation, the build directory in a build tree). False when neither is known or
    // relative is empty; whether the result exists is not checked.
    static bool GetFullPellorPathOf(const Port::String& relative, Port::String& full);

    static StringContainer ConvertStringListToStringContainer(const StringList& list);

    // Files we generate end with one line "# gantrel-checksum crc32 <8 hex digits>" holding
    // the CRC-32 (the zlib/IEEE 802.3 polynomial) of every byte before that line; a file
    // edited by hand then no longer matches. With CHECKSUM_OK, valid tells whether it does;
    // on any other result valid is left alone.
    static unsigned ValidateFileChecksum(const Port::String& path, bool& valid);
    // Replaces a final checksum line, or appends one, for the file's present content.
    static unsigned WriteFileChecksum(const Port::String& path);
    // The checksum line, with its line feed, for content that ends with a line feed; a
    // writer appends it so that the file validates without being read back.
    static std::string ChecksumLine(const std::string& content);
};

}  // namespace Ipu
