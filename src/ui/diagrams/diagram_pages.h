#pragma once

#include "core/series_points.h"
#include "core/settings.h"
#include "ui/components/control_name.h"
#include "ui/diagrams/control_panel.h"

#include <QStringList>
#include <QTabWidget>

#include <array>

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

// The tab pages in their order in PageControl1; the stored page index is a place here.
enum class DiagramPage { PerDay, Frequency, OnTimePerDay, OnTimePerDaytime, PerDaytime, PerWeekday };

// One tab page: its sheet and its chart with their control names, its tab caption and the
// rows of the control panel it shows.
struct DiagramPageRow {
    DiagramPage page;
    QWidget* DiagramPagesControls::*sheet;
    const char* sheetName;
    ChartView* DiagramPagesControls::*chart;
    const char* chartName;
    const char* caption;
    ControlPanel::Rows panelRows;
};

// clang-format off
inline constexpr std::array<DiagramPageRow, kDiagramsPageCount> kDiagramPageRows{{
    {DiagramPage::PerDay, QUOMBLE_CONTROL(DiagramPagesControls, TabSheet1), QUOMBLE_CONTROL(DiagramPagesControls, Chart1), "Boots && Crashs per day", ControlPanel::Rows::TimeSlot},
    {DiagramPage::Frequency, QUOMBLE_CONTROL(DiagramPagesControls, TabSheet6), QUOMBLE_CONTROL(DiagramPagesControls, Chart6), "Boot- && Crashfrequency", ControlPanel::Rows::TimeSlot},
    {DiagramPage::OnTimePerDay, QUOMBLE_CONTROL(DiagramPagesControls, TabSheet3), QUOMBLE_CONTROL(DiagramPagesControls, Chart3), "OnTime per day", ControlPanel::Rows::TimeSlot},
    {DiagramPage::OnTimePerDaytime, QUOMBLE_CONTROL(DiagramPagesControls, TabSheet4), QUOMBLE_CONTROL(DiagramPagesControls, Chart4), "OnTime per daytime", ControlPanel::Rows::Rotation},
    {DiagramPage::PerDaytime, QUOMBLE_CONTROL(DiagramPagesControls, TabSheet5), QUOMBLE_CONTROL(DiagramPagesControls, Chart5), "Boots && Shutdowns && Crashs per daytime", ControlPanel::Rows::SmoothingAndRotation},
    {DiagramPage::PerWeekday, QUOMBLE_CONTROL(DiagramPagesControls, TabSheet2), QUOMBLE_CONTROL(DiagramPagesControls, Chart2), "Boots && Crashs per day of week", ControlPanel::Rows::None},
}};
// clang-format on
inline constexpr bool diagramPagesInOrder()
{
    for (std::size_t i = 0; i < kDiagramPageRows.size(); ++i)
        if (kDiagramPageRows[i].page != static_cast<DiagramPage>(i))
            return false;
    return true;
}
static_assert(diagramPagesInOrder(), "kDiagramPageRows must follow the order of DiagramPage");

// A page's bit in a set of pages.
constexpr unsigned pageBit(DiagramPage page) { return 1u << static_cast<unsigned>(page); }

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

    // The 3D look of the four charts that have one.
    void setView3D(bool on);
    void setLegendColor(const QColor& colour);
};

}  // namespace quomble
