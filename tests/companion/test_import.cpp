#include "companion/history.h"
#include "companion_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace quomble {
namespace {

using testing::at;
using testing::readsCleanly;
using testing::TempFolder;

const std::string kData = std::string(QUOMBLE_TEST_DATA) + "/import/";

std::string importLast(const std::string& file, ImportNotes& notes, const char* now = "07.12.2026 12:00:00")
{
    std::ifstream in(kData + file, std::ios::binary);
    EXPECT_TRUE(in.good()) << file;
    return logTextOf(bootsFromLast(in, at(now), notes), at(now), notes);
}

std::string importLastText(const std::string& text, ImportNotes& notes)
{
    std::istringstream in(text);
    return logTextOf(bootsFromLast(in, at("07.12.2026 12:00:00"), notes), at("07.12.2026 12:00:00"), notes);
}

// The recorded lists were printed in Central Europe.
std::vector<BootSpan> journalBoots(const std::string& list, const char* tailsFile, ImportNotes& notes)
{
    const testing::LocalTimeZone zone(testing::kCentralEurope);
    std::ifstream in(kData + list, std::ios::binary);
    const auto boots = parseBootList(in, notes);
    if (!tailsFile)
        return bootsFromJournal(boots, nullptr, at("07.12.2026 12:00:00"), notes);
    std::ifstream tailsIn(kData + tailsFile, std::ios::binary);
    const auto tails = parseShutdownTails(tailsIn, notes);
    return bootsFromJournal(boots, &tails, at("07.12.2026 12:00:00"), notes);
}

bool mentions(const ImportNotes& notes, const std::string& word)
{
    return std::any_of(notes.begin(), notes.end(),
                       [&](const std::string& note) { return note.find(word) != std::string::npos; });
}

TEST(ImportLast, RecordedOutputGivesShutdownsCrashesAndTheRunningBoot)
{
    ImportNotes notes;
    const std::string log = importLast("last-x-F.txt", notes);
    EXPECT_EQ(log,
              "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
              "02.12.2026 08:03:12 \r\n"  // crashed: its reboot line shows a later shutdown
              "02.12.2026 12:30:00 03.12.2026 00:00:01\r\n"  // the shutdown record after the run level 0
              "04.12.2026 09:00:00 04.12.2026 17:45:30\r\n"
              "07.12.2026 08:02:11 \r\n");
    EXPECT_TRUE(notes.empty()) << notes.front();
    TempFolder dir;
    EXPECT_TRUE(readsCleanly(log, dir));
}

TEST(ImportLast, SeveralWtmpFilesInAnyOrderAreJoinedInTime)
{
    ImportNotes notes;
    const std::string log = importLast("last-two-files.txt", notes);
    EXPECT_EQ(log,
              "02.11.2026 09:15:00 02.11.2026 18:20:33\r\n"
              "03.11.2026 08:00:00 \r\n"  // "still running" in the older file, but another boot followed
              "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
              "07.12.2026 08:02:11 \r\n");
}

TEST(ImportLast, ClockOdditiesAreSettledAndReported)
{
    ImportNotes notes;
    const std::string log = importLast("last-clock.txt", notes);
    EXPECT_EQ(log,
              // the end of summer time: the next boot's local time is before this shutdown
              "24.10.2026 20:00:00 25.10.2026 02:30:00\r\n"
              "25.10.2026 02:30:00 25.10.2026 10:00:00\r\n"
              // a boot in 2000 (hardware clock reset) and one in 2027 (clock ahead) are dropped
              "26.10.2026 19:00:00 26.10.2026 23:00:00\r\n"
              // shut down before it booted: the reboot record was written with the clock on
              // local time, an hour ahead
              "27.10.2026 07:00:00 27.10.2026 07:30:00\r\n"
              "07.12.2026 08:02:11 \r\n");
    EXPECT_TRUE(mentions(notes, "after now"));
    EXPECT_TRUE(mentions(notes, "does not fit"));
    EXPECT_TRUE(mentions(notes, "moved by -1 h"));
    EXPECT_TRUE(mentions(notes, "after the next boot"));
    TempFolder dir;
    EXPECT_TRUE(readsCleanly(log, dir));
}

TEST(ImportLast, OtherTimeFormats)
{
    ImportNotes notes;
    // --time-format iso
    EXPECT_EQ(
        importLastText("reboot   system boot  6.1.0-28-amd64   2026-12-07T08:02:11+01:00   still running\n"
                       "shutdown system down  6.1.0-28-amd64   2026-12-06T23:14:05+01:00 - "
                       "2026-12-07T08:02:11+01:00 (08:48)\n"
                       "reboot   system boot  6.1.0-28-amd64   2026-12-06T08:01:12+01:00 - "
                       "2026-12-06T23:14:05+01:00 (15:12)\n",
                       notes),
        "06.12.2026 08:01:12 06.12.2026 23:14:05\r\n07.12.2026 08:02:11 \r\n");
    EXPECT_TRUE(notes.empty());

    // Without -F the year and seconds are missing: nothing can be taken, and the user is told.
    EXPECT_EQ(
        importLastText("reboot   system boot  6.1.0-28-amd64   Mon Dec  7 08:02   still running\n", notes),
        "");
    EXPECT_TRUE(mentions(notes, "-F"));
}

TEST(ImportLast, RebootLinesEndingInCrashOrDownWithoutShutdownRecordStayOpen)
{
    ImportNotes notes;
    EXPECT_EQ(
        importLastText(
            "reboot   system boot  6.1.0   Mon Dec  7 08:02:11 2026   still running\n"
            "reboot   system boot  6.1.0   Sun Dec  6 10:00:00 2026 - down                     (00:10)\n"
            "reboot   system boot  6.1.0   Sat Dec  5 10:00:00 2026 - crash                    (00:10)\n",
            notes),
        "05.12.2026 10:00:00 \r\n06.12.2026 10:00:00 \r\n07.12.2026 08:02:11 \r\n");
}

TEST(ImportLast, HostileInputDoesNotStopTheImport)
{
    std::string junk = "reboot system boot\n\n - \x01\x02\xff\n";
    junk +=
        "reboot   system boot  " + std::string(1 << 20, 'x') + " Mon Dec  7 08:02:11 2026 still running\n";
    junk += "reboot   system boot  6.1.0   Mon Dec 32 08:02:11 2026   still running\n";
    junk += "reboot   system boot  6.1.0   Mon Feb 29 08:02:11 2026   still running\n";
    junk += "reboot   system boot  6.1.0   Mon Dec  7 24:00:00 2026   still running\n";
    junk += "reboot   system boot  6.1.0   Mon Dec  7 08:02:11 99999   still running\n";
    junk += "shutdown system down  6.1.0   Mon Dec  7 08:02:11 2026 - Mon";
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i)
        junk += static_cast<char>(random() % 256);
    ImportNotes notes;
    const std::string log = importLastText(junk, notes);
    EXPECT_EQ(log, "");
    EXPECT_TRUE(mentions(notes, "skipped"));
}

