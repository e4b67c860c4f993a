#include "companion/boot_evidence.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

namespace quomble {
namespace {

// systemd's and logind's message ids (sd-messages.h).
constexpr std::string_view kShuttingDown = "98268866d1d54a499c4e98921d93bc40";  // "System is powering down."
constexpr std::string_view kPowerKey = "b72ea4a2881545a0b50e200e55b9b071";
constexpr std::string_view kPowerKeyLong = "3e0117101eb243c1b9a50db3494ab10b";
constexpr std::string_view kRebootKey = "9fa9d2c012134ec385451ffe316f97d0";
constexpr std::string_view kOomdKill = "d989611b15e44c9dbf31e3c81256e4ed";

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool containsNoCase(std::string_view text, std::string_view part)
{
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           }) != text.end();
}

// The first line that holds the first of `parts` found (the parts in order of weight).
std::string firstLineWith(std::string_view text, std::initializer_list<std::string_view> parts)
{
    for (auto part : parts) {
        const auto at = text.find(part);
        if (at == std::string_view::npos)
            continue;
        const auto start = text.rfind('\n', at);
        const auto begin = start == std::string_view::npos ? 0 : start + 1;
        return std::string(text.substr(begin, std::min<std::size_t>(text.find('\n', at) - begin, 200)));
    }
    return {};
}

void setField(JournalEntry& entry, std::string_view key, std::string_view value)
{
    if (key == "MESSAGE")
        entry.message.assign(value.substr(0, 4096));
    else if (key == "MESSAGE_ID")
        entry.messageId.assign(value.substr(0, 64));
    else if (key == "SYSLOG_IDENTIFIER")
        entry.identifier.assign(value.substr(0, 64));
    else if (key == "SHUTDOWN")
        entry.shutdown.assign(value.substr(0, 64));
    else if (key == "__REALTIME_TIMESTAMP") {
        std::int64_t us = 0;
        const auto [ptr, error] = std::from_chars(value.data(), value.data() + value.size(), us);
        if (error == std::errc() && ptr == value.data() + value.size())
            entry.realtimeUs = us;
    }
}

struct Verdict {
    EndVerdict& v;
    bool decided = false;
    void set(EndCause cause, Confidence confidence, std::string why)
    {
        if (!decided) {
            v.cause = cause;
            v.confidence = confidence;
            decided = true;
        }
        v.evidence.push_back(std::move(why));
    }
};

// The processor's own word on the last reset (AMD, recent kernels).
void readResetReason(const std::vector<JournalEntry>& kernel, Verdict& verdict)
{
    for (const auto& e : kernel) {
        const std::string_view m = e.message;
        const auto at = m.find("Previous system reset reason");
        if (at == std::string_view::npos)
            continue;
        if (contains(m, "[0xffffffff]") || contains(m, "[0xFFFFFFFF]"))
            continue;  // the register could not be read
        const std::string line = "kernel: " + std::string(m.substr(at, 200));
        if (containsNoCase(m, "sync flood") || containsNoCase(m, "uncorrected error"))
            verdict.set(EndCause::HardwareError, Confidence::High, line);
        else if (containsNoCase(m, "watchdog"))
            verdict.set(EndCause::Watchdog, Confidence::High, line);
        else if (containsNoCase(m, "thermal") || containsNoCase(m, "temperature"))
            verdict.set(EndCause::Thermal, Confidence::High, line);
        else if (containsNoCase(m, "power button"))
            verdict.set(EndCause::PowerButtonHeld, Confidence::High, line);
        else
            verdict.v.evidence.push_back(line + " (also after ordinary resets: not a cause by itself)");
    }
}

}  // namespace

std::vector<JournalEntry> parseJournalExport(std::string_view text)
{
    std::vector<JournalEntry> entries;
    JournalEntry entry;
    bool any = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty()) {
            if (any)
                entries.push_back(std::move(entry));
            entry = {};
            any = false;
            continue;
        }
        const auto eq = line.find('=');
        if (eq != std::string_view::npos) {
            setField(entry, line.substr(0, eq), line.substr(eq + 1));
            any = true;
            continue;
        }
        // A binary field: the name, then its size as 64 bits little-endian, the data and a LF.
        if (text.size() < 8)
            break;
        std::uint64_t size = 0;
        for (int i = 7; i >= 0; --i)
            size = size << 8 | static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        text.remove_prefix(8);
        if (size > text.size())
            break;
        setField(entry, line, text.substr(0, static_cast<std::size_t>(size)));
        any = true;
        text.remove_prefix(static_cast<std::size_t>(size));
        if (!text.empty() && text.front() == '\n')
            text.remove_prefix(1);
    }
    if (any)
        entries.push_back(std::move(entry));
    return entries;
}

