#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "SimC_Wrapper.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace SimC {

// The output products of one customized IP, written into a staging directory by the steps
// of its generator chain. The IP's element name (GetName) names every product.
//
// Each writer answers 0 and adds the files it wrote (names relative to the directory, in
// the order written) to Written(); on failure 1 and a reason that names the file. After a
// failure the directory holds half a set; the engine discards it.
class Products {
public:
    Products(const Ipu::IPComponent& ip, const Ipu::ProjectOptions& options,
             const QString& directory);

    // The wrapper in VHDL and/or Verilog as the options ask, instantiating the IP's core
    // with the customized values, and the core's own sources.
    unsigned WriteHdl(QString& reason);
    // The instantiation templates (<name>.vho, <name>.veo) of the wrappers written.
    unsigned WriteTemplate(QString& reason);
    // <name>.gtc: the batch commands that reproduce this customization.
    unsigned WriteGtc(QString& reason);
    // <name>.asy, when the options ask for a symbol; otherwise nothing.
    unsigned WriteAsy(QString& reason);
    // <name>_resources.txt: the parameters and the part, for the resource-utilization view.
    unsigned WriteResourceReport(QString& reason);
    // <name>_flist.txt listing every file written before it, and itself.
    unsigned WriteFileList(QString& reason);

    const QStringList& Written() const { return written; }
    // Files found with the same content in this directory (the output directory) are not
    // written again: they are listed in Written() but not in Staged().
    void SetCurrentDirectory(const QString& current) { currentDirectory = current; }
    // The files actually written into the staging directory.
    const QStringList& Staged() const { return staged; }

private:
    std::vector<Wrapper::Language> Languages() const;
    bool Prepare(Wrapper& wrapper, QString& reason) const;
    bool WriteWrapper(Wrapper wrapper, Wrapper::Language language, QString& reason);
    bool BindCore(Wrapper& wrapper, Wrapper::Language language,
                  const std::vector<Ipu::IPComponent::FileEntry>& sources, QString& reason) const;
    std::vector<Ipu::IPComponent::FileEntry> CoreSources(Wrapper::Language language) const;
    bool CopySource(const QString& path, QString& reason);
    // Puts the path of the product that could not be written before reason; answers 1.
    unsigned Refuse(const QString& fileName, QString& reason) const;
    // Writes fileName in the directory as a whole or not at all, and records it.
    bool Save(const QString& fileName, const QByteArray& content, QString& reason);

    const Ipu::IPComponent& ip;
    const Ipu::ProjectOptions& options;
    QString directory;
    QStringList written;
    QString currentDirectory;
    QStringList staged;
};

}  // namespace SimC
