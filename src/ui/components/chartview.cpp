#include "ui/components/chartview.h"

#include "ui/components/chart3d.h"
#include "ui/components/chart_accessible.h"
#include "ui/components/keyboard.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>

namespace quomble {

// --- ChartSeries ---------------------------------------------------------------------------

ChartSeries::ChartSeries(ChartView* chart, SeriesKind kind, const QString& title, const QColor& color,
                         const QString& name)
    : chart_(chart), kind_(kind), title_(title), name_(name), color_(color),
      data_(QSharedPointer<QCPGraphDataContainer>::create())
{
    if (kind == SeriesKind::Bar) {
        auto* bars = new ChartBars(chart->xAxis, chart->yAxis);
        bars->setColor(color);
        bars->setData(data_);
        plottable_ = bars;
    } else {
        // Lines lie in front of the bars, on a layer of their own.
        QCPGraph* graph = kind == SeriesKind::Line ? new ChartLine(chart->xAxis, chart->yAxis)
                                                   : new QCPGraph(chart->xAxis, chart->yAxis);
        if (kind == SeriesKind::Line)
            graph->setLayer(QStringLiteral("lines"));
        graph->setData(data_);
        graph->setScatterStyle(QCPScatterStyle::ssNone);
        graph->setAntialiased(false);
        switch (kind) {
        case SeriesKind::Line:
            graph->setPen(QPen(color, 2));
            graph->setLineStyle(QCPGraph::lsLine);
            break;
        case SeriesKind::Area:
            graph->setPen(QPen(color, 1));
            graph->setBrush(color);
            graph->setLineStyle(QCPGraph::lsStepLeft);
            break;
        case SeriesKind::FastLine:
        case SeriesKind::Bar:
            graph->setPen(QPen(color, 1));
            graph->setLineStyle(QCPGraph::lsLine);
            break;
        }
        plottable_ = graph;
    }
    plottable_->setName(title);
    plottable_->setSelectable(QCP::stNone);
    plottable_->removeFromLegend();
}

void ChartSeries::setActive(bool active)
{
    if (active_ == active)
        return;
    active_ = active;
    plottable_->setVisible(active);
    chart_->seriesChanged();
}

void ChartSeries::setStepped(bool stepped)
{
    stepped_ = stepped;
    if (kind_ == SeriesKind::Area)
        static_cast<QCPGraph*>(plottable_)->setLineStyle(stepped ? QCPGraph::lsStepLeft : QCPGraph::lsLine);
    chart_->requestReplot();
}

void ChartSeries::clear()
{
    if (data_->isEmpty() && labels_.isEmpty())
        return;
    data_->clear();
    labels_.clear();
    chart_->seriesChanged();
}

void ChartSeries::add(double x, double y, const QString& label)
{
    data_->add(QCPGraphData(x, y));
    labels_.append(label);
    chart_->seriesChanged();
}

void ChartSeries::append(const QVector<QCPGraphData>& points, const QStringList& labels)
{
    data_->add(points, true);
    labels_.append(labels);
    chart_->seriesChanged();
}

QString ChartSeries::labelAt(double x) const
{
    auto it = std::lower_bound(data_->constBegin(), data_->constEnd(), x,
                               [](const QCPGraphData& p, double key) { return p.key < key; });
    if (it == data_->constEnd() || it->key != x)
        return QString();
    const auto index = it - data_->constBegin();
    return index < labels_.size() ? labels_[index] : QString();
}

// --- ChartLabelTicker ----------------------------------------------------------------------

int ChartLabelTicker::stepFor(double perKey, double extent)
{
    if (!(perKey > 0))
        return 1;
    const double need = extent / perKey;
    static constexpr int kSteps[] = {1, 2, 5, 10, 15, 20, 30, 60, 120, 180, 360, 720, 1440};
    for (int s : kSteps)
        if (s >= need)
            return s;
    for (double scale = 1000; scale < 1e8; scale *= 10)
        for (double m : {2.0, 5.0, 10.0})
            if (m * scale >= need)
                return static_cast<int>(m * scale);
    return 1000000000;
}

void ChartLabelTicker::generate(const QCPRange& range, const QLocale&, QChar, int, QVector<double>& ticks,
                                QVector<double>* subTicks, QVector<QString>* tickLabels)
{
    ticks.clear();
    if (subTicks)
        subTicks->clear();
    if (tickLabels)
        tickLabels->clear();
    const ChartSeries* source = chart_->labelSource();
    if (!source || range.size() <= 0)
        return;
    QCPAxis* axis = chart_->xAxis;
    const double width = std::max(1, axis->axisRect()->width());
    const QFontMetrics metrics(axis->tickLabelFont());
    double extent = metrics.height() + 2;
    if (!chart_->labelsRotated()) {
        const QStringList& labels = source->labels();
        int widest = 0;
        const int sample = std::min<int>(static_cast<int>(labels.size()), 64);
        for (int i = 0; i < sample; ++i)
            widest = std::max(widest, metrics.horizontalAdvance(labels[i]));
        extent = widest + 6;  // a small gap between neighbouring labels
    }
    const int step = stepFor(width / range.size(), extent);
    const double first = source->xValue(0);
    const double last = source->xValue(source->count() - 1);
    const double lower = std::max(range.lower, first);
    const double upper = std::min(range.upper, last);
    if (lower > upper)
        return;
    // Ticks at the points' own x values, counted from the first point.
    const double start = first + std::ceil((lower - first) / step - 1e-9) * step;
    for (double t = start; t <= upper + 1e-9; t += step) {
        ticks.append(t);
        if (tickLabels)
            tickLabels->append(source->labelAt(t));
    }
}

// --- ChartView -----------------------------------------------------------------------------

ChartView::ChartView(QWidget* parent) : QCustomPlot(parent)
{
    installChartAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setBackground(Qt::white);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setNoAntialiasingOnDrag(true);

    ticker_ = QSharedPointer<ChartLabelTicker>::create(this);
    xAxis->setTicker(ticker_);
    xAxis->setSubTicks(false);
    // Ticks point outwards, away from the bars.
    for (QCPAxis* axis : {xAxis, yAxis}) {
        axis->setTickLengthIn(0);
        axis->setTickLengthOut(4);
        axis->setSubTickLengthIn(0);
        axis->setSubTickLengthOut(2);
    }
    xAxis->grid()->setVisible(false);
    yAxis->setRange(0, 1);

    // The trend lines in front of every bar, whatever the order of the series.
    addLayer(QStringLiteral("lines"), layer(QStringLiteral("main")), QCustomPlot::limAbove);
    // A layer for the walls of the 3D look, below the grid.
    addLayer(QStringLiteral("walls"), layer(QStringLiteral("grid")), QCustomPlot::limBelow);
    walls_ = new ChartWalls(this, axisRect(), QStringLiteral("walls"));

    // The legend in a row of its own above the plot, centred between two empty cells.
    axisRect()->insetLayout()->take(legend);
    legend->setVisible(true);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setWrap(0);
    legend->setBorderPen(QPen(Qt::black, 0));
    legend->setSelectableParts(QCPLegend::spNone);
    legend->setMargins(QMargins(4, 2, 4, 2));
    legendRow_ = new QCPLayoutGrid;
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, legendRow_);
    legendRow_->addElement(0, 0, new QCPLayoutElement(this));
    legendRow_->addElement(0, 1, legend);
    legendRow_->addElement(0, 2, new QCPLayoutElement(this));
    legendRow_->setColumnStretchFactors({1.0, 0.001, 1.0});
    legendRow_->setMargins(QMargins(0, 4, 0, 0));
    plotLayout()->setRowStretchFactor(0, 0.001);
    plotLayout()->setRowSpacing(2);

