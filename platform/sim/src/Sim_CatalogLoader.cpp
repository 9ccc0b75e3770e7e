#include "Sim_CatalogLoader.h"

#include "Ipu_ElementIndex.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Version.h"
#include "Port_MsgManData.h"
#include "Sim_CatalogDocument.h"
#include "Sim_CatalogReader.h"
#include "Sim_Utility.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QString>
#include <QStringDecoder>

#include <boost/pointer_cast.hpp>

#include <algorithm>
#include <map>
#include <mutex>

#include <dirent.h>
#include <sys/stat.h>

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

void WarnMistakes(const QString& path, const std::vector<CatalogReader::Warning>& warnings)
{
    const Port_MsgManData message =
        Port_MsgManData::createObject("sim", "Sim_CatalogLoader", __LINE__);
    for (const CatalogReader::Warning& warning : warnings) {
        message.issueWarning("Catalogue file %s, line %u: %s\n", path.toUtf8().constData(),
                             warning.line, warning.text.c_str());
    }
}

// A name that is not UTF-8 has no faithful QString; its bytes are shown escaped instead.
QString Escaped(const QByteArray& raw)
{
    QString shown;
    for (const char byte : raw) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x20 || value >= 0x7f) {
            shown += QStringLiteral("\\x") +
                     QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        } else {
            shown += QLatin1Char(byte);
        }
    }
    return shown;
}

bool DecodeName(const QByteArray& raw, QString& name)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    name = decoder(raw);
    return !decoder.hasError();
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

void LoadFile(const QFileInfo& entry, Walk& walk, const QString& namedBy = QString());

// The files an IP-XACT catalog document names are loaded as if found by the walk, each
// once; a problem with one names the catalog too.
void LoadNamedFiles(const QString& catalog, Walk& walk)
{
    std::vector<CatalogDocument::Entry> entries;
    QString reason;
    if (!CatalogDocument::ReadFile(catalog, entries, reason)) {
        WarnFile(catalog, reason);
        ++walk.counts.skipped;
        return;
    }
    for (const CatalogDocument::Entry& named : entries) {
        const QFileInfo info(named.file);
        const QString canonical = info.canonicalFilePath();
        LoadFile(
            canonical.isEmpty() ? info : QFileInfo(canonical), walk,
            QStringLiteral("%1 (named in %2, line %3)").arg(named.file, catalog).arg(named.line));
    }
}

// namedBy, when given, is how the file is named in the warnings.
void LoadFile(const QFileInfo& entry, Walk& walk, const QString& namedBy)
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
    const QString shown = namedBy.isEmpty() ? entry.absoluteFilePath() : namedBy;
    boost::shared_ptr<Ipu::IPComponent> component;
    Port::String reason;
    std::vector<CatalogReader::Warning> warnings;
    const unsigned status = CatalogReader::ReadFile(
        Utility::QStringToPortString(entry.absoluteFilePath()), component, reason, warnings);
    if (status == 2) {
        LoadNamedFiles(entry.absoluteFilePath(), walk);
    } else if (status != 0) {
        WarnFile(shown, Utility::PortStringToQString(reason));
        ++walk.counts.skipped;
    } else if (Ipu::ElementIndex::AddElement(component) != 0) {
        WarnFile(shown, DuplicateReason(component));
        ++walk.counts.skipped;
    } else {
        WarnMistakes(entry.absoluteFilePath(), warnings);
        ++walk.counts.loaded;
    }
}

// A directory is not entered and a catalogue file not read under a name that is not
// UTF-8; other files are ignored as ever.
void SkipUndecodable(const QString& path, const QByteArray& raw, Walk& walk)
{
    const QString shown = path + QLatin1Char('/') + Escaped(raw);
    struct stat status;
    const QByteArray full = QFile::encodeName(path) + '/' + raw;
    if (stat(full.constData(), &status) == 0 && S_ISDIR(status.st_mode)) {
        WarnDirectory(shown, "its name is not valid UTF-8");
    } else if (raw.toLower().endsWith(".xml")) {
        WarnFile(shown, QStringLiteral("its name is not valid UTF-8"));
        ++walk.counts.files;
        ++walk.counts.skipped;
    }
}

// The names in one directory, hidden ones left out, read raw: a name that is not UTF-8
// would be decoded into another name and read as a file that is not there (or another).
QStringList DirectoryNames(const QString& path, Walk& walk)
{
    QStringList names;
    DIR* stream = opendir(QFile::encodeName(path).constData());
    if (!stream) {
        return names;
    }
    while (const dirent* item = readdir(stream)) {
        const QByteArray raw(item->d_name);
        QString name;
        if (raw.startsWith('.')) {
            continue;  // hidden, and the directory itself and its parent
        }
        if (DecodeName(raw, name)) {
            names.append(name);
        } else {
            SkipUndecodable(path, raw, walk);
        }
    }
    closedir(stream);
    std::sort(names.begin(), names.end());
    return names;
}

// Reads the files of one directory and answers its subdirectories, both in name order.
QStringList ReadDirectory(const QString& path, Walk& walk)
{
    QStringList subdirectories;
    for (const QString& name : DirectoryNames(path, walk)) {
        const QFileInfo entry(path + QLatin1Char('/') + name);
        if (entry.isDir()) {
            subdirectories.append(entry.canonicalFilePath());
        } else if (name.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive)) {
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
