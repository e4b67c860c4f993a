#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quomble {

// A date-time value: whole seconds since 30.12.1899 00:00:00 (the zero date-time).
// Log timestamps carry whole seconds, so differences of these values are exact.
using DateTime = std::int64_t;
inline constexpr DateTime kZeroDateTime = 0;
inline constexpr std::int64_t kSecondsPerDay = 86400;

struct CivilDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Yields the current local date and time. Injected so that tests and tools can fix "now".
using Clock = std::function<CivilDateTime()>;
CivilDateTime systemLocalTime();
Clock systemClock();
Clock fixedClock(CivilDateTime at);

// Days since 30.12.1899 of a calendar date (proleptic Gregorian), and back.
std::int64_t dayNumber(int year, int month, int day);
CivilDateTime civilFromDayNumber(std::int64_t dayNumber);
CivilDateTime civilFromDateTime(DateTime value);
bool isValidDate(int year, int month, int day);

// Reads exactly "dd.mm.yyyy hh:mm:ss": two-digit day, month, hours, minutes, seconds,
// a four-digit year 0001..9999, a real calendar date and time of day. Anything else: nullopt.
std::optional<DateTime> parseTimestamp(std::string_view text);
// Reads exactly "dd.mm.yyyy" (as above); the value is that day at 00:00:00.
std::optional<DateTime> parseDate(std::string_view text);
// Reads a date or a timestamp text; nullopt when it is neither.
std::optional<DateTime> parseDateOrTimestamp(std::string_view text);

// Like the parse functions above, but an unreadable text throws IntakeError with the
// message "'<text>' is not a valid date and time" (or "... date").
DateTime readTimestamp(std::string_view text);
DateTime readDate(std::string_view text);

// Reads log timestamps exactly as parseTimestamp does, but remembers the last date it
// read: consecutive lines mostly share their date, and the calendar check and the day
// number are the costly part of a timestamp.
class TimestampReader {
public:
    std::optional<DateTime> read(std::string_view text);
    // Throws IntakeError like readTimestamp.
    DateTime readOrThrow(std::string_view text);

private:
    char date_[10] = {};
    DateTime dayStart_ = 0;
    bool hasDate_ = false;
};

std::string formatDate(std::int64_t dayNumber);           // "dd.mm.yyyy"
std::string formatTimestamp(DateTime value);              // "dd.mm.yyyy hh:mm:ss"
std::string formatTimestamp(const CivilDateTime& civil);  // same, from calendar parts

// Whole seconds from a to b, rounded down, saturated to the signed 32-bit range.
std::int32_t dt_delta(DateTime a, DateTime b);

// Saturates a 64-bit sum or difference to the signed 32-bit range of the record fields.
std::int32_t saturate32(std::int64_t value);

// Seconds since 1970 of a local date-time, in the zone of the process (TZ); nullopt where
// the zone has no such time.
std::optional<std::int64_t> unixTimeOfLocal(DateTime local);

// The current local date and time in the form of a log timestamp.
std::string Datumermitteln(const Clock& clock);

// 0 = Sunday .. 6 = Saturday, of a day number.
int dayOfWeek(std::int64_t dayNumber);
// "Mo" .. "Su" and "Monday" .. "Sunday" of a date or timestamp text; an unreadable text
// throws IntakeError.
std::string Wochentag_ermitteln(std::string_view dateText);
std::string Wochentag_ermitteln_lang(std::string_view dateText);

}  // namespace quomble