    connect(this, &QCustomPlot::beforeReplot, this, &ChartView::prepareReplot);
    takeWidgetFont();
}

ChartView::~ChartView() = default;

ChartSeries* ChartView::addSeries(SeriesKind kind, const QString& title, const QColor& color,
                                  const QString& objectName)
{
    series_.push_back(std::make_unique<ChartSeries>(this, kind, title, color, objectName));
    legendDirty_ = true;
    rangesDirty_ = true;
    return series_.back().get();
}

ChartSeries* ChartView::series(const QString& objectName) const
{
    for (const auto& s : series_)
        if (s->objectName() == objectName)
            return s.get();
    return nullptr;
}

void ChartView::setView3D(bool on)
{
    view3D_ = on;
    requestReplot();
}

void ChartView::setDepthPercent(int percent)
{
    depthPercent_ = std::max(0, percent);
    requestReplot();
}

int ChartView::depthPixels() const
{
    return view3D_ ? chartDepthPixels(axisRect()->rect(), depthPercent_) : 0;
}

void ChartView::setValueAxisFixed(double maximum)
{
    automatic_ = false;
    fixedMaximum_ = maximum;
    rangesDirty_ = true;
    requestReplot();
}

void ChartView::setValueAxisAutomatic(bool zeroMinimum)
{
    automatic_ = true;
    zeroMinimum_ = zeroMinimum;
    rangesDirty_ = true;
    requestReplot();
}

