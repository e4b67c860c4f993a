#pragma once

#include "core/datetime.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quomble {

// Why a boot ended without a logout, as far as the machine's own evidence tells. A small
// fixed set, so that a report or a metric can count by it.
enum class EndCause {
    None,               // nothing known yet (or the boot ended with a logout)
    MissedLogout,       // the boot was shut down in order; only its logout was not written
    KernelPanic,        // pstore record or kdump of a panic or oops
    HardwareError,      // machine check, BERT record, a sync flood reset
    Watchdog,           // a hardware watchdog reset the machine
    Thermal,            // the kernel's critical-temperature shutdown
    PowerKey,           // the power key was pressed (handled by logind)
    PowerButtonHeld,    // the power button was held until the firmware cut the power
    ForcedReboot,       // a reboot or power-off that skipped the orderly shutdown
    OutOfMemory,        // the kernel ran out of memory before the end
    PowerLossOrFreeze,  // a persistent journal that just stops: power lost, or a freeze reset by hand
    Unknown,            // the evidence to tell is missing (say which)
};

enum class Confidence { Low, Medium, High };

// The key written to the file and the reports ("kernel-panic"), and back.
std::string_view causeKey(EndCause cause);
std::optional<EndCause> causeFromKey(std::string_view key);
// A few words for people ("kernel panic or oops").
std::string_view causeText(EndCause cause);
std::string_view confidenceKey(Confidence confidence);

// What is known of one boot of the log, keyed by the login time of its entry.
struct BootEndRecord {
    DateTime login = 0;
    std::string bootId;  // the kernel's boot id (32 hex digits)
    std::string kernel;  // the kernel release it ran
    EndCause cause = EndCause::None;
    Confidence confidence = Confidence::Low;
    std::optional<DateTime> lastEntry;  // the journal's last entry of the boot: the end's lower bound
    std::vector<std::string> evidence;  // the lines that tell it, each with where it was found
    std::string missing;                // what could not be looked at, for an unknown cause
};

// The file beside the log that holds these records ("Quomble.log" -> "Quomble.log.ends").
// Text, one section per boot:
//   QuombleView boot ends 1
//   [07.12.2026 08:02:11]
//   boot_id=...
//   kernel=6.1.0-28-amd64
//   cause=kernel-panic
//   confidence=high
//   last_entry=07.12.2026 09:10:00
//   evidence=pstore: dmesg-efi-173...: Kernel panic - not syncing: ...
//   missing=...
// Unknown keys are skipped, so that a later version can add some; a file of another
// major version, or text that is no such file, reads as no records.
std::string formatBootEnds(const std::vector<BootEndRecord>& records);
std::vector<BootEndRecord> parseBootEnds(std::string_view text);

// The record of `login`, when there is one.
const BootEndRecord* findBootEnd(const std::vector<BootEndRecord>& records, DateTime login);
// Puts `record` in place of the one with the same login, or adds it in login order.
void storeBootEnd(std::vector<BootEndRecord>& records, BootEndRecord record);

// "Quomble.log" -> "Quomble.log.ends" beside the file its links lead to.
std::filesystem::path bootEndsFileOf(const std::filesystem::path& logFile);
// The records of the ends file beside the log; none when there is no such file.
std::vector<BootEndRecord> readBootEnds(const std::filesystem::path& logFile);

// A boot of the log as the crash figures see it.
struct LoggedBoot {
    DateTime login = 0;
    std::optional<DateTime> logout;
    bool crashed = false;  // no logout, and another entry follows
};
// The log's entries (lines that begin with no timestamp are left out). Throws IntakeError
// when the log cannot be read.
std::vector<LoggedBoot> readLoggedBoots(const std::filesystem::path& logFile);

// Boots, crashes and on-time per kernel release ("-" for boots of no known kernel). The
// on-time of a crash counts up to its last journal entry where known; of the running
// boot, up to `now`.
struct KernelFigures {
    std::string kernel;
    int boots = 0;
    int crashes = 0;
    double onHours = 0;
};
std::vector<KernelFigures> kernelFigures(const std::vector<LoggedBoot>& boots,
                                         const std::vector<BootEndRecord>& records, DateTime now);

// The crash table as the report and the crashes window show it: LogIn, last entry, OnTime
// up to it ("d hh:mm:ss"), cause, confidence, kernel, evidence (and what was missing).
inline constexpr std::array<std::string_view, 7> kCrashColumns{
    "LogIn", "last entry", "OnTime (at least)", "cause", "confidence", "kernel", "evidence"};
std::vector<std::string> crashCells(const LoggedBoot& boot, const BootEndRecord* record);
// "0.50": a rate as the tables show it.
std::string rateText(double value);

// What the machine keeps that tells why a boot ended, and the one command that switches
// each on. `root` is "/" on the machine.
struct EvidenceSetting {
    std::string what;  // "persistent journal"
    bool on = false;
    std::string without;  // what is missed without it
    std::string command;  // how to switch it on
};
std::vector<EvidenceSetting> evidenceSettings(const std::filesystem::path& root);

}  // namespace quomble
