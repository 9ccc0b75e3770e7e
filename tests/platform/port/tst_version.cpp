#include "Port_Version.h"

#include <QtTest>

class TestVersion : public QObject {
    Q_OBJECT

private slots:
    void getValue_data();
    void getValue();
};

void TestVersion::getValue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("version") << "version" << QStringLiteral(GANTREL_TEST_VERSION);
    QTest::newRow("product") << "product"
                             << "Pellor Gantrel";
    QTest::newRow("unknown") << "vendor"
                             << "";
    QTest::newRow("case matters") << "Version"
                                  << "";
}

void TestVersion::getValue()
{
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(Port::Version::getValue(key.toStdString()).str()), expected);
}

QTEST_GUILESS_MAIN(TestVersion)
#include "tst_version.moc"
