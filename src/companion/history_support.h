#pragma once

// What the readers of last and journalctl output and the merge share: splitting and reading
// the texts, and the repairs of a boot history (clock offsets, boots out of place).

#include "companion/history.h"
#include "core/datetime.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quomble::history_support {

// A boot with a clock this far off in whole or half hours is taken as a hardware clock on
// local time; a smaller step is a correction of the clock (a time server) and not undone.
inline constexpr std::int64_t kHour = 3600;
inline constexpr std::int64_t kHalfHour = 1800;
inline constexpr std::int64_t kLargestZoneOffset = 14 * kHour;
inline constexpr std::int64_t kSmallestClockFix = 5 * 60;
// The run level record follows the reboot record within this once the clock is right.
inline constexpr std::int64_t kRunLevelDelay = 10 * 60;
// A boot history this long is checked for boots out of place against the 512 before each.
inline constexpr std::size_t kConsistencyWindow = 512;

// The blank-separated words of a line.
std::vector<std::string_view> tokens(std::string_view line);
// `text` is exactly `count` decimal digits.
bool digits(std::string_view text, std::size_t count);
// The value of a text of decimal digits.
int number(std::string_view text);
// A real date and time of the years 1..9999, or nothing.
std::optional<DateTime> makeDateTime(int year, int month, int day, int hour, int minute, int second);
// "hh:mm:ss", optionally followed by a fraction of a second (dropped).
bool clockTime(std::string_view text, int& h, int& m, int& s);
// "1 boot", "2 boots".
std::string plural(std::size_t n, const char* one, const char* many);
// Moves a boot's login by the offset of a hardware clock on local time, and says so.
void moveLogin(BootSpan& boot, std::int64_t shift, ImportNotes& notes);
// A login that lies after a time known to be later in the same boot (or after now), by more
// than a small correction, was recorded with a hardware clock on local time, ahead by the
// local zone's offset. It is moved back by the first of these offsets that puts it between
// `floor` (the end of the boot before it) and `later`: the local zone's offset at that time,
// then those found for other boots of the same history (`found`, in seconds ahead). Failing
// them, with `wholeHours`, by the whole hours it lies ahead where that fits. Returns the
// seconds it was moved back, or 0.
std::int64_t fixLoginAfter(BootSpan& boot, DateTime later, std::optional<DateTime> floor,
                           const std::vector<std::int64_t>& found, bool wholeHours, ImportNotes& notes);
// The boots to keep (see keepConsistent).
std::vector<bool> consistentBoots(const std::vector<BootSpan>& boots, DateTime now, std::size_t last);
// Reports each boot left out, the first ten by their time.
void dropInconsistent(std::vector<BootSpan>& boots, const std::vector<bool>& keep, DateTime now,
                      ImportNotes& notes);

// --- the local time zone (TZ), whose local time the log holds -----------------------------
// Seconds east of UTC of the local zone at a local time.
std::int64_t localZoneOffset(DateTime local);

// Reads times printed with their zone into local time. A zone is known when it is UTC, GMT
// or Z, a numeric offset (+01, +0100, +01:00), or an abbreviation that the local zone uses in
// the year of the time (taken at the offset it has there nearest that time). Any other
// abbreviation is not known: CST, IST or BST each name several zones.
class LocalZone {
public:
    LocalZone();
    // A token that a zone could be printed as: letters, or a numeric offset.
    static bool looksLikeZone(std::string_view token);
    // The local time of a time printed in `zone`, or nothing when the zone is not known.
    std::optional<DateTime> toLocal(DateTime printed, std::string_view zone);
    // The abbreviations the local zone uses in a year: "EST, EDT".
    std::string abbreviations(int year);

private:
    struct Use {
        std::string abbreviation;
        std::int64_t offset;    // seconds east of UTC
        std::int64_t from, to;  // seconds since 1970 (UTC) in which it was seen
    };
    const std::vector<Use>& uses(int year);
    std::map<int, std::vector<Use>> years_;
};

}  // namespace quomble::history_support
