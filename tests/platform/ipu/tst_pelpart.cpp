#include "Ipu_PelPart.h"

#include <QtTest>

using Ipu::PelPart;

namespace {

QByteArray Q(const Port::String& text)
{
    return QByteArray(text.c_str(), static_cast<int>(text.GetLength()));
}

PelPart Full()
{
    return PelPart("tellara2", "tl2x50", "qf100", "-4");
}

}  // namespace

class TestPelPart : public QObject {
    Q_OBJECT

private slots:
    void definedAndEqual_data();
    void definedAndEqual();
    void fullPartName_data();
    void fullPartName();
};

void TestPelPart::definedAndEqual_data()
{
    QTest::addColumn<int>("blank");  // which field to empty, -1 none

    QTest::newRow("complete") << -1;
    QTest::newRow("no family") << 0;
    QTest::newRow("no device") << 1;
    QTest::newRow("no package") << 2;
    QTest::newRow("no speed grade") << 3;
}

void TestPelPart::definedAndEqual()
{
    QFETCH(int, blank);
    PelPart part = Full();
    switch (blank) {
        case 0:
            part.SetFamily("");
            break;
        case 1:
            part.SetDevice("");
            break;
        case 2:
            part.SetPackage("");
            break;
        case 3:
            part.SetSpeedGrade("");
            break;
        default:
            break;
    }
    QCOMPARE(part.IsDefined(), blank < 0);
    QCOMPARE(part == Full(), blank < 0);
    QCOMPARE(part != Full(), blank >= 0);
}

void TestPelPart::fullPartName_data()
{
    QTest::addColumn<QByteArray>("speedGrade");
    QTest::addColumn<QByteArray>("full");

    QTest::newRow("dash grade") << QByteArray("-4") << QByteArray("tl2x50qf100-4");
    QTest::newRow("bare grade") << QByteArray("4") << QByteArray("tl2x50qf100-4");
    QTest::newRow("no grade") << QByteArray() << QByteArray("tl2x50qf100");
    QTest::newRow("placeholder grade") << QByteArray("-") << QByteArray("tl2x50qf100");
    QTest::newRow("slash grade") << QByteArray("C6/I5") << QByteArray("tl2x50qf100-C6/I5");
}

void TestPelPart::fullPartName()
{
    QFETCH(QByteArray, speedGrade);
    QFETCH(QByteArray, full);
    PelPart part = Full();
    part.SetSpeedGrade(speedGrade.constData());
    QCOMPARE(Q(part.GetFullPartName()), full);
}

QTEST_GUILESS_MAIN(TestPelPart)
#include "tst_pelpart.moc"
