#pragma once

#include <qcustomplot.h>

#include <QColor>

namespace quomble {

// The deepest and the shallowest 3D look in pixels. The depth does not grow with the
// window: the back wall, where the value grid lies, stays this close to the front plane,
// where the value axis and the box fronts are.
inline constexpr int kChartDepthMax = 10;
inline constexpr int kChartDepthMin = 3;

// The depth of the 3D look in pixels for a chart of the given size: `percent` of the
// smaller side of the plot area, within kChartDepthMin..kChartDepthMax (0 when the look is
// off).
int chartDepthPixels(const QRect& plotArea, int percent);

// Bars of one series, drawn flat or as boxes `depth` pixels deep whose top and right side
// recede towards the upper right. The front of a box lies on the front plane, so its top
// edge stands at the value on the value axis, and the back edge of its top meets the back
// wall at the value's grid line. The chart chooses a depth no larger than the gap between
// neighbouring bars, so that a box's top and side stay in its own column: reaching over a
// lower neighbour they would read as a value that day does not have. Bars of several series
// at the same x share one box: each is drawn over the earlier ones, front and side, and the
// top is drawn by the tallest only (the later one when they are equal), so no top shows
// inside a taller box. Where the bars get narrower than a few pixels, each pixel column
// shows the tallest bar that falls into it, so thousands of days cost no more to draw than
// the chart is wide.
class ChartBars : public QCPAbstractPlottable1D<QCPGraphData> {
public:
    ChartBars(QCPAxis* keyAxis, QCPAxis* valueAxis);

    QSharedPointer<QCPGraphDataContainer> data() const { return mDataContainer; }
    void setData(QSharedPointer<QCPGraphDataContainer> data) { mDataContainer = data; }

    // The colour of the front face; the top is lighter and the side darker.
    void setColor(const QColor& color) { color_ = color; }
    QColor color() const { return color_; }
    // Width of a bar as a share of the distance between two neighbouring x values.
    void setWidthShare(double share) { widthShare_ = share; }
    // 0: flat.
    void setDepth(int pixels) { depth_ = pixels; }
    int depth() const { return depth_; }
    // The free pixels between two neighbouring bars at the current axis scale.
    double gapPixels() const;

    QCPRange getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;
    QRect clipRect() const override;

private:
    struct Column {
        double left;
        double right;
        double top;
        double key;
        double value;
    };
    // The bars in view, the pixel row of 0 and the free pixels between neighbouring bars.
    void collectColumns(std::vector<Column>& out, double& base, double& gap) const;
    // The shown bar series of the same chart that are drawn before this one.
    std::vector<const ChartBars*> earlierBars() const;
    // Whether this series' bar at `key` is at least as tall as those of `earlier` there.
    bool tallestAt(double key, double value, const std::vector<const ChartBars*>& earlier) const;

    QColor color_ = Qt::green;
    double widthShare_ = 0.7;
    int depth_ = 0;
};

// A line series, drawn in front of the bars. With a halo, a white border on both sides
// keeps it visible over boxes of any colour and over its own series' bars.
class ChartLine : public QCPGraph {
public:
    ChartLine(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPGraph(keyAxis, valueAxis) {}
    void setHalo(bool on) { halo_ = on; }
    bool halo() const { return halo_; }

protected:
    void draw(QCPPainter* painter) override;

private:
    bool halo_ = false;
};

// The grey side and floor walls of a 3D chart, its back wall and the grid lines of the
// value axis drawn on the back and side walls: a value's line runs on the side wall from its
// tick on the front plane to the back wall, `depth` pixels up and right, and on along the
// back wall. Lives on a layer below the grid.
class ChartWalls : public QCPLayerable {
public:
    ChartWalls(QCustomPlot* plot, QCPAxisRect* rect, const QString& layer);

    void setDepth(int pixels) { depth_ = pixels; }
    void setWallColor(const QColor& color) { wall_ = color; }
    QColor wallColor() const { return wall_; }

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    void draw(QCPPainter* painter) override;

private:
    QCPAxisRect* rect_;
    int depth_ = 0;
    QColor wall_{178, 178, 178};
};

}  // namespace quomble
