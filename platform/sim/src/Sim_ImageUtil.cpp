#include "Sim_ImageUtil.h"

#include "Sim_DisabledIconEngine.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QThread>

namespace Sim {

namespace {

struct IconCache {
    QHash<QString, QIcon> normal;
    QHash<QString, QIcon> disabled;
};

IconCache& Cache()
{
    static IconCache cache;
    return cache;
}

QIcon Load(const QString& name)
{
    // A separator would let a name reach resources outside the icon set.
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\')) {
        return QIcon();
    }
    const QString path = QStringLiteral(":/gantrel/icons/%1.svg").arg(name);
    if (!QFile::exists(path)) {
        return QIcon();
    }
    return QIcon(path);
}

}  // namespace

QIcon ImageUtil::GetIcon(const QString& name, bool disabled)
{
    Q_ASSERT_X(!QCoreApplication::instance() ||
                   QThread::currentThread() == QCoreApplication::instance()->thread(),
               "Sim::ImageUtil::GetIcon", "called outside the GUI thread");
    IconCache& cache = Cache();
    auto found = cache.normal.constFind(name);
    if (found == cache.normal.constEnd()) {
        found = cache.normal.insert(name, Load(name));
    }
    if (!disabled || found->isNull()) {
        return *found;
    }
    auto greyed = cache.disabled.constFind(name);
    if (greyed == cache.disabled.constEnd()) {
        greyed = cache.disabled.insert(name, QIcon(new DisabledIconEngine(*found)));
    }
    return *greyed;
}

}  // namespace Sim
