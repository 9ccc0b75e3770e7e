#include "SimC_ProductMover.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace SimC {

namespace {

bool IsHdlSource(const QString& file)
{
    return file.endsWith(QLatin1String(".v")) || file.endsWith(QLatin1String(".vhd"));
}

QString SystemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

ProductMover::ProductMover(const QString& staging, const QString& output)
    : staging(staging), output(output), asideDirectory(staging + QLatin1String("/.replaced"))
{
}

unsigned ProductMover::Move(const QStringList& files, QString& reason)
{
    if (files.isEmpty()) {
        return 0;
    }
    if (!QDir().mkpath(output)) {
        reason = QStringLiteral("Cannot create the output directory %1").arg(output);
        return 1;
    }
    for (const QString& file : files) {
        if (Place(file, reason) != 0) {
            Undo();
            return 1;
        }
    }
    return 0;
}

// The earlier target is linked aside before the new file replaces it in one rename, so a
// reader of the output directory never sees it missing.
unsigned ProductMover::Place(const QString& file, QString& reason)
{
    const QString source = staging + '/' + file;
    const QString target = output + '/' + file;
    Placed entry{target, QString()};
    const bool existed = QFileInfo::exists(target);
    if (existed) {
        entry.aside = asideDirectory + '/' + QString::number(placed.size());
        QDir().mkpath(asideDirectory);
        if (::link(QFile::encodeName(target).constData(),
                   QFile::encodeName(entry.aside).constData()) != 0 &&
            !QFile::copy(target, entry.aside)) {
            reason = QStringLiteral("Cannot keep a copy of %1 before replacing it").arg(target);
            return 1;
        }
    }
    if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) !=
        0) {
        reason = QStringLiteral("Cannot move %1 into place: %2").arg(target, SystemReason());
        if (!entry.aside.isEmpty()) {
            QFile::remove(entry.aside);
        }
        return 1;
    }
    placed.append(entry);
    if (IsHdlSource(file)) {
        (existed ? updated : added).append(target);
    }
    return 0;
}

void ProductMover::Undo()
{
    for (auto entry = placed.crbegin(); entry != placed.crend(); ++entry) {
        if (entry->aside.isEmpty()) {
            QFile::remove(entry->target);
        } else {
            std::rename(QFile::encodeName(entry->aside).constData(),
                        QFile::encodeName(entry->target).constData());
        }
    }
    placed.clear();
    added.clear();
    updated.clear();
}

}  // namespace SimC
