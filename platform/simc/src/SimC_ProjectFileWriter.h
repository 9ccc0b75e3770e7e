#pragma once

#include "Ipu_IPComposite.h"
#include "Port_DirectoryMaker.h"
#include "Port_StringBase.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <memory>

namespace SimC {

// Writes a design as a project configuration file (docs/project-file-format.md). The file
// is replaced atomically: the new content goes to a temporary file beside it, which takes
// the file's place only when it is complete (Commit), so a failed or interrupted save
// leaves the previous file as it was.
class ProjectFileWriter {
public:
    // The design's file content. Fails (empty, with the reason) only for a member that is
    // neither an IP component nor a design, which the format cannot hold.
    static QByteArray ToXml(const Ipu::IPComposite& design, QString& reason);
    // Writes the design to its own project file; false after a warning naming the file and
    // the reason.
    static bool Save(const QByteArray& content, const Port::String& file);

    explicit ProjectFileWriter(const QString& file);
    ~ProjectFileWriter();
    ProjectFileWriter(const ProjectFileWriter&) = delete;
    ProjectFileWriter& operator=(const ProjectFileWriter&) = delete;

    // The content goes to the temporary file; the directory is made when missing, and
    // removed again unless Commit succeeds.
    bool Write(const QByteArray& content);
    // The temporary file replaces the file.
    bool Commit();
    QString ErrorString() const { return error; }

private:
    QString file;
    Port::DirectoryMaker directories;  // declared first: it outlives the temporary file
    std::unique_ptr<QSaveFile> output;
    QString error;
};

}  // namespace SimC