QCPRange ChartView::valueRange()
{
    if (rangesDirty_)
        updateRanges();
    return yAxis->range();
}

QCPRange ChartView::keyRange()
{
    if (rangesDirty_)
        updateRanges();
    return xAxis->range();
}

void ChartView::setLabelsRotated(bool rotated)
{
    rotated_ = rotated;
    // Turned counter-clockwise: read from the bottom up.
    xAxis->setTickLabelRotation(rotated ? -90 : 0);
    requestReplot();
}

QStringList ChartView::shownLabels() const
{
    QStringList out;
    for (const QString& s : xAxis->tickVectorLabels())
        out << s;
    return out;
}

void ChartView::setLegendColor(const QColor& color)
{
    legend->setBrush(color);
    requestReplot();
}

QColor ChartView::legendColor() const { return legend->brush().color(); }

QStringList ChartView::legendTitles() const
{
    QStringList out;
    for (int i = 0; i < legend->itemCount(); ++i)
        if (auto* item = qobject_cast<QCPPlottableLegendItem*>(legend->item(i)))
            out << item->plottable()->name();
    return out;
}

void ChartView::resetView()
{
    rangesDirty_ = true;
    requestReplot();
}

void ChartView::requestReplot()
{
    // A chart on a page that is not shown is drawn when it is shown again.
    if (isVisible())
        replot(QCustomPlot::rpQueuedReplot);
    else
        replotPending_ = true;
}

void ChartView::showEvent(QShowEvent* event)
{
    QCustomPlot::showEvent(event);
    if (replotPending_) {
        replotPending_ = false;
        replot(QCustomPlot::rpRefreshHint);
    }
}

void ChartView::changeEvent(QEvent* event)
{
    QCustomPlot::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        takeWidgetFont();
}

// The plot copies a font once, when it is made, usually the desktop's; its texts take the
// font of the window they stand in instead, whenever that changes.
void ChartView::takeWidgetFont()
{
    for (QCPAxis* axis : axisRect()->axes()) {
        axis->setTickLabelFont(font());
        axis->setLabelFont(font());
    }
    legend->setFont(font());
    legendDirty_ = true;  // its items copy the legend's font when they are made
    requestReplot();
}

void ChartView::seriesChanged()
{
    rangesDirty_ = true;
    legendDirty_ = true;
    requestReplot();
}

const ChartSeries* ChartView::labelSource() const
{
    for (const auto& s : series_)
        if (s->count() > 0)
            return s.get();
    return nullptr;
}

void ChartView::updateRanges()
{
    rangesDirty_ = false;
    bool anyKeys = false;
    QCPRange keys(0, 1);
    bool anyValues = false;
    QCPRange values(0, 1);
    for (const auto& s : series_) {
        bool found = false;
        const QCPRange k = s->plottable()->getKeyRange(found);
        if (found) {
            keys = anyKeys ? QCPRange(std::min(keys.lower, k.lower), std::max(keys.upper, k.upper)) : k;
            anyKeys = true;
        }
        if (!s->isActive())
            continue;
        const QCPRange v = s->plottable()->getValueRange(found);
        if (found) {
            values =
                anyValues ? QCPRange(std::min(values.lower, v.lower), std::max(values.upper, v.upper)) : v;
            anyValues = true;
        }
    }
    if (keys.upper <= keys.lower)
        keys = QCPRange(keys.lower - 0.5, keys.lower + 0.5);
    xAxis->setRange(keys);

    QCPRange axis;
    if (!automatic_) {
        axis = QCPRange(0, fixedMaximum_);
    } else if (zeroMinimum_) {
        axis = QCPRange(0, anyValues ? values.upper : 1);
    } else {
        axis = anyValues ? values : QCPRange(0, 1);
    }
    if (!(axis.upper > axis.lower))
        axis.upper = axis.lower + 1;
    yAxis->setRange(axis);
}

void ChartView::rebuildLegend()
{
    legendDirty_ = false;
    legend->clearItems();
    for (const auto& s : series_)
        if (s->isActive())
            legend->addItem(new QCPPlottableLegendItem(legend, s->plottable()));
}

