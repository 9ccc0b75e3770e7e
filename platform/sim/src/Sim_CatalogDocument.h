#pragma once

#include <QString>

#include <vector>

namespace Sim {

// Reads an IP-XACT 2014 or 2022 catalog document: the files that its components and
// catalogs sections name (ipxactFile entries), each made absolute against the document's
// own directory. Other sections (bus definitions, designs, ...) are ignored.
class CatalogDocument {
public:
    struct Entry {
        QString file;
        qint64 line;
    };

    CatalogDocument() = delete;

    // true with the entries in document order; false with the reason when the file cannot
    // be read or is malformed XML (line and column given).
    static bool ReadFile(const QString& path, std::vector<Entry>& entries, QString& reason);
};

}  // namespace Sim
