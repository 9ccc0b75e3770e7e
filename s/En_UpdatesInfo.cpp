#include "En_UpdatesInfo.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <vector>

#include "Ipu_Utilities.h"
#include "Port_File.h"
#include "UT_DIR.h"

namespace En {

UpdatesInfo::UpdatesInfo()
{
    Port::String directory;
    if (!Ipu::Utilities::GetFullPellorPathOf("/gantrel/install/names/", directory) ||
        !Port::File::isdir(directory))
        return;
    std::vector<Port::String> names;
    UT_DIR::list(directory, "*", names);
    for (const Port::String& name : names) {
        if (!UT_DIR::match_names("*.name", name))
            continue;
        const QString info =
            GetUpdateInfo(QFile::decodeName(name.c_str()), QFile::decodeName(directory.c_str()));
        if (!info.isEmpty())
            updates.append(info);
    }
}

const QStringList& UpdatesInfo::GetUpdates() const
{
    return updates;
}

QString UpdatesInfo::GetUpdateInfo(const QString& fileName, const QString& directory) const
{
    QFile file(directory + QDir::separator() + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString info;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        info += line + QLatin1Char('\n');
    }
    file.close();
    return info;
}

}  // namespace En
