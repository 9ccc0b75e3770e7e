#pragma once

#include <QIcon>
#include <QIconEngine>

namespace Sim {

// Draws another icon greyed, whatever mode is asked for. It greys the icon itself rather than
// asking for the disabled mode, which is left as it is when no widget style is there to grey
// it, and it keeps the source's scalability (pre-rendered pixmaps would blur at other sizes).
class DisabledIconEngine final : public QIconEngine {
public:
    explicit DisabledIconEngine(QIcon source);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString key() const override;
    QIconEngine* clone() const override;
    bool isNull() override;

private:
    QIcon source;
};

}  // namespace Sim
