#include "companion/log_writer.h"
#include "companion_support.h"
#include "core/log_lines.h"
#include "core/model.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>
#include <vector>

namespace quomble {
namespace {

using testing::at;
using testing::readFile;
using testing::readsCleanly;
using testing::TempFolder;
using testing::writeFile;

const std::string kClosed = "01.12.2026 07:58:40 01.12.2026 22:10:05\r\n";
const std::string kOpen = "07.12.2026 08:02:11 \r\n";

TEST(PlanLogin, WritesAnOpenEntryOfTwentyCharacters)
{
    const auto empty = planLogin("", at("07.12.2026 08:02:11"));
    EXPECT_EQ(empty.action, LogAction::LoggedIn);
    EXPECT_EQ(empty.content, kOpen);
    EXPECT_EQ(empty.line.size(), 20u);

    const auto after = planLogin(kClosed, at("07.12.2026 08:02:11"));
    EXPECT_EQ(after.action, LogAction::LoggedIn);
    EXPECT_EQ(after.content, kClosed + kOpen);
    EXPECT_TRUE(after.notes.empty());
}

TEST(PlanLogout, ClosesTheOpenLastEntryWithThirtyNineCharacters)
{
    const auto edit = planLogout(kClosed + kOpen, at("07.12.2026 17:30:00"));
    EXPECT_EQ(edit.action, LogAction::LoggedOut);
    EXPECT_EQ(edit.line, "07.12.2026 08:02:11 07.12.2026 17:30:00");
    EXPECT_EQ(edit.content, kClosed + "07.12.2026 08:02:11 07.12.2026 17:30:00\r\n");
}

TEST(PlanLogin, AnOpenLastEntryStaysAsTheCrashRecord)
{
    const std::string crashed = "05.12.2026 09:00:00 \r\n";
    const auto edit = planLogin(kClosed + crashed, at("07.12.2026 08:02:11"));
    EXPECT_EQ(edit.action, LogAction::LoggedInAfterCrash);
    EXPECT_EQ(edit.content, kClosed + crashed + kOpen);
    EXPECT_NE(describe(edit).find("crash"), std::string::npos);

    LogModel model(fixedClock({2026, 12, 7, 12, 0, 0}));
    LogLineReader lines{std::string_view(edit.content)};
    model.LogFile_read(lines);
    EXPECT_EQ(model.BootCount, 3);
    EXPECT_EQ(model.CrashCount, 1);
}

TEST(PlanLogout, WithoutAnOpenLastEntryChangesNothing)
{
    for (const std::string& log : {std::string(), kClosed, kClosed + "junk\r\n", kClosed + "\r\n",
                                   kClosed + "07.12.2026 08:02:11 x\r\n"}) {
        const auto edit = planLogout(log, at("07.12.2026 17:30:00"));
        EXPECT_EQ(edit.action, LogAction::NothingToLogOut) << log;
        EXPECT_FALSE(edit.changed);
        EXPECT_FALSE(edit.notes.empty());
    }
}

TEST(PlanLogout, SecondLogoutFindsNothingOpen)
{
    const auto first = planLogout(kOpen, at("07.12.2026 17:30:00"));
    const auto second = planLogout(first.content, at("07.12.2026 17:31:00"));
    EXPECT_EQ(second.action, LogAction::NothingToLogOut);
}

TEST(PlanEdits, KeepEarlierLinesByteForByte)
{
    // LF-only line ends and a stray CR in an earlier line are the user's business.
    const std::string earlier =
        "01.12.2026 07:58:40 01.12.2026 22:10:05\n02.12.2026 08:00:00\r 02.12.2026 09:00:00\r\n";
    const auto login = planLogin(earlier, at("07.12.2026 08:02:11"));
    EXPECT_EQ(login.content, earlier + kOpen);
    const auto logout = planLogout(login.content, at("07.12.2026 09:00:00"));
    EXPECT_EQ(logout.content.substr(0, earlier.size()), earlier);
}

TEST(PlanEdits, HandleALastLineWithoutLineEnd)
{
    const auto login = planLogin("01.12.2026 07:58:40 01.12.2026 22:10:05", at("07.12.2026 08:02:11"));
    EXPECT_EQ(login.content, kClosed + kOpen);
    const auto logout = planLogout("07.12.2026 08:02:11 ", at("07.12.2026 09:00:00"));
    EXPECT_EQ(logout.content, "07.12.2026 08:02:11 07.12.2026 09:00:00\r\n");
}

TEST(PlanEdits, OpenEntriesWithExtraBlanksOrWithoutTheBlankCanBeClosed)
{
    for (const char* open : {"07.12.2026 08:02:11", "07.12.2026 08:02:11   "}) {
        const auto edit = planLogout(std::string(open) + "\r\n", at("07.12.2026 09:00:00"));
        EXPECT_EQ(edit.content, "07.12.2026 08:02:11 07.12.2026 09:00:00\r\n") << open;
    }
}

TEST(PlanEdits, ACtrlZIsRemovedAloneSoNoEntryIsHidden)
{
    const std::string later = "03.12.2026 07:00:00 03.12.2026 18:00:00\r\n";
    const auto edit = planLogin(kClosed + "\x1a" + later + "\x1a", at("07.12.2026 08:02:11"));
    EXPECT_EQ(edit.content, kClosed + later + kOpen);
    ASSERT_FALSE(edit.notes.empty());
    EXPECT_NE(edit.notes[0].find("2 Ctrl-Z characters"), std::string::npos);
    TempFolder dir;
    EXPECT_TRUE(readsCleanly(edit.content, dir));
}

TEST(PlanLogin, AppendsAfterALastLineThatIsNoEntry)
{
    const auto edit = planLogin(kClosed + "hello", at("07.12.2026 08:02:11"));
    EXPECT_EQ(edit.action, LogAction::LoggedIn);
    EXPECT_EQ(edit.content, kClosed + "hello\r\n" + kOpen);
    EXPECT_FALSE(edit.notes.empty());
}

TEST(ClockSetBack, SmallStepIsAbsorbedSoTheLogStaysInOrder)
{
    // The end of summer time: the boot after a shutdown at 02:50 happens at 02:30.
    const std::string log = "25.10.2026 00:10:00 25.10.2026 02:50:00\r\n";
    const auto login = planLogin(log, at("25.10.2026 02:30:00"));
    EXPECT_EQ(login.line, "25.10.2026 02:50:00 ");
    ASSERT_EQ(login.notes.size(), 1u);
    EXPECT_NE(login.notes[0].find("20 min"), std::string::npos);
    TempFolder dir;
    EXPECT_TRUE(readsCleanly(login.content, dir));

    const auto logout = planLogout("25.10.2026 02:50:00 \r\n", at("25.10.2026 02:40:00"));
    EXPECT_EQ(logout.line, "25.10.2026 02:50:00 25.10.2026 02:50:00");
    EXPECT_EQ(logout.notes.size(), 1u);
}

TEST(ClockSetBack, LargeStepIsWrittenAsTheClockSaysAndReportedAsItIs)
{
    const std::string log = "25.10.2026 00:10:00 25.10.2026 12:00:00\r\n";
    const auto edit = planLogin(log, at("01.01.2020 00:00:05"));
    EXPECT_EQ(edit.line, "01.01.2020 00:00:05 ");
    ASSERT_EQ(edit.notes.size(), 1u);
    EXPECT_NE(edit.notes[0].find("as the clock says; QuombleView will report line 2"), std::string::npos);

    // Behind the last logout but not the last login: the program does not flag an open entry so.
    const auto unflagged = planLogin(log, at("25.10.2026 08:00:00"));
    ASSERT_EQ(unflagged.notes.size(), 1u);
    EXPECT_EQ(unflagged.notes[0].find("will report"), std::string::npos);
}

RunningBoot bootAt(const char* id, const char* start)
{
    RunningBoot boot;
    boot.id = id;
    boot.start = at(start);
    return boot;
}

constexpr const char* kIdA = "0f6b1c2a00004000800000000000000a";
constexpr const char* kIdB = "0f6b1c2a00004000800000000000000b";

TEST(BootIdentity, QuickRebootsAndCrashesAreNewBootsRestartsAreNot)
{
    const std::string closed = "07.12.2026 08:02:11 07.12.2026 08:02:21\r\n";
    const std::string open = "07.12.2026 08:02:11 \r\n";
    const BootMark markA{kIdA, at("07.12.2026 08:02:11"), 1000, true};
    const auto nextBoot = bootAt(kIdB, "07.12.2026 08:02:31");
    const auto now = at("07.12.2026 08:02:32");

    // A reboot ten seconds after the boot: the clean shutdown stays.
    const auto reboot = planLogin(kClosed + closed, now, nextBoot, markA);
    EXPECT_EQ(reboot.action, LogAction::LoggedIn);
    EXPECT_EQ(reboot.content, kClosed + closed + "07.12.2026 08:02:32 \r\n");
    ASSERT_TRUE(reboot.mark.has_value());
    EXPECT_EQ(reboot.mark->bootId, kIdB);

    // A power loss ten seconds after the boot: the crash stays.
    const auto crash = planLogin(kClosed + open, now, nextBoot, markA);
    EXPECT_EQ(crash.action, LogAction::LoggedInAfterCrash);
    EXPECT_EQ(crash.content, kClosed + open + "07.12.2026 08:02:32 \r\n");

    // The service started again in the same boot, also after a login the clock put hours
    // before the boot's start.
    const auto sameBoot = bootAt(kIdA, "07.12.2026 10:00:00");
    EXPECT_EQ(planLogin(kClosed + closed, now, sameBoot, markA).action, LogAction::Reopened);
    const auto again = planLogin(kClosed + open, now, sameBoot, markA);
    EXPECT_EQ(again.action, LogAction::AlreadyLoggedIn);
    EXPECT_FALSE(again.changed);

    // Without a mark: the open entry that the install-time import wrote at the boot's start
    // is this boot's; a closed entry is never opened again by a later boot.
    const auto install =
        planLogin("07.12.2026 08:01:00 \r\n", at("07.12.2026 11:00:00"), bootAt(kIdB, "07.12.2026 08:01:30"));
    EXPECT_EQ(install.action, LogAction::AlreadyLoggedIn);
    ASSERT_TRUE(install.mark.has_value());
    EXPECT_EQ(install.mark->login, at("07.12.2026 08:01:00"));
    EXPECT_EQ(planLogin(kClosed + closed, now, nextBoot).action, LogAction::LoggedIn);
    EXPECT_EQ(planLogin("07.12.2026 07:00:00 \r\n", now, nextBoot).action, LogAction::LoggedInAfterCrash);
}

TEST(BootIdentity, LogoutLeavesTheCrashOfAnEarlierBootOpen)
{
    const BootMark markA{kIdA, at("07.12.2026 08:02:11"), 1000, true};
    const auto edit =
        planLogout(kClosed + kOpen, at("07.12.2026 18:00:00"), bootAt(kIdB, "07.12.2026 09:00:00"), markA);
    EXPECT_EQ(edit.action, LogAction::NothingToLogOut);
    EXPECT_FALSE(edit.changed);
}

TEST(BootIdentity, TheMarkBesideTheLogCarriesTheBootFromRunToRun)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    WriterOptions options;
    options.clock = fixedClock({2026, 12, 7, 8, 2, 11});
    options.boot.id = normalBootId("0F6B1C2A-0000-4000-8000-00000000000A");  // as the kernel writes it
    ASSERT_EQ(options.boot.id, kIdA);
    EXPECT_EQ(writeLog(LogCommand::Login, log, options).action, LogAction::LoggedIn);
    EXPECT_EQ(parseBootMark(readFile(bootMarkPath(log))).value_or(BootMark{}).bootId, kIdA);
    options.clock = fixedClock({2026, 12, 7, 8, 2, 20});
    EXPECT_EQ(writeLog(LogCommand::Logout, log, options).action, LogAction::LoggedOut);
    EXPECT_EQ(writeLog(LogCommand::Login, log, options).action, LogAction::Reopened);
    EXPECT_EQ(writeLog(LogCommand::Logout, log, options).action, LogAction::LoggedOut);
    options.boot.id = kIdB;
    options.clock = fixedClock({2026, 12, 7, 8, 2, 30});
    EXPECT_EQ(writeLog(LogCommand::Login, log, options).action, LogAction::LoggedIn);
    EXPECT_EQ(readFile(log), "07.12.2026 08:02:11 07.12.2026 08:02:20\r\n07.12.2026 08:02:30 \r\n");

