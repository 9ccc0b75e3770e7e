#include "Sim_UserSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <thread>
#include <vector>

using Sim::UserSettings;

namespace {

QStringList Recent()
{
    QStringList names;
    for (const Port::String& name : UserSettings::GetRecentProjects())
        names << QString::fromStdString(name.str());
    return names;
}

// "/p/<from>.gtp" ... "/p/<to>.gtp", counting up or down.
QStringList Names(int from, int to)
{
    QStringList names;
    const int step = from <= to ? 1 : -1;
    for (int i = from; i != to + step; i += step)
        names << QString("/p/%1.gtp").arg(i);
    return names;
}

}  // namespace

class TestUserSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void storeIsInsideTheTestDirectory();
    void defaults();
    void flags_data();
    void flags();
    void previousProjectName();
    void recentProjects_data();
    void recentProjects();
    void handEditedListIsCleaned();
    void concurrentWritersKeepTheList();

private:
    // QSettings fixes its paths at the first use in the process, so the whole program
    // shares one directory; init() empties the store before each case.
    std::unique_ptr<QTemporaryDir> home;
};

void TestUserSettings::initTestCase()
{
    home = std::make_unique<QTemporaryDir>();
    QVERIFY(home->isValid());
    // Test mode keeps Qt away from the user's own files; both variables point it here.
    qputenv("HOME", QFile::encodeName(home->path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home->filePath("config")));
    QStandardPaths::setTestModeEnabled(true);
}

void TestUserSettings::init()
{
    QSettings store("Pellor", "Gantrel");
    store.clear();
    store.sync();
}

void TestUserSettings::storeIsInsideTheTestDirectory()
{
    UserSettings::SetOpenPreviousProject(true);
    const QString file = QSettings("Pellor", "Gantrel").fileName();
    QVERIFY2(file.startsWith(home->path() + "/"), qPrintable(file));
    QVERIFY(QFileInfo(file).isFile());
    QVERIFY(file.endsWith("Pellor/Gantrel.conf"));
}

void TestUserSettings::defaults()
{
    QVERIFY(!UserSettings::GetOpenPreviousProject());
    QVERIFY(!UserSettings::GetOverwriteOutputFiles());
    QVERIFY(UserSettings::GetPreviousProjectName().IsEmpty());
    QVERIFY(UserSettings::GetRecentProjects().empty());
}

void TestUserSettings::flags_data()
{
    QTest::addColumn<bool>("openPrevious");
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("neither") << false << false;
    QTest::newRow("open previous") << true << false;
    QTest::newRow("overwrite") << false << true;
    QTest::newRow("both") << true << true;
}

void TestUserSettings::flags()
{
    QFETCH(bool, openPrevious);
    QFETCH(bool, overwrite);
    UserSettings::SetOpenPreviousProject(!openPrevious);
    UserSettings::SetOverwriteOutputFiles(!overwrite);
    UserSettings::SetOpenPreviousProject(openPrevious);
    UserSettings::SetOverwriteOutputFiles(overwrite);
    QCOMPARE(UserSettings::GetOpenPreviousProject(), openPrevious);
    QCOMPARE(UserSettings::GetOverwriteOutputFiles(), overwrite);
    // Written through, so another reader of the store sees them.
    QSettings store("Pellor", "Gantrel");
    QCOMPARE(store.value("Projects/OpenPreviousProject").toBool(), openPrevious);
    QCOMPARE(store.value("Generation/OverwriteOutputFiles").toBool(), overwrite);
}

void TestUserSettings::previousProjectName()
{
    UserSettings::SetPreviousProjectName("/work/ä b/demo.gtp");
    QCOMPARE(UserSettings::GetPreviousProjectName(), Port::String("/work/ä b/demo.gtp"));
    UserSettings::SetPreviousProjectName("");
    QVERIFY(UserSettings::GetPreviousProjectName().IsEmpty());
    QCOMPARE(Recent(), QStringList{"/work/ä b/demo.gtp"});
}

void TestUserSettings::recentProjects_data()
{
    QTest::addColumn<QStringList>("recorded");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one") << QStringList{"/a.gtp"} << QStringList{"/a.gtp"};
    QTest::newRow("most recent first")
        << QStringList{"/a.gtp", "/b.gtp", "/c.gtp"} << QStringList{"/c.gtp", "/b.gtp", "/a.gtp"};
    QTest::newRow("repeat moves to front")
        << QStringList{"/a.gtp", "/b.gtp", "/a.gtp"} << QStringList{"/a.gtp", "/b.gtp"};
    QTest::newRow("same twice") << QStringList{"/a.gtp", "/a.gtp"} << QStringList{"/a.gtp"};
    QTest::newRow("case differs") << QStringList{"/a.gtp", "/A.gtp"}
                                  << QStringList{"/A.gtp", "/a.gtp"};
    QTest::newRow("empty not recorded") << QStringList{"/a.gtp", ""} << QStringList{"/a.gtp"};
    QTest::newRow("capped, oldest dropped") << Names(1, 12) << Names(12, 3);
    QTest::newRow("repeat of a dropped name")
        << Names(1, 11) + QStringList{"/p/1.gtp"} << QStringList{"/p/1.gtp"} + Names(11, 3);
}

void TestUserSettings::recentProjects()
{
    QFETCH(QStringList, recorded);
    QFETCH(QStringList, expected);
    for (const QString& name : recorded)
        UserSettings::SetPreviousProjectName(name.toStdString());
    QCOMPARE(Recent(), expected);
}

void TestUserSettings::handEditedListIsCleaned()
{
    {
        QSettings store("Pellor", "Gantrel");
        QStringList edited{"/x.gtp", "", "/x.gtp"};
        edited += Names(20, 1);
        store.setValue("Projects/RecentProjects", edited);
    }
    QStringList expected{"/x.gtp"};
    expected += Names(20, 12);
    QCOMPARE(Recent(), expected);
    UserSettings::SetPreviousProjectName("/p/5.gtp");
    expected.prepend("/p/5.gtp");
    expected.removeLast();
    QCOMPARE(Recent(), expected);
}

void TestUserSettings::concurrentWritersKeepTheList()
{
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < 25; ++i)
                UserSettings::SetPreviousProjectName(
                    QString("/t%1/%2.gtp").arg(t).arg(i % 5).toStdString());
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    QStringList recent = Recent();
    QCOMPARE(recent.size(), UserSettings::MAX_RECENT_PROJECTS);
    QCOMPARE(recent.removeDuplicates(), 0);
    QCOMPARE(recent.first(), QString::fromStdString(UserSettings::GetPreviousProjectName().str()));
}

QTEST_GUILESS_MAIN(TestUserSettings)
#include "tst_usersettings.moc"
