#include "ui/components/chart3d.h"

#include <algorithm>
#include <cmath>

namespace quomble {

int chartDepthPixels(const QRect& plotArea, int percent)
{
    if (percent <= 0)
        return 0;
    const int side = std::min(plotArea.width(), plotArea.height());
    return std::clamp(side * percent / 100, kChartDepthMin, kChartDepthMax);
}

namespace {

QColor lighterFace(const QColor& c)
{
    // Half way to white: the top of a box catches the light.
    return QColor((c.red() + 255) / 2, (c.green() + 255) / 2, (c.blue() + 255) / 2);
}

QColor darkerFace(const QColor& c) { return QColor(c.red() * 5 / 8, c.green() * 5 / 8, c.blue() * 5 / 8); }

}  // namespace

ChartBars::ChartBars(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPAbstractPlottable1D<QCPGraphData>(keyAxis, valueAxis)
{
    setPen(Qt::NoPen);
    setAntialiased(false);
    setAntialiasedFill(false);
}

QCPRange ChartBars::getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain) const
{
    QCPRange range = mDataContainer->keyRange(foundRange, inSignDomain);
    if (foundRange) {
        range.lower -= 0.5;
        range.upper += 0.5;
    }
    return range;
}

QCPRange ChartBars::getValueRange(bool& foundRange, QCP::SignDomain inSignDomain,
                                  const QCPRange& inKeyRange) const
{
    QCPRange range = mDataContainer->valueRange(foundRange, inSignDomain, inKeyRange);
    if (foundRange) {
        // Bars stand on 0.
        range.lower = std::min(range.lower, 0.0);
        range.upper = std::max(range.upper, 0.0);
    }
    return range;
}

void ChartBars::collectColumns(std::vector<Column>& out, double& base, double& gap) const
{
    gap = 0;
    QCPAxis* keyAxis = mKeyAxis.data();
    QCPAxis* valueAxis = mValueAxis.data();
    if (!keyAxis || !valueAxis || mDataContainer->isEmpty())
        return;
    const QCPRange keys = keyAxis->range();
    auto begin = mDataContainer->findBegin(keys.lower - 1.0, true);
    auto end = mDataContainer->findEnd(keys.upper + 1.0, true);
    const QRect area = keyAxis->axisRect()->rect();
    base = std::clamp(valueAxis->coordToPixel(0.0), double(area.top()), double(area.bottom() + 1));

    const double perKey = std::fabs(keyAxis->coordToPixel(1.0) - keyAxis->coordToPixel(0.0));
    const double barWidth = perKey * widthShare_;
    out.reserve(static_cast<std::size_t>(std::min<qsizetype>(end - begin, area.width() + 2)));
    if (barWidth >= 3.0) {
        gap = perKey - std::round(barWidth);
        for (auto it = begin; it != end; ++it) {
            if (it->value == 0.0 || std::isnan(it->value))
                continue;
            const double centre = keyAxis->coordToPixel(it->key);
            const double left = std::round(centre - barWidth / 2);
            out.push_back(
                {left, left + std::round(barWidth), valueAxis->coordToPixel(it->value), it->key, it->value});
        }
        return;
    }
    // Narrow bars: one column per pixel, as tall as the tallest bar that falls into it.
    const double width = std::max(1.0, std::round(barWidth));
    double column = -1e300;
    for (auto it = begin; it != end; ++it) {
        if (it->value == 0.0 || std::isnan(it->value))
            continue;
        const double left = std::floor(keyAxis->coordToPixel(it->key) - barWidth / 2);
        const double top = valueAxis->coordToPixel(it->value);
        if (left == column && !out.empty()) {
            Column& last = out.back();
            if (std::fabs(top - base) > std::fabs(last.top - base)) {
                last.top = top;
                last.key = it->key;
                last.value = it->value;
            }
        } else {
            column = left;
            out.push_back({left, left + width, top, it->key, it->value});
        }
    }
}

double ChartBars::gapPixels() const
{
    const QCPAxis* keyAxis = mKeyAxis.data();
    if (!keyAxis)
        return 0;
    if (mDataContainer->size() < 2)
        return keyAxis->axisRect()->width();  // one bar: free on both sides
    const double perKey = std::fabs(keyAxis->coordToPixel(1.0) - keyAxis->coordToPixel(0.0));
    return perKey - std::round(perKey * widthShare_);
}

std::vector<const ChartBars*> ChartBars::earlierBars() const
{
    std::vector<const ChartBars*> out;
    if (!mParentPlot)
        return out;
    for (int i = 0; i < mParentPlot->plottableCount(); ++i) {
        const auto* bars = dynamic_cast<const ChartBars*>(mParentPlot->plottable(i));
        if (bars == this)
            break;
        if (bars && bars->realVisibility() && bars->keyAxis() == keyAxis() && bars->layer() == layer())
            out.push_back(bars);
    }
    return out;
}

bool ChartBars::tallestAt(double key, double value, const std::vector<const ChartBars*>& earlier) const
{
    for (const ChartBars* other : earlier) {
        auto it = other->mDataContainer->findBegin(key, false);
        if (it != other->mDataContainer->constEnd() && it->key == key &&
            std::fabs(it->value) > std::fabs(value))
            return false;
    }
    return true;
}

void ChartBars::draw(QCPPainter* painter)
{
    std::vector<Column> columns;
    double base = 0;
    double gap = 0;
    collectColumns(columns, base, gap);
    if (columns.empty())
        return;
    painter->setAntialiasing(false);
    painter->setPen(Qt::NoPen);
    auto drawFront = [&](const Column& c) {
        painter->fillRect(
            QRectF(QPointF(c.left, std::min(c.top, base)), QPointF(c.right, std::max(c.top, base))), color_);
    };
    // A box stays within its own column and the gap right of it.
    const double d = std::min(double(depth_), std::floor(gap));
    if (d < kChartDepthMin) {
        for (const Column& c : columns)
            drawFront(c);
        return;
    }
    const QColor topColor = lighterFace(color_);
    const QColor sideColor = darkerFace(color_);
    const std::vector<const ChartBars*> earlier = earlierBars();
    for (const Column& c : columns) {
        const double top = std::min(c.top, base);
        const double bottom = std::max(c.top, base);
        const QPointF side[4] = {
            {c.right, top}, {c.right + d, top - d}, {c.right + d, bottom - d}, {c.right, bottom}};
        painter->setBrush(sideColor);
        painter->drawConvexPolygon(side, 4);
        // Inside a taller box of an earlier series this top would hide behind that box's
        // front; drawn, it would read as a value the day does not have.
        if (tallestAt(c.key, c.value, earlier)) {
            const QPointF lid[4] = {
                {c.left, top}, {c.left + d, top - d}, {c.right + d, top - d}, {c.right, top}};
            painter->setBrush(topColor);
            painter->drawConvexPolygon(lid, 4);
        }
        drawFront(c);
    }
}

void ChartBars::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const
{
    painter->setPen(QPen(Qt::black, 0));
    painter->setBrush(color_);
    painter->drawRect(rect.adjusted(1, 1, -1, -1));
}

QRect ChartBars::clipRect() const
{
    QRect rect = QCPAbstractPlottable1D<QCPGraphData>::clipRect();
    return rect.adjusted(0, -depth_, depth_, 0);
}

void ChartLine::draw(QCPPainter* painter)
{
    if (halo_ && pen().style() != Qt::NoPen) {
        const QPen line = pen();
        QPen border(Qt::white, line.widthF() + 2);
        border.setCapStyle(Qt::RoundCap);
        border.setJoinStyle(Qt::RoundJoin);
        setPen(border);
        QCPGraph::draw(painter);
        setPen(line);
    }
    QCPGraph::draw(painter);
}

ChartWalls::ChartWalls(QCustomPlot* plot, QCPAxisRect* rect, const QString& layer)
    : QCPLayerable(plot, layer), rect_(rect)
{
}

void ChartWalls::applyDefaultAntialiasingHint(QCPPainter* painter) const { painter->setAntialiasing(false); }

void ChartWalls::draw(QCPPainter* painter)
{
    if (depth_ <= 0 || !rect_)
        return;
    const QRect r = rect_->rect();
    const double d = depth_;
    const double left = r.left();
    const double top = r.top();
    const double right = r.right() + 1;
    const double bottom = r.bottom() + 1;

    painter->setAntialiasing(false);
    painter->setPen(QPen(QColor(128, 128, 128), 0));
    painter->setBrush(Qt::white);
    painter->drawRect(QRectF(left + d, top - d, right - left, bottom - top));
    painter->setBrush(wall_);
    const QPointF side[4] = {{left, top}, {left + d, top - d}, {left + d, bottom - d}, {left, bottom}};
    painter->drawConvexPolygon(side, 4);
    const QPointF floor[4] = {
        {left, bottom}, {left + d, bottom - d}, {right + d, bottom - d}, {right, bottom}};
    painter->drawConvexPolygon(floor, 4);

    if (QCPAxis* values = rect_->axis(QCPAxis::atLeft)) {
        const QVector<double> ticks = values->tickVector();
        for (double t : ticks) {
            const double y = values->coordToPixel(t);
            if (y < top - 0.5 || y > bottom + 0.5)
                continue;
            painter->setPen(QPen(QColor(150, 150, 150), 0, Qt::DotLine));
            painter->drawLine(QLineF(left + d, y - d, right + d, y - d));
            painter->setPen(QPen(QColor(110, 110, 110), 0, Qt::DotLine));
            painter->drawLine(QLineF(left, y, left + d, y - d));
        }
    }
}

}  // namespace quomble