    // A damaged mark is no mark: the log's times decide.
    writeFile(bootMarkPath(log), "boot_id=not-a-boot-id\nlogin=07.12.2026 08:02:30\n");
    EXPECT_FALSE(parseBootMark(readFile(bootMarkPath(log))).has_value());
    EXPECT_EQ(writeLog(LogCommand::Logout, log, options).action, LogAction::LoggedOut);
}

TEST(ClockMend, ALoginTakenBeforeTheClockWasSetIsMovedByTheUptime)
{
    // The clock started at the last shutdown (no battery); the time service set it later.
    const std::string before = "06.12.2026 08:00:00 06.12.2026 22:00:00\r\n";
    const std::string open = "06.12.2026 22:00:05 \r\n";
    const BootMark mark{kIdA, at("06.12.2026 22:00:05"), 5000, false};
    const auto now = at("07.12.2026 08:10:00");
    RunningBoot boot = bootAt(kIdA, "07.12.2026 08:02:00");
    boot.uptimeMs = 485000;
    boot.clockSynchronised = true;
    boot.localTimeAgo = [now](std::int64_t seconds) { return now - seconds; };

    const auto mend = planMend(before + open, now, boot, mark);
    EXPECT_EQ(mend.action, LogAction::Mended);
    EXPECT_EQ(mend.content, before + "07.12.2026 08:02:00 \r\n");
    ASSERT_TRUE(mend.mark.has_value());
    EXPECT_EQ(mend.mark->login, at("07.12.2026 08:02:00"));
    EXPECT_EQ(mend.mark->uptimeMs, 5000);

    const auto logout = planLogout(before + open, now, boot, mark);
    EXPECT_EQ(logout.line, "07.12.2026 08:02:00 07.12.2026 08:10:00");

    // A login taken with the clock synchronised, or one the clock still agrees with, stays.
    EXPECT_EQ(planMend(before + open, now, boot, BootMark{kIdA, mark.login, 5000, true}).action,
              LogAction::NothingToMend);
    boot.localTimeAgo = [](std::int64_t seconds) { return at("06.12.2026 22:08:05") - seconds; };
    EXPECT_EQ(planMend(before + open, now, boot, mark).action, LogAction::NothingToMend);
}

TEST(LogFileWriter, CreatesAMissingLogReadableByEveryone)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    const mode_t old = ::umask(077);
    WriterOptions options;
    options.clock = fixedClock({2026, 12, 7, 8, 2, 11});
    const auto edit = writeLog(LogCommand::Login, log, options);
    ::umask(old);
    EXPECT_EQ(edit.action, LogAction::LoggedIn);
    EXPECT_EQ(readFile(log), kOpen);
    struct stat info {};
    ASSERT_EQ(::stat(log.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_FALSE(std::filesystem::exists(dir / "Quomble.log.tmp"));
}

TEST(LogFileWriter, KeepsTheModeOfAnExistingLogAndFollowsALink)
{
    TempFolder dir;
    std::filesystem::create_directories(dir / "data");
    const auto real = dir / "data" / "boots.log";
    writeFile(real, kOpen);
    ::chmod(real.c_str(), 0640);
    const auto link = dir / "Quomble.log";
    std::filesystem::create_symlink(real, link);

    WriterOptions options;
    options.clock = fixedClock({2026, 12, 7, 17, 0, 0});
    EXPECT_EQ(writeLog(LogCommand::Logout, link, options).action, LogAction::LoggedOut);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(real), "07.12.2026 08:02:11 07.12.2026 17:00:00\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(LogFileWriter, ABootDayWrittenByTheToolIsReadByTheProgram)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    WriterOptions options;
    const CivilDateTime times[] = {{2026, 12, 5, 8, 0, 0}, {2026, 12, 5, 18, 0, 0}, {2026, 12, 6, 9, 0, 0},
                                   {2026, 12, 7, 8, 0, 0}, {2026, 12, 7, 20, 0, 0}, {2026, 12, 8, 7, 0, 0}};
    // boot, shutdown, boot (crash), boot, shutdown, boot
    const bool login[] = {true, false, true, true, false, true};
    for (std::size_t i = 0; i < std::size(times); ++i) {
        options.clock = fixedClock(times[i]);
        login[i] ? writeLog(LogCommand::Login, log, options) : writeLog(LogCommand::Logout, log, options);
    }
    EXPECT_TRUE(readsCleanly(log));
    LogModel model(fixedClock({2026, 12, 8, 12, 0, 0}));
    model.LogFile_read(log);
    EXPECT_EQ(model.BootCount, 4);
    EXPECT_EQ(model.LogoutCount, 2);
    EXPECT_EQ(model.CrashCount, 1);
}

TEST(LogFileWriter, ConcurrentWritersDoNotInterleave)
{
    TempFolder dir;
    const auto log = dir / "Quomble.log";
    constexpr int kThreads = 6, kEach = 15;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&log] {
            WriterOptions options;
            options.clock = fixedClock({2026, 12, 7, 8, 0, 0});
            options.probe.chunk = 3;  // many small writes widen the window for a race
            for (int i = 0; i < kEach; ++i)
                writeLog(LogCommand::Login, log, options);
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(readFile(log).size(), std::size_t{kThreads * kEach} * kOpen.size());
    EXPECT_TRUE(readsCleanly(log));
}

TEST(LogFileWriter, RefusesAFileThatIsNoBootLog)
{
    TempFolder dir;
    EXPECT_THROW(writeLog(LogCommand::Login, dir.path()), std::exception);  // a directory
}

}  // namespace
}  // namespace quomble
