#include "Gui_Clip_HelpManager.h"

#include "Sim_DataLocation.h"
#include "Sim_Utility.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <mutex>
#include <utility>

namespace Gui {
namespace Clip {

namespace {

// The map whose presence says that help is installed.
const char* const kHelpMap = "plugin_gtn.map";
const char* const kDialogPrefix = "gt-dialog-";
// A help map is a short list; a larger file is not one.
constexpr qint64 kMaxMapSize = 1024 * 1024;

// Guards the one instance's directory, which follows GANTREL_HELP_DIR.
std::mutex& InstanceMutex()
{
    static std::mutex mutex;
    return mutex;
}

QString HelpDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable("GANTREL_HELP_DIR");
    if (!fromEnvironment.isEmpty()) {
        return QDir(fromEnvironment).absolutePath();
    }
    return Sim::Utility::PortStringToQString(Sim::DataLocation::DataDirectory()) +
           QStringLiteral("/help");
}

// "topic = page" with a topic of one word and a page named; anything else is not a mapping.
bool ParseLine(const QString& line, QString& topic, QString& page)
{
    const QString text = line.trimmed();
    const qsizetype equals = text.indexOf(u'=');
    if (text.isEmpty() || text.startsWith(u'#') || equals < 0) {
        return false;
    }
    topic = text.left(equals).trimmed();
    page = text.mid(equals + 1).trimmed();
    return !topic.isEmpty() && !page.isEmpty() && !topic.contains(QChar(u' ')) &&
           !topic.contains(QChar(u'\t'));
}

// The page of the first line that maps the topic; empty when none does.
QString FindPage(const QString& mapFile, const QString& topic)
{
    QFile file(mapFile);
    if (file.size() > kMaxMapSize || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return QString();
    }
    while (!file.atEnd()) {
        QString mapped, page;
        if (ParseLine(QString::fromUtf8(file.readLine()), mapped, page) && mapped == topic) {
            return page;
        }
    }
    return QString();
}

// Pages live in the help directory: an absolute name or one climbing out of it is refused.
QUrl PageUrl(const QString& directory, const QString& page)
{
    const qsizetype hash = page.indexOf(u'#');
    const QString name = hash < 0 ? page : page.left(hash);
    const QString cleaned = QDir::cleanPath(name);
    if (QDir::isAbsolutePath(cleaned) || cleaned == QLatin1String("..") ||
        cleaned.startsWith(QLatin1String("../"))) {
        return QUrl();
    }
    const QFileInfo info(QDir(directory).filePath(cleaned));
    if (!info.isFile()) {
        return QUrl();
    }
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (hash >= 0) {
        url.setFragment(page.mid(hash + 1));
    }
    return url;
}

}  // namespace

HelpManager::HelpManager(QString directory) : directory(std::move(directory)) {}

HelpManager* HelpManager::getInstance()
{
    const QString current = HelpDirectory();
    if (!QFileInfo(QDir(current).filePath(QLatin1String(kHelpMap))).isFile()) {
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(InstanceMutex());
    // Never deleted: callers keep the pointer for the life of the process.
    static HelpManager* instance = nullptr;
    if (instance == nullptr) {
        instance = new HelpManager(current);
    } else {
        instance->directory = current;
    }
    return instance;
}

bool HelpManager::showHelpTopic(const QString& map, const QString& topic, TopicPrefix prefix)
{
    QString id = topic;
    if (prefix == DialogPrefix && !id.startsWith(QLatin1String(kDialogPrefix))) {
        id.prepend(QLatin1String(kDialogPrefix));
    }
    const QString page = pageOf(map, id);
    return !page.isEmpty() && QDesktopServices::openUrl(QUrl(page));
}

QString HelpManager::pageOf(const QString& map, const QString& topic) const
{
    QString root;
    {
        std::lock_guard<std::mutex> lock(InstanceMutex());
        root = directory;
    }
    if (topic.isEmpty()) {
        return QString();
    }
    const QString page = FindPage(QDir(root).filePath(map), topic);
    return page.isEmpty() ? QString() : PageUrl(root, page).toString(QUrl::FullyEncoded);
}

}  // namespace Clip
}  // namespace Gui
