#pragma once

#include "companion/log_writer.h"
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
// Both the classic `last` and the one reading wtmpdb are understood. Boots come in the order
// they happened. The records are taken in the order each wtmp file holds them (last prints
// them newest first, and that order is the truth where a local time repeats at the end of
// summer time); several files' outputs, each ending in its "begins" line (in any language:
// the line is known by its shape), may follow one another in any order. A boot is closed by
// the shutdown record that belongs to it (or a change to run level 0 or 6); without one, by
// the end time printed on its reboot line when that lies before the next boot; otherwise it
// is a crash. A reboot record written before the clock was set (a hardware clock on local
// time) is corrected where the output shows the offset, and boots that a wrong clock put out
// of place are dropped (see keepConsistent); each is reported.
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

// The running boot is the newest in time whose journal reaches up to now (not simply the
// last index: a boot with a wrong clock may sort anywhere); it stays open unless its tail
// shows a shutdown. Any other boot is closed at its journal's last entry when its tail
// shows a shutdown; a tail without one makes it a crash; a boot without tail (or no tails
// at all) is taken as closed, and said so. A first entry that lies after the boot's own
// last entry (a hardware clock on local time) is corrected by whole hours; boots that a
// wrong clock put out of place are dropped (see keepConsistent); each is reported.
std::vector<BootSpan> bootsFromJournal(const std::vector<JournalBoot>& boots,
                                       const std::map<std::string, bool>* tails, DateTime now,
                                       ImportNotes& notes);

// Takes boots in the order they happened, drops those whose login lies after `now` and
// keeps the longest history in which no boot begins more than kClockStepTolerance before
// the end of the boot before it, nor a shut down boot begins before that end and ends before
// it too (a clock set back, not the end of summer time); the boots left out (a clock far
// ahead or behind) are dropped, each reported. With `last` given, that boot (the running
// one) ends the history.
void keepConsistent(std::vector<BootSpan>& boots, DateTime now, ImportNotes& notes,
                    std::optional<std::size_t> last = std::nullopt);

// --- the boot log itself, to merge an import into it ---------------------------------------
// Throws std::runtime_error when a line is not a well-formed entry.
std::vector<BootSpan> bootsFromLog(std::string_view logText);

// All boots of `preferred` and those of `other` that are no boot of `preferred`, each in
// its own order, the two interleaved by time. A boot is known by the kernel's boot time: a
// boot of `other` that began within a boot of `preferred` (a closed one up to its shutdown,
// a crash up to the next boot, the newest boot without shutdown as far as its source shows it
// running), or a minute before it, is that boot; the boot of `preferred` then reaches as far
// as either shows it. A newest boot without shutdown that boots of the other source follow
// is a crash, and said so. Where `other` adds boots, the merged history is kept consistent
// (see keepConsistent): the sources may have kept boots of either side of a wrong clock.
std::vector<BootSpan> mergeBoots(std::vector<BootSpan> preferred, const std::vector<BootSpan>& other,
                                 DateTime now, ImportNotes& notes);

// The boots in the order given, made fit for the log: boots later than `now` or before 1991
// are dropped, a boot shown twice is kept once, a logout before its login is moved to the
// login, a logout after the next boot's login is moved to that login, and a login up to
// kClockStepTolerance before the boot before it (the end of summer time) is moved to the
// end of that boot, as the logger does; a boot further back is dropped. Each is reported.
std::vector<BootSpan> settleBoots(std::vector<BootSpan> boots, DateTime now, ImportNotes& notes);

// The log text of settled boots: oldest first, every line 20 or 39 characters and CR LF.
std::string formatLog(const std::vector<BootSpan>& boots);

// formatLog(settleBoots(...)): a log that the program's validation accepts.
std::string logTextOf(std::vector<BootSpan> boots, DateTime now, ImportNotes& notes);

// The entries of an existing log with the settled imported boots added where they fit: an
// entry of the log is never changed; an imported boot that the log holds (an entry logged
// within it, as the boot service logs a boot seconds to minutes after the kernel's boot time
// and the installation at any time; the newest imported boot without shutdown reaches only
// as far as its history shows it running) is left out, and one that does not fit into the
// gap between the log's entries is left out and reported. The newest imported boot without
// shutdown that is not the log's boot after it is a crash, and said so. `added` counts the
// boots taken.
std::vector<BootSpan> mergeIntoLog(const std::vector<BootSpan>& existing,
                                   const std::vector<BootSpan>& imported, std::size_t& added,
                                   ImportNotes& notes);

}  // namespace quomble