TEST(ImportJournal, BootListWithTailsTellsShutdownsFromCrashes)
{
    ImportNotes notes;
    const auto boots = journalBoots("journal-list-boots.txt", "journal-tails.txt", notes);
    const std::string log = logTextOf(boots, at("07.12.2026 12:00:00"), notes);
    EXPECT_EQ(log,
              "30.11.2026 18:40:02 30.11.2026 23:05:47\r\n"
              "01.12.2026 07:58:31 01.12.2026 22:10:09\r\n"
              "02.12.2026 08:03:05 \r\n"  // its journal ends without a shutdown
              "02.12.2026 12:29:52 03.12.2026 00:00:04\r\n"
              "04.12.2026 08:59:51 04.12.2026 17:45:33\r\n"  // no tail: taken as shut down, and said so
              "07.12.2026 08:02:03 \r\n");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_TRUE(mentions(notes, "1 boot has no journal tail"));
}

TEST(ImportJournal, OlderListFormatAndAnyListOrder)
{
    ImportNotes notes;
    const auto dashed = journalBoots("journal-list-boots-dash.txt", nullptr, notes);
    EXPECT_EQ(logTextOf(dashed, at("07.12.2026 12:00:00"), notes),
              "01.12.2026 07:58:31 01.12.2026 22:10:09\r\n"
              "02.12.2026 08:03:05 02.12.2026 09:47:13\r\n"
              "07.12.2026 08:02:03 \r\n");

    const testing::LocalTimeZone zone(testing::kCentralEurope);
    std::istringstream reversed(
        "  0 7b1c9e2d8f3a4b5c6d7e8f9a0b1c2d3e Mon 2026-12-07 08:02:03 CET Mon 2026-12-07 11:58:40 CET\n"
        " -1 0a1b2c3d4e5f46a7b8c9d0e1f2a3b4c5 Tue 2026-12-01 07:58:31.123 UTC Tue 2026-12-01 22:10:09 UTC\n"
        "No boots\n -7 nothex Tue 2026-12-01 07:58:31 CET Tue 2026-12-01 22:10:09 CET\n"
        " -8 0a1b2c3d4e5f46a7b8c9d0e1f2a3b4c5 Tue 2026-13-01 07:58:31 CET Tue 2026-12-01 22:10:09 CET\n");
    const auto list = parseBootList(reversed, notes);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].index, -1);
    EXPECT_EQ(list[1].index, 0);
    EXPECT_TRUE(mentions(notes, "3 lines of the boot list"));
}

