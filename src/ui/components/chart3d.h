#pragma once

#include <qcustomplot.h>

#include <QColor>

namespace quomble {

// The depth of the 3D look in pixels for a chart of the given size: `percent` of the
// smaller side of the plot area, at least 2 pixels (0 when the look is off).
int chartDepthPixels(const QRect& plotArea, int percent);

// Bars of one series, drawn flat or as boxes whose top and right side recede by up to
// `depth` pixels towards the upper right. A box gets no deeper than the gap beside it, so
// that its top and side stay in its own column: reaching over a lower neighbour they would
// read as a value that day does not have, and many of them merge into slanted walls. Where
// the gap is too small for a visible box, the bars stay flat in front of the walls. Bars of
// several series at the same x are drawn over one another, in the order the series were
// created. Where the bars get narrower than a few pixels, each pixel column shows the
// tallest bar that falls into it, so thousands of days cost no more to draw than the chart
// is wide.
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
    };
    // The bars in view, the pixel row of 0 and the free pixels between neighbouring bars.
    void collectColumns(std::vector<Column>& out, double& base, double& gap) const;

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
// value axis drawn on the back and side walls. Lives on a layer below the grid.
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
