#pragma once

#include <vector>

#include "Port_StringBase.h"

class QSaveFile;

namespace En {

// Writes the XML file that describes the keys of the project options: per key whether it
// is required, what it depends on, a deprecation note, a description and every value it
// accepts. The value lists come from default project options, so the file depends only on
// the installed software, never on an open project. docs/project-options.md has the keys.
//
// Texts are escaped for XML and "--" never reaches a comment, so the file is well-formed
// whatever the lists hold. The file is replaced atomically: a failed write leaves the old
// file, or none, in place.
class ProjectPropertiesXmlWriter {
public:
    static const Port::StringBase<char> _START_GANTRELPROPERTIES;
    static const Port::StringBase<char> _END_GANTRELPROPERTIES;
    static const Port::StringBase<char> _START_GANTRELVERSION;
    static const Port::StringBase<char> _END_GANTRELVERSION;
    static const Port::StringBase<char> _START_GANTRELPATCH;
    static const Port::StringBase<char> _END_GANTRELPATCH;
    static const Port::StringBase<char> _START_PROPERTY;
    static const Port::StringBase<char> _END_PROPERTY;
    static const Port::StringBase<char> _START_KEY;
    static const Port::StringBase<char> _END_KEY;
    static const Port::StringBase<char> _START_REQUIRED;
    static const Port::StringBase<char> _END_REQUIRED;
    static const Port::StringBase<char> _START_DEPENDENCY;
    static const Port::StringBase<char> _END_DEPENDENCY;
    static const Port::StringBase<char> _START_COMMENT;
    static const Port::StringBase<char> _END_COMMENT;
    static const Port::StringBase<char> _START_DESCRIPTION;
    static const Port::StringBase<char> _END_DESCRIPTION;
    static const Port::StringBase<char> _START_VALUE;
    static const Port::StringBase<char> _END_VALUE;
    static const Port::StringBase<char> _INDENT;

    // Writes the whole file to path, replacing it when it exists. 0 when written; 1 with
    // the error "Couldn't open <path> for writing." when the file cannot be opened or
    // put in place. Runs on the caller's thread.
    unsigned int Write(const Port::StringBase<char>& path);

private:
    friend struct ProjectPropertiesXmlWriterSeam;

    unsigned int WriteHeader();
    unsigned int WriteFooter();
    unsigned int WriteStartProperty();
    unsigned int WriteEndProperty();
    unsigned int WriteKey(Port::StringBase<char> key);
    unsigned int WriteRequired(Port::StringBase<char> required);
    unsigned int WriteDependency(Port::StringBase<char> dependency);
    unsigned int WriteComment(Port::StringBase<char> comment);
    unsigned int WriteDescription(Port::StringBase<char> description);
    unsigned int WriteValue(Port::StringBase<char> value);
    unsigned int WriteValueList(std::vector<Port::StringBase<char>>& values);
    unsigned int WriteDesignEntry();
    unsigned int WriteFlowVendor();
    unsigned int WriteBusFormat();
    unsigned int WriteOutputProducts();
    unsigned int WriteSimElabOptions();

    // One element line at the indentation of a property's contents, text escaped.
    void WriteElement(const Port::StringBase<char>& start, const Port::StringBase<char>& text,
                      const Port::StringBase<char>& end);
    // A property without dependencies or comment.
    void WriteProperty(const char* key, const char* required, const char* description,
                       std::vector<Port::StringBase<char>> values);
    // The deprecated list keys, which close their groups.
    void WriteDeprecatedOutputProducts();
    void WriteDeprecatedSimElabOptions();
    void WriteLine(const Port::StringBase<char>& line);
    bool Open(const Port::StringBase<char>& path);
    bool Commit();

    // Null except while Write runs.
    QSaveFile* stream = nullptr;
};

}  // namespace En
