#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>

#include <vector>

#include "Sim_DataLocation.h"

// The embedded catalogue's component files, as read.
inline std::vector<QByteArray> benchCatalogueTemplates()
{
    std::vector<QByteArray> result;
    const QString root = QString::fromStdString(Sim::DataLocation::DataDirectory().str());
    QDirIterator it(root + "/catalog", {"*.xml"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            result.push_back(file.readAll());
    }
    return result;
}

// count component files under directory (a hundred per subdirectory), made from the embedded
// ones in turn, each its own IP: library "bench<i>", name and display name numbered.
inline bool generateBenchCatalogue(const QString& directory, int count)
{
    const std::vector<QByteArray> templates = benchCatalogueTemplates();
    if (templates.empty())
        return false;
    const QRegularExpression name("(</ipxact:library>\\s*<ipxact:name>)([^<]+)(</ipxact:name>)");
    const QRegularExpression shown("(<gantrel:displayName>)([^<]+)(</gantrel:displayName>)");
    for (int i = 0; i < count; ++i) {
        QString content = QString::fromUtf8(templates[i % templates.size()]);
        content.replace("<ipxact:library>ip</ipxact:library>",
                        QStringLiteral("<ipxact:library>bench%1</ipxact:library>").arg(i));
        // The first display name is the IP's; the later ones name its actions.
        for (const QRegularExpression* pattern : {&name, &shown}) {
            const QRegularExpressionMatch match = pattern->match(content);
            if (match.hasMatch())
                content.replace(
                    match.capturedStart(2), match.capturedLength(2),
                    match.captured(2) + QString(pattern == &name ? "_b%1" : " %1").arg(i));
        }
        const QByteArray bytes = content.toUtf8();
        QFile file(QStringLiteral("%1/d%2/c%3.xml").arg(directory).arg(i / 100).arg(i));
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}
