#pragma once

#include "core/boot_ends.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quomble {

// One entry of the journal, with the fields the classification reads.
struct JournalEntry {
    std::string message;
    std::string messageId;   // MESSAGE_ID, 32 hex digits, where the writer set one
    std::string identifier;  // SYSLOG_IDENTIFIER: "kernel", "systemd", "systemd-logind", ...
    std::string shutdown;    // SHUTDOWN of logind's power-down message: "power-off", "reboot", ...
    std::optional<std::int64_t> realtimeUs;  // __REALTIME_TIMESTAMP
};

// Reads `journalctl -o export` output (text and binary fields; other fields are skipped).
std::vector<JournalEntry> parseJournalExport(std::string_view text);

// A file kept about a crash (a pstore record): where it lies and its first few KiB.
struct EvidenceFile {
    std::string path;
    std::string head;
};

// What the machine kept about the end of the boot before this one.
struct EndEvidence {
    bool journalKept = false;                  // the previous boot's journal is there (persistent)
    std::vector<JournalEntry> previousBoot;    // its last entries, oldest first
    std::vector<JournalEntry> thisBootKernel;  // this boot's kernel lines about the last reset
    std::vector<EvidenceFile> pstore;          // records written at the previous boot's end
    std::vector<std::string> kdumps;           // dumps written at the previous boot's end
    std::vector<std::string> watchdogResets;   // watchdogs that say they reset the machine
    bool pstoreBackend = false;                // a pstore backend is there to keep panics
};

struct EndVerdict {
    EndCause cause = EndCause::Unknown;
    Confidence confidence = Confidence::Low;
    std::vector<std::string> evidence;
    std::optional<std::int64_t> lastEntryUs;  // the previous boot's last journal entry
    std::string missing;
};

// The likely cause of an end without logout, from the evidence; never a guess presented as
// a cause: without a journal or a pstore record the cause is unknown, and `missing` says why.
EndVerdict classifyEnd(const EndEvidence& evidence);

}  // namespace quomble