TEST(ImportJournal, ZonesAreReadExactlyOrRefused)
{
    const testing::LocalTimeZone zone(testing::kNewYork);
    std::istringstream list(
        " -2 0a1b2c3d4e5f46a7b8c9d0e1f2a3b4c5 Tue 2026-12-01 18:28:31 +0530 Wed 2026-12-02 07:40:09 +04\n"
        " -1 f00dbabe12344321abcdef0123456789 Fri 2026-12-04 08:59:51 EDT Fri 2026-12-04 17:45:33 EST\n"
        "  0 7b1c9e2d8f3a4b5c6d7e8f9a0b1c2d3e Mon 2026-12-07 13:02:03 GMT Mon 2026-12-07 11:58:40 -05:00\n");
    ImportNotes notes;
    const auto boots = parseBootList(list, notes);
    ASSERT_EQ(boots.size(), 3u);
    EXPECT_EQ(boots[0].first, at("01.12.2026 07:58:31"));
    EXPECT_EQ(boots[0].last, at("01.12.2026 22:40:09"));
    EXPECT_EQ(boots[1].first, at("04.12.2026 07:59:51"));  // EDT, the zone's summer time, in December
    EXPECT_EQ(boots[1].last, at("04.12.2026 17:45:33"));
    EXPECT_EQ(boots[2].first, at("07.12.2026 08:02:03"));
    EXPECT_EQ(boots[2].last, at("07.12.2026 11:58:40"));
    // Not a zone of New York: India, Ireland or Israel.
    std::istringstream ist("  0 7b1c9e2d8f3a4b5c6d7e8f9a0b1c2d3e Mon 2026-12-07 13:02:03 IST Mon 2026-12-07 "
                           "16:58:40 IST\n");
    EXPECT_THROW(parseBootList(ist, notes), std::runtime_error);
}

