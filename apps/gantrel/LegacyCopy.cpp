#include "LegacyCopy.h"

#include <QFile>
#include <QFileInfo>

#include "Ipu_Keyword.h"

bool LegacyCopy::make(const QString& legacyFile)
{
    if (!directory.isValid()) {
        failure = directory.errorString();
        return false;
    }
    const QFileInfo legacy(legacyFile);
    const QString configuration = legacy.completeBaseName() + '.' +
                                  Ipu::Keyword::GANTREL_PROJECT_CONFIGURATION_FILE_EXTENSION;
    copiedLegacyFile = directory.filePath(legacy.fileName());
    return copy(legacy.absoluteFilePath(), copiedLegacyFile) &&
           copy(legacy.dir().filePath(configuration), directory.filePath(configuration));
}

// Times matter: the newer of the two files decides what is opened.
bool LegacyCopy::copy(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.exists())
        return true;
    if (!source.copy(to)) {
        failure = QStringLiteral("cannot copy %1: %2").arg(from, source.errorString());
        return false;
    }
    // A read-only original gives a read-only copy, which migration could not move aside.
    QFile target(to);
    if (!target.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        !target.open(QIODevice::ReadWrite) ||
        !target.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime)) {
        failure = QStringLiteral("cannot copy the time of %1: %2").arg(from, target.errorString());
        return false;
    }
    return true;
}
