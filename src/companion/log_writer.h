#pragma once

#include "companion/atomic_file.h"
#include "companion/running_boot.h"
#include "core/datetime.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quomble {

// What a login, a logout or a mend did to the log.
enum class LogAction {
    LoggedIn,            // a new open entry was appended
    LoggedInAfterCrash,  // the last entry was still open: it stays as the crash record, a new one follows
    AlreadyLoggedIn,     // the open last entry belongs to the running boot: nothing written
    Reopened,            // the last entry belongs to the running boot but was closed: its logout was removed
    LoggedOut,           // the logout time was written into the open last entry
    NothingToLogOut,     // the log has no open last entry of this boot: nothing written
    Mended,              // the running boot's login, taken before the clock was set, was moved
    NothingToMend,       // the running boot's login needs no change
};

// A step back of the clock up to this many seconds (the end of summer time, a small
// correction) is absorbed: the entry gets the time of the last entry instead, so the log
// stays in order. A larger step is written as the clock says and reported.
inline constexpr std::int64_t kClockStepTolerance = 2 * 3600;

// Without a boot mark (a log written by an older version or by the import), an open last
// entry whose login lies no more than this before the start of the running boot belongs to
// that boot (the journal's first entry and the boot time differ slightly).
inline constexpr std::int64_t kBootTimeSlack = 60;

// A login taken before the clock was set is moved when the clock, once set, puts it more
// than this many seconds away (the uptime is read in milliseconds, the times in seconds).
inline constexpr std::int64_t kMendTolerance = 2;

// The largest log the writer accepts; a larger file is no boot log and is left alone.
inline constexpr std::size_t kMaxLogBytes = 256u * 1024 * 1024;

struct LogEdit {
    LogAction action = LogAction::NothingToLogOut;
    bool changed = false;
    std::string content;                // the whole log after the edit (when changed)
    std::string line;                   // the entry written, without its line end
    std::vector<std::string> notes;     // what the user is told besides the action
    std::vector<std::string> warnings;  // what went wrong although the edit was made
    std::optional<BootMark> mark;       // to keep beside the log after the edit (when set)
};

// Removes every Ctrl-Z from the log's bytes and returns how many there were. The program
// stops reading at a Ctrl-Z, so one anywhere would hide the entries after it, and a new
// entry appended after it; every other byte stays as it was.
std::size_t removeCtrlZ(std::string& content);

// The edits, on the bytes of a log held in memory, for the boot described by `boot`, with
// the mark kept beside the log. Lines are read the way the program reads them; every line
// of the log is kept byte for byte, only a Ctrl-Z is removed (and reported).
// A login belongs to the running boot when the mark names the last entry and this boot's
// id; a mark that names the last entry and another boot makes it a new boot, however close
// in time. Without such a mark, only an open last entry that began within this boot is
// taken for it (the install-time import writes the running boot so). A resume (after a
// suspend) starts a new entry unless this boot's entry is still open.
LogEdit planLogin(std::string_view content, DateTime now, const RunningBoot& boot = {},
                  const std::optional<BootMark>& mark = {}, bool resume = false);
// Closes the open last entry, unless the mark says it belongs to an earlier boot (that
// boot crashed, and this one was never logged in). A login the mark says was taken before
// the clock was set is mended first.
LogEdit planLogout(std::string_view content, DateTime now, const RunningBoot& boot = {},
                   const std::optional<BootMark>& mark = {});
// Moves the running boot's open login to the time the clock, now set, puts it at: the
// moment by the boot's uptime, so a clock set or stepped after the login is corrected.
LogEdit planMend(std::string_view content, DateTime now, const RunningBoot& boot,
                 const std::optional<BootMark>& mark);

// One line for the user saying what happened.
std::string describe(const LogEdit& edit);

enum class LogCommand { Login, Resume, Logout, Mend };

struct WriterOptions {
    Clock clock = systemClock();
    RunningBoot boot;  // systemRunningBoot() for the real boot; tests describe their own
    ReplaceProbe probe;
    int lockTimeoutMs = 10000;
};

// Locks the folder of the log (the one its links lead to), reads the log (a missing log is
// empty) and its boot mark, plans the edit and, when it changes anything, replaces the log
// atomically, then the mark. A symbolic link is followed, so the file it points to is the
// one replaced. Throws std::system_error or std::length_error when the log cannot be read,
// locked or written; a failure after the log was replaced (the folder's sync, the mark)
// is a warning of the edit.
LogEdit writeLog(LogCommand command, const std::filesystem::path& log, const WriterOptions& options = {});

}  // namespace quomble
