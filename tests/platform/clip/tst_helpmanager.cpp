#include "Gui_Clip_HelpManager.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

using Gui::Clip::HelpManager;

namespace {

const char* const kMap = "plugin_gtn.map";

bool Write(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

}  // namespace

class TestHelpManager : public QObject {
    Q_OBJECT

public slots:
    // The "file" handler: takes the place of the desktop's browser.
    void open(const QUrl& url) { opened.append(url); }

private slots:
    void init();
    void cleanup();
    void noManagerWithoutMap();
    void oneInstanceFollowsHelpDirectory();
    void pageOfTopic_data();
    void pageOfTopic();
    void showHelpTopicOpensPage();
    void showHelpTopicRefuses_data();
    void showHelpTopicRefuses();
    void dialogPrefixIsAdded();
    void installedHelpHasDialogPages_data();
    void installedHelpHasDialogPages();

private:
    HelpManager* managerWith(const QByteArray& map);
    QUrl local(const QString& page) const { return QUrl::fromLocalFile(dir->filePath(page)); }

    std::unique_ptr<QTemporaryDir> dir;
    QList<QUrl> opened;
};

void TestHelpManager::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    qputenv("GANTREL_HELP_DIR", QFile::encodeName(dir->path()));
    QDesktopServices::setUrlHandler("file", this, "open");
    opened.clear();
}

void TestHelpManager::cleanup()
{
    QDesktopServices::unsetUrlHandler("file");
    qunsetenv("GANTREL_HELP_DIR");
}

HelpManager* TestHelpManager::managerWith(const QByteArray& map)
{
    for (const char* page : {"a.html", "b.html", "sub/c.html"}) {
        QDir(dir->path()).mkpath(QFileInfo(dir->filePath(page)).path());
        Write(dir->filePath(page), "<html></html>");
    }
    Write(dir->filePath(kMap), map);
    return HelpManager::getInstance();
}

void TestHelpManager::noManagerWithoutMap()
{
    QVERIFY(!HelpManager::getInstance());
    // Another map name does not count as installed help.
    QVERIFY(Write(dir->filePath("other.map"), "gt-a = a.html\n"));
    QVERIFY(!HelpManager::getInstance());
}

void TestHelpManager::oneInstanceFollowsHelpDirectory()
{
    HelpManager* first = managerWith("gt-a = a.html\n");
    QVERIFY(first);
    QTemporaryDir other;
    QVERIFY(Write(other.filePath(kMap), "gt-a = x.html\n"));
    QVERIFY(Write(other.filePath("x.html"), "<html></html>"));
    qputenv("GANTREL_HELP_DIR", QFile::encodeName(other.path()));
    QCOMPARE(HelpManager::getInstance(), first);
    QCOMPARE(QUrl(first->pageOf(kMap, "gt-a")), QUrl::fromLocalFile(other.filePath("x.html")));
}

void TestHelpManager::pageOfTopic_data()
{
    QTest::addColumn<QByteArray>("map");
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("page");  // empty: no page

    const QByteArray map =
        "# comment = not.html\n"
        "\n"
        "gt-a = a.html\n"
        "  gt-b\t=\tb.html  \n"
        "gt-sub = sub/c.html#fields\n"
        "no equals sign here\n"
        "= a.html\n"
        "gt-empty =\n"
        "gt two = a.html\n"
        "gt-missing = missing.html\n"
        "gt-out = ../a.html\n"
        "gt-abs = /etc/hostname\n"
        "gt-a = b.html\n";
    QTest::newRow("plain") << map << "gt-a"
                           << "a.html";
    QTest::newRow("blanks around") << map << "gt-b"
                                   << "b.html";
    QTest::newRow("subdirectory and anchor") << map << "gt-sub"
                                             << "sub/c.html#fields";
    QTest::newRow("exact match only") << map << "GT-A"
                                      << "";
    QTest::newRow("no prefix match") << map << "gt-"
                                     << "";
    QTest::newRow("comment") << map << "# comment"
                             << "";
    QTest::newRow("empty page") << map << "gt-empty"
                                << "";
    QTest::newRow("blank in topic") << map << "gt two"
                                    << "";
    QTest::newRow("page missing") << map << "gt-missing"
                                  << "";
    QTest::newRow("outside help") << map << "gt-out"
                                  << "";
    QTest::newRow("absolute page") << map << "gt-abs"
                                   << "";
    QTest::newRow("unknown") << map << "gt-nothing"
                             << "";
    QTest::newRow("empty topic") << map << ""
                                 << "";
    QTest::newRow("CRLF lines") << QByteArray("gt-a = a.html\r\ngt-b = b.html\r\n") << "gt-b"
                                << "b.html";
}

