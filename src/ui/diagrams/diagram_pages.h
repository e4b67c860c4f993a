#pragma once

#include "core/series_points.h"

#include <QStringList>
#include <QTabWidget>

namespace quomble {

class ChartSeries;
class ChartView;

// The tab pages of the diagrams window with their charts and series, by control names.
struct DiagramPagesControls {
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    ChartView* Chart1 = nullptr;
    ChartView* Chart2 = nullptr;
    ChartView* Chart3 = nullptr;
    ChartView* Chart4 = nullptr;
    ChartView* Chart5 = nullptr;
    ChartView* Chart6 = nullptr;
    ChartSeries* Series1 = nullptr;
    ChartSeries* Series2 = nullptr;
    ChartSeries* Series3 = nullptr;
    ChartSeries* Series4 = nullptr;
    ChartSeries* Series5 = nullptr;
    ChartSeries* Series6 = nullptr;
    ChartSeries* Series7 = nullptr;
    ChartSeries* Series8 = nullptr;
    ChartSeries* Series9 = nullptr;
    ChartSeries* Series10 = nullptr;
    ChartSeries* Series11 = nullptr;
    ChartSeries* Series12 = nullptr;
    ChartSeries* Series13 = nullptr;
    ChartSeries* Series14 = nullptr;
    ChartSeries* Series15 = nullptr;
    ChartSeries* Series16 = nullptr;
};

// The six tab pages (PageControl1) and their charts. Turns the core's points into the
// charts' series; decides nothing about which points to show.
class DiagramPages : public QTabWidget, public DiagramPagesControls {
    Q_OBJECT
public:
    explicit DiagramPages(QWidget* parent);

    // The ten per-day series (or only the five trends) over the days of a slot, labelled with
    // the slot's day labels.
    void fillDays(const LogModel& model, DaySlot slot, const QStringList& labels, bool trendsOnly);
    void clearDays(bool trendsOnly);
    // Boots and crashes per day of the week.
    void fillWeekdays(const LogModel& model);
    // Appends a minute table's values at x = 0..1440, labelled with the clock texts of `labels`.
    static void appendMinutes(ChartSeries* series, const MinuteTable& values, const MinuteTable& labels);

    ChartSeries* series(const char* name) const;
    // The 3D look of the four charts that have one.
    void setView3D(bool on);
    void setLegendColor(const QColor& colour);
};

}  // namespace quomble