TEST(ImportJournal, TailMarkersOfTheSeveralSystemdVersions)
{
    std::istringstream tails(
        "Hint: You are currently not seeing messages from other users and the system.\n"
        "-- Boot 00000000000000000000000000000001 --\n"
        "Dec 01 22:10:07 pc systemd[1]: Reached target System Power Off.\n"
        "== 00000000000000000000000000000002\n"
        "Dec 02 22:10:07 pc systemd[1]: Reached target reboot.target - System Reboot.\n"
        "-- Boot 00000000000000000000000000000003 --\n"
        "Dec 03 22:10:07 pc systemd[1]: Reached target graphical.target - Graphical Interface.\n"
        "Dec 03 22:10:09 pc systemd[1]: Stopped target Shutdown.\n");
    ImportNotes notes;
    const auto clean = parseShutdownTails(tails, notes);
    EXPECT_TRUE(clean.at("00000000000000000000000000000001"));
    EXPECT_TRUE(clean.at("00000000000000000000000000000002"));
    EXPECT_FALSE(clean.at("00000000000000000000000000000003"));
    EXPECT_TRUE(mentions(notes, "taken by a user who sees only his own journal entries"));
}

TEST(ImportBoth, JournalFillsInWhatWtmpLacks)
{
    ImportNotes notes;
    std::ifstream lastIn(kData + "last-x-F.txt", std::ios::binary);
    const auto fromLast = bootsFromLast(lastIn, at("07.12.2026 12:00:00"), notes);
    const auto fromJournal = journalBoots("journal-list-boots.txt", "journal-tails.txt", notes);
    const std::string log = logTextOf(mergeBoots(fromLast, fromJournal, at("07.12.2026 12:00:00"), notes),
                                      at("07.12.2026 12:00:00"), notes);
    EXPECT_EQ(log,
              "30.11.2026 18:40:02 30.11.2026 23:05:47\r\n"  // older than wtmp
              "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
              "02.12.2026 08:03:12 \r\n"
              "02.12.2026 12:30:00 03.12.2026 00:00:01\r\n"
              "04.12.2026 09:00:00 04.12.2026 17:45:30\r\n"
              "07.12.2026 08:02:11 \r\n");
}

TEST(ImportMerge, EntriesOfTheExistingLogWin)
{
    // The tool logged this boot at install time; the import adds the history before it.
    const auto existing = bootsFromLog("07.12.2026 09:30:00 \r\n");
    ImportNotes notes;
    std::ifstream lastIn(kData + "last-x-F.txt", std::ios::binary);
    const auto imported = settleBoots(bootsFromLast(lastIn, at("07.12.2026 12:00:00"), notes),
                                      at("07.12.2026 12:00:00"), notes);
    std::size_t added = 0;
    const std::string log = formatLog(mergeIntoLog(existing, imported, added, notes));
    EXPECT_EQ(added, 4u);
    EXPECT_TRUE(log.starts_with("01.12.2026 07:58:40 01.12.2026 22:10:05\r\n")) << log;
    EXPECT_TRUE(log.ends_with("04.12.2026 09:00:00 04.12.2026 17:45:30\r\n07.12.2026 09:30:00 \r\n")) << log;
    EXPECT_THROW(bootsFromLog("07.12.2026 09:30:00 \r\nnot an entry\r\n"), std::runtime_error);
}

TEST(ImportMerge, ABootWithoutShutdownIsOnlyTheBootThatLiesWithinIt)
{
    // wtmp's newest boot says "still running" but was written two years ago; the journal
    // knows only the running boot.
    const std::vector<BootSpan> stale = {
        {at("04.03.2024 08:00:17"), std::nullopt, at("04.03.2024 08:01:10")}};
    const std::vector<BootSpan> running = {
        {at("07.12.2026 08:02:03"), std::nullopt, at("07.12.2026 11:58:40")}};
    ImportNotes notes;
    const auto merged = mergeBoots(stale, running, at("07.12.2026 12:00:00"), notes);
    EXPECT_EQ(formatLog(merged), "04.03.2024 08:00:17 \r\n07.12.2026 08:02:03 \r\n");
    EXPECT_TRUE(mentions(notes,
                         "the boot of 04.03.2024 08:00:17 has no shutdown record and later boots follow "
                         "it: written as a crash"));
    // Where the history shows the boot running until later (here the journal), an entry the log
    // made at the installation hours after the boot is that boot.
    std::size_t added = 0;
    const auto same = mergeBoots({{at("07.12.2026 08:02:11"), std::nullopt, at("07.12.2026 08:02:11")}},
                                 running, at("07.12.2026 12:00:00"), notes);
    EXPECT_EQ(formatLog(mergeIntoLog(bootsFromLog("07.12.2026 09:30:00 \r\n"), same, added, notes)),
              "07.12.2026 09:30:00 \r\n");
    EXPECT_EQ(added, 0u);
}

