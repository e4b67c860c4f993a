// quomble-import on recorded outputs of real machines' kinds: one test per kind.
#include "companion/log_writer.h"
#include "companion_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quomble {
namespace {

using testing::readFile;
using testing::readsCleanly;
using testing::runTool;
using testing::shellQuoted;
using testing::TempFolder;
using testing::writeFile;

const std::string kData = std::string(QUOMBLE_TEST_DATA) + "/import/";

struct ToolRun {
    int status = -1;
    std::string log;   // standard output: the log with --output -
    std::string said;  // standard error
};

// quomble-import with --now and the given arguments, writing the log to standard output.
ToolRun importToStdout(const std::string& args, const char* now = "07.12.2026 12:00:00")
{
    TempFolder dir;
    ToolRun run;
    run.status = runTool(std::string(QUOMBLE_IMPORT_EXE) + " --now '" + now + "' --output - " + args, dir,
                         &run.log, false);
    run.said = readFile(dir / "errors.txt");
    return run;
}

std::string data(const char* file) { return shellQuoted(kData + file); }

TEST(ImportSamples, WtmpdbOutputWithItsSpacingAndShutdownLines)
{
    const ToolRun run = importToStdout("--last " + data("wtmpdb-last-x-F.txt"));
    EXPECT_EQ(run.status, 0) << run.said;
    EXPECT_EQ(run.log, "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
                       "02.12.2026 08:03:12 \r\n"
                       "02.12.2026 12:30:00 03.12.2026 00:00:01\r\n"
                       "04.12.2026 09:00:00 04.12.2026 17:45:30\r\n"
                       "07.12.2026 08:02:11 \r\n");
}

TEST(ImportSamples, JournalIndexOrderIsNotTimeOrder)
{
    const testing::LocalTimeZone zone(testing::kCentralEurope);
    // Boot -1 ran with the clock two days ahead: it is dropped, and the running boot stays last and open.
    const ToolRun run = importToStdout("--journal " + data("journal-list-boots-clock.txt"));
    EXPECT_EQ(run.status, 0) << run.said;
    EXPECT_EQ(run.log, "01.12.2026 07:58:31 01.12.2026 22:10:09\r\n"
                       "02.12.2026 12:29:52 03.12.2026 00:00:04\r\n"
                       "04.12.2026 08:59:51 04.12.2026 17:45:33\r\n"
                       "07.12.2026 08:02:03 \r\n");
    EXPECT_NE(run.said.find("the boot of 07.12.2026 09:40:12 does not fit"), std::string::npos) << run.said;
}

TEST(ImportSamples, OneBootWithAWrongClockIsDroppedNotTheRightOnesAfterIt)
{
    const ToolRun run = importToStdout("--last " + data("last-clock-ahead.txt"));
    EXPECT_EQ(run.log, "04.12.2026 09:00:00 04.12.2026 17:45:30\r\n"
                       "05.12.2026 11:00:00 05.12.2026 13:10:00\r\n"
                       "05.12.2026 14:00:00 05.12.2026 22:40:00\r\n"
                       "07.12.2026 08:02:11 \r\n");
    EXPECT_NE(run.said.find("the boot of 05.12.2026 17:30:00 does not fit"), std::string::npos) << run.said;
}

TEST(ImportSamples, AClockSetBackAfterRunningAheadKeepsOneSideOfTheJump)
{
    // Two boots of 2 December ran with the clock two hours ahead; the third, after the clock
    // was set back, began and ended before the second one's end.
    const ToolRun run = importToStdout("--last " + data("wtmpdb-clock-set-back.txt"));
    EXPECT_EQ(run.log, "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
                       "02.12.2026 08:03:12 02.12.2026 14:00:00\r\n"
                       "02.12.2026 14:30:05 02.12.2026 15:30:00\r\n"
                       "02.12.2026 15:30:02 02.12.2026 16:30:00\r\n"
                       "02.12.2026 17:00:04 02.12.2026 18:00:00\r\n"
                       "07.12.2026 08:02:11 \r\n");
    EXPECT_NE(
        run.said.find("the boot of 02.12.2026 16:00:03 does not fit between the boots around it and was "
                      "dropped"),
        std::string::npos)
        << run.said;
    // The journal of the same days.
    const testing::LocalTimeZone zone(testing::kCentralEurope);
    const ToolRun journal = importToStdout("--journal " + data("journal-list-boots-set-back.txt"));
    EXPECT_EQ(journal.log, "01.12.2026 07:58:31 01.12.2026 22:10:09\r\n"
                           "02.12.2026 08:03:05 02.12.2026 14:00:03\r\n"
                           "02.12.2026 14:30:09 02.12.2026 15:30:03\r\n"
                           "02.12.2026 15:30:08 02.12.2026 16:30:03\r\n"
                           "02.12.2026 17:00:09 02.12.2026 18:00:03\r\n"
                           "07.12.2026 08:02:03 \r\n");
}

TEST(ImportSamples, HardwareClockOnLocalTimeIsCorrectedWhereTheOutputShowsTheOffset)
{
    const testing::LocalTimeZone zone(testing::kCentralEurope);
    // wtmp: the run level record, written once the clock was set, lies an hour before the reboot record.
    const ToolRun last = importToStdout("--last " + data("last-rtc-local-time.txt"), "07.12.2026 08:30:00");
    EXPECT_EQ(last.log, "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
                        "04.12.2026 09:00:00 04.12.2026 09:40:00\r\n"
                        "07.12.2026 08:02:11 \r\n");
    EXPECT_NE(
        last.said.find("the boot of 04.12.2026 10:00:00 was recorded before the clock was set (a hardware "
                       "clock on local time): moved by -1 h to 04.12.2026 09:00:00"),
        std::string::npos)
        << last.said;
    // journal: a boot's first entry lies after its last one; the first boot shows no offset and stays.
    const ToolRun journal =
        importToStdout("--journal " + data("journal-rtc-local-time.txt"), "07.12.2026 08:30:00");
    EXPECT_EQ(journal.log, "01.12.2026 08:58:31 01.12.2026 22:10:09\r\n"
                           "04.12.2026 08:59:51 04.12.2026 09:40:03\r\n"
                           "07.12.2026 08:02:03 \r\n");
}

TEST(ImportSamples, JournalTimesAreReadInTheZoneTheyArePrintedIn)
{
    // A list printed in UTC, imported on a machine in New York: its summer and winter time apply.
    const testing::LocalTimeZone zone(testing::kNewYork);
    const ToolRun utc = importToStdout("--journal " + data("journal-list-boots-utc.txt"));
    EXPECT_EQ(utc.log, "01.07.2026 08:00:07 01.07.2026 17:31:40\r\n"
                       "01.12.2026 07:58:31 01.12.2026 22:10:09\r\n"
                       "04.12.2026 08:59:51 04.12.2026 17:45:33\r\n"
                       "07.12.2026 08:02:03 \r\n");
    EXPECT_NE(utc.said.find("the boot list gives its times in UTC: the times of 4 boots were converted to "
                            "local time (EST, EDT)"),
              std::string::npos)
        << utc.said;
    // IST names zones of India, Ireland and Israel: a machine in New York cannot tell which.
    const ToolRun ist = importToStdout("--journal " + data("journal-list-boots-ist.txt"));
    EXPECT_EQ(ist.status, 1);
    EXPECT_EQ(ist.log, "");
    EXPECT_NE(ist.said.find("the boot list gives its times in IST, an abbreviation that the local time zone "
                            "does not use (it uses EST, EDT in 2026)"),
              std::string::npos)
        << ist.said;
}

TEST(ImportSamples, AJournalSeenByAnOrdinaryUserIsSaidToGiveLateBootTimes)
{
    // journalctl's notice on standard error, caught with 2>&1: the entries are only the user's.
    const testing::LocalTimeZone zone(testing::kCentralEurope);
    const ToolRun run = importToStdout("--journal " + data("journal-list-boots-user.txt"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.said.find("not understood"), std::string::npos) << run.said;
    EXPECT_NE(run.said.find("the boot list was made by a user who sees only his own journal entries: the "
                            "times of its 3 boots, 01.12.2026 08:00:12 to 07.12.2026 08:03:20, are that "
                            "user's first and last entries, so each boot may begin late and end early; "
                            "list the boots with sudo journalctl --list-boots"),
              std::string::npos)
        << run.said;
}

TEST(ImportSamples, HardwareClockOnLocalTimeWithoutRunLevelRecordsIsSetBackByTheZonesOffset)
{
    // wtmpdb keeps no run level records. The running boot's reboot record lies an hour after now.
    const testing::LocalTimeZone centralEurope(testing::kCentralEurope);
    const ToolRun last = importToStdout("--last " + data("wtmpdb-rtc-local-time.txt"), "07.12.2026 08:30:00");
    EXPECT_EQ(last.log, "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
                        "04.12.2026 09:00:00 04.12.2026 09:40:00\r\n"
                        "07.12.2026 08:02:11 \r\n");
    EXPECT_NE(
        last.said.find("the boot of 07.12.2026 09:02:11 was recorded before the clock was set (a hardware "
                       "clock on local time): moved by -1 h to 07.12.2026 08:02:11"),
        std::string::npos)
        << last.said;
    // India is five and a half hours ahead of UTC: a boot of 50 minutes begins at 09:00:02.
    const testing::LocalTimeZone india(testing::kIndia);
    const ToolRun journal = importToStdout("--journal " + data("journal-list-boots-ist.txt"));
    EXPECT_EQ(journal.log, "01.12.2026 09:12:40 01.12.2026 19:05:18\r\n"
                           "04.12.2026 09:00:02 04.12.2026 09:50:47\r\n"
                           "07.12.2026 08:02:03 \r\n");
    EXPECT_NE(journal.said.find("the boot of 04.12.2026 14:30:02 was recorded before the clock was set (a "
                                "hardware clock on local time): moved by -5 h 30 min to 04.12.2026 09:00:02"),
              std::string::npos)
        << journal.said;
}

TEST(ImportSamples, OutputWithoutYearsWritesNothingAndSaysWhy)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    std::string said;
    EXPECT_EQ(runTool(std::string(QUOMBLE_IMPORT_EXE) + " --now '07.12.2026 12:00:00' --output " +
                          shellQuoted(log) + " --last " + data("last-x-short-de.txt"),
                      dir, &said),
              1);
    EXPECT_FALSE(std::filesystem::exists(log));
    EXPECT_NE(
        said.find("3 reboot or shutdown lines without a full date and time (with year and seconds) were "
                  "skipped: call last with -F"),
        std::string::npos)
        << said;
    EXPECT_NE(said.find("nothing written"), std::string::npos) << said;
}

TEST(ImportSamples, TranslatedBeginsLinesSeparateRotatedFilesInEitherOrder)
{
    const std::string expected = "02.11.2026 09:15:00 02.11.2026 18:20:33\r\n"
                                 "03.11.2026 08:00:00 \r\n"
                                 "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n"
                                 "07.12.2026 08:02:11 \r\n";
    EXPECT_EQ(importToStdout("--last " + data("last-two-files-de.txt")).log, expected);  // old file first
    EXPECT_EQ(importToStdout("--last " + data("last-two-files-zh.txt")).log, expected);  // new file first
}

TEST(ImportSamples, EndOfSummerTimeKeepsTheOrderOfLast)
{
    // 02:10-02:20 summer time, then 02:05-03:15 winter time: last's order stands, and the second
    // boot begins where the first ended, as the logger writes it.
    const ToolRun run = importToStdout("--last " + data("last-summer-time.txt"));
    EXPECT_EQ(run.log, "24.10.2026 20:00:00 24.10.2026 23:30:00\r\n"
                       "25.10.2026 02:10:00 25.10.2026 02:20:00\r\n"
                       "25.10.2026 02:20:00 25.10.2026 03:15:00\r\n"
                       "25.10.2026 09:00:00 25.10.2026 18:00:00\r\n"
                       "07.12.2026 08:02:11 \r\n");
}

TEST(ImportSamples, BootsThatTheServiceLoggedAreNotAddedAgain)
{
    // The service logs each boot seconds after the kernel's boot time; wtmp and the journal know
    // all the same boots, and the journal one more before them.
    const testing::LocalTimeZone zone(testing::kCentralEurope);
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    std::filesystem::copy_file(kData + "logged-by-service.log", log);
    const std::string import =
        std::string(QUOMBLE_IMPORT_EXE) + " --now '07.12.2026 12:00:00' --merge --output " + shellQuoted(log);
    std::string said;
    EXPECT_EQ(runTool(import + " --last " + data("wtmpdb-last-x-F.txt"), dir, &said), 0);
    EXPECT_NE(said.find("no boot to add; nothing written"), std::string::npos) << said;
    EXPECT_EQ(runTool(import + " --last " + data("last-x-F.txt") + " --journal " +
                          data("journal-list-boots.txt") + " --journal-tails " + data("journal-tails.txt"),
                      dir, &said),
              0);
    EXPECT_EQ(readFile(log),
              "30.11.2026 18:40:02 30.11.2026 23:05:47\r\n" + readFile(kData + "logged-by-service.log"));
}

TEST(ImportSamples, MergeNeverChangesTheLogsEntriesAndTwiceIsOnce)
{
    const testing::LocalTimeZone zone(testing::kCentralEurope);
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    std::filesystem::copy_file(kData + "merge-existing.log", log);
    const std::string import =
        std::string(QUOMBLE_IMPORT_EXE) + " --now '07.12.2026 12:00:00' --merge --output " + shellQuoted(log);
    // An old rotated file whose last boot says "still running", then the journal, whose boot of
    // 03.12. 02:26 overlaps the log's entry that ends at 05:00.
    const std::string fromWtmp1 = import + " --last " + data("last-wtmp1.txt");
    const std::string fromJournal = import + " --journal " + data("journal-list-boots-extra.txt");
    std::string said;
    EXPECT_EQ(runTool(fromWtmp1, dir, &said), 0) << said;
    EXPECT_NE(said.find("2 entries added, 3 entries kept"), std::string::npos) << said;
    EXPECT_EQ(runTool(fromJournal, dir, &said), 0) << said;
    EXPECT_NE(
        said.find("the imported boot 03.12.2026 02:26:01 03.12.2026 04:10:00 overlaps an entry of the log"),
        std::string::npos)
        << said;
    const std::string merged = readFile(log);
    EXPECT_EQ(merged, "02.11.2026 09:15:00 02.11.2026 18:20:33\r\n"
                      "03.11.2026 08:00:00 \r\n"
                      "01.12.2026 07:59:20 01.12.2026 22:10:05\r\n"
                      "02.12.2026 12:30:45 03.12.2026 05:00:00\r\n"
                      "04.12.2026 08:59:51 04.12.2026 17:45:33\r\n"
                      "07.12.2026 08:02:52 \r\n");
    EXPECT_TRUE(readsCleanly(log));

    EXPECT_EQ(runTool(fromWtmp1, dir, &said), 0);
    EXPECT_NE(said.find("nothing written"), std::string::npos) << said;
    EXPECT_EQ(runTool(fromJournal, dir), 0);
    EXPECT_EQ(readFile(log), merged);
}

TEST(ImportSamples, AWtmpThatStoppedLongAgoKeepsItsLastBootAsACrash)
{
    // wtmp was last written in March 2024; its newest boot still says "still running". The log
    // holds only the running boot, logged by the service: that is another boot.
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    writeFile(log, "07.12.2026 08:02:52 \r\n");
    const std::string import = std::string(QUOMBLE_IMPORT_EXE) +
                               " --now '07.12.2026 12:00:00' --merge --output " + shellQuoted(log) +
                               " --last " + data("last-wtmp-stopped.txt");
    std::string said;
    EXPECT_EQ(runTool(import, dir, &said), 0) << said;
    EXPECT_NE(said.find("the boot of 04.03.2024 08:00:17 has no shutdown record and ends before the log's "
                        "entry of 07.12.2026 08:02:52: written as a crash"),
              std::string::npos)
        << said;
    const std::string merged = readFile(log);
    EXPECT_EQ(merged, "01.03.2024 08:00:15 01.03.2024 18:02:44\r\n"
                      "04.03.2024 08:00:17 \r\n"
                      "07.12.2026 08:02:52 \r\n");
    EXPECT_EQ(runTool(import, dir, &said), 0);
    EXPECT_NE(said.find("nothing written"), std::string::npos) << said;
    EXPECT_EQ(readFile(log), merged);
}

TEST(ImportSamples, APipeInThePlaceOfTheLogIsRefusedWithoutWaiting)
{
    TempFolder dir;
    const auto fifo = dir / "Quomble.log";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string said;
    EXPECT_EQ(runTool("timeout 10 " + std::string(QUOMBLE_IMPORT_EXE) +
                          " --now '07.12.2026 12:00:00' --last " + data("last-x-F.txt") +
                          " --merge --output " + shellQuoted(fifo),
                      dir, &said),
              1);
    EXPECT_NE(said.find(fifo.string() + " is not a regular file\n"), std::string::npos) << said;
    EXPECT_EQ(
        runTool("timeout 10 " + std::string(QUOMBLE_LOG_EXE) + " login " + shellQuoted(fifo), dir, &said), 1);
    EXPECT_NE(said.find("is not a regular file\n"), std::string::npos) << said;
    EXPECT_EQ(said.find("Invalid argument"), std::string::npos) << said;
}

TEST(ImportSamples, MessagesCountInTheSingularAndUsageErrorsSayWhatWasWrong)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    writeFile(dir / "last.txt",
              "reboot   system boot  6.1.0   Mon Dec  7 08:02:11 2026   still running\n"
              "shutdown system down  6.1.0   Sun Dec  6 23:00:00 2025 - Mon Dec  7 08:02:11 2026\n");
    const std::string import = std::string(QUOMBLE_IMPORT_EXE) + " --now '07.12.2026 12:00:00' ";
    std::string said;
    EXPECT_EQ(runTool(import + "--last " + shellQuoted(dir / "last.txt") + " --output " + shellQuoted(log),
                      dir, &said),
              0);
    EXPECT_NE(said.find("1 boot from wtmp"), std::string::npos) << said;
    EXPECT_NE(said.find("1 entry written"), std::string::npos) << said;
    EXPECT_NE(said.find("1 shutdown record before the first boot record was skipped"), std::string::npos)
        << said;

