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

inline constexpr int kFigureRows = 16;
inline constexpr int kFirstFixedFigureRow = 12;  // rows 12..15 do not move with the clock

// What follows a row: nothing, a gap before the next group (a taller row in the window,
// a blank line in the summary text), or a blank line in the summary text only.
enum class FigureBreak { None, Group, TextOnly };

// One row of the figures, as the main window and the summary text both show them.
struct FigureRow {
    // The caption as the main window words it. A sentence row's caption is the opening
    // words, followed by the date, kSentenceAt, the time and kSentenceEnd (figureMoment).
    const char* caption;
    bool sentence = false;
    bool hint = false;     // its caption tells on hover when its figure happened (figureHint)
    bool warning = false;  // its figure turns red while crashFreeWarning holds
    FigureBreak breakAfter = FigureBreak::None;
};

// Rows 0..15; row 0 holds the headings and has no caption. Every loop over the figures
// (window, summary text) goes over this table.
inline constexpr std::array<FigureRow, kFigureRows> kFigureRowTable{{
    {""},
    {"first log of", true},
    {"current boot of", true, false, false, FigureBreak::TextOnly},
    {"average OnTime per day", false, false, false, FigureBreak::Group},
    {"longest crash-free OnTime", false, true},
    {"average crash-free OnTime"},
    {"last crash on", true},
    {"difference of last to average", false, false, true, FigureBreak::Group},
    {"shortest OnTime", false, true},
    {"average OnTime"},
    {"longest OnTime", false, true},
    {"sum of all OnTimes", false, false, false, FigureBreak::Group},
    {"shortest OffTime", false, true},
    {"average OffTime"},
    {"longest OffTime", false, true},
    {"sum of all OffTimes"},
}};
inline constexpr const char* kSentenceAt = "at";
inline constexpr const char* kSentenceEnd = "o'clock, thus before";
inline const FigureRow& figureRow(int row) { return kFigureRowTable[static_cast<std::size_t>(row)]; }

// The moment a sentence row names: the first log, the current boot, the boot after the
// last crash; "-" and "-" while there is no crash.
struct FigureMoment {
    std::string date;  // "dd.mm.yyyy"
    std::string time;  // "hh:mm:ss"
};
FigureMoment figureMoment(const LogModel& model, int row);
// The whole caption of a row, a sentence with its moment filled in.
std::string figureCaption(const LogModel& model, int row);

// What a row's caption tells on hover: when the shortest or longest on-time or off-time
// began or ended (a timestamp, worded by the window), or a text of its own.
struct FigureHint {
    enum class Kind { None, OnClock, Text };
    Kind kind = Kind::None;
    std::string text;
};
FigureHint figureHint(const LogModel& model, int row);

// Some boot has a positive on-time (off-time): the shortest one is a real boot's, and the
// hint beside it names that boot.
bool hasShortestOnTime(const LogModel& model);
bool hasShortestOffTime(const LogModel& model);

// The computer has now run longer without a crash than it does on average (row 7 in red).
bool crashFreeWarning(const LogModel& model);

// "dd.mm.yyyy" and "hh:mm:ss" of a timestamp text.
std::string datePartOf(std::string_view timestamp);
std::string timePartOf(std::string_view timestamp);

}  // namespace quomble
