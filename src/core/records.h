#pragma once

#include "core/fixed_text.h"

#include <array>
#include <cstdint>

namespace quomble {

using Timestamp = FixedText<19>;  // "dd.mm.yyyy hh:mm:ss"

// One boot (one log line), or one of the summary records behind the boots.
// Field order follows the log data layout; the 8-bit parts interleave on and off.
struct BootRecord {
    Timestamp LogIn;
    Timestamp LogOut;
    std::uint8_t OnHours = 0;
    std::uint8_t OffHours = 0;
    std::uint8_t OnMinutes = 0;
    std::uint8_t OffMinutes = 0;
    std::uint8_t OnSeconds = 0;
    std::uint8_t OffSeconds = 0;
    std::int32_t OnDays = 0;
    std::int32_t OffDays = 0;
    std::int32_t OnTime = 0;   // seconds
    std::int32_t OffTime = 0;  // seconds
};

// Positions of the summary records behind boot N: index N + Summary.
enum Summary : int {
    StatMin = 1,
    StatMax,
    StatSum,
    StatAvg,
    StatMinBase,
    StatSpan,
    StatSinceCrash,
    StatCrashFreeAvg,
    StatDayAvg,
    StatCrashFreeRun,
    StatCrashFreeMax,
};
inline constexpr int kSummaryCount = 11;

// The shortest on-time and off-time start from the largest value, so that every real
// duration wins; one that still holds it after the reader means that no boot had one.
inline constexpr std::int32_t kShortestStart = INT32_MAX;

// One calendar day.
struct DayRecord {
    std::int32_t Boots = 0;
    std::int32_t Crashs = 0;
    std::int32_t OnTime = 0;       // seconds, at most 86400 for the listed days
    std::int32_t OnTimeTrend = 0;  // seconds
    float BootTrend = 0;
    float CrashTrend = 0;
    float BootFrequency = 0;
    float CrashFrequency = 0;
    float BootFrequencyTrend = 0;
    float CrashFrequencyTrend = 0;
    FixedText<10> Date;    // "dd.mm.yyyy"
    FixedText<2> Weekday;  // "Mo" .. "Su"
};

struct WeekdayRecord {
    std::int32_t Boots = 0;
    std::int32_t Crashs = 0;
    FixedText<11> Name;
};

inline constexpr int MinutesPerDay = 1440;
inline constexpr int kMinutePoints = MinutesPerDay + 1;

struct MinutePoint {
    std::int32_t Value = 0;
    FixedText<5> TimeText;
};

using MinuteTable = std::array<MinutePoint, kMinutePoints>;

}  // namespace quomble