    EXPECT_EQ(runTool(import + "--lats x", dir, &said), 64);
    EXPECT_EQ(said,
              "quomble-import: unknown argument: --lats\nTry 'quomble-import --help' for the options.\n");
    EXPECT_EQ(runTool(import + "--last", dir, &said), 64);
    EXPECT_NE(said.find("--last needs a value"), std::string::npos) << said;
    EXPECT_EQ(runTool(import + "--last x --merge --replace", dir, &said), 64);
    EXPECT_NE(said.find("--merge and --replace exclude each other"), std::string::npos) << said;
}

TEST(ImportSamples, EveryLastFileIsReadLikeRotatedOutputsOneAfterTheOther)
{
    const ToolRun both =
        importToStdout("--last " + data("last-wtmp1.txt") + " --last " + data("last-x-F.txt"));
    ASSERT_EQ(both.status, 0) << both.said;
    EXPECT_TRUE(both.log.starts_with("02.11.2026 09:15:00 02.11.2026 18:20:33\r\n")) << both.log;
    EXPECT_TRUE(both.log.ends_with("07.12.2026 08:02:11 \r\n")) << both.log;
    EXPECT_EQ(importToStdout("--last " + data("last-x-F.txt") + " --last - < " + data("last-wtmp1.txt")).log,
              both.log);
    // An option that takes one value refuses a second.
    const ToolRun twice = importToStdout("--last x --journal a --journal b");
    EXPECT_EQ(twice.status, 64);
    EXPECT_NE(twice.said.find("--journal can be given once"), std::string::npos) << twice.said;
}

