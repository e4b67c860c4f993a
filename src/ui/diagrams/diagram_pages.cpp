#include "ui/diagrams/diagram_pages.h"

#include "ui/components/chartview.h"
#include "ui/components/palette.h"
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

}  // namespace

DiagramPages::DiagramPages(QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl1"));
    tabBar()->setAttribute(Qt::WA_Hover);

    auto page = [this](const char* sheet, const char* caption, const char* chart, ChartView*& view) {
        auto* tab = new QWidget;
        tab->setObjectName(QLatin1String(sheet));
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(0, 0, 0, 0);
        view = new ChartView(tab);
        view->setObjectName(QLatin1String(chart));
        layout->addWidget(view);
        addTab(tab, QLatin1String(caption));
        return tab;
    };
    TabSheet1 = page("TabSheet1", "Boots && Crashs per day", "Chart1", Chart1);
    TabSheet6 = page("TabSheet6", "Boot- && Crashfrequency", "Chart6", Chart6);
    TabSheet3 = page("TabSheet3", "OnTime per day", "Chart3", Chart3);
    TabSheet4 = page("TabSheet4", "OnTime per daytime", "Chart4", Chart4);
    TabSheet5 = page("TabSheet5", "Boots && Shutdowns && Crashs per daytime", "Chart5", Chart5);
    TabSheet2 = page("TabSheet2", "Boots && Crashs per day of week", "Chart2", Chart2);

    // In drawing and legend order.
    auto add = [](ChartView* chart, SeriesKind kind, const char* title, const QColor& colour,
                  const char* name) {
        return chart->addSeries(kind, QLatin1String(title), colour, QLatin1String(name));
    };
    using K = SeriesKind;
    Series1 = add(Chart1, K::Bar, "Boots", palette::Lime, "Series1");
    Series13 = add(Chart1, K::Line, "BootTrend", palette::Green, "Series13");
    Series2 = add(Chart1, K::Bar, "Crashs", palette::Red, "Series2");
    Series14 = add(Chart1, K::Line, "CrashTrend", palette::CrashTrend, "Series14");
    Series9 = add(Chart6, K::Bar, "Bootfrequency", palette::Lime, "Series9");
    Series15 = add(Chart6, K::Line, "BootfrequencyTrend", palette::Green, "Series15");
    Series10 = add(Chart6, K::Bar, "Crashfrequency", palette::Red, "Series10");
    Series16 = add(Chart6, K::Line, "CrashfrequenyTrend", palette::CrashTrend, "Series16");
    Series5 = add(Chart3, K::Bar, "OnTime per day", palette::Lime, "Series5");
    Series3 = add(Chart3, K::Line, "Trend", palette::Green, "Series3");
    Series7 = add(Chart4, K::Area, "OnTime per daytime", palette::Lime, "Series7");
    Series6 = add(Chart5, K::FastLine, "Boots", palette::Green, "Series6");
    Series11 = add(Chart5, K::FastLine, "Shutdowns", palette::Blue, "Series11");
    Series12 = add(Chart5, K::FastLine, "Crashs", palette::Red, "Series12");
    Series4 = add(Chart2, K::Bar, "Boots", palette::Lime, "Series4");
    Series8 = add(Chart2, K::Bar, "Crashs", palette::Red, "Series8");

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

ChartSeries* DiagramPages::series(const char* name) const
{
    for (ChartView* chart : {Chart1, Chart2, Chart3, Chart4, Chart5, Chart6})
        if (ChartSeries* s = chart->series(QLatin1String(name)))
            return s;
    return nullptr;
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
