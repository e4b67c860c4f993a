#pragma once

#include "core/model.h"

#include <vector>

namespace quomble {

// The points the diagrams draw, taken from the day list and the minute tables. Widget-free:
// the windows only convert them into their chart series.

// The per-day figures, one series each.
enum class DayFigure {
    Boots,
    Crashs,
    OnTimeHours,
    OnTimeTrendHours,
    BootTrend,
    CrashTrend,
    BootFrequency,
    CrashFrequency,
    BootFrequencyTrend,
    CrashFrequencyTrend,
};

// The days a time slot shows: `count` days from day `first` (count 0: none).
struct DaySlot {
    int first = 1;
    int count = 0;
};

// The slot of `slotDays` days from `slotStart` (at least day 1), never reaching past the
// last day.
DaySlot daySlot(int slotStart, int slotDays, int dayCount);

// The values of one figure for the days of a slot; point i lies at x = i.
std::vector<double> dayValues(const LogModel& model, DaySlot slot, DayFigure figure);

// The minute shown at position m (0..1440) of the daytime axis turned by `hours`: one
// correction each way, by 1440 and not 1441, so that one entry may show twice.
int rotatedMinute(int m, int hours);

// The table as the turned daytime axis shows it: position m holds the entry
// rotatedMinute(m, hours), value and clock text.
MinuteTable turnedTable(const MinuteTable& table, int hours);

// One step (+1 or -1 hour) of the rotation; a whole day turns back to 0.
int rotationStep(int hours, int step);

}  // namespace quomble
