#include <QTemporaryDir>
#include <QtTest>

#include "En_UpdatesInfo.h"
#include "TestFiles.h"

class tst_UpdatesInfo : public QObject {
    Q_OBJECT

private slots:
    void readsTheUpdateFiles_data();
    void readsTheUpdateFiles();
};

void tst_UpdatesInfo::readsTheUpdateFiles_data()
{
    QTest::addColumn<bool>("directory");
    QTest::addColumn<QStringList>("files");  // name, content, name, content, ...
    QTest::addColumn<QStringList>("updates");
    QTest::newRow("missing directory") << false << QStringList() << QStringList();
    QTest::newRow("empty directory") << true << QStringList{} << QStringList();
    QTest::newRow("comments and blank lines only")
        << true << QStringList{"a.name", "# Device pack\n\n   \n  # indented\n"} << QStringList();
    QTest::newRow("trimmed lines")
        << true << QStringList{"a.name", "  Device pack 3\t\n\n# note\n Cores patch: GP-7 "}
        << QStringList{"Device pack 3\nCores patch: GP-7\n"};
    QTest::newRow("CR LF lines") << true << QStringList{"a.name", "one\r\ntwo\r\n"}
                                 << QStringList{"one\ntwo\n"};
    QTest::newRow("other extensions")
        << true << QStringList{"a.txt",  "text\n",  "b.name.bak", "backup\n",
                               "c.NAME", "upper\n", "d.name",     "kept\n"}
        << QStringList{"kept\n"};
    QTest::newRow("one entry per file, in listing order")
        << true << QStringList{"b.name", "second\n", "a.name", "first\n", "c.name", "#\n"}
        << QStringList{"first\n", "second\n"};
}

void tst_UpdatesInfo::readsTheUpdateFiles()
{
    QFETCH(bool, directory);
    QFETCH(QStringList, files);
    QFETCH(QStringList, updates);
    const QTemporaryDir dir;
    qputenv("GANTREL_HOME", QFile::encodeName(dir.path()));
    if (directory)
        QVERIFY(QDir().mkpath(dir.filePath("gantrel/install/names")));
    for (int i = 0; i + 1 < files.size(); i += 2)
        QVERIFY(TestFiles::write(dir.filePath("gantrel/install/names/" + files[i]),
                                 files[i + 1].toUtf8()));
    const En::UpdatesInfo info;
    qunsetenv("GANTREL_HOME");
    QCOMPARE(info.GetUpdates(), updates);
}

QTEST_GUILESS_MAIN(tst_UpdatesInfo)
#include "tst_updatesinfo.moc"
