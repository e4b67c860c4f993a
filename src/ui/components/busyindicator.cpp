#include "ui/components/busyindicator.h"

#include <QPainter>
#include <QtMath>

namespace quomble {

namespace {
constexpr int kFrames = 30;  // one sweep
constexpr int kFrameMs = 50;
}  // namespace

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent)
{
    setFixedSize(80, 50);
    timer_.setInterval(kFrameMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrames;
        update();
    });
    hide();
}

void BusyIndicator::start()
{
    frame_ = 0;
    show();
    raise();
    timer_.start();
}

void BusyIndicator::stop()
{
    timer_.stop();
    hide();
}

void BusyIndicator::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The folder.
    const QRectF folder(18, 14, 44, 30);
    p.setPen(QPen(QColor(128, 96, 0), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(QRectF(folder.left(), folder.top() - 5, 16, 6));
    p.drawRect(folder);
    // The magnifier sweeping to and fro over it.
    const double phase = 2.0 * M_PI * frame_ / kFrames;
    const QPointF centre(40 + 18 * qSin(phase), 26 + 6 * qCos(2 * phase));
    p.setPen(QPen(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(6, 6), centre + QPointF(13, 13));
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(200, 230, 255, 170));
    p.drawEllipse(centre, 8, 8);
}

}  // namespace quomble
