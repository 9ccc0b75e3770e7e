#include "Port_File.h"
#include "Port_Stream.h"

#include <QtTest>

#include <string>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

using Port::File;
using Port::Stream;
using Port::String;

namespace {

String S(const QString& text)
{
    return String(text.toStdString());
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestFile : public QObject {
    Q_OBJECT

private slots:
    void readline_data();
    void readline();
    void openModes();
    void removeReadOnly();
    void removeRefusesDirectoryAndMissing();
    void mkdir();
    void canwrite();
    void getdatetime();
};

void TestFile::readline_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("no final newline") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("empty last line") << QByteArray("a\n\n") << QStringList{"a", ""};
    QTest::newRow("lone cr kept") << QByteArray("a\rb\n") << QStringList{"a\rb"};
    QTest::newRow("only newline") << QByteArray("\n") << QStringList{""};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestFile::readline()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("in.txt");
    WriteBytes(path, content);

    Stream* stream = File::open(S(path), Stream::Read);
    QVERIFY(stream != nullptr);
    QStringList read;
    String line("stale");
    while (!stream->geteof()) {
        QVERIFY(stream->readline(line));
        read << QString::fromStdString(line.str());
    }
    QVERIFY(!stream->readline(line));
    QVERIFY(File::close(stream));
    QCOMPARE(read, lines);
}

void TestFile::openModes()
{
    QTemporaryDir dir;
    const String path = S(dir.filePath("out.txt"));
    QCOMPARE(File::open(path, Stream::Read), nullptr);

    Stream* out = File::open(path, Stream::Write);
    QVERIFY(out != nullptr);
    QVERIFY(out->writeline("first"));
    String ignored;
    QVERIFY(!out->readline(ignored));
    QVERIFY(File::close(out));

    QCOMPARE(File::open(path, Stream::Write, false), nullptr);
    Stream* more = File::open(path, Stream::Append, false);
    QVERIFY(more != nullptr);
    QVERIFY(more->writeline(""));
    QVERIFY(more->writeline("third"));
    QVERIFY(File::close(more));
    QCOMPARE(ReadBytes(QString::fromStdString(path.str())), QByteArray("first\n\nthird\n"));

    Stream* again = File::open(path, Stream::Write);
    QVERIFY(again != nullptr);
    QVERIFY(File::close(again));
    QCOMPARE(ReadBytes(QString::fromStdString(path.str())), QByteArray());
    QVERIFY(!File::close(nullptr));
}

void TestFile::removeReadOnly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.v");
    WriteBytes(path, "module m; endmodule\n");
    QCOMPARE(::chmod(path.toLocal8Bit().constData(), 0444), 0);

    QVERIFY(!File::remove(S(path)));
    QVERIFY(QFile::exists(path));
    QVERIFY(File::remove_f(S(path)));
    QVERIFY(!QFile::exists(path));

    WriteBytes(path, "x");
    QVERIFY(File::remove(S(path)));
    QVERIFY(!QFile::exists(path));
}

void TestFile::removeRefusesDirectoryAndMissing()
{
    QTemporaryDir dir;
    const QString sub = dir.filePath("sub");
    QVERIFY(QDir().mkdir(sub));
    QVERIFY(!File::remove(S(sub)));
    QVERIFY(!File::remove_f(S(sub)));
    QVERIFY(QFileInfo(sub).isDir());
    QVERIFY(!File::remove(S(dir.filePath("missing"))));
    QVERIFY(!File::remove_f(S(dir.filePath("missing"))));
}

void TestFile::mkdir()
{
    QTemporaryDir dir;
    const QString deep = dir.filePath("a/b/c");
    QVERIFY(!File::mkdir(S(deep), false));
    QVERIFY(File::mkdir(S(deep), true));
    QVERIFY(File::isdir(S(deep)));
    QVERIFY(File::mkdir(S(deep), false));
    QVERIFY(File::mkdir(S(deep + "/"), true));

    const QString file = dir.filePath("plain");
    WriteBytes(file, "x");
    QVERIFY(!File::mkdir(S(file), false));
    QVERIFY(!File::mkdir(S(file + "/inner"), true));
    QVERIFY(File::isfile(S(file)));
    QVERIFY(!File::isdir(S(file)));
}

void TestFile::canwrite()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("f");
    WriteBytes(file, "x");
    QVERIFY(File::canwrite(S(file)));
    QVERIFY(File::canwrite(S(dir.filePath("new"))));
    QVERIFY(!File::canwrite(S(dir.filePath("nodir/new"))));
    QVERIFY(!File::canwrite(S(file + "/new")));
    if (::geteuid() == 0)
        QSKIP("root may write into a read-only directory");
    QCOMPARE(::chmod(dir.path().toLocal8Bit().constData(), 0555), 0);
    const bool writable = File::canwrite(S(dir.filePath("new")));
    ::chmod(dir.path().toLocal8Bit().constData(), 0755);
    QVERIFY(!writable);
}

void TestFile::getdatetime()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("f");
    WriteBytes(file, "x");
    const struct timeval times[2] = {{1700000000, 0}, {1600000000, 0}};
    QCOMPARE(::utimes(file.toLocal8Bit().constData(), times), 0);
    QCOMPARE(File::getdatetime(S(file)), 1600000000LL);
    long long time = -1;
    QVERIFY(!File::getdatetime(S(dir.filePath("missing")), time));
    QCOMPARE(time, -1LL);
    QCOMPARE(File::getdatetime(S(dir.filePath("missing"))), 0LL);
}

QTEST_GUILESS_MAIN(TestFile)
#include "tst_file.moc"
