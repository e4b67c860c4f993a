// Why a boot ended: the evidence a machine keeps, read from recorded samples.
#include "companion/boot_evidence.h"
#include "companion/boot_gather.h"
#include "companion_support.h"
#include "core/boot_ends.h"

#include <gtest/gtest.h>

namespace quomble {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

std::string sample(const std::string& name)
{
    return readFile(std::string(QUOMBLE_TEST_DATA) + "/ends/" + name);
}

JournalEntry kernel(std::string message)
{
    return JournalEntry{std::move(message), "", "kernel", "", 1796750000000000};
}

TEST(BootEnds, EachKindOfEvidenceGivesItsCause)
{
    struct Case {
        const char* name;
        EndEvidence evidence;
        EndCause cause;
    };
    const auto kept = [](std::vector<JournalEntry> entries) {
        EndEvidence e;
        e.journalKept = true;
        e.previousBoot = std::move(entries);
        return e;
    };
    std::vector<Case> cases;
    cases.push_back({"pstore panic", {}, EndCause::KernelPanic});
    cases.back().evidence.pstore.push_back(
        {"/var/lib/systemd/pstore/1796/dmesg-efi-1", sample("pstore-dmesg-panic.txt")});
    cases.push_back({"sync flood", {}, EndCause::HardwareError});
    cases.back().evidence.thisBootKernel = parseJournalExport(sample("this-boot-sync-flood.export"));
    cases.push_back({"BERT", {}, EndCause::HardwareError});
    cases.back().evidence.thisBootKernel = parseJournalExport(sample("this-boot-bert.export"));
    cases.push_back({"power button held", {}, EndCause::PowerButtonHeld});
    cases.back().evidence.thisBootKernel = parseJournalExport(sample("this-boot-power-button-held.export"));
    cases.push_back({"processor watchdog", {}, EndCause::Watchdog});
    cases.back().evidence.thisBootKernel = parseJournalExport(sample("this-boot-amd-watchdog.export"));
    cases.push_back({"watchdog card", {}, EndCause::Watchdog});
    cases.back().evidence.watchdogResets.push_back("watchdog: /sys/class/watchdog/watchdog0/bootstatus = 32");
    cases.push_back({"orderly, logout lost", kept(parseJournalExport(sample("previous-boot-orderly.export"))),
                     EndCause::MissedLogout});
    cases.push_back({"forced reboot", kept(parseJournalExport(sample("previous-boot-forced.export"))),
                     EndCause::ForcedReboot});
    cases.push_back({"journal just stops",
                     kept(parseJournalExport(sample("previous-boot-power-loss.export"))),
                     EndCause::PowerLossOrFreeze});
    cases.push_back(
        {"thermal",
         kept({kernel("thermal thermal_zone0: critical temperature reached (105 C), shutting down"),
               JournalEntry{"System is powering down.",
                            "98268866d1d54a499c4e98921d93bc40",
                            "systemd-logind",
                            "power-off",
                            {}}}),
         EndCause::Thermal});
    cases.push_back(
        {"out of memory",
         kept({kernel("Out of memory: Killed process 41873 (firefox-esr) total-vm:11853016kB, "
                      "anon-rss:7630500kB, file-rss:0kB, shmem-rss:1052kB, UID:1000 pgtables:19424kB "
                      "oom_score_adj:0")}),
         EndCause::OutOfMemory});
    cases.push_back(
        {"power key, no shutdown",
         kept({JournalEntry{
             "Power key pressed short.", "b72ea4a2881545a0b50e200e55b9b071", "systemd-logind", "", {}}}),
         EndCause::PowerKey});
    for (const auto& c : cases) {
        const EndVerdict v = classifyEnd(c.evidence);
        EXPECT_EQ(causeKey(v.cause), causeKey(c.cause)) << c.name;
        EXPECT_FALSE(v.evidence.empty()) << c.name;
        EXPECT_TRUE(v.missing.empty()) << c.name;
    }
}

TEST(BootEnds, WithoutJournalOrPstoreTheCauseIsUnknownAndSaysWhy)
{
    EndEvidence e;
    e.thisBootKernel = parseJournalExport(sample("this-boot-cf9.export"));  // also after ordinary reboots
    const EndVerdict v = classifyEnd(e);
    EXPECT_EQ(v.cause, EndCause::Unknown);
    EXPECT_NE(v.missing.find("/var/log/journal"), std::string::npos) << v.missing;
    EXPECT_NE(v.missing.find("pstore"), std::string::npos) << v.missing;
    ASSERT_EQ(v.evidence.size(), 1u);
    EXPECT_NE(v.evidence[0].find("not a cause by itself"), std::string::npos);
}

TEST(BootRecords, ReadBackAsWrittenAndOnlyTheirOwnVersion)
{
    std::vector<BootEndRecord> records;
    BootEndRecord crash{testing::at("07.12.2026 08:02:11"),
                        "0f6b1c2a00004000800000000000000a",
                        "6.1.0-28-amd64",
                        EndCause::KernelPanic,
                        Confidence::High,
                        testing::at("07.12.2026 09:10:00"),
                        {"pstore: /var/lib/systemd/pstore/1/dmesg-efi-1: Kernel panic - not syncing:\nx"},
                        ""};
    storeBootEnd(records, {testing::at("07.12.2026 10:00:00"),
                           "ab",
                           "6.1.0-28-amd64",
                           EndCause::None,
                           Confidence::Low,
                           {},
                           {},
                           ""});
    storeBootEnd(records, crash);
    const std::string text = formatBootEnds(records);
    const auto back = parseBootEnds(text);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].login, crash.login);
    EXPECT_EQ(back[0].cause, EndCause::KernelPanic);
    EXPECT_EQ(back[0].lastEntry, crash.lastEntry);
    ASSERT_EQ(back[0].evidence.size(), 1u);
    EXPECT_EQ(back[0].evidence[0].find('\n'), std::string::npos);  // one line each
    EXPECT_EQ(formatBootEnds(back), text);

    const std::string later = "QuombleView boot ends 1.3\n[07.12.2026 08:02:11]\nnew_key=1\ncause=thermal\n";
    ASSERT_EQ(parseBootEnds(later).size(), 1u);
    EXPECT_EQ(parseBootEnds(later)[0].cause, EndCause::Thermal);
    EXPECT_TRUE(parseBootEnds("QuombleView boot ends 2\n[07.12.2026 08:02:11]\ncause=thermal\n").empty());
}

