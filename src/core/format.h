#pragma once

#include <cstdint>
#include <string>

namespace quomble {

// Small text helpers shared by the windows and the report tool.

// A ratio in fixed-point notation with exactly 3 decimals after rounding to 4 significant
// digits: 2.3456 gives "2.346", 12.3456 gives "12.350".
std::string ratioText(double value, char decimalSeparator = '.');

// A split duration as the log data window shows it: "2 / 05:03:07".
std::string durationText(std::int32_t days, int hours, int minutes, int seconds);
// durationText appended to `out`, without a string of its own (the large tables).
void appendDurationText(std::string& out, std::int32_t days, int hours, int minutes, int seconds);
// The decimal digits of `value`, with a '-' when it is negative.
void appendNumber(std::string& out, long long value);

// Seconds as a clock text with unreduced hours: 86400 gives "24:00:00".
std::string clockText(std::int64_t seconds);

// A split duration as "days, h:mm:ss", e.g. "1 day, 2:03:04" or "0 days, 0:00:59".
std::string daysClockText(std::int32_t days, int hours, int minutes, int seconds);

}  // namespace quomble
