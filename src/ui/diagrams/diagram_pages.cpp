#include "ui/diagrams/diagram_pages.h"

#include "ui/components/chart_ticks.h"
#include "ui/components/chartview.h"
#include "ui/components/palette.h"
#include "ui/components/scheme_widgets.h"
#include "ui/components/texts.h"

#include <QVBoxLayout>

namespace quomble {

namespace {

// The per-day series in the order they are filled, with the figure each shows.
struct DaySeries {
    ChartSeries* DiagramPagesControls::*series;
    DayFigure figure;
    bool trend;
};
using P = DiagramPagesControls;
constexpr DaySeries kDaySeries[] = {
    {&P::Series1, DayFigure::Boots, false},
    {&P::Series2, DayFigure::Crashs, false},
    {&P::Series5, DayFigure::OnTimeHours, false},
    {&P::Series13, DayFigure::BootTrend, true},
    {&P::Series14, DayFigure::CrashTrend, true},
    {&P::Series3, DayFigure::OnTimeTrendHours, true},
    {&P::Series9, DayFigure::BootFrequency, false},
    {&P::Series10, DayFigure::CrashFrequency, false},
    {&P::Series15, DayFigure::BootFrequencyTrend, true},
    {&P::Series16, DayFigure::CrashFrequencyTrend, true},
};

// The series of each chart in drawing and legend order: the control name, the chart, the
// kind, the legend title and the colour.
struct SeriesRow {
    ChartSeries* DiagramPagesControls::*series;
    const char* name;
    ChartView* DiagramPagesControls::*chart;
    SeriesKind kind;
    const char* title;
    QColor colour;
};
// clang-format off
const SeriesRow kSeriesRows[] = {
    {QUOMBLE_CONTROL(P, Series1), &P::Chart1, SeriesKind::Bar, "Boots", palette::Lime},
    {QUOMBLE_CONTROL(P, Series13), &P::Chart1, SeriesKind::Line, "BootTrend", palette::Green},
    {QUOMBLE_CONTROL(P, Series2), &P::Chart1, SeriesKind::Bar, "Crashs", palette::Red},
    {QUOMBLE_CONTROL(P, Series14), &P::Chart1, SeriesKind::Line, "CrashTrend", palette::CrashTrend},
    {QUOMBLE_CONTROL(P, Series9), &P::Chart6, SeriesKind::Bar, "Bootfrequency", palette::Lime},
    {QUOMBLE_CONTROL(P, Series15), &P::Chart6, SeriesKind::Line, "BootfrequencyTrend", palette::Green},
    {QUOMBLE_CONTROL(P, Series10), &P::Chart6, SeriesKind::Bar, "Crashfrequency", palette::Red},
    {QUOMBLE_CONTROL(P, Series16), &P::Chart6, SeriesKind::Line, "CrashfrequenyTrend", palette::CrashTrend},
    {QUOMBLE_CONTROL(P, Series5), &P::Chart3, SeriesKind::Bar, "OnTime per day", palette::Lime},
    {QUOMBLE_CONTROL(P, Series3), &P::Chart3, SeriesKind::Line, "Trend", palette::Green},
    {QUOMBLE_CONTROL(P, Series7), &P::Chart4, SeriesKind::Area, "OnTime per daytime", palette::Lime},
    {QUOMBLE_CONTROL(P, Series6), &P::Chart5, SeriesKind::FastLine, "Boots", palette::Green},
    {QUOMBLE_CONTROL(P, Series11), &P::Chart5, SeriesKind::FastLine, "Shutdowns", palette::Blue},
    {QUOMBLE_CONTROL(P, Series12), &P::Chart5, SeriesKind::FastLine, "Crashs", palette::Red},
    {QUOMBLE_CONTROL(P, Series4), &P::Chart2, SeriesKind::Bar, "Boots", palette::Lime},
    {QUOMBLE_CONTROL(P, Series8), &P::Chart2, SeriesKind::Bar, "Crashs", palette::Red},
};
// clang-format on

}  // namespace

DiagramPages::DiagramPages(QWidget* parent) : QTabWidget(parent)
{
    highlightTabsUnderMouse(this);

    for (const DiagramPageRow& row : kDiagramPageRows) {
        auto* tab = new QWidget;
        tab->setObjectName(QLatin1String(row.sheetName));
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* view = new ChartView(tab);
        view->setObjectName(QLatin1String(row.chartName));
        // The chart's title is the caption of its tab; its description tells what it shows.
        view->setAccessibleName(
            QString(QLatin1String(row.caption)).replace(QStringLiteral("&&"), QStringLiteral("&")));
        layout->addWidget(view);
        addTab(tab, QLatin1String(row.caption));
        this->*row.sheet = tab;
        this->*row.chart = view;
    }

    for (const SeriesRow& row : kSeriesRows)
        this->*row.series =
            (this->*row.chart)
                ->addSeries(row.kind, QLatin1String(row.title), row.colour, QLatin1String(row.name));

    for (ChartView* chart : {Chart1, Chart6, Chart3, Chart2}) {
        chart->setDepthPercent(8);
        chart->setView3D(true);
    }
    for (ChartView* chart : {Chart1, Chart6, Chart3, Chart4, Chart5})
        chart->setLabelsRotated(true);
    Chart3->setValueAxisFixed(24);
    Chart4->setValueAxisAutomatic(true);
    Chart5->setValueAxisAutomatic(true);
    Chart2->setValueAxisAutomatic(false);
    // Counts of boots, crashes and minutes have no halves.
    for (ChartView* chart : {Chart1, Chart2, Chart4, Chart5})
        chart->yAxis->setTicker(QSharedPointer<WholeNumberTicker>::create(chart->yAxis));
}

void DiagramPages::fillDays(const LogModel& model, DaySlot slot, const QStringList& labels, bool trendsOnly)
{
    if (slot.count < 1)
        return;
    for (const DaySeries& s : kDaySeries) {
        if (trendsOnly && !s.trend)
            continue;
        QVector<QCPGraphData> points;
        points.reserve(slot.count);
        for (double y : dayValues(model, slot, s.figure))
            points.append({double(points.size()), y});
        (this->*s.series)->append(points, labels);
    }
}

void DiagramPages::clearDays(bool trendsOnly)
{
    for (const DaySeries& s : kDaySeries)
        if (!trendsOnly || s.trend)
            (this->*s.series)->clear();
}

void DiagramPages::fillWeekdays(const LogModel& model)
{
    for (int k = 1; k <= 7; ++k) {
        const WeekdayRecord& w = model.WeekdayTable[static_cast<std::size_t>(k - 1)];
        const QString name = textOf(w.Name);
        Series4->add(k, w.Boots, name);
        Series8->add(k, w.Crashs, name);
    }
}

void DiagramPages::appendMinutes(ChartSeries* series, const MinuteTable& values, const MinuteTable& labels)
{
    QVector<QCPGraphData> points;
    QStringList texts;
    points.reserve(kMinutePoints);
    texts.reserve(kMinutePoints);
    for (int m = 0; m <= MinutesPerDay; ++m) {
        points.append({double(m), double(values[static_cast<std::size_t>(m)].Value)});
        texts.append(textOf(labels[static_cast<std::size_t>(m)].TimeText));
    }
    series->append(points, texts);
}

void DiagramPages::setView3D(bool on)
{
    for (ChartView* chart : {Chart1, Chart2, Chart3, Chart6})
        chart->setView3D(on);
}

void DiagramPages::setLegendColor(const QColor& colour)
{
    for (ChartView* chart : {Chart1, Chart2, Chart3, Chart4, Chart5, Chart6})
        chart->setLegendColor(colour);
}

}  // namespace quomble
