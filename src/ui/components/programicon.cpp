#include "ui/components/programicon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quomble {

QPixmap programPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);  // drawn on a 32 x 32 grid

    QLinearGradient tile(0, 0, 0, 32);
    tile.setColorAt(0, QColor(0x20, 0x40, 0xb0));
    tile.setColorAt(1, QColor(0x00, 0x00, 0x80));
    p.setPen(QPen(QColor(0x00, 0x00, 0x50), 1));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);

    // Power symbol: an open ring with a bar through its gap.
    QPen ring(QColor(0xff, 0xff, 0xff), 2.6, Qt::SolidLine, Qt::RoundCap);
    p.setPen(ring);
    p.setBrush(Qt::NoBrush);
    const QRectF circle(9, 5, 14, 14);
    p.drawArc(circle, 120 * 16, 300 * 16);
    p.drawLine(QPointF(16, 3.5), QPointF(16, 11));

    // Bars: boots, crashes, on-time.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x00, 0xc0, 0x00));
    p.drawRect(QRectF(7, 23, 4, 5));
    p.setBrush(QColor(0xff, 0x30, 0x30));
    p.drawRect(QRectF(14, 25, 4, 3));
    p.setBrush(QColor(0xff, 0xd0, 0x40));
    p.drawRect(QRectF(21, 21.5, 4, 6.5));
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(programPixmap(size));
    return icon;
}

}  // namespace quomble
