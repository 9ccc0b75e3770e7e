#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "Port_DirectoryMaker.h"
#include "TestFiles.h"

class tst_DirectoryMaker : public QObject {
    Q_OBJECT

private slots:
    void takesBackOnlyWhatItMade_data()
    {
        QTest::addColumn<QString>("make");        // relative to the temporary directory
        QTest::addColumn<QStringList>("before");  // entries that exist first ("x/" a directory)
        QTest::addColumn<QString>("during");      // a file written after the making
        QTest::addColumn<bool>("made");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QStringList>("after");  // every entry afterwards, sorted
        QTest::newRow("all new, undone")
            << "a/b/c" << QStringList() << QString() << true << false << QStringList();
        QTest::newRow("all new, kept") << "a/b/c" << QStringList() << QString() << true << true
                                       << QStringList{"a", "a/b", "a/b/c"};
        QTest::newRow("parent existed")
            << "a/b" << QStringList{"a/"} << QString() << true << false << QStringList{"a"};
        QTest::newRow("file in the way") << "a/f/c" << QStringList{"a/f"} << QString() << false
                                         << false << QStringList{"a", "a/f"};
        QTest::newRow("a file of another left inside")
            << "n/m" << QStringList() << "n/m/other" << true << false
            << QStringList{"n", "n/m", "n/m/other"};
    }

    void takesBackOnlyWhatItMade()
    {
        QFETCH(QString, make);
        QFETCH(QStringList, before);
        QFETCH(QString, during);
        QFETCH(bool, made);
        QFETCH(bool, keep);
        QFETCH(QStringList, after);
        QTemporaryDir dir;
        for (const QString& entry : before) {
            QVERIFY(entry.endsWith('/') ? QDir(dir.path()).mkpath(entry)
                                        : TestFiles::write(dir.filePath(entry), "x"));
        }
        {
            Port::DirectoryMaker maker;
            QCOMPARE(maker.Make(dir.filePath(make).toStdString()), made);
            // Written after the making, as another's file would be.
            if (!during.isEmpty())
                QVERIFY(TestFiles::write(dir.filePath(during), "x"));
            if (keep)
                maker.Keep();
        }
        QStringList entries;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            entries.append(QDir(dir.path()).relativeFilePath(it.next()));
        entries.sort();
        QCOMPARE(entries, after);
    }
};

QTEST_GUILESS_MAIN(tst_DirectoryMaker)
#include "tst_directorymaker.moc"
