#include "Sim_CatalogDocument.h"

#include "Sim_CatalogFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace Sim {

namespace {

void ReadFileEntry(QXmlStreamReader& xml, const QDir& base,
                   std::vector<CatalogDocument::Entry>& entries)
{
    while (xml.readNextStartElement()) {
        if (xml.name() != u"name") {
            xml.skipCurrentElement();
            continue;
        }
        const qint64 line = xml.lineNumber();
        const QString name = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        if (!name.isEmpty()) {
            entries.push_back({QDir::cleanPath(base.absoluteFilePath(name)), line});
        }
    }
}

void ReadSection(QXmlStreamReader& xml, const QDir& base,
                 std::vector<CatalogDocument::Entry>& entries)
{
    while (xml.readNextStartElement()) {
        xml.name() == u"ipxactFile" ? ReadFileEntry(xml, base, entries) : xml.skipCurrentElement();
    }
}

}  // namespace

bool CatalogDocument::ReadFile(const QString& path, std::vector<Entry>& entries, QString& reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("cannot be read: %1").arg(file.errorString());
        return false;
    }
    const QDir base = QFileInfo(path).absoluteDir();
    QXmlStreamReader xml(file.read(static_cast<qint64>(CatalogFormat::MAX_FILE_SIZE)));
    if (xml.readNextStartElement()) {
        while (xml.readNextStartElement()) {
            const bool section = xml.name() == u"components" || xml.name() == u"catalogs";
            section ? ReadSection(xml, base, entries) : xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        reason = QStringLiteral("malformed XML at line %1, column %2: %3")
                     .arg(xml.lineNumber())
                     .arg(xml.columnNumber())
                     .arg(xml.errorString());
        return false;
    }
    return true;
}

}  // namespace Sim