void TestHelpManager::pageOfTopic()
{
    QFETCH(QByteArray, map);
    QFETCH(QString, topic);
    QFETCH(QString, page);
    HelpManager* manager = managerWith(map);
    QVERIFY(manager);
    const QString url = manager->pageOf(kMap, topic);
    if (page.isEmpty()) {
        QCOMPARE(url, QString());
        return;
    }
    QUrl expected = local(page.section('#', 0, 0));
    if (page.contains('#'))
        expected.setFragment(page.section('#', 1));
    QCOMPARE(QUrl(url), expected);
}

void TestHelpManager::showHelpTopicOpensPage()
{
    HelpManager* manager = managerWith("gt-a = a.html\ngt-b = b.html\n");
    QVERIFY(manager);
    QVERIFY(manager->showHelpTopic(kMap, "gt-b", HelpManager::NoPrefix));
    QCOMPARE(opened, QList<QUrl>{local("b.html")});
}

void TestHelpManager::showHelpTopicRefuses_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("topic");
    QTest::newRow("unknown topic") << kMap << "gt-zzz";
    QTest::newRow("unknown map") << "nosuch.map"
                                 << "gt-a";
    QTest::newRow("page missing") << kMap << "gt-gone";
}

void TestHelpManager::showHelpTopicRefuses()
{
    QFETCH(QString, map);
    QFETCH(QString, topic);
    HelpManager* manager = managerWith("gt-a = a.html\ngt-gone = gone.html\n");
    QVERIFY(manager);
    QVERIFY(!manager->showHelpTopic(map, topic, HelpManager::NoPrefix));
    QVERIFY(opened.isEmpty());
}

void TestHelpManager::dialogPrefixIsAdded()
{
    HelpManager* manager = managerWith("gt-dialog-a = a.html\n");
    QVERIFY(manager);
    QVERIFY(manager->showHelpTopic(kMap, "a", HelpManager::DialogPrefix));
    QVERIFY(manager->showHelpTopic(kMap, "gt-dialog-a", HelpManager::DialogPrefix));
    QVERIFY(!manager->showHelpTopic(kMap, "a", HelpManager::NoPrefix));
    QCOMPARE(opened, (QList<QUrl>{local("a.html"), local("a.html")}));
}

void TestHelpManager::installedHelpHasDialogPages_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("mentions");  // a field the page must explain
    QTest::newRow("project options") << "gt-dialog-project_options"
                                     << "project_options.html"
                                     << "Temporary Directory";
    QTest::newRow("compatibility") << "gt-dialog-compatibility"
                                   << "compatibility.html"
                                   << "Set as current part";
    QTest::newRow("index") << "gt-help-index"
                           << "index.html"
                           << "project_options.html";
}

void TestHelpManager::installedHelpHasDialogPages()
{
    QFETCH(QString, topic);
    QFETCH(QString, page);
    QFETCH(QString, mentions);
    qputenv("GANTREL_HELP_DIR", GANTREL_SOURCE_HELP_DIR);
    HelpManager* manager = HelpManager::getInstance();
    QVERIFY(manager);
    const QString path = QDir(GANTREL_SOURCE_HELP_DIR).filePath(page);
    QCOMPARE(QUrl(manager->pageOf(kMap, topic)), QUrl::fromLocalFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(file.readAll()).contains(mentions));
}

QTEST_MAIN(TestHelpManager)
#include "tst_helpmanager.moc"
