#include "UT_DIR.h"

#include <QtTest>

#include <string>
#include <vector>

class TestUtDir : public QObject {
    Q_OBJECT

private slots:
    void match_data();
    void match();
    void matchBacktracksInLinearSteps();
    void list();
    void listMissingDirectory();
};

void TestUtDir::match_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("matches");

    QTest::newRow("exact") << QByteArray("top.v") << QByteArray("top.v") << true;
    QTest::newRow("exact differs") << QByteArray("top.v") << QByteArray("top.vh") << false;
    QTest::newRow("case sensitive") << QByteArray("TOP.V") << QByteArray("top.v") << false;
    QTest::newRow("star empty run") << QByteArray("top*.v") << QByteArray("top.v") << true;
    QTest::newRow("star suffix") << QByteArray("*.v") << QByteArray("a.b.v") << true;
    QTest::newRow("star no suffix") << QByteArray("*.v") << QByteArray("a.vhd") << false;
    QTest::newRow("star alone") << QByteArray("*") << QByteArray("") << true;
    QTest::newRow("stars only") << QByteArray("***") << QByteArray("abc") << true;
    QTest::newRow("empty pattern") << QByteArray("") << QByteArray("a") << false;
    QTest::newRow("empty both") << QByteArray("") << QByteArray("") << true;
    QTest::newRow("question one") << QByteArray("a?c") << QByteArray("abc") << true;
    QTest::newRow("question needs byte") << QByteArray("a?c") << QByteArray("ac") << false;
    QTest::newRow("question high byte") << QByteArray("?") << QByteArray("\xE9") << true;
    QTest::newRow("backtrack") << QByteArray("*ab*cd") << QByteArray("aabxcdcd") << true;
    QTest::newRow("backtrack fails") << QByteArray("*ab*cd") << QByteArray("aabxcdc") << false;
    QTest::newRow("mixed") << QByteArray("?*_??.*") << QByteArray("core_01.tar.gz") << true;
    QTest::newRow("no classes") << QByteArray("[ab]") << QByteArray("a") << false;
    QTest::newRow("class literal") << QByteArray("[ab]") << QByteArray("[ab]") << true;
}

void TestUtDir::match()
{
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, name);
    QFETCH(bool, matches);
    QCOMPARE(UT_DIR::match(pattern.constData(), name.constData()), matches);
    QCOMPARE(UT_DIR::match_names(pattern.constData(), name.constData()), matches);
}

void TestUtDir::matchBacktracksInLinearSteps()
{
    // Recursive matching would take exponential time here and never finish.
    const std::string name(20000, 'a');
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!UT_DIR::match("*a*a*a*a*a*a*a*a*b", name.c_str()));
    QVERIFY(UT_DIR::match("*a*a*a*a*a*a*a*a*a", name.c_str()));
    QVERIFY(timer.elapsed() < 5000);
}

void TestUtDir::list()
{
    QTemporaryDir dir;
    for (const char* name : {"b.v", "a.v", "c.vhd", ".hidden.v", "B.v", "\xC3\xA9.v"}) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir("sub.v"));

    std::vector<Port::String> names{"stale"};
    QVERIFY(UT_DIR::list(dir.path().toStdString(), "*.v", names));
    const std::vector<Port::String> expected{".hidden.v", "B.v",   "a.v",
                                             "b.v",       "sub.v", "\xC3\xA9.v"};
    QVERIFY(names == expected);

    QVERIFY(UT_DIR::list(dir.path().toStdString(), ".*", names));
    QVERIFY(names == std::vector<Port::String>{".hidden.v"});
}

void TestUtDir::listMissingDirectory()
{
    QTemporaryDir dir;
    std::vector<Port::String> names;
    QVERIFY(!UT_DIR::list(dir.filePath("missing").toStdString(), "*", names));
}

QTEST_GUILESS_MAIN(TestUtDir)
#include "tst_utdir.moc"
