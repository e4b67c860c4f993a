#pragma once

#include "companion/atomic_file.h"
#include "core/datetime.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quomble {

// What a login or a logout did to the log.
enum class LogAction {
    LoggedIn,            // a new open entry was appended
    LoggedInAfterCrash,  // the last entry was still open: it stays as the crash record, a new one follows
    AlreadyLoggedIn,     // the open last entry belongs to the running boot: nothing written
    Reopened,            // the last entry belongs to the running boot but was closed: its logout was removed
    LoggedOut,           // the logout time was written into the open last entry
    NothingToLogOut,     // the log has no open last entry: nothing written
};

// A step back of the clock up to this many seconds (the end of summer time, a small
// correction) is absorbed: the entry gets the time of the last entry instead, so the log
// stays in order. A larger step is written as the clock says and reported.
inline constexpr std::int64_t kClockStepTolerance = 2 * 3600;

// An open last entry whose login lies no more than this before the start of the running
// boot belongs to that boot (the journal's first entry and the boot time differ slightly).
inline constexpr std::int64_t kBootTimeSlack = 60;

// The largest log the writer accepts; a larger file is no boot log and is left alone.
inline constexpr std::size_t kMaxLogBytes = 256u * 1024 * 1024;

struct LogEdit {
    LogAction action = LogAction::NothingToLogOut;
    bool changed = false;
    std::string content;             // the whole log after the edit (when changed)
    std::string line;                // the entry written, without its line end
    std::vector<std::string> notes;  // what the user is told besides the action
};

// The edits, on the bytes of a log held in memory. Lines are read the way the program reads
// them; everything before the last line is kept byte for byte (what follows a Ctrl-Z, which
// the program never sees, is dropped, so that a new entry is not hidden behind it).
// bootTime, when known, is the start of the running boot in local time.
LogEdit planLogin(std::string_view content, DateTime now, std::optional<DateTime> bootTime = {});
LogEdit planLogout(std::string_view content, DateTime now);

// One line for the user saying what happened.
std::string describe(const LogEdit& edit);

struct WriterOptions {
    Clock clock = systemClock();
    std::optional<DateTime> bootTime;
    ReplaceProbe probe;
    int lockTimeoutMs = 10000;
};

// Locks the log's directory, reads the log (a missing log is empty), plans the edit and,
// when it changes anything, replaces the log atomically. A symbolic link is followed, so
// the file it points to is the one replaced. Throws std::system_error or
// std::length_error when the log cannot be read, locked or written.
LogEdit writeLogin(const std::filesystem::path& log, const WriterOptions& options = {});
LogEdit writeLogout(const std::filesystem::path& log, const WriterOptions& options = {});

// The start of the running boot in local time, from the kernel (nullopt when unknown).
std::optional<DateTime> systemBootTime();

}  // namespace quomble
