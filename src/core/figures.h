#pragma once

#include "core/model.h"

#include <array>
#include <string>

namespace quomble {

// The duration table beside the main window's sentences: 16 rows of days, hours, minutes,
// seconds as plain decimal texts. Row 0 holds the headings, rows 1..11 move with the clock,
// rows 12..15 hold the off-times. A negative duration shows "-" in all four cells, and so
// does the last-crash row while there is no crash.
using FigureTable = std::array<std::array<std::string, 4>, 16>;
FigureTable figureTable(const LogModel& model);

// Captions of rows 1..15, as the main window words them.
extern const std::array<const char*, 16> kFigureCaptions;

// The computer has now run longer without a crash than it does on average (row 7 in red).
bool crashFreeWarning(const LogModel& model);

}  // namespace quomble