TEST(ImportReadme, TheRecipeReadsTheWholeJournalAndTheLastBootIsToldTrue)
{
    const std::string readme = readFile(std::string(QUOMBLE_TEST_DATA) + "/../../README.md");
    const auto start = readme.find("### Importing the history the machine already has");
    ASSERT_NE(start, std::string::npos);
    const std::string section = readme.substr(start, readme.find("\n### ", start + 1) - start);
    // journalctl as a user outside adm and systemd-journal sees only his own entries.
    for (std::size_t at = section.find("journalctl "); at != std::string::npos;
         at = section.find("journalctl ", at + 1))
        EXPECT_EQ(section.compare(at - 5, 5, "sudo "), 0) << section.substr(at, 40);
    // The newest boot is written closed when it was shut down.
    EXPECT_EQ(section.find("The last boot is written as an open entry"), std::string::npos);
    EXPECT_NE(section.find("it is written closed"), std::string::npos);
}

}  // namespace
}  // namespace quomble

namespace quomble {
namespace {

// Recorded in a container that boots in under a second: the crashed first boot's line ends
// at the time of the next boot's shutdown, which lies in the second that boot began.
TEST(ImportSamples, ABootWithoutItsShutdownRecordIsACrashWhateverTheLineSays)
{
    testing::LocalTimeZone utc("UTC0");
    const ToolRun run =
        importToStdout("--last " + data("last-x-F-crash-same-second.txt"), "08.12.2026 17:40:00");
    ASSERT_EQ(run.status, 0) << run.said;
    EXPECT_EQ(run.log, "08.12.2026 17:33:38 \r\n08.12.2026 17:33:40 08.12.2026 17:33:40\r\n"
                       "08.12.2026 17:33:41 08.12.2026 17:33:41\r\n08.12.2026 17:33:43 \r\n");
}

}  // namespace
}  // namespace quomble
