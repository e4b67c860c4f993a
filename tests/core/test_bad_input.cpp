// Logs that no logging tool should write, and a clock that jumps: the intake answers each
// with a message of its own, and nothing crashes, blocks or grows without bound.

#include "core/errors.h"
#include "core/log_lines.h"
#include "core/model.h"
#include "core/validation.h"
#include "support/file_faults.h"
#include "support/log_builder.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

using namespace quomble;
using quomble::testing::kNow;
using quomble::testing::logText;
using quomble::testing::readAndRefresh;
using quomble::testing::SettableClock;
namespace fs = std::filesystem;

namespace {

class BadLog : public ::testing::Test {
protected:
    // The message that stops the intake of the log file, or "(no error)".
    std::string intakeError(const Clock& clock = fixedClock(kNow)) const
    {
        return intakeErrorAt(log_, clock);
    }
    static std::string intakeErrorAt(const fs::path& log, const Clock& clock = fixedClock(kNow))
    {
        try {
            LogFileCheck(log);
            LogModel m(clock);
            m.LogFile_read(log);
            m.Statistik_aktualisieren();
        } catch (const IntakeError& e) {
            return e.what();
        }
        return "(no error)";
    }

    quomble::testing::TempFolder folder_;
    fs::path dir_ = folder_.path();
    fs::path log_ = folder_ / "Quomble.log";
};

long peakRssKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

TEST_F(BadLog, FolderOrPipeInThePlaceOfTheLogIsRefusedWithoutWaiting)
{
    fs::create_directory(log_);
    EXPECT_EQ(intakeError(), "LogFile is not a regular file: " + log_.string());
    fs::remove(log_);
    ASSERT_EQ(::mkfifo(log_.c_str(), 0600), 0);
    ::alarm(20);  // opening the pipe would wait for a writer for ever
    EXPECT_EQ(intakeError(), "LogFile is not a regular file: " + log_.string());
    ::alarm(0);
}

TEST_F(BadLog, UnreadableLogIsReportedWithTheReason)
{
    std::ofstream(log_, std::ios::binary) << logText({"07.12.2026 08:00:00 "});
    fs::permissions(log_, fs::perms::none, fs::perm_options::replace);
    const int status = quomble::testing::runUnprivileged(
        [this] { return intakeError() == "LogFile cannot be read: Permission denied" ? 0 : 1; });
    EXPECT_EQ(status, 0);
}

TEST_F(BadLog, LogThatExistsButCannotBeReachedNamesTheReason)
{
    std::ofstream(log_, std::ios::binary) << logText({"07.12.2026 08:00:00 "});
    fs::create_symlink("loop-b", dir_ / "loop-a");
    fs::create_symlink("loop-a", dir_ / "loop-b");
    EXPECT_EQ(intakeErrorAt(dir_ / "loop-a"), "LogFile cannot be read: Too many levels of symbolic links");
    EXPECT_EQ(intakeErrorAt(dir_ / std::string(300, 'L')), "LogFile cannot be read: File name too long");
    // Only a log that is not there is "not available": no file, no folder, a dangling link.
    fs::create_symlink("gone.log", dir_ / "dangling.log");
    for (const fs::path& missing :
         {dir_ / "none.log", dir_ / "no-folder" / "Quomble.log", log_ / "Quomble.log", dir_ / "dangling.log"})
        EXPECT_EQ(intakeErrorAt(missing), "LogFile not avaiable!") << missing;

    // A folder on the way that may be read but not searched.
    const fs::path locked = dir_ / "locked";
    fs::create_directory(locked);
    std::ofstream(locked / "Quomble.log", std::ios::binary) << logText({"07.12.2026 08:00:00 "});
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    const int status = quomble::testing::runUnprivileged([&] {
        return intakeErrorAt(locked / "Quomble.log") == "LogFile cannot be read: Permission denied" ? 0 : 1;
    });
    fs::permissions(locked, fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_EQ(status, 0);
}

TEST_F(BadLog, HundredMegabyteLineWithoutLineEndIsReadInPassing)
{
    // A sparse file: 100 MB of NUL bytes and no line end, as a crashed writer can leave.
    std::ofstream(log_, std::ios::binary) << "07.12.2026 08:00:00 ";
    fs::resize_file(log_, 100u << 20);
    const long before = peakRssKiB();
    const auto findings = LogFileCheck(log_);
    using K = Finding::Kind;
    EXPECT_EQ(findings,
              (std::vector<Finding>{{K::NotALogEntry, 1}, {K::WrongLineFormat, 1}, {K::LogoutNotLater, 1}}));
    // The one line is the running boot: its own logout is replaced by now.
    LogModel m(fixedClock(kNow));
    m.LogFile_read(log_);
    m.Statistik_aktualisieren();
    EXPECT_EQ(m.BootCount, 1);
    EXPECT_EQ(m.boot(1).OnTime, 4 * 3600);
    EXPECT_LT(peakRssKiB() - before, 32 * 1024) << "the line was held in memory";

    std::ofstream(log_, std::ios::binary | std::ios::trunc).flush();
    fs::resize_file(log_, 100u << 20);
    EXPECT_EQ(intakeError(), "'" + std::string(19, '?') + "' is not a valid date and time");
}

TEST_F(BadLog, BinaryJunkGivesFindingsAndAReadableStop)
{
    std::mt19937 rng(7);
    std::string junk(1 << 16, '\0');
    for (char& c : junk) {
        const auto byte = static_cast<unsigned char>(rng());
        c = static_cast<char>(byte == 26 ? 0 : byte);  // no Ctrl-Z: the whole file is read
    }
    std::ofstream(log_, std::ios::binary) << junk;
    const auto findings = LogFileCheck(log_);
    EXPECT_GT(findings.size(), 100u);
    const std::string error = intakeError();
    ASSERT_EQ(error.front(), '\'') << error;
    EXPECT_NE(error.find("' is not a valid date and time"), std::string::npos);
    for (const char c : error)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 32 && c != 127) << "a control byte reached the message";
}

TEST_F(BadLog, ExtremeAndFutureDatesRunThrough)
{
    // Year 0001 and 9999, a log that goes backwards and a boot dated after today: the
    // intake reports findings and runs to its end; sums saturate instead of wrapping.
    std::ofstream(log_, std::ios::binary)
        << logText({"01.01.0001 00:00:00 01.01.0001 01:00:00", "05.12.2026 08:00:00 05.12.2026 09:00:00",
                    "31.12.9999 23:59:59 31.12.9999 23:59:59", "01.12.2026 08:00:00 01.12.2026 07:00:00",
                    "07.12.2030 08:00:00 "});
    using K = Finding::Kind;
    EXPECT_EQ(
        LogFileCheck(log_),
        (std::vector<Finding>{{K::LoginBeforeLast, 1}, {K::LoginBeforeLast, 4}, {K::LogoutNotLater, 4}}));
    LogModel m(fixedClock(kNow));
    m.LogFile_read(log_);
    m.Statistik_aktualisieren();
    m.BC_Array_fuellen();
    EXPECT_EQ(m.boot(1).OffTime, INT32_MAX);
    EXPECT_EQ(m.boot(3).OffTime, INT32_MIN);
    EXPECT_LT(m.boot(5).OnTime, 0) << "the running boot lies after now";
    EXPECT_GE(m.DayCount, 1);
    EXPECT_LE(m.DayCount, INT32_MAX / 86400 + 1);
}

TEST(ClockJump, FiguresFollowTheClockAndComeBackWhenItDoes)
{
    SettableClock clock;
    LogModel m(clock.clock());
    readAndRefresh(m, logText({"01.12.2026 08:00:00 01.12.2026 10:00:00", "02.12.2026 09:00:00 ",
                               "03.12.2026 09:00:00 03.12.2026 11:00:00", "07.12.2026 11:00:00 "}));
    const std::vector<BootRecord> before = m.BootList;
    auto sameAsBefore = [&] {
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(m.BootList[i].OnTime, before[i].OnTime) << i;
            EXPECT_EQ(m.BootList[i].OffTime, before[i].OffTime) << i;
        }
    };

