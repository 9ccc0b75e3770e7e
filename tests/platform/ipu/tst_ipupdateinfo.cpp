#include "Ipu_IPUpdateInfo.h"

#include <QtTest>

class TestIPUpdateInfo : public QObject {
    Q_OBJECT

private slots:
    void coresLevel_data();
    void coresLevel();
};

void TestIPUpdateInfo::coresLevel_data()
{
    QTest::addColumn<QStringList>("files");  // name, content, name, content, ...
    QTest::addColumn<unsigned>("level");
    QTest::addColumn<QString>("patch");
    QTest::newRow("nothing installed") << QStringList() << 1u << "";
    QTest::newRow("devices update") << QStringList{"dev.name", "Device pack 3\n"} << 2u << "";
    QTest::newRow("patch, blanks and letter case")
        << QStringList{"p.name", "# header\n\n   cores PATCH:   GP-7  \n"} << 3u << "GP-7";
    QTest::newRow("commented out") << QStringList{"p.name", "  # Cores patch: GP-1\n"} << 2u << "";
    QTest::newRow("last file wins")
        << QStringList{"b.name", "Cores patch: GP-2\n", "a.name", "Cores patch: GP-1\n", "c.name",
                       "Pack\n"}
        << 3u << "GP-2";
    QTest::newRow("other extension") << QStringList{"p.txt", "Cores patch: GP-9\n"} << 1u << "";
}

void TestIPUpdateInfo::coresLevel()
{
    QFETCH(QStringList, files);
    QFETCH(unsigned, level);
    QFETCH(QString, patch);
    QTemporaryDir dir;
    qputenv("GANTREL_HOME", QFile::encodeName(dir.path()));
    const QString names = dir.filePath("gantrel/install/names/");
    QVERIFY(files.isEmpty() || QDir().mkpath(names));
    for (int i = 0; i + 1 < files.size(); i += 2) {
        QFile file(names + files[i]);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(files[i + 1].toUtf8());
    }
    Port::String found("left over from the caller");
    QCOMPARE(Ipu::IPUpdateInfo::GetCoresLevel(found), level);
    QCOMPARE(QString::fromStdString(found.str()), patch);
    qunsetenv("GANTREL_HOME");
}

QTEST_GUILESS_MAIN(TestIPUpdateInfo)
#include "tst_ipupdateinfo.moc"
