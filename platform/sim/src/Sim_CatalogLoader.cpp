#include "Sim_CatalogLoader.h"

#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Version.h"
#include "Port_MsgManData.h"
#include "Sim_CatalogReader.h"
#include "Sim_Utility.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QString>

#include <boost/pointer_cast.hpp>

#include <algorithm>
#include <map>
#include <mutex>

namespace Sim {

namespace {

std::mutex& LoadMutex()
{
    static std::mutex mutex;
    return mutex;
}

// One walk over several directories: what was seen, what was counted.
struct Walk {
    QSet<QString> directories;
    QSet<QString> files;
    CatalogLoader::Counts& counts;
};

void WarnFile(const QString& path, const QString& reason)
{
    Port_MsgManData::createObject("sim", "Sim_CatalogLoader", __LINE__)
        .issueWarning("Skipping catalogue file %s: %s\n", path.toUtf8().constData(),
                      reason.toUtf8().constData());
}

void WarnDirectory(const QString& path, const char* reason)
{
    Port_MsgManData::createObject("sim", "Sim_CatalogLoader", __LINE__)
        .issueWarning("Skipping catalogue directory %s: %s\n", path.toUtf8().constData(), reason);
}

QString DuplicateReason(const boost::shared_ptr<Ipu::IPComponent>& component)
{
    const Port::String key = component->GetUniqueID();
    auto first = boost::dynamic_pointer_cast<Ipu::IPComponent>(Ipu::ElementIndex::GetElement(key));
    QString reason =
        QStringLiteral("its VLNV %1 is already loaded").arg(Utility::PortStringToQString(key));
    if (first && !first->GetSourceFile().IsEmpty()) {
        reason +=
            QStringLiteral(" from %1").arg(Utility::PortStringToQString(first->GetSourceFile()));
    }
    return reason;
}

void LoadFile(const QFileInfo& entry, Walk& walk)
{
    // Directories are walked by their canonical paths, so only a link can lead to a file
    // seen before. A dangling link has no canonical path; its own path keeps it apart.
    const QString canonical = entry.isSymLink() ? entry.canonicalFilePath() : QString();
    const QString identity = canonical.isEmpty() ? entry.absoluteFilePath() : canonical;
    if (walk.files.contains(identity)) {
        return;
    }
    walk.files.insert(identity);
    ++walk.counts.files;
    boost::shared_ptr<Ipu::IPComponent> component;
    Port::String reason;
    if (CatalogReader::ReadFile(Utility::QStringToPortString(entry.absoluteFilePath()), component,
                                reason) != 0) {
        WarnFile(entry.absoluteFilePath(), Utility::PortStringToQString(reason));
        ++walk.counts.skipped;
    } else if (Ipu::ElementIndex::AddElement(component) != 0) {
        WarnFile(entry.absoluteFilePath(), DuplicateReason(component));
        ++walk.counts.skipped;
    } else {
        ++walk.counts.loaded;
    }
}

// Reads the files of one directory and answers its subdirectories, both in name order.
QStringList ReadDirectory(const QString& path, Walk& walk)
{
    QStringList subdirectories;
    const QFileInfoList entries = QDir(path).entryInfoList(
        QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) {
            subdirectories.append(entry.canonicalFilePath());
        } else if (entry.fileName().endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)) {
            LoadFile(entry, walk);
        }
    }
    return subdirectories;
}

unsigned WalkTree(const QString& root, Walk& walk)
{
    const QFileInfo info(root);
    if (!info.isDir()) {
        WarnDirectory(root, "not an existing directory");
        return 1;
    }
    unsigned result = 0;
    QStringList pending{info.canonicalFilePath()};
    while (!pending.isEmpty()) {
        const QString directory = pending.takeLast();
        if (walk.directories.contains(directory)) {
            continue;
        }
        walk.directories.insert(directory);
        const QFileInfo here(directory);
        if (!here.isReadable() || !here.isExecutable()) {
            WarnDirectory(directory, "cannot be read");
            result = 1;
            continue;
        }
        QStringList below = ReadDirectory(directory, walk);
        std::reverse(below.begin(), below.end());
        pending.append(below);
    }
    return result;
}

Port::String FamilyKey(const Ipu::IPComponent& component)
{
    const Ipu::VersionedIdentifier& id = component.GetIdentifier();
    return id.GetVendor() + ":" + id.GetLibrary() + ":" + id.GetName();
}

std::vector<boost::shared_ptr<Ipu::IPComponent>> CatalogComponents()
{
    std::vector<boost::shared_ptr<Ipu::IPComponent>> result;
    for (const auto& element : Ipu::ElementIndex::GetElements()) {
        auto component = boost::dynamic_pointer_cast<Ipu::IPComponent>(element);
        if (component && !component->IsCustomized()) {
            result.push_back(component);
        }
    }
    return result;
}

}  // namespace

unsigned CatalogLoader::Load(const std::vector<Port::String>& directories, Counts& counts)
{
    std::lock_guard<std::mutex> lock(LoadMutex());
    Walk walk{{}, {}, counts};
    unsigned result = 0;
    for (const Port::String& directory : directories) {
        if (WalkTree(QDir(Utility::PortStringToQString(directory)).absolutePath(), walk) != 0) {
            result = 1;
        }
    }
    MarkLatestVersions();
    return result;
}

void CatalogLoader::Unload()
{
    std::lock_guard<std::mutex> lock(LoadMutex());
    for (const auto& component : CatalogComponents()) {
        if (!component->GetSourceFile().IsEmpty()) {
            Ipu::ElementIndex::RemoveElement(component->GetUniqueID());
        }
    }
}

void CatalogLoader::MarkLatestVersions()
{
    const auto components = CatalogComponents();
    std::map<Port::String, Ipu::Version> latest;
    for (const auto& component : components) {
        const Ipu::Version version(component->GetIdentifier().GetVersion());
        auto found = latest.find(FamilyKey(*component));
        if (found == latest.end()) {
            latest.emplace(FamilyKey(*component), version);
        } else if (found->second < version) {
            found->second = version;
        }
    }
    for (const auto& component : components) {
        const Ipu::Version version(component->GetIdentifier().GetVersion());
        component->SetLatestVersion(latest[FamilyKey(*component)] == version);
    }
}

}  // namespace Sim
