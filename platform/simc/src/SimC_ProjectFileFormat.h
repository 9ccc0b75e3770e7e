#pragma once

#include "Port_StringBase.h"

#include <QByteArray>
#include <QString>

#include <cstddef>

namespace SimC {

// The names of the project configuration file (docs/project-file-format.md) that the reader
// and the writer share, and the rule that decides how a text is stored.
class ProjectFileFormat {
public:
    ProjectFileFormat() = delete;

    static constexpr const char* NAMESPACE = "urn:pellor:gantrel:project";
    // What this program writes; a file of a higher version is refused.
    static constexpr int VERSION = 1;
    static constexpr std::size_t MAX_FILE_SIZE = 64u * 1024u * 1024u;

    // ---- Elements ----
    static constexpr const char* PROJECT = "project";
    static constexpr const char* PROPERTIES = "properties";
    static constexpr const char* PROPERTY = "property";
    static constexpr const char* OPTIONS = "options";
    static constexpr const char* OPTION = "option";
    static constexpr const char* MEMBERS = "members";
    static constexpr const char* COMPONENT = "component";
    static constexpr const char* DESIGN = "design";
    static constexpr const char* DISPLAY_NAME = "displayName";
    static constexpr const char* DESCRIPTION = "description";
    static constexpr const char* PARAMETERS = "parameters";
    static constexpr const char* PARAMETER = "parameter";

    // ---- Attributes ----
    static constexpr const char* FORMAT_VERSION = "formatVersion";
    static constexpr const char* VLNV = "vlnv";
    static constexpr const char* NAME = "name";
    static constexpr const char* KEY = "key";
    static constexpr const char* FILE = "file";
    static constexpr const char* MODIFIED_BY_USER = "modifiedByUser";
    static constexpr const char* CHANGE_TIME = "changeTime";
    static constexpr const char* ENCODING = "encoding";
    // A text attribute "name" is written as "nameBase64" when it is not plain.
    static constexpr const char* BASE64_SUFFIX = "Base64";
    static constexpr const char* BASE64 = "base64";

    // Whether the bytes can be written as XML text and read back unchanged: valid UTF-8
    // without characters that XML 1.0 cannot carry and without carriage returns (which a
    // parser turns into line feeds). Anything else is stored in base64.
    static bool IsPlainText(const Port::String& text);
    static QString ToQString(const Port::String& text);
    // A file path as Qt names it. False, with the reason, for bytes that are not UTF-8:
    // Qt would make another name of them and open or write a different file.
    static bool ToPath(const Port::String& path, QString& out, QString& reason);
    // The text for a message: bytes that are not UTF-8 and control characters as \xNN.
    static Port::String Escaped(const Port::String& text);
    // Whether a name read from a file may become part of a path: not empty, not "." or
    // "..", UTF-8 without separators, control characters or characters that some file
    // systems refuse (<>:"|?*). False with the reason.
    static bool IsSafeName(const Port::String& name, QString& reason);
    static Port::String ToPortString(QStringView text);
};

}  // namespace SimC
