#include "shell/Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace shell {
namespace {

// A mast with radiating waves, scaled into the rectangle.
void paintMast(QPainter &p, const QRectF &r, const QColor &mast, const QColor &waves)
{
    const qreal w = r.width(), h = r.height();
    const QPointF top(r.left() + w * 0.5, r.top() + h * 0.22);
    QPen pen(mast, std::max<qreal>(1.0, w * 0.06));
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(top, QPointF(r.left() + w * 0.3, r.bottom() - h * 0.05));
    p.drawLine(top, QPointF(r.left() + w * 0.7, r.bottom() - h * 0.05));
    p.drawLine(QPointF(r.left() + w * 0.38, r.top() + h * 0.62), QPointF(r.left() + w * 0.62, r.top() + h * 0.62));
    p.setBrush(waves);
    p.drawEllipse(top, w * 0.05, w * 0.05);
    p.setBrush(Qt::NoBrush);
    QPen wave(waves, std::max<qreal>(1.0, w * 0.045));
    wave.setCapStyle(Qt::RoundCap);
    p.setPen(wave);
    for (int i = 1; i <= 3; ++i) {
        const qreal rad = w * 0.12 * i;
        const QRectF arc(top.x() - rad, top.y() - rad, 2 * rad, 2 * rad);
        p.drawArc(arc, -40 * 16, 80 * 16);
        p.drawArc(arc, 140 * 16, 80 * 16);
    }
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 255));
        p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
        paintMast(p, QRectF(size * 0.08, size * 0.08, size * 0.84, size * 0.84), Qt::white, QColor(255, 220, 0));
        icon.addPixmap(pm);
    }
    return icon;
}

QPixmap splashPicture(const QSize &size)
{
    QPixmap pm(size);
    pm.fill(QColor(0, 0, 255));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Sky fading into the blue window, a mast on the left, a wave line across.
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(60, 110, 255));
    sky.setColorAt(0.6, QColor(0, 0, 255));
    p.fillRect(pm.rect(), sky);
    paintMast(p, QRectF(10, 6, size.height() * 0.55, size.height() * 0.55), Qt::white, QColor(255, 220, 0));
    QPainterPath wave;
    const qreal y = size.height() * 0.35;
    wave.moveTo(size.height() * 0.6, y);
    for (qreal x = size.height() * 0.6; x < size.width() - 10; x += 1)
        wave.lineTo(x, y + 10 * std::sin((x - size.height() * 0.6) / 9.0));
    p.setPen(QPen(QColor(255, 220, 0), 2));
    p.drawPath(wave);
    return pm;
}

} // namespace shell
