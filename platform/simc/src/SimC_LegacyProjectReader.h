#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_VersionedIdentifier.h"
#include "Port_StringBase.h"

#include <QByteArray>
#include <QString>

#include <boost/shared_ptr.hpp>

#include <set>
#include <string>
#include <vector>

namespace SimC {

// Reads project files of the two older line formats (docs/legacy-project-formats.md) into
// a new design, as the project file reader does for configuration files: members are
// rebuilt from the catalogue in the element index, or kept bare with what the file says
// when the catalogue lacks their IP. The file is taken whole or not at all. Reentrant.
class LegacyProjectReader {
public:
    enum Format {
        LEGACY,      // .gtp: SET, SELECT / CSET / END commands
        DEPRECATED,  // .gpr: key=value lines and component sections
    };

    // The format of a file by its extension (ignoring letter case); false for any other.
    static bool FormatOf(const Port::String& file, Format& format);

    // The design that designFile (the configuration file it is to become) will hold, read
    // from file; empty after one warning naming the file, the line and the reason.
    static boost::shared_ptr<Ipu::IPComposite> ReadFile(const Port::String& file, Format format,
                                                        const Port::String& designFile,
                                                        const Ipu::VersionedIdentifier& identifier);
    // The same over bytes, without messages: on failure the reason ("line N: why") and an
    // empty design.
    static boost::shared_ptr<Ipu::IPComposite> ReadData(const QByteArray& data, Format format,
                                                        const Port::String& designFile,
                                                        const Ipu::VersionedIdentifier& identifier,
                                                        QString& failure);

private:
    LegacyProjectReader(const Port::String& designFile, const Ipu::VersionedIdentifier& identifier,
                        Format format);

    bool Parse(const QByteArray& data);
    bool Finish();
    bool ReadLegacyLine(const std::string& text);
    bool ReadSelect(const std::string& arguments);
    bool ReadDeprecatedLine(const std::string& text);
    bool ReadComponent(const std::string& arguments);
    bool ReadAssignment(const std::string& text, bool parameter);
    bool SetOption(const std::string& key, const std::string& value);
    // fields: vendor, library, name, version.
    bool OpenMember(const std::vector<std::string>& fields);
    bool NameMember(const std::string& name);
    bool SetParameter(const std::string& name, const std::string& value);
    bool CloseMember();
    bool Fail(const QString& reason);

    boost::shared_ptr<Ipu::IPComposite> design;
    const Ipu::ProjectOptions defaults;
    Ipu::ProjectOptions options;
    const Format format;
    boost::shared_ptr<Ipu::IPComponent> member;  // the IP being read; empty between IPs
    qint64 memberLine = 0;                       // where it began
    std::set<std::string> parameterNames;        // the member's, in lower case
    std::set<std::string> memberNames;
    qint64 line = 0;
    QString failure;
};

}  // namespace SimC
