#pragma once

#include "companion/boot_evidence.h"
#include "companion/running_boot.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace quomble {

// Where the evidence is read from: the journal through journalctl, the files under the
// given root ("/" on the machine; a test's folder otherwise).
struct EvidenceSource {
    // Runs journalctl with these arguments and gives what it printed (empty when it failed).
    std::function<std::string(const std::vector<std::string>& arguments)> journalctl;
    std::filesystem::path root = "/";
};
EvidenceSource systemEvidenceSource();

// Gathers what the machine kept about the end of the boot `bootId` (empty: the boot
// before this one), which began at `since`: files older than that belong to earlier ends.
EndEvidence gatherEndEvidence(const EvidenceSource& source, const std::string& bootId, std::time_t since);

// The "ends" file beside the log's target.
std::filesystem::path bootEndsPath(const std::filesystem::path& logTarget);

// At a boot, after the login: records this boot (its boot id and kernel), and when the
// entry before it ended without a logout, the likely cause. Returns what it did, a line
// each. Throws std::system_error when the log or the file cannot be read or written.
std::vector<std::string> recordBootEnd(const std::filesystem::path& log, const RunningBoot& boot,
                                       const std::string& kernel, const EvidenceSource& source);

// For the history: every entry of the log that lies within a boot the journal still holds
// gets that boot's id and kernel, and an entry without logout (but the last) the likely
// cause from that boot's journal. Entries that have a record keep it. Returns what it did.
// `locked`: the caller already holds the lock of the log's folder.
std::vector<std::string> recordPastEnds(const std::filesystem::path& log, const EvidenceSource& source,
                                        bool locked = false);

}  // namespace quomble