void ChartView::prepareReplot()
{
    if (legendDirty_)
        rebuildLegend();
    if (rangesDirty_)
        updateRanges();
    // Room for the deepest 3D look, so that the plot's size does not depend on the depth.
    const QMargins margins =
        view3D_ ? QMargins(0, kChartDepthMax + 2, kChartDepthMax + 4, 0) : QMargins(0, 4, 8, 0);
    const bool marginsChanged = axisRect()->minimumMargins() != margins;
    axisRect()->setMinimumMargins(margins);
    fitLegend();
    // The bottom axis chooses its labels by the axis' length before the layout of this replot
    // sets it; at a new size a first layout gives the length they are chosen for.
    if (viewport().size() != laidOutSize_ || marginsChanged || legendRowsChanged_) {
        laidOutSize_ = viewport().size();
        legendRowsChanged_ = false;
        updateLayout();
    }
    const int depth = fittingDepth();
    for (const auto& s : series_)
        if (s->kind() == SeriesKind::Bar)
            static_cast<ChartBars*>(s->plottable())->setDepth(depth);
    walls_->setDepth(depth);
    yAxis->grid()->setVisible(depth == 0);
    // Thick lines only where the points stand apart: a thick pen over thousands of points
    // costs the rasterizer far more than the thin one and shows no more.
    const double perKey = xAxis->range().size() > 0 ? axisRect()->width() / xAxis->range().size() : 0;
    for (const auto& s : series_) {
        if (s->kind() != SeriesKind::Line)
            continue;
        auto* line = static_cast<ChartLine*>(s->plottable());
        line->setPen(QPen(s->color(), perKey >= 4 ? 2 : 1));
        line->setHalo(depth > 0);  // over boxes of every shade
    }
}

int ChartView::fittingDepth() const
{
    // Every box as deep as the walls, and no box deeper than the gap beside it: where the
    // bars stand too close for that, the chart is drawn flat.
    double depth = depthPixels();
    for (const auto& s : series_)
        if (s->kind() == SeriesKind::Bar && s->isActive() && s->count() > 0)
            depth = std::min(depth, std::floor(static_cast<ChartBars*>(s->plottable())->gapPixels()));
    return depth >= kChartDepthMin ? static_cast<int>(depth) : 0;
}

void ChartView::fitLegend()
{
    // As many entries beside one another as fit across the chart; the rest wrap into
    // further rows, so every title is shown whole.
    std::vector<int> widths;
    for (int i = 0; i < legend->itemCount(); ++i)
        if (const QCPAbstractLegendItem* item = legend->item(i))  // wrapped rows leave empty cells
            widths.push_back(item->minimumOuterSizeHint().width());
    const int count = static_cast<int>(widths.size());
    if (count == 0)
        return;
    const QMargins outer = legend->margins();
    const int room = viewport().width() - 8 - outer.left() - outer.right();
    int columns = count;
    for (; columns > 1; --columns) {
        int total = legend->columnSpacing() * (columns - 1);
        for (int c = 0; c < columns; ++c) {
            int widest = 0;
            for (int i = c; i < count; i += columns)
                widest = std::max(widest, widths[static_cast<std::size_t>(i)]);
            total += widest;
        }
        if (total <= room)
            break;
    }
    // The same number of rows with the entries spread evenly over them.
    const int rows = (count + columns - 1) / columns;
    columns = (count + rows - 1) / rows;
    if (legend->wrap() != columns || legend->columnCount() != columns) {
        legend->setWrap(columns);
        legend->setFillOrder(QCPLayoutGrid::foColumnsFirst, true);
        legendRowsChanged_ = true;
    }
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QCustomPlot::mouseDoubleClickEvent(event);
    resetView();
}

void ChartView::keyPressEvent(QKeyEvent* event)
{
    // The keys of the mouse's pan and zoom: a tenth of the shown range, or half or twice it.
    const QCPRange shown = xAxis->range();
    const bool plain = (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
    switch (plain ? event->key() : 0) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        xAxis->moveRange((event->key() == Qt::Key_Left ? -0.1 : 0.1) * shown.size());
        break;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        xAxis->scaleRange(event->key() == Qt::Key_Plus ? 0.5 : 2.0, shown.center());
        break;
    case Qt::Key_Home:
        resetView();
        return;
    default:
        QCustomPlot::keyPressEvent(event);
        return;
    }
    replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::paintEvent(QPaintEvent* event)
{
    QCustomPlot::paintEvent(event);
    drawFocusFrame(this);
}

void ChartView::contextMenuEvent(QContextMenuEvent* event)
{
    // The plot keeps every mouse event from its parents, so the request is passed on here.
    QWidget* parent = parentWidget();
    if (!parent) {
        event->ignore();
        return;
    }
    QContextMenuEvent passed(event->reason(), mapToParent(event->pos()), event->globalPos(),
                             event->modifiers());
    QApplication::sendEvent(parent, &passed);
    event->setAccepted(passed.isAccepted());
}

}  // namespace quomble
