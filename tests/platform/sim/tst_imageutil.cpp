#include "Sim_DataLocation.h"
#include "Sim_ImageUtil.h"
#include "Sim_Utility.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QXmlStreamReader>
#include <QtTest>

using Sim::ImageUtil;

namespace {

// The names the tool's actions ask for.
const char* const kIconNames[] = {
    "gt-customise-action",        "gt-upgrade-action",   "gt-upgrade-generate-proj",
    "gt-upgrade-generate-action", "gt-generate-action",  "gt-generate-action-proj",
    "gt-product-action",          "gt-version-action",   "gt-answers-action",
    "gt-readme-action",           "gt-resources-action", "gt-datasheet-action",
    "gt-project-options",         "pn-template-new",     "add-pellor-device",
};

void AddIconRows()
{
    QTest::addColumn<QString>("name");
    for (const char* name : kIconNames) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

QDir SourceIconDirectory()
{
    return QDir(Sim::Utility::PortStringToQString(Sim::DataLocation::DataDirectory()) +
                QStringLiteral("/icons"));
}

QImage Render(const QIcon& icon, int size, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(size, size), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int CountDrawnPixels(const QImage& image)
{
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return drawn;
}

// The first pixel of grey that is not the colour pixel in grey at half its opacity; empty when
// there is none.
QString FirstWrongGreyPixel(const QImage& grey, const QImage& colour)
{
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb pixel = grey.pixel(x, y);
            if (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel) ||
                qAlpha(pixel) != qAlpha(colour.pixel(x, y)) / 2) {
                return QStringLiteral("(%1,%2) is #%3")
                    .arg(x)
                    .arg(y)
                    .arg(pixel, 8, 16, QChar(u'0'));
            }
        }
    }
    return QString();
}

}  // namespace

class TestImageUtil : public QObject {
    Q_OBJECT

private slots:
    void drawsEveryIcon_data();
    void drawsEveryIcon();
    void disabledIconIsGreyed_data();
    void disabledIconIsGreyed();
    void unknownNameGivesNullIcon_data();
    void unknownNameGivesNullIcon();
    void sourceFileIsSvgOnTheIconGrid_data();
    void sourceFileIsSvgOnTheIconGrid();
    void everySourceFileIsEmbedded();
};

void TestImageUtil::drawsEveryIcon_data()
{
    AddIconRows();
}

void TestImageUtil::drawsEveryIcon()
{
    QFETCH(QString, name);
    const QIcon icon = ImageUtil::GetIcon(name, false);
    QVERIFY2(!icon.isNull(), qPrintable(name));
    // Actions ask again and again: the second call must be served from the cache.
    QCOMPARE(ImageUtil::GetIcon(name, false).cacheKey(), icon.cacheKey());
    for (const int size : {16, 32}) {
        const QImage image = Render(icon, size);
        const QString what = QStringLiteral("%1 at %2 px").arg(name).arg(size);
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY2(CountDrawnPixels(image) > size * size / 8, qPrintable(what));
        // Icons sit on toolbars of any colour: nothing may paint a background.
        QVERIFY2(qAlpha(image.pixel(0, 0)) == 0, qPrintable(what + QStringLiteral(" corner")));
    }
}

void TestImageUtil::disabledIconIsGreyed_data()
{
    AddIconRows();
}

void TestImageUtil::disabledIconIsGreyed()
{
    QFETCH(QString, name);
    const QIcon disabled = ImageUtil::GetIcon(name, true);
    QVERIFY2(!disabled.isNull(), qPrintable(name));
    QCOMPARE(ImageUtil::GetIcon(name, true).cacheKey(), disabled.cacheKey());
    const QImage colour = Render(ImageUtil::GetIcon(name, false), 32);
    // A disabled widget asks for the disabled mode, a plain label for the normal one.
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
        const QString wrong = FirstWrongGreyPixel(Render(disabled, 32, mode), colour);
        QVERIFY2(wrong.isEmpty(),
                 qPrintable(QStringLiteral("%1 mode %2: %3").arg(name).arg(mode).arg(wrong)));
    }
}

void TestImageUtil::unknownNameGivesNullIcon_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("disabled");
    QTest::newRow("unknown") << QStringLiteral("gt-no-such-action") << false;
    QTest::newRow("unknown, disabled") << QStringLiteral("gt-no-such-action") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("file name") << QStringLiteral("gt-generate-action.svg") << false;
    // A path must not reach beyond the icon set, even to an icon.
    QTest::newRow("relative path") << QStringLiteral("../icons/gt-generate-action") << false;
    QTest::newRow("resource path") << QStringLiteral(":/gantrel/icons/gt-generate-action") << false;
}

void TestImageUtil::unknownNameGivesNullIcon()
{
    QFETCH(QString, name);
    QFETCH(bool, disabled);
    const QIcon icon = ImageUtil::GetIcon(name, disabled);
    QVERIFY2(icon.isNull(), qPrintable(name));
    QVERIFY(icon.pixmap(16).isNull());
    // A second call is served from the cache and must still say "none".
    QVERIFY(ImageUtil::GetIcon(name, disabled).isNull());
}

void TestImageUtil::sourceFileIsSvgOnTheIconGrid_data()
{
    QTest::addColumn<QString>("path");
    const QDir directory = SourceIconDirectory();
    const QStringList files = directory.entryList(QDir::Files, QDir::Name);
    QVERIFY2(!files.isEmpty(), qPrintable(directory.path()));
    for (const QString& file : files) {
        QTest::newRow(qPrintable(file)) << directory.filePath(file);
    }
}

void TestImageUtil::sourceFileIsSvgOnTheIconGrid()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly),
             qPrintable(path + QStringLiteral(": ") + file.errorString()));
    QXmlStreamReader xml(&file);
    QVERIFY2(xml.readNextStartElement(),
             qPrintable(path + QStringLiteral(": ") + xml.errorString()));
    QCOMPARE(xml.name(), QStringLiteral("svg"));
    QCOMPARE(xml.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
    // One grid for every icon keeps their strokes the same weight at every size.
    QCOMPARE(xml.attributes().value(QStringLiteral("viewBox")), QStringLiteral("0 0 32 32"));
    while (!xml.atEnd()) {
        xml.readNext();
    }
    QVERIFY2(
        !xml.hasError(),
        qPrintable(
            QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString())));
}

void TestImageUtil::everySourceFileIsEmbedded()
{
    const QStringList sources = SourceIconDirectory().entryList(QDir::Files, QDir::Name);
    const QStringList embedded =
        QDir(QStringLiteral(":/gantrel/icons")).entryList(QDir::Files, QDir::Name);
    QCOMPARE(embedded, sources);
}

QTEST_MAIN(TestImageUtil)
#include "tst_imageutil.moc"
