#include "core/series_points.h"

#include <algorithm>

namespace quomble {

DaySlot daySlot(int slotStart, int slotDays, int dayCount)
{
    const int first = std::max(1, slotStart);
    return {first, std::max(0, std::min(slotDays, dayCount - first + 1))};
}

namespace {

double figureOf(const DayRecord& d, DayFigure figure)
{
    switch (figure) {
    case DayFigure::Boots:
        return d.Boots;
    case DayFigure::Crashs:
        return d.Crashs;
    case DayFigure::OnTimeHours:
        return d.OnTime / 3600.0;
    case DayFigure::OnTimeTrendHours:
        return d.OnTimeTrend / 3600.0;
    case DayFigure::BootTrend:
        return d.BootTrend;
    case DayFigure::CrashTrend:
        return d.CrashTrend;
    case DayFigure::BootFrequency:
        return d.BootFrequency;
    case DayFigure::CrashFrequency:
        return d.CrashFrequency;
    case DayFigure::BootFrequencyTrend:
        return d.BootFrequencyTrend;
    case DayFigure::CrashFrequencyTrend:
        return d.CrashFrequencyTrend;
    }
    return 0;
}

}  // namespace

std::vector<double> dayValues(const LogModel& model, DaySlot slot, DayFigure figure)
{
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(std::max(slot.count, 0)));
    for (int i = 0; i < slot.count; ++i)
        values.push_back(figureOf(model.day(slot.first + i), figure));
    return values;
}

int rotatedMinute(int m, int hours)
{
    int p = m - 60 * hours;
    if (p < 0)
        p += MinutesPerDay;
    if (p > MinutesPerDay)
        p -= MinutesPerDay;
    return p;
}

MinuteTable turnedTable(const MinuteTable& table, int hours)
{
    MinuteTable turned;
    for (int m = 0; m <= MinutesPerDay; ++m)
        turned[static_cast<std::size_t>(m)] = table[static_cast<std::size_t>(rotatedMinute(m, hours))];
    return turned;
}

int rotationStep(int hours, int step)
{
    const int turned = hours + step;
    return turned == MinutesPerDay / 60 || turned == -(MinutesPerDay / 60) ? 0 : turned;
}

}  // namespace quomble
