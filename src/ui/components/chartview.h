#pragma once

#include <qcustomplot.h>

#include <QColor>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace quomble {

class ChartBars;
class ChartLabelTicker;
class ChartView;
class ChartWalls;

enum class SeriesKind {
    Bar,       // bars without outline, drawn over those of earlier series at the same x
    Line,      // a line without point markers
    Area,      // a filled area, as steps or sloped
    FastLine,  // a plain thin line
};

// One series of a chart: its points (x, y and a label each, x ascending), its title and
// colour, and whether it is shown. Changes are drawn with the chart's next replot.
class ChartSeries {
public:
    ChartSeries(ChartView* chart, SeriesKind kind, const QString& title, const QColor& color,
                const QString& name);
    ChartSeries(const ChartSeries&) = delete;
    ChartSeries& operator=(const ChartSeries&) = delete;

    SeriesKind kind() const { return kind_; }
    const QString& title() const { return title_; }
    const QString& objectName() const { return name_; }
    QColor color() const { return color_; }

    bool isActive() const { return active_; }
    void setActive(bool active);

    // Area series only: steps (the default) or a sloped line between points.
    bool isStepped() const { return stepped_; }
    void setStepped(bool stepped);

    // Removes all points.
    void clear();
    // Appends one point in the series' own colour.
    void add(double x, double y, const QString& label);
    // Appends many points at once; xs ascending and after the last point.
    void append(const QVector<QCPGraphData>& points, const QStringList& labels);

    int count() const { return static_cast<int>(data_->size()); }
    double xValue(int index) const { return data_->at(index)->key; }
    double yValue(int index) const { return data_->at(index)->value; }
    const QString& label(int index) const { return labels_[index]; }
    const QStringList& labels() const { return labels_; }
    // The label of the point at x, or an empty text.
    QString labelAt(double x) const;

    QCPAbstractPlottable* plottable() const { return plottable_; }

private:
    ChartView* chart_;
    SeriesKind kind_;
    QString title_;
    QString name_;
    QColor color_;
    bool active_ = true;
    bool stepped_ = true;
    QSharedPointer<QCPGraphDataContainer> data_;
    QStringList labels_;
    QCPAbstractPlottable* plottable_ = nullptr;
};

// A chart: series of the kinds above over a bottom axis labelled with the points' labels
// and a value axis that is fixed from 0 to a maximum or follows the shown data; a legend at
// the top; an optional 3D look. Dragging pans, the wheel zooms, a double click restores the
// full view; with the focus, Left and Right pan, + and - zoom and Home restores the view.
// A change of points resets the view to all points. It has no menu of its own: a
// right click asks the widgets around it for theirs.
class ChartView : public QCustomPlot {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);
    ~ChartView() override;

    ChartSeries* addSeries(SeriesKind kind, const QString& title, const QColor& color,
                           const QString& objectName);
    const std::vector<std::unique_ptr<ChartSeries>>& seriesList() const { return series_; }
    ChartSeries* series(const QString& objectName) const;

    // The 3D look: bars as boxes, grey side and floor walls, `depthPercent` of the plot's
    // smaller side deep but no deeper than kChartDepthMax pixels (chart3d.h); flat where
    // the bars stand too close for boxes (fittingDepth).
    void setView3D(bool on);
    bool view3D() const { return view3D_; }
    void setDepthPercent(int percent);
    int depthPercent() const { return depthPercent_; }
    // The depth in pixels at the plot's size of the last layout (0 while flat).
    int depthPixels() const;
    // The depth the boxes and walls are drawn with: depthPixels(), unless the bars stand
    // closer than that; 0 where they leave no room for a box (after a replot).
    int fittingDepth() const;

    // Value axis from 0 to `maximum`, whatever is shown.
    void setValueAxisFixed(double maximum);
    // Value axis following the shown series; with `zeroMinimum` it starts at 0 and only its
    // maximum follows the data.
    void setValueAxisAutomatic(bool zeroMinimum = false);
    bool valueAxisAutomatic() const { return automatic_; }
    // The value and key range as the next replot draws them.
    QCPRange valueRange();
    QCPRange keyRange();

    // Bottom-axis labels turned by 90 degrees.
    void setLabelsRotated(bool rotated);
    bool labelsRotated() const { return rotated_; }
    // The labels of the bottom axis as drawn at the current size (after a replot).
    QStringList shownLabels() const;

    void setLegendColor(const QColor& color);
    QColor legendColor() const;
    // The series titles in legend order (shown series only).
    QStringList legendTitles() const;

    // Restores the full view of all points (the double click).
    void resetView();
    // Applies pending range changes now; the next replot does so as well.
    void updateRanges();
    // Asks for a replot at the next return to the event loop.
    void requestReplot();

    // Called by the series when their points or their shown state change.
    void seriesChanged();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class ChartLabelTicker;
    void takeWidgetFont();
    const ChartSeries* labelSource() const;
    void prepareReplot();
    void rebuildLegend();
    void fitLegend();

    std::vector<std::unique_ptr<ChartSeries>> series_;
    QSharedPointer<ChartLabelTicker> ticker_;
    ChartWalls* walls_ = nullptr;
    QCPLayoutGrid* legendRow_ = nullptr;
    bool view3D_ = false;
    int depthPercent_ = 8;
    bool automatic_ = true;
    bool zeroMinimum_ = false;
    double fixedMaximum_ = 1;
    bool rotated_ = false;
    bool rangesDirty_ = true;
    bool legendDirty_ = true;
    bool legendRowsChanged_ = false;
    bool replotPending_ = true;
    QSize laidOutSize_;
};

// Bottom-axis ticks at the points' x values, labelled with the points' labels, as many as
// fit beside one another without overlapping.
class ChartLabelTicker : public QCPAxisTicker {
public:
    explicit ChartLabelTicker(ChartView* chart) : chart_(chart) {}

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) override;
    // The step between labelled points for `perKey` pixels between neighbouring x values
    // and `extent` pixels that one label needs along the axis.
    static int stepFor(double perKey, double extent);

private:
    ChartView* chart_;
};

}  // namespace quomble