TEST(ImportMerge, SourcesThatKeptEitherSideOfAClockSetBackGiveOneSide)
{
    // wtmp kept two boots recorded with the clock hours ahead, the journal a boot after the
    // clock was set back, which began before them and ended after them.
    const std::vector<BootSpan> ahead = {
        {at("02.12.2026 18:30:00"), at("02.12.2026 19:30:00"), at("02.12.2026 19:30:00")},
        {at("02.12.2026 20:00:00"), at("02.12.2026 21:00:00"), at("02.12.2026 21:00:00")},
        {at("07.12.2026 08:02:11"), std::nullopt, at("07.12.2026 12:00:00")}};
    const std::vector<BootSpan> after = {
        {at("02.12.2026 17:00:00"), at("02.12.2026 20:00:00"), at("02.12.2026 20:00:00")},
        {at("07.12.2026 08:02:03"), std::nullopt, at("07.12.2026 11:58:40")}};
    ImportNotes notes;
    EXPECT_EQ(formatLog(mergeBoots(ahead, after, at("07.12.2026 12:00:00"), notes)),
              "02.12.2026 18:30:00 02.12.2026 19:30:00\r\n"
              "02.12.2026 20:00:00 02.12.2026 21:00:00\r\n"
              "07.12.2026 08:02:11 \r\n");
    EXPECT_TRUE(mentions(notes, "the boot of 02.12.2026 17:00:00 does not fit"));
}

TEST(LogText, DuplicatesOverlapsAndOutOfRangeBoots)
{
    ImportNotes notes;
    std::vector<BootSpan> boots = {
        {at("05.12.2026 08:00:00"), at("05.12.2026 11:00:00"), 0},  // overlaps the next
        {at("05.12.2026 10:00:00"), at("05.12.2026 12:00:00"), 0},
        {at("05.12.2026 10:00:00"), std::nullopt, 0},  // the same boot again
        {at("01.01.1980 00:00:00"), std::nullopt, 0},
        {at("08.12.2026 00:00:00"), std::nullopt, 0},
        {at("05.12.2026 07:00:00"), std::nullopt, 0},  // five hours back: out of place
    };
    EXPECT_EQ(logTextOf(boots, at("07.12.2026 12:00:00"), notes),
              "05.12.2026 08:00:00 05.12.2026 10:00:00\r\n"
              "05.12.2026 10:00:00 05.12.2026 12:00:00\r\n");
    EXPECT_EQ(notes.size(), 5u);
}

TEST(LogText, AnyHistoryGivesALogThatTheProgramAccepts)
{
    std::mt19937 random(2026);
    TempFolder dir;
    const DateTime base = at("01.01.2020 00:00:00");
    for (int round = 0; round < 200; ++round) {
        std::vector<BootSpan> boots;
        const int count = static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i) {
            const DateTime login = base + static_cast<DateTime>(random() % (3 * 86400));
            std::optional<DateTime> logout;
            if (random() % 3 != 0)
                logout = login + static_cast<DateTime>(random() % 40000) - 5000;
            boots.push_back({login, logout, login});
        }
        ImportNotes notes;
        const std::string log = logTextOf(boots, base + 4 * 86400, notes);
        if (!log.empty()) {
            ASSERT_TRUE(readsCleanly(log, dir)) << log;
        }
    }
}

}  // namespace
}  // namespace quomble
