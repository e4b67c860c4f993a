#pragma once

#include "core/model.h"

#include <array>
#include <string>

namespace quomble {

// The duration table beside the main window's sentences: 16 rows of days, hours, minutes,
// seconds as plain decimal texts. Row 0 holds the headings, rows 1..11 move with the clock,
// rows 12..15 hold the off-times. A negative duration shows "-" in all four cells, and so
// do the last-crash row while there is no crash and a shortest on-time or off-time that
// no boot has.
using FigureTable = std::array<std::array<std::string, 4>, 16>;
FigureTable figureTable(const LogModel& model);

// Captions of rows 1..15, as the main window words them.
extern const std::array<const char*, 16> kFigureCaptions;

// Some boot has a positive on-time (off-time): the shortest one is a real boot's, and the
// hint beside it names that boot.
bool hasShortestOnTime(const LogModel& model);
bool hasShortestOffTime(const LogModel& model);

// The computer has now run longer without a crash than it does on average (row 7 in red).
bool crashFreeWarning(const LogModel& model);

}  // namespace quomble
