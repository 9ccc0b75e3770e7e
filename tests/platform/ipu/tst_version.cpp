#include "Ipu_Version.h"
#include "Ipu_VersionedIdentifier.h"

#include <QtTest>

using Ipu::Version;

class TestVersion : public QObject {
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void key_data();
    void key();
};

void TestVersion::compare_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<int>("expected");

    QTest::newRow("equal") << QByteArray("2.1") << QByteArray("2.1") << 0;
    QTest::newRow("numeric, not textual") << QByteArray("1.10") << QByteArray("1.9") << 1;
    QTest::newRow("leading zeros") << QByteArray("1.00") << QByteArray("1.0") << 0;
    QTest::newRow("missing part first") << QByteArray("1.0") << QByteArray("1.0.1") << -1;
    QTest::newRow("huge numbers") << QByteArray("99999999999999999999.1")
                                  << QByteArray("99999999999999999998.9") << 1;
    QTest::newRow("letters after digits") << QByteArray("3.0.a") << QByteArray("3.0.b") << -1;
    QTest::newRow("digit run before letters") << QByteArray("1.0.1") << QByteArray("1.0a") << -1;
    QTest::newRow("separators alike") << QByteArray("1_2-3") << QByteArray("1.2.3") << 0;
    QTest::newRow("empty first") << QByteArray() << QByteArray("0") << -1;
}

void TestVersion::compare()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(int, expected);
    const Version x(Port::String(a.constData()));
    const Version y(Port::String(b.constData()));
    QCOMPARE(x.Compare(y), expected);
    QCOMPARE(y.Compare(x), -expected);
    QCOMPARE(x < y, expected < 0);
    QCOMPARE(x == y, expected == 0);
}

void TestVersion::key_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<bool>("valid");

    QTest::newRow("four fields") << QByteArray("pellor:memories:fifo:2.0") << true;
    QTest::newRow("empty fields") << QByteArray(":::") << true;
    QTest::newRow("three fields") << QByteArray("pellor:memories:fifo") << false;
    QTest::newRow("five fields") << QByteArray("a:b:c:d:e") << false;
}

void TestVersion::key()
{
    QFETCH(QByteArray, key);
    QFETCH(bool, valid);
    Ipu::VersionedIdentifier identifier("x", "y", "z", "0");
    QCOMPARE(Ipu::VersionedIdentifier::FromKey(key.constData(), identifier), valid ? 0u : 1u);
    QCOMPARE(QByteArray(identifier.GetKey().c_str()), valid ? key : QByteArray("x:y:z:0"));
}

QTEST_GUILESS_MAIN(TestVersion)
#include "tst_version.moc"
