#pragma once

#include <QString>

namespace quomble {

// A ratio as the totals panel shows it (3 decimals after rounding to 4 significant
// digits) with the given decimal separator.
QString ratioTextWith(double value, const QString& decimalPoint);
// The same with the decimal separator of the system's number settings.
QString systemRatioText(double value);

// "Monday, the 07.12.2026 at 14:03:22 o´clock" of a timestamp text.
QString dateLineText(const QString& weekday, const QString& timestamp);
// "on " + timestamp + " o´clock", the hint of a figure.
QString onClockHint(const QString& timestamp);

}  // namespace quomble
