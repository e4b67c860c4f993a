#include "ui/components/bevelpanel.h"

#include <QPainter>

namespace quomble {

BevelPanel::BevelPanel(Bevel outer, Bevel inner, QWidget* parent)
    : QWidget(parent), outer_(outer), inner_(inner)
{
}

void BevelPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (filled_)
        p.fillRect(rect(), palette().color(QPalette::Window));
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    auto ring = [&](Bevel bevel, int inset) {
        if (bevel == Bevel::None)
            return;
        const QColor topLeft = bevel == Bevel::Raised ? light : dark;
        const QColor bottomRight = bevel == Bevel::Raised ? dark : light;
        const int l = inset;
        const int t = inset;
        const int r = width() - 1 - inset;
        const int b = height() - 1 - inset;
        p.setPen(topLeft);
        p.drawLine(l, t, r - 1, t);
        p.drawLine(l, t, l, b - 1);
        p.setPen(bottomRight);
        p.drawLine(l, b, r, b);
        p.drawLine(r, t, r, b);
    };
    ring(outer_, 0);
    ring(inner_, outer_ == Bevel::None ? 0 : 1);
}

}  // namespace quomble
