#pragma once

#include <cstdint>
#include <string_view>

namespace quomble {

class LogModel;

// Builds the day list of a model whose boot list has been read and refreshed: one record
// per calendar day from the date of boot 1 to today (plus the record for tomorrow), with
// the boots begun on each day, the crashes noticed on it and its on-time. Sets DayCount.
//
// Out-of-order logs: a boot dated before the day the assignment has reached, or after the
// last listed day, is skipped (it counts on no day, nor does its crash); the boots after
// it are still assigned. A crash whose next boot lies on no listed day at or after the
// crashed boot's day is counted on no day.
//
// DayCount is the whole days from the first boot's date to today's, computed with the
// 32-bit dt_delta: a log reaching back more than 68 years therefore lists only its first
// 24856 days, and a first boot dated after tomorrow gives DayCount 0 (placeholder and
// one extra record only).
void buildDayList(LogModel& model);

// Minute of the day 0..1439 of a "dd.mm.yyyy hh:mm:ss" text (seconds ignored), or -1 when
// the hour and minute positions do not hold a time of day.
int minuteOfDay(std::string_view timestamp);

}  // namespace quomble