    // Set back to before the running boot's login: its on-time is negative for a while.
    clock.set({2026, 12, 7, 10, 0, 0});
    m.Statistik_aktualisieren();
    const int n = m.BootCount;
    EXPECT_EQ(m.boot(n).OnTime, -3600);
    EXPECT_EQ(m.boot(n).OnDays, -1);
    EXPECT_EQ(m.summary(StatMax).OnTime, before[static_cast<std::size_t>(n + StatMax)].OnTime);
    EXPECT_EQ(m.summary(StatSum).OnTime, before[static_cast<std::size_t>(n + StatSum)].OnTime);
    EXPECT_GE(m.summary(StatAvg).OnTime, 0);
    EXPECT_GE(m.summary(StatCrashFreeAvg).OffTime, 0);
    clock.set(kNow);
    m.Statistik_aktualisieren();
    sameAsBefore();

    // Forward by two centuries: everything that holds the running boot saturates.
    clock.set({2226, 12, 7, 12, 0, 0});
    m.Statistik_aktualisieren();
    EXPECT_EQ(m.boot(n).OnTime, INT32_MAX);
    EXPECT_EQ(m.summary(StatMax).OnTime, INT32_MAX);
    EXPECT_EQ(m.summary(StatSpan).OnTime, INT32_MAX);
    EXPECT_EQ(m.summary(StatSinceCrash).OnTime, INT32_MAX);
    EXPECT_GT(m.summary(StatAvg).OnTime, 0);
    EXPECT_EQ(m.boot(n).OnDays, INT32_MAX / 86400);
    clock.set(kNow);
    m.Statistik_aktualisieren();
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (static_cast<int>(i) != n + StatMax && static_cast<int>(i) != n + StatCrashFreeMax) {
            EXPECT_EQ(m.BootList[i].OnTime, before[i].OnTime) << i;
        }
    }
    // The longest on-time keeps its record, as it does for a boot that really ran so long.
    EXPECT_EQ(m.summary(StatMax).OnTime, INT32_MAX);
}
