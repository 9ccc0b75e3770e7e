#include "Ipu_Utilities.h"

#include <QtTest>

using Ipu::Utilities;

namespace {

Port::String portPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace

class TestUtilities : public QObject {
    Q_OBJECT

private slots:
    void makeRelativePath_data();
    void makeRelativePath();
    void validateChecksum_data();
    void validateChecksum();
    void stampedFileValidatesUntilEdited_data();
    void stampedFileValidatesUntilEdited();
    void installationPath();
};

void TestUtilities::makeRelativePath_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("same directory") << "/p/out"
                                    << "/p/out/"
                                    << ".";
    QTest::newRow("below") << "/p/out"
                           << "/p/out/tmp/work"
                           << "tmp/work";
    QTest::newRow("above") << "/p/out/ip"
                           << "/p"
                           << "../..";
    QTest::newRow("from the root") << "/"
                                   << "/p/tmp"
                                   << "p/tmp";
    QTest::newRow("name prefix is no parent") << "/p/out"
                                              << "/p/output"
                                              << "../output";
    QTest::newRow("dots and separators") << "/p/out/"
                                         << "/p/./out//x/../tmp/"
                                         << "tmp";
    QTest::newRow("relative stays") << "/p/out"
                                    << "tmp/work"
                                    << "tmp/work";
    QTest::newRow("empty stays") << "/p/out"
                                 << ""
                                 << "";
}

void TestUtilities::makeRelativePath()
{
    QFETCH(QString, base);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    const Port::String result = Utilities::MakeRelativePath(portPath(base), portPath(path));
    QCOMPARE(QString::fromStdString(result.str()), expected);
    // The options dialog applies it again to its own answer: that must change nothing.
    QCOMPARE(Utilities::MakeRelativePath(portPath(base), result), result);
}

void TestUtilities::validateChecksum_data()
{
    QTest::addColumn<QByteArray>("content");  // null: no file at all
    QTest::addColumn<unsigned>("status");
    QTest::addColumn<bool>("valid");
    // Sums from an independent CRC-32 (zlib) of the bytes before the checksum line.
    QTest::newRow("valid") << QByteArray("generate\n# gantrel-checksum crc32 6e9f6af4\n") << 0u
                           << true;
    QTest::newRow("upper case, no final line feed")
        << QByteArray("generate\n# gantrel-checksum crc32 6E9F6AF4") << 0u << true;
    QTest::newRow("CRLF counted") << QByteArray("a\r\nb\r\n# gantrel-checksum crc32 fb6fd194\r\n")
                                  << 0u << true;
    QTest::newRow("edited") << QByteArray("generatf\n# gantrel-checksum crc32 6e9f6af4\n") << 0u
                            << false;
    QTest::newRow("missing file") << QByteArray() << 1u << true;
    QTest::newRow("no checksum line") << QByteArray("generate\n") << 2u << true;
    QTest::newRow("checksum not last")
        << QByteArray("# gantrel-checksum crc32 6e9f6af4\ngenerate\n") << 2u << true;
    QTest::newRow("short digits") << QByteArray("generate\n# gantrel-checksum crc32 6e9f6af\n")
                                  << 2u << true;
}

// Without an answer (status not 0) the caller's flag is left as it was.
void TestUtilities::validateChecksum()
{
    QFETCH(QByteArray, content);
    QFETCH(unsigned, status);
    QFETCH(bool, valid);
    QTemporaryDir dir;
    const QString path = dir.filePath("core.gtc");
    QFile file(path);
    if (!content.isNull())
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    for (const bool before : {true, false}) {
        bool answer = before;
        QCOMPARE(Utilities::ValidateFileChecksum(portPath(path), answer), status);
        QCOMPARE(answer, status == 0 ? valid : before);
    }
}

void TestUtilities::stampedFileValidatesUntilEdited_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no final line feed") << QByteArray("SET family = alpha");
    QTest::newRow("stale checksum replaced")
        << QByteArray("GENERATE\n# gantrel-checksum crc32 12345678\n");
}

void TestUtilities::stampedFileValidatesUntilEdited()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QFile file(dir.filePath("core.gtc"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(Utilities::WriteFileChecksum(portPath(file.fileName())), 0u);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray stamped = file.readAll();
    QCOMPARE(stamped.count("# gantrel-checksum"), 1);
    bool valid = false;
    QCOMPARE(Utilities::ValidateFileChecksum(portPath(file.fileName()), valid), 0u);
    QVERIFY(valid);
    file.seek(0);
    file.write("X\n" + stamped);  // a line added by hand
    file.close();
    QCOMPARE(Utilities::ValidateFileChecksum(portPath(file.fileName()), valid), 0u);
    QVERIFY(!valid);
}

void TestUtilities::installationPath()
{
    QTemporaryDir dir;
    Port::String full;
    // Without GANTREL_HOME: the directory above the library's, here the build directory,
    // whose bin/ holds the test programs beside lib/.
    qunsetenv("GANTREL_HOME");
    QVERIFY(Utilities::GetFullPellorPathOf("/gantrel/install/names/", full));
    const QString buildRoot = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/..");
    QCOMPARE(QString::fromStdString(full.str()), buildRoot + "/gantrel/install/names/");
    qputenv("GANTREL_HOME", QFile::encodeName(dir.path() + "/"));
    QVERIFY(Utilities::GetFullPellorPathOf("gantrel/x.txt", full));
    QCOMPARE(QString::fromStdString(full.str()), dir.path() + "/gantrel/x.txt");
    QVERIFY(!Utilities::GetFullPellorPathOf("", full));
    qunsetenv("GANTREL_HOME");
}

QTEST_GUILESS_MAIN(TestUtilities)
#include "tst_utilities.moc"
