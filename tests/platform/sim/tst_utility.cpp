#include "Sim_Utility.h"

#include <QtTest>

using Sim::Utility;

class TestUtility : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void invalidUtf8BecomesReplacement();
};

void TestUtility::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("utf8");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ascii") << QStringLiteral("fifo_sync") << QByteArray("fifo_sync");
    QTest::newRow("latin") << QStringLiteral("Größe")
                           << QByteArray(
                                  "Gr\xC3\xB6\xC3\x9F"
                                  "e");
    QTest::newRow("outside the BMP")
        << QString::fromUcs4(U"\U0001F680x") << QByteArray("\xF0\x9F\x9A\x80x");
    QTest::newRow("embedded NUL") << QString(QChar(u'a')) + QChar(0) + u'b'
                                  << QByteArray("a\0b", 3);
}

void TestUtility::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, utf8);
    const Port::String port = Utility::QStringToPortString(text);
    QCOMPARE(QByteArray(port.c_str(), static_cast<qsizetype>(port.GetLength())), utf8);
    QCOMPARE(Utility::PortStringToQString(port), text);
}

void TestUtility::invalidUtf8BecomesReplacement()
{
    QCOMPARE(Utility::PortStringToQString(Port::String("a\xFF"
                                                       "b")),
             QStringLiteral("a\uFFFDb"));
}

QTEST_GUILESS_MAIN(TestUtility)
#include "tst_utility.moc"
