#include "SimC_ProjectStore.h"

#include "Ipu_IPComposite.h"
#include "Ipu_VersionedIdentifier.h"
#include "Port_FileName.h"
#include "Port_MsgManData.h"
#include "SimC_DesignFactory.h"
#include "SimC_DesignRegistry.h"
#include "SimC_ProjectFileReader.h"
#include "SimC_ProjectFileWriter.h"

#include <QByteArray>
#include <QString>

namespace SimC {

Port::String ProjectStore::CreateDesign(const Port::String& file, const Port::String& identifierKey)
{
    Ipu::VersionedIdentifier identifier;
    if (Ipu::VersionedIdentifier::FromKey(identifierKey, identifier) != 0) {
        Port_MsgManData::createObject("simc", "SimC_ProjectStore", __LINE__)
            .issueWarning("Cannot create a design for %s: '%s' is not a VLNV\n", file.c_str(),
                          identifierKey.c_str());
        return Port::String();
    }
    const auto design = DesignFactory::NewDesign(file, identifier);
    design->SetProjectOptions(DesignFactory::DefaultOptions(file));
    return DesignRegistry::Open(design);
}

Port::String ProjectStore::OpenDesign(const Port::String& file)
{
    return DesignRegistry::Open(ProjectFileReader::ReadFile(file));
}

// The content is taken under the registry's lock; the slow part, the disk, is not.
bool ProjectStore::SaveDesign(const Port::String& designId)
{
    QByteArray content;
    QString reason;
    Port::String file;
    const bool open = DesignRegistry::WithDesign(designId, [&](Ipu::IPComposite& design) {
        file = design.GetProjectFileName().GetAbsolutePath();
        content = ProjectFileWriter::ToXml(design, reason);
    });
    if (!open || content.isEmpty()) {
        Port_MsgManData::createObject("simc", "SimC_ProjectStore", __LINE__)
            .issueWarning("Cannot save design %s: %s\n", open ? file.c_str() : designId.c_str(),
                          open ? reason.toUtf8().constData() : "no such open design");
        return false;
    }
    return ProjectFileWriter::Save(content, file);
}

unsigned ProjectStore::CloseDesign(const Port::String& designId)
{
    return DesignRegistry::Close(designId);
}

}  // namespace SimC