EndVerdict classifyEnd(const EndEvidence& e)
{
    EndVerdict v;
    Verdict verdict{v};

    // A panic or oops, kept by the firmware's store or a crash kernel.
    for (const auto& file : e.pstore) {
        const std::string line = firstLineWith(file.head, {"Kernel panic", "Oops", "BUG:", "panic"});
        if (!line.empty())
            verdict.set(EndCause::KernelPanic, Confidence::High, "pstore: " + file.path + ": " + line);
        else
            verdict.set(EndCause::KernelPanic, Confidence::Medium,
                        "pstore: " + file.path + " (a kernel log kept at the end)");
    }
    for (const auto& dump : e.kdumps)
        verdict.set(EndCause::KernelPanic, Confidence::High, "kdump: " + dump);

    // What this boot's kernel found of the last one.
    readResetReason(e.thisBootKernel, verdict);
    for (const auto& k : e.thisBootKernel) {
        const std::string_view m = k.message;
        if (contains(m, "BERT: Error records from previous boot") || contains(m, "[Hardware Error]"))
            verdict.set(EndCause::HardwareError, Confidence::High,
                        "kernel: " + std::string(m.substr(0, 200)));
    }
    for (const auto& w : e.watchdogResets)
        verdict.set(EndCause::Watchdog, Confidence::High, w);

    // The previous boot's own journal.
    bool orderly = false, powerKey = false, oom = false, thermal = false, final = false;
    std::string powerKeyLine, oomLine, thermalLine, finalLine, orderlyLine;
    for (const auto& j : e.previousBoot) {
        const std::string_view m = j.message;
        if (j.messageId == kShuttingDown) {
            orderly = true;
            orderlyLine =
                j.identifier + ": " + j.message + (j.shutdown.empty() ? "" : " (" + j.shutdown + ")");
        }
        if (j.messageId == kPowerKey || j.messageId == kPowerKeyLong || j.messageId == kRebootKey) {
            powerKey = true;
            powerKeyLine = j.identifier + ": " + j.message;
        }
        if (j.messageId == kOomdKill || contains(m, "Out of memory: Killed process") ||
            contains(m, "Out of memory and no killable processes")) {
            oom = true;
            oomLine = j.identifier + ": " + std::string(m.substr(0, 200));
        }
        if (contains(m, "critical temperature reached") || contains(m, "HARDWARE PROTECTION shutdown") ||
            contains(m, "Temperature above threshold")) {
            thermal = thermal || !contains(m, "Temperature above threshold");
            thermalLine = j.identifier + ": " + std::string(m.substr(0, 200));
        }
        // The orderly shutdown's own target, where logind's message is older than the tail read.
        if (j.identifier == "systemd" && m.starts_with("Reached target shutdown.target")) {
            orderly = true;
            if (orderlyLine.empty())
                orderlyLine = "systemd: " + std::string(m);
        }
        // PID 1's last words before it resets the machine itself.
        if ((j.identifier == "systemd" || j.identifier == "systemd-shutdown") &&
            (m == "Shutting down." || m == "Rebooting." || m == "Powering off." || m == "Halting." ||
             m.starts_with("Rebooting with argument"))) {
            final = true;
            finalLine = "systemd: " + std::string(m);
        }
    }
    if (!e.previousBoot.empty())
        v.lastEntryUs = e.previousBoot.back().realtimeUs;

    if (thermal)
        verdict.set(EndCause::Thermal, Confidence::High, thermalLine);
    if (orderly) {
        verdict.set(EndCause::MissedLogout, Confidence::High, orderlyLine);
        if (powerKey)
            v.evidence.push_back(powerKeyLine);
    } else if (final) {
        verdict.set(EndCause::ForcedReboot, Confidence::High, finalLine + " without the orderly shutdown");
    } else if (powerKey) {
        verdict.set(EndCause::PowerKey, Confidence::Medium, powerKeyLine);
    }
    if (oom)
        verdict.set(EndCause::OutOfMemory, Confidence::Medium, oomLine);

    if (!verdict.decided) {
        if (e.journalKept && !e.previousBoot.empty()) {
            const auto& last = e.previousBoot.back();
            verdict.set(EndCause::PowerLossOrFreeze, Confidence::Medium,
                        "the journal just stops, without a shutdown: " + last.identifier + ": " +
                            std::string(std::string_view(last.message).substr(0, 200)));
        } else {
            v.cause = EndCause::Unknown;
            v.confidence = Confidence::Low;
            std::string missing = e.journalKept
                                      ? "the previous boot's journal is empty"
                                      : "no journal of the previous boot (the journal is not kept on disk: "
                                        "/var/log/journal is missing)";
            if (!e.pstoreBackend)
                missing += "; no pstore backend to keep a kernel panic";
            v.missing = missing;
        }
    }
    return v;
}

}  // namespace quomble