TEST(BootEnds, RecordedAtTheNextBootOnceFromAnInjectedSource)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    writeFile(log, "07.12.2026 08:02:11 \r\n07.12.2026 09:30:00 \r\n");
    int runs = 0;
    EvidenceSource source{[&runs](const std::vector<std::string>& args) {
                              ++runs;
                              return args[1] == "0" ? std::string()
                                                    : sample("previous-boot-power-loss.export");
                          },
                          dir.path()};
    std::filesystem::create_directories(dir / "var/log/journal");
    RunningBoot boot;
    boot.id = "0f6b1c2a00004000800000000000000b";
    recordBootEnd(log, boot, "6.1.0-28-amd64", source);
    auto records = parseBootEnds(readFile(bootEndsPath(log)));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].cause, EndCause::PowerLossOrFreeze);
    EXPECT_TRUE(records[0].lastEntry.has_value());
    EXPECT_EQ(records[1].bootId, boot.id);
    EXPECT_EQ(records[1].kernel, "6.1.0-28-amd64");

    // Started again in the same boot: the end already told is not gathered again.
    const int before = runs;
    recordBootEnd(log, boot, "6.1.0-28-amd64", source);
    EXPECT_EQ(runs, before);
    EXPECT_EQ(readFile(log), "07.12.2026 08:02:11 \r\n07.12.2026 09:30:00 \r\n");
}

