#include "Sim_DisabledIconEngine.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

#include <utility>

namespace Sim {

namespace {

// Grey at half opacity reads as unavailable on light and dark backgrounds alike.
QPixmap Greyed(const QPixmap& pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) / 2);
        }
    }
    QPixmap greyed = QPixmap::fromImage(std::move(image));
    greyed.setDevicePixelRatio(pixmap.devicePixelRatio());
    return greyed;
}

}  // namespace

DisabledIconEngine::DisabledIconEngine(QIcon source) : source(std::move(source)) {}

void DisabledIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                               QIcon::State state)
{
    const qreal scale = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
}

QSize DisabledIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State state)
{
    return source.actualSize(size, QIcon::Normal, state);
}

QPixmap DisabledIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap DisabledIconEngine::scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State state,
                                         qreal scale)
{
    const QPixmap normal = source.pixmap(size, scale, QIcon::Normal, state);
    if (normal.isNull()) {
        return normal;
    }
    // Widgets ask for the same pixmap on every repaint: grey each rendering once.
    const QString key = QStringLiteral("gantrel-greyed-%1").arg(normal.cacheKey());
    QPixmap greyed;
    if (!QPixmapCache::find(key, &greyed)) {
        greyed = Greyed(normal);
        QPixmapCache::insert(key, greyed);
    }
    return greyed;
}

QList<QSize> DisabledIconEngine::availableSizes(QIcon::Mode, QIcon::State state)
{
    return source.availableSizes(QIcon::Normal, state);
}

QString DisabledIconEngine::key() const
{
    return QStringLiteral("gantrel-greyed");
}

QIconEngine* DisabledIconEngine::clone() const
{
    return new DisabledIconEngine(source);
}

bool DisabledIconEngine::isNull()
{
    return source.isNull();
}

}  // namespace Sim
