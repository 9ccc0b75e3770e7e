#include "SimC_Migration.h"

#include "Ipu_VersionedIdentifier.h"
#include "Port_FileName.h"
#include "Port_MsgManData.h"
#include "SimC_LegacyProjectReader.h"
#include "SimC_ProjectFileFormat.h"
#include "SimC_ProjectFileWriter.h"

#include <QByteArray>
#include <QString>

namespace SimC {

namespace {

bool Refuse(const Port::String& legacy, const Port::String& target, const QString& reason)
{
    Port_MsgManData::createObject("simc", "SimC_Migration", __LINE__)
        .issueWarning("Cannot migrate project file %s to %s: %s\n",
                      ProjectFileFormat::Escaped(legacy).c_str(),
                      ProjectFileFormat::Escaped(target).c_str(), reason.toUtf8().constData());
    return false;
}

bool Write(const Port::String& legacy, const Port::String& target, const QByteArray& content)
{
    QString path, reason;
    if (!ProjectFileFormat::ToPath(target, path, reason)) {
        return Refuse(legacy, target, reason);
    }
    ProjectFileWriter writer(path);
    if (writer.Write(content) && writer.Commit()) {
        return true;
    }
    return Refuse(legacy, target, writer.ErrorString());
}

}  // namespace

bool Migration::Migrate(const Port::String& legacyFile, const Port::String& migrationFile,
                        const Port::String& projectIdentifier)
{
    const Port::String legacy = Port::FileName(legacyFile).GetAbsolutePath();
    const Port::String target = Port::FileName(migrationFile).GetAbsolutePath();
    LegacyProjectReader::Format format = LegacyProjectReader::LEGACY;
    Ipu::VersionedIdentifier identifier;
    if (!LegacyProjectReader::FormatOf(legacy, format)) {
        return Refuse(legacy, target, QStringLiteral("not a .gtp or .gpr project file"));
    }
    if (Ipu::VersionedIdentifier::FromKey(projectIdentifier, identifier) != 0) {
        return Refuse(legacy, target,
                      QStringLiteral("'%1' is not a project identifier "
                                     "(vendor:library:name:version)")
                          .arg(ProjectFileFormat::ToQString(projectIdentifier)));
    }
    if (legacy == target) {
        return Refuse(legacy, target, QStringLiteral("the project file would overwrite itself"));
    }
    const auto design = LegacyProjectReader::ReadFile(legacy, format, target, identifier);
    if (!design) {
        return false;
    }
    QString reason;
    const QByteArray content = ProjectFileWriter::ToXml(*design, reason);
    if (content.isEmpty()) {
        return Refuse(legacy, target, reason);
    }
    return Write(legacy, target, content);
}

}  // namespace SimC