TEST(BootEnds, TheHistorysCrashesAreToldFromTheBootsTheJournalHolds)
{
    testing::LocalTimeZone utc("UTC0");
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    const std::string text = "07.12.2026 08:02:11 \r\n07.12.2026 09:30:05 07.12.2026 12:00:00\r\n"
                             "07.12.2026 13:00:05 \r\n";
    writeFile(log, text);
    EvidenceSource source{
        [](const std::vector<std::string>& args) -> std::string {
            if (args[0] == "--list-boots")
                return "IDX BOOT ID                          FIRST ENTRY                 LAST ENTRY\n"
                       " -2 0a1b2c3d4e5f46a7b8c9d0e1f2a3b4c5 Mon 2026-12-07 08:02:09 UTC Mon "
                       "2026-12-07 09:10:00 UTC\n"
                       " -1 9e7d6c5b4a3948d7a6f5e4d3c2b1a090 Mon 2026-12-07 09:30:01 UTC Mon "
                       "2026-12-07 12:00:00 UTC\n";
            if (args[2] == "-k")
                return "MESSAGE=Linux version 6.1.0-28-amd64 (debian-kernel@lists.debian.org)\n\n";
            return sample("previous-boot-power-loss.export");
        },
        dir.path()};
    recordPastEnds(log, source);
    const auto records = parseBootEnds(readFile(bootEndsPath(log)));
    ASSERT_EQ(records.size(), 2u);  // the running boot is not in this journal's list
    EXPECT_EQ(records[0].bootId, "0a1b2c3d4e5f46a7b8c9d0e1f2a3b4c5");
    EXPECT_EQ(records[0].kernel, "6.1.0-28-amd64");
    EXPECT_EQ(records[0].cause, EndCause::PowerLossOrFreeze);
    EXPECT_EQ(records[1].bootId, "9e7d6c5b4a3948d7a6f5e4d3c2b1a090");
    EXPECT_EQ(records[1].cause, EndCause::None);  // it was shut down
    EXPECT_EQ(readFile(log), text);
}

// Boots a few seconds apart (a crash loop): each entry is told from its own boot's journal,
// not from the last boot that began within a minute of it.
TEST(BootEnds, BootsSecondsApartAreEachToldFromTheirOwnJournal)
{
    testing::LocalTimeZone utc("UTC0");
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    writeFile(log,
              "07.12.2026 08:00:10 \r\n07.12.2026 08:00:40 07.12.2026 08:00:55\r\n07.12.2026 08:01:10 \r\n");
    EvidenceSource source{
        [](const std::vector<std::string>& args) -> std::string {
            if (args[0] == "--list-boots")
                return "IDX BOOT ID                          FIRST ENTRY                 LAST ENTRY\n"
                       " -2 0a1b2c3d4e5f46a7b8c9d0e1f2a3b4c5 Mon 2026-12-07 08:00:08 UTC Mon "
                       "2026-12-07 08:00:30 UTC\n"
                       " -1 9e7d6c5b4a3948d7a6f5e4d3c2b1a090 Mon 2026-12-07 08:00:38 UTC Mon "
                       "2026-12-07 08:00:55 UTC\n";
            if (args[2] == "-k")
                return "MESSAGE=Linux version 6.1.0-28-amd64 (debian-kernel@lists.debian.org)\n\n";
            return sample("previous-boot-power-loss.export");
        },
        dir.path()};
    recordPastEnds(log, source);
    const auto records = parseBootEnds(readFile(bootEndsPath(log)));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].bootId, "0a1b2c3d4e5f46a7b8c9d0e1f2a3b4c5");
    EXPECT_EQ(records[1].bootId, "9e7d6c5b4a3948d7a6f5e4d3c2b1a090");
}

}  // namespace
}  // namespace quomble
