#pragma once

#include "core/datetime.h"

#include <cstdint>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quomble {

// One boot of the machine as a history source tells it.
struct BootSpan {
    DateTime login = 0;
    std::optional<DateTime> logout;  // the clean shutdown; none for a crash or the running boot
    DateTime seenUntil = 0;          // the latest time known to lie within this boot
};

// What an importer tells the user about the input it could not take as it stands.
using ImportNotes = std::vector<std::string>;

// Reads text lines of any length without holding more than maxChars of one: a longer line
// is cut (and reported through cut()). A line ends at LF; a CR before it is dropped.
class TextLines {
public:
    explicit TextLines(std::istream& in, std::size_t maxChars = 4096) : in_(in), max_(maxChars) {}
    bool next(std::string& line);
    bool cut() const { return cut_; }

private:
    std::istream& in_;
    std::size_t max_;
    bool cut_ = false;
};

// --- wtmp, from the text of `last -x -F` (or `last -x --time-format iso`) ------------------
// Boots in the order they happened. The records are taken in the order wtmp holds them
// (last prints them newest first; several files' outputs, each ending in its "begins" line,
// may follow one another in any order). A boot is closed by the last shutdown record (or
// change to run level 0 or 6) before the next boot; without one, by the end time printed on
// its reboot line when that lies before the next boot; otherwise it is a crash.
// Boots that a wrong clock put out of place are dropped (see dropClockJumps).
std::vector<BootSpan> bootsFromLast(std::istream& in, DateTime now, ImportNotes& notes);

// --- systemd journal, from the text of `journalctl --list-boots` -------------------------
struct JournalBoot {
    std::int64_t index = 0;
    std::string id;  // 32 hexadecimal digits
    DateTime first = 0;
    DateTime last = 0;
};
// The boots in the order of their index (oldest first), whatever order the list has.
std::vector<JournalBoot> parseBootList(std::istream& in, ImportNotes& notes);

// The ends of the boots' journals: blocks, each headed by "-- Boot <id> --" (or "== <id>"),
// holding that boot's last journal lines. Gives per boot id whether its journal shows the
// system reaching a shutdown, power-off, reboot, halt or kexec target.
std::map<std::string, bool> parseShutdownTails(std::istream& in, ImportNotes& notes);

// A boot is closed at its journal's last entry when its tail shows a shutdown; a tail
// without one makes it a crash; a boot without tail (or no tails at all) is taken as
// closed, and said so. The last boot of the list is the running one and stays open.
// Boots that a wrong clock put out of place are dropped (see dropClockJumps).
std::vector<BootSpan> bootsFromJournal(const std::vector<JournalBoot>& boots,
                                       const std::map<std::string, bool>* tails, DateTime now,
                                       ImportNotes& notes);

// Takes boots in the order they happened and drops those whose login lies after `now`
// (the clock was ahead) or more than kClockStepTolerance before a time already seen (the
// clock was behind, as after a reset of the hardware clock). A smaller step back, as at the
// end of summer time, stays and is settled by logTextOf.
void dropClockJumps(std::vector<BootSpan>& boots, DateTime now, ImportNotes& notes);

// --- the boot log itself, to merge an import into it ---------------------------------------
// Throws std::runtime_error when a line is not a well-formed entry.
std::vector<BootSpan> bootsFromLog(std::string_view logText);

// All boots of `preferred` and those of `other` that are no boot of `preferred`: two boots
// are the same when the times known to lie within them overlap.
std::vector<BootSpan> mergeBoots(std::vector<BootSpan> preferred, const std::vector<BootSpan>& other);

// The boot log of the boots: oldest first, every line 20 or 39 characters and CR LF, in an
// order that the program's validation accepts. Boots later than `now` or before 1991 are
// dropped, a boot shown twice is written once, a logout before its login is moved to the
// login, and a logout after the next boot's login is moved to that login; each is reported.
std::string logTextOf(std::vector<BootSpan> boots, DateTime now, ImportNotes& notes);

}  // namespace quomble
