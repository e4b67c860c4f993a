#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace quomble {

// A ratio as the totals panel shows it (3 decimals after rounding to 4 significant
// digits) with the given decimal separator.
QString ratioTextWith(double value, const QString& decimalPoint);
// The same with the decimal separator of the system's number settings.
QString systemRatioText(double value);

// The four cells of a duration row: days, hours, minutes, seconds as plain numbers; a
// negative duration (a clock set back before the running boot, a log out of order) shows
// "-" in all four.
std::array<QString, 4> durationCells(std::int32_t days, int hours, int minutes, int seconds);

// "Monday, the 07.12.2026 at 14:03:22 o´clock" of a timestamp text.
QString dateLineText(const QString& weekday, const QString& timestamp);
// "on " + timestamp + " o´clock", the hint of a figure.
QString onClockHint(const QString& timestamp);

}  // namespace quomble
