#include "UT_TIME.h"

#include <QtTest>

#include <cstdlib>
#include <string>

#include <time.h>

class TestUtTime : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void ctime();
    void localtime();
    void strftime_data();
    void strftime();
    void strftimeFailureKeepsText();
    void formatLocalTime();
};

void TestUtTime::initTestCase()
{
    // Results below are given in UTC; the zone is process-wide and this program owns it.
    qputenv("TZ", "UTC");
    ::tzset();
}

void TestUtTime::ctime()
{
    QCOMPARE(UT_TIME::CTime(0).str(), std::string("Thu Jan  1 00:00:00 1970"));
    QCOMPARE(UT_TIME::CTime(1700000000).str(), std::string("Tue Nov 14 22:13:20 2023"));
}

void TestUtTime::localtime()
{
    std::tm tm{};
    QVERIFY(UT_TIME::LocalTime(1700000000, tm));
    QCOMPARE(tm.tm_year, 123);
    QCOMPARE(tm.tm_mon, 10);
    QCOMPARE(tm.tm_mday, 14);
    QCOMPARE(tm.tm_hour, 22);
}

void TestUtTime::strftime_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("date") << QByteArray("%Y-%m-%d %H:%M:%S") << QByteArray("2023-11-14 22:13:20");
    QTest::newRow("empty result") << QByteArray("") << QByteArray("");
    QTest::newRow("literal only") << QByteArray("x%%") << QByteArray("x%");
    QTest::newRow("grows buffer") << QByteArray("%Y").repeated(500)
                                  << QByteArray("2023").repeated(500);
}

void TestUtTime::strftime()
{
    QFETCH(QByteArray, pattern);
    QFETCH(QByteArray, expected);
    std::tm tm{};
    QVERIFY(UT_TIME::LocalTime(1700000000, tm));
    Port::String text("previous");
    QVERIFY(UT_TIME::StrFTime(text, pattern.constData(), tm));
    QCOMPARE(text.str(), expected.toStdString());
}

void TestUtTime::strftimeFailureKeepsText()
{
    std::tm tm{};
    QVERIFY(UT_TIME::LocalTime(0, tm));
    Port::String text("previous");
    // Over a mebibyte of output is refused rather than buffered.
    const QByteArray huge = QByteArray("%c").repeated(50000);
    QVERIFY(!UT_TIME::StrFTime(text, huge.constData(), tm));
    QCOMPARE(text.str(), std::string("previous"));
    QVERIFY(!UT_TIME::StrFTime(text, nullptr, tm));
}

void TestUtTime::formatLocalTime()
{
    QCOMPARE(UT_TIME::FormatLocalTime(1700000000, "on %Y-%m-%d at %H:%M").str(),
             std::string("on 2023-11-14 at 22:13"));
}

QTEST_GUILESS_MAIN(TestUtTime)
#include "tst_uttime.moc"
