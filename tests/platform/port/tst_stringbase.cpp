#include "Port_StringBase.h"

#include <QtTest>

#include <string>

using Port::String;

Q_DECLARE_METATYPE(Port::CompareType)

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

}  // namespace

class TestStringBase : public QObject {
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void indexOf_data();
    void indexOf();
    void formatLong_data();
    void formatLong();
    void formatEmptyArguments();
    void replace_data();
    void replace();
    void caseChangeKeepsNonAscii();
    void extractAndTrim_data();
    void extractAndTrim();
};

void TestStringBase::compare_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<Port::CompareType>("type");
    QTest::addColumn<int>("sign");

    QTest::newRow("equal") << QByteArray("abc") << QByteArray("abc") << Port::CompareExact << 0;
    QTest::newRow("both empty") << QByteArray() << QByteArray() << Port::CompareExact << 0;
    QTest::newRow("case exact") << QByteArray("abc") << QByteArray("ABC") << Port::CompareExact
                                << 1;
    QTest::newRow("case ignored") << QByteArray("aBc") << QByteArray("AbC")
                                  << Port::CompareIgnoreCase << 0;
    QTest::newRow("prefix first") << QByteArray("ab") << QByteArray("abc") << Port::CompareExact
                                  << -1;
    QTest::newRow("prefix ignore")
        << QByteArray("ABC") << QByteArray("ab") << Port::CompareIgnoreCase << 1;
    // Letters fold to lower case, so '[' (between 'Z' and 'a') sorts before any letter.
    QTest::newRow("fold direction")
        << QByteArray("[") << QByteArray("A") << Port::CompareIgnoreCase << -1;
    QTest::newRow("high byte unsigned")
        << QByteArray("\xE9") << QByteArray("z") << Port::CompareExact << 1;
    QTest::newRow("high byte not folded")
        << QByteArray("\xC3\xA9") << QByteArray("\xC3\x89") << Port::CompareIgnoreCase << 1;
    QTest::newRow("high byte vs letter")
        << QByteArray("\xC1") << QByteArray("a") << Port::CompareIgnoreCase << 1;
}

void TestStringBase::compare()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(Port::CompareType, type);
    QFETCH(int, sign);
    const String left(a.constData(), a.size());
    const String right(b.constData(), b.size());
    QCOMPARE(Sign(left.Compare(right, type)), sign);
    QCOMPARE(Sign(right.Compare(left, type)), -sign);
}

void TestStringBase::indexOf_data()
{
    QTest::addColumn<QByteArray>("hay");
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<Port::CompareType>("type");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("index");

    QTest::newRow("found") << QByteArray("abcabc") << QByteArray("ca") << Port::CompareExact << 0
                           << 2;
    QTest::newRow("absent") << QByteArray("abc") << QByteArray("x") << Port::CompareExact << 0
                            << -1;
    QTest::newRow("after start") << QByteArray("abcabc") << QByteArray("abc") << Port::CompareExact
                                 << 1 << 3;
    QTest::newRow("case exact") << QByteArray("xABC") << QByteArray("abc") << Port::CompareExact
                                << 0 << -1;
    QTest::newRow("case ignored") << QByteArray("xABC") << QByteArray("abc")
                                  << Port::CompareIgnoreCase << 0 << 1;
    QTest::newRow("needle longer")
        << QByteArray("ab") << QByteArray("abc") << Port::CompareExact << 0 << -1;
    QTest::newRow("empty needle") << QByteArray("abc") << QByteArray() << Port::CompareExact << 2
                                  << 2;
    QTest::newRow("empty at end") << QByteArray("abc") << QByteArray() << Port::CompareExact << 3
                                  << 3;
    QTest::newRow("start past end")
        << QByteArray("abc") << QByteArray() << Port::CompareExact << 4 << -1;
}

void TestStringBase::indexOf()
{
    QFETCH(QByteArray, hay);
    QFETCH(QByteArray, needle);
    QFETCH(Port::CompareType, type);
    QFETCH(int, start);
    QFETCH(int, index);
    const String text(hay.constData(), hay.size());
    const String what(needle.constData(), needle.size());
    QCOMPARE(text.GetIndexOfString(what, type, static_cast<std::size_t>(start)), long(index));
}

void TestStringBase::formatLong_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("just fits") << 4095;
    QTest::newRow("one over") << 4096;
    QTest::newRow("large") << 100000;
}

void TestStringBase::formatLong()
{
    QFETCH(int, length);
    const std::string fill(static_cast<std::size_t>(length), 'x');
    String text("old");
    text.Format("<%s|%d>", fill.c_str(), length);
    const std::string expected = "<" + fill + "|" + std::to_string(length) + ">";
    QCOMPARE(text.str(), expected);
}

void TestStringBase::formatEmptyArguments()
{
    String text("old");
    QCOMPARE(text.Format("[%s]", "").str(), std::string("[]"));
    QCOMPARE(text.Format("%s%s", "", "").str(), std::string());
    QVERIFY(text.IsEmpty());
}

void TestStringBase::replace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("count");

    QTest::newRow("grows") << "aaa"
                           << "a"
                           << "bb"
                           << "bbbbbb" << 3;
    QTest::newRow("no overlap") << "aaaa"
                                << "aa"
                                << "a"
                                << "aa" << 2;
    QTest::newRow("to contains from") << "ab"
                                      << "a"
                                      << "aa"
                                      << "aab" << 1;
    QTest::newRow("delete") << "a.b.c"
                            << "."
                            << ""
                            << "abc" << 2;
    QTest::newRow("absent") << "abc"
                            << "d"
                            << "x"
                            << "abc" << 0;
    QTest::newRow("empty from") << "abc"
                                << ""
                                << "x"
                                << "abc" << 0;
}

void TestStringBase::replace()
{
    QFETCH(QString, text);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, result);
    QFETCH(int, count);
    String value(text.toStdString());
    QCOMPARE(value.Replace(String(from.toStdString()), String(to.toStdString())), count);
    QCOMPARE(value.str(), result.toStdString());
}

void TestStringBase::caseChangeKeepsNonAscii()
{
    String text("aZ\xC3\xA9\xC3\x89!");
    QCOMPARE(String(text).MakeUpper().str(), std::string("AZ\xC3\xA9\xC3\x89!"));
    QCOMPARE(text.MakeLower().str(), std::string("az\xC3\xA9\xC3\x89!"));
}

void TestStringBase::extractAndTrim_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("extracted");

    QTest::newRow("middle") << "abcdef" << 2 << 3 << "cde";
    QTest::newRow("to end") << "abcdef" << 4 << -1 << "ef";
    QTest::newRow("count past end") << "abc" << 1 << 10 << "bc";
    QTest::newRow("at end") << "abc" << 3 << 1 << "";
    QTest::newRow("past end") << "abc" << 9 << 1 << "";
}

void TestStringBase::extractAndTrim()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, count);
    QFETCH(QString, extracted);
    const String value(text.toStdString());
    const std::size_t n = count < 0 ? String::npos : static_cast<std::size_t>(count);
    QCOMPARE(value.Extract(static_cast<std::size_t>(start), n).str(), extracted.toStdString());

    String padded(" \t\r\n" + text.toStdString() + "\n\v\f ");
    QCOMPARE(padded.Trim().str(), text.toStdString());
}

QTEST_GUILESS_MAIN(TestStringBase)
#include "tst_stringbase.moc"
