#include "core/errors.h"
#include "core/figures.h"
#include "core/log_lines.h"
#include "core/model.h"
#include "support/log_builder.h"

#include <gtest/gtest.h>

using namespace quomble;
using quomble::testing::kNow;
using quomble::testing::logText;
using quomble::testing::readAndRefresh;
using quomble::testing::SettableClock;

namespace {

struct Split {
    int days, hours, minutes, seconds;
    friend bool operator==(const Split&, const Split&) = default;
};
Split onSplit(const BootRecord& r) { return {r.OnDays, r.OnHours, r.OnMinutes, r.OnSeconds}; }
Split offSplit(const BootRecord& r) { return {r.OffDays, r.OffHours, r.OffMinutes, r.OffSeconds}; }

std::string intakeError(std::string_view text)
{
    LogModel model(fixedClock(kNow));
    LogLineReader lines{text};
    try {
        model.LogFile_read(lines);
    } catch (const IntakeError& e) {
        EXPECT_FALSE(model.hasBoots());
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(Reader, OneLineIsTheRunningBoot)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"07.12.2026 10:00:00 "}));
    EXPECT_EQ(m.BootCount, 1);
    EXPECT_EQ(m.LogoutCount, 0);
    EXPECT_EQ(m.CrashCount, 0);
    EXPECT_EQ(m.BootList.size(), 13u);
    EXPECT_EQ(m.boot(1).LogOut.view(), "07.12.2026 12:00:00");
    EXPECT_EQ(m.boot(1).OnTime, 7200);
    EXPECT_EQ(m.summary(StatMin).OffTime, 0);
    EXPECT_EQ(m.summary(StatSum).OnTime, 0);
    EXPECT_EQ(m.summary(StatAvg).OnTime, 7200);
    EXPECT_EQ(m.summary(StatSinceCrash).LogIn.view(), "07.12.2026 10:00:00");
    EXPECT_EQ(m.summary(StatSinceCrash).OffTime, 0);
    EXPECT_EQ(m.summary(StatSinceCrash).OnTime, 7200);
    EXPECT_EQ(m.summary(StatCrashFreeMax).LogOut.view(), "07.12.2026 10:00:00");
    EXPECT_EQ(m.summary(StatSpan).OnTime, 7200);
    EXPECT_EQ(m.CurrentDateTime, "07.12.2026 12:00:00");
}

TEST(Reader, ClosedLastLineIsReplacedByNowAndIsNoCrash)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"07.12.2026 10:00:00 07.12.2026 10:30:00"}));
    EXPECT_EQ(m.LogoutCount, 1);
    EXPECT_EQ(m.CrashCount, 0);  // not -1
    EXPECT_EQ(m.boot(1).LogOut.view(), "07.12.2026 12:00:00");
    EXPECT_EQ(m.boot(1).OnTime, 7200);
    EXPECT_EQ(m.boot(1).OffTime, 0);

    LogModel two(fixedClock(kNow));
    readAndRefresh(two, logText({"06.12.2026 10:00:00 ", "07.12.2026 10:00:00 07.12.2026 11:00:00"}));
    EXPECT_EQ(two.CrashCount, 1);
}

TEST(Reader, ShortLinesCarryNoLogoutAndCountAsCrashes)
{
    for (std::string_view tail : {"", " ", "  ", " 0"}) {
        LogModel m(fixedClock(kNow));
        const std::string first = "07.12.2026 08:00:00" + std::string(tail);
        readAndRefresh(m, logText({first, "07.12.2026 09:00:00 "}));
        EXPECT_TRUE(m.boot(1).LogOut.empty()) << '"' << first << '"';
        EXPECT_EQ(m.boot(1).OnTime, 3600);
        EXPECT_EQ(m.CrashCount, 1);
    }
}

TEST(Reader, OnAndOffTimesFollowTheLines)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({
                          "05.12.2026 08:00:00 05.12.2026 09:00:00",  // 1 h on, 1 h off
                          "05.12.2026 10:00:00 ",                     // crash, on until next login
                          "06.12.2026 10:00:05 06.12.2026 10:00:10",  // 5 s on
                          "07.12.2026 11:00:00 ",                     // running
                      }));
    EXPECT_EQ(m.boot(1).OnTime, 3600);
    EXPECT_EQ(m.boot(1).OffTime, 3600);
    EXPECT_EQ(m.boot(2).OnTime, 86405);  // includes the whole off period
    EXPECT_EQ(m.boot(2).OffTime, 0);
    EXPECT_EQ(onSplit(m.boot(2)), (Split{1, 0, 0, 5}));
    EXPECT_EQ(m.boot(3).OffTime, 89990);
    EXPECT_EQ(m.boot(4).OnTime, 3600);
    EXPECT_EQ(m.summary(StatMin).OnTime, 5);
    EXPECT_EQ(m.summary(StatMin).LogIn.view(), "06.12.2026 10:00:05");
    EXPECT_EQ(m.summary(StatMin).OffTime, 3600);
    EXPECT_EQ(m.summary(StatMin).LogOut.view(), "05.12.2026 09:00:00");
    EXPECT_EQ(m.summary(StatMax).OnTime, 86405);
    EXPECT_EQ(m.summary(StatMax).OffTime, 89990);
    EXPECT_EQ(m.summary(StatMax).LogOut.view(), "06.12.2026 10:00:10");
    EXPECT_EQ(m.summary(StatSum).OnTime, 3600 + 86405 + 5);
    EXPECT_EQ(m.summary(StatSum).OffTime, 3600 + 89990);
    EXPECT_EQ(m.summary(StatAvg).OffTime, (3600 + 89990) / 4);  // divided by all boots
    EXPECT_EQ(m.summary(StatAvg).OnTime, (3600 + 86405 + 5 + 3600) / 4);
    // Each boot's on-time and off-time add up to the gap to the next login.
    EXPECT_EQ(m.boot(1).OnTime + m.boot(1).OffTime, 7200);
}

TEST(Reader, EqualShortestOnTimesKeepTheEarlierBoot)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"07.12.2026 08:00:00 07.12.2026 08:00:30",
                               "07.12.2026 09:00:00 07.12.2026 09:00:30", "07.12.2026 10:00:00 "}));
    EXPECT_EQ(m.summary(StatMin).LogIn.view(), "07.12.2026 08:00:00");
}

TEST(Reader, NoCrashRunStartsAtTheFirstBoot)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"07.12.2026 08:00:00 07.12.2026 08:10:00",
                               "07.12.2026 09:00:00 07.12.2026 09:20:00", "07.12.2026 11:00:00 "}));
    const BootRecord& since = m.summary(StatSinceCrash);
    EXPECT_EQ(since.LogIn.view(), "07.12.2026 08:00:00");
    EXPECT_EQ(since.OffTime, 600 + 1200);
    EXPECT_EQ(since.OnTime, 600 + 1200 + 3600);
    // Without crashes the average crash-free on-time is the whole sum.
    EXPECT_EQ(m.summary(StatCrashFreeAvg).OnTime, 600 + 1200 + 3600);
    EXPECT_EQ(m.summary(StatCrashFreeMax).OnTime, 5400);
    EXPECT_EQ(m.Label33Hint, "between 07.12.2026 08:00:00 and 07.12.2026 12:00:00");
}

TEST(Reader, SingleCrashLeavesAnEmptyFinishedRun)
{
    const std::string log = logText({
        "03.12.2026 08:00:00 03.12.2026 09:00:00",
        "04.12.2026 08:00:00 ",
        "05.12.2026 08:00:00 05.12.2026 08:30:00",
        "06.12.2026 08:00:00 06.12.2026 08:45:00",
        "07.12.2026 11:00:00 ",
    });
    LogModel m(fixedClock(kNow));
    LogLineReader lines{std::string_view(log)};
    m.LogFile_read(lines);
    EXPECT_EQ(m.CrashCount, 1);
    EXPECT_EQ(m.summary(StatSinceCrash).LogIn.view(), "05.12.2026 08:00:00");
    EXPECT_EQ(m.summary(StatSinceCrash).OffTime, 1800 + 2700);
    EXPECT_EQ(m.summary(StatCrashFreeMax).OnTime, 0);
    EXPECT_TRUE(m.summary(StatCrashFreeMax).LogIn.empty());
    EXPECT_TRUE(m.summary(StatCrashFreeMax).LogOut.empty());
    EXPECT_EQ(m.Label33Hint, "between  and ");

    m.Statistik_aktualisieren();
    EXPECT_EQ(m.summary(StatCrashFreeMax).OnTime, 1800 + 2700 + 3600);
    // The hint names the start of the run still going on, the login after the crash.
    EXPECT_EQ(m.Label33Hint, "between 05.12.2026 08:00:00 and 07.12.2026 12:00:00");
    EXPECT_EQ(m.summary(StatCrashFreeAvg).OnTime, 3600 + 86400 + 1800 + 2700 + 3600);
}

TEST(Reader, LongestFinishedRunLiesBetweenTwoCrashes)
{
    LogModel m(fixedClock(kNow));
    const std::string log = logText({
        "01.12.2026 08:00:00 01.12.2026 09:00:00",  // 1
        "01.12.2026 10:00:00 ",                     // 2 crash
        "02.12.2026 08:00:00 02.12.2026 09:00:00",  // 3  run 3..6 starts
        "02.12.2026 10:00:00 02.12.2026 11:00:00",  // 4
        "03.12.2026 08:00:00 03.12.2026 09:00:00",  // 5
        "03.12.2026 10:00:00 ",                     // 6 crash, ends at 7
        "04.12.2026 08:00:00 04.12.2026 08:01:00",  // 7
        "05.12.2026 08:00:00 05.12.2026 08:01:00",  // 8
        "07.12.2026 11:59:00 ",                     // 9 running
    });
    LogLineReader lines{std::string_view(log)};
    m.LogFile_read(lines);
    const BootRecord& best = m.summary(StatCrashFreeMax);
    EXPECT_EQ(best.LogIn.view(), "02.12.2026 08:00:00");
    EXPECT_EQ(best.LogOut.view(), "04.12.2026 08:00:00");
    EXPECT_EQ(best.OnTime, 3600 * 3 + 22 * 3600);
    EXPECT_EQ(m.Label33Hint, "between 02.12.2026 08:00:00 and 04.12.2026 08:00:00");
    EXPECT_EQ(m.summary(StatSinceCrash).LogIn.view(), "04.12.2026 08:00:00");

    // The short run still going on does not beat it: the hint stays.
    m.Statistik_aktualisieren();
    EXPECT_EQ(best.OnTime, 3600 * 3 + 22 * 3600);
    EXPECT_EQ(m.Label33Hint, "between 02.12.2026 08:00:00 and 04.12.2026 08:00:00");
}

TEST(Reader, CrashAtTheFirstBootOnly)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"07.12.2026 08:00:00 ", "07.12.2026 09:00:00 07.12.2026 09:30:00",
                               "07.12.2026 11:00:00 "}));
    EXPECT_EQ(m.CrashCount, 1);
    EXPECT_EQ(m.summary(StatSinceCrash).LogIn.view(), "07.12.2026 09:00:00");
    EXPECT_EQ(m.summary(StatSinceCrash).OffTime, 1800);
}

TEST(Reader, RefreshFollowsTheClockAndRestoresTheSum)
{
    SettableClock clock;
    LogModel m(clock.clock());
    readAndRefresh(m, logText({"07.12.2026 08:00:00 07.12.2026 08:00:30", "07.12.2026 11:59:50 "}));
    EXPECT_EQ(m.summary(StatMin).OnTime, 10);  // the running boot is shorter so far
    EXPECT_EQ(m.summary(StatMin).LogIn.view(), "07.12.2026 11:59:50");
    EXPECT_EQ(m.summary(StatMinBase).OnTime, 30);  // the finished boots alone

    clock.set({2026, 12, 8, 13, 1, 2});
    m.Statistik_aktualisieren();
    EXPECT_EQ(m.boot(2).LogOut.view(), "08.12.2026 13:01:02");
    EXPECT_EQ(m.boot(2).OnTime, 90072);
    EXPECT_EQ(onSplit(m.boot(2)), (Split{1, 1, 1, 12}));
    EXPECT_EQ(m.summary(StatMin).OnTime, 30);  // back to the finished boots' minimum
    EXPECT_EQ(m.summary(StatMin).LogIn.view(), "07.12.2026 08:00:00");
    EXPECT_EQ(m.summary(StatMax).OnTime, 90072);
    EXPECT_EQ(m.summary(StatSum).OnTime, 30);                      // finished boots only, outside a refresh
    EXPECT_EQ(onSplit(m.summary(StatSum)), (Split{1, 1, 1, 42}));  // split with the running boot
    EXPECT_EQ(m.summary(StatAvg).OnTime, (30 + 90072) / 2);
    EXPECT_EQ(m.summary(StatSpan).LogOut.view(), "08.12.2026 13:01:02");
    EXPECT_EQ(m.summary(StatSpan).OnTime, 104462);
}

// A server's boots all last longer than any fixed start value of the shortest on-time, and
// a log of crashes only has no off-time at all: the shortest figures name no boot then.
TEST(Reader, ShortestFiguresThatNoBootHasShowDashes)
{
    using Row = std::array<std::string, 4>;
    const Row none{"-", "-", "-", "-"};
    SettableClock clock;
    clock.set({2026, 12, 27, 12, 0, 0});
    LogModel server(clock.clock());
    readAndRefresh(server, logText({"01.10.2026 12:00:00 25.10.2026 12:00:00",  // 24 days
                                    "25.10.2026 13:00:00 20.11.2026 13:00:00",  // 26 days
                                    "20.11.2026 14:00:00 "}));                  // 37 days so far
    EXPECT_EQ(figureTable(server)[8], (Row{"24", "0", "0", "0"}));
    EXPECT_EQ(server.summary(StatMinBase).OnTime, 24 * 86400);
    EXPECT_EQ(figureTable(server)[12], (Row{"0", "1", "0", "0"}));

    clock.set(kNow);
    LogModel crashes(clock.clock());
    readAndRefresh(crashes, logText({"07.12.2026 08:00:00 ", "07.12.2026 12:00:00 "}));
    EXPECT_EQ(crashes.summary(StatMin).OffTime, kShortestStart);
    EXPECT_FALSE(hasShortestOffTime(crashes));
    EXPECT_EQ(figureTable(crashes)[12], none);
    EXPECT_EQ(crashes.summary(StatMinBase).OnTime, 4 * 3600);
    EXPECT_EQ(figureTable(crashes)[8], (Row{"0", "0", "0", "0"}));  // the running boot, just begun

    // Booted this very second: no boot has an on-time yet; the refresh brings the running
    // boot in.
    LogModel fresh(clock.clock());
    const std::string text = logText({"07.12.2026 12:00:00 "});
    LogLineReader lines{std::string_view(text)};
    fresh.LogFile_read(lines);
    EXPECT_FALSE(hasShortestOnTime(fresh));
    EXPECT_EQ(fresh.summary(StatMinBase).OnTime, kShortestStart);
    EXPECT_EQ(figureTable(fresh)[8], none);
    EXPECT_EQ(figureTable(fresh)[12], (Row{"0", "0", "0", "0"}));  // one line: no off-time to wait for
    clock.set({2026, 12, 7, 12, 0, 5});
    fresh.Statistik_aktualisieren();
    EXPECT_EQ(figureTable(fresh)[8], (Row{"0", "0", "0", "5"}));
    EXPECT_EQ(fresh.summary(StatMin).LogIn.view(), "07.12.2026 12:00:00");
}

TEST(Reader, SplitOfDurations)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"07.12.2026 11:00:00 "}));
    BootRecord& r = m.boot(1);
    r.OnTime = 90061;
    r.OffTime = 59;
    m.Zeit_zerlegen(1);
    EXPECT_EQ(onSplit(r), (Split{1, 1, 1, 1}));
    EXPECT_EQ(offSplit(r), (Split{0, 0, 0, 59}));
    // A negative duration keeps its sign in the days and never shows as a large positive.
    r.OnTime = -5;
    r.OffTime = INT32_MIN;
    m.Zeit_zerlegen(1);
    EXPECT_EQ(onSplit(r), (Split{-1, 23, 59, 55}));
    EXPECT_EQ(offSplit(r).days * 86400LL + offSplit(r).hours * 3600 + offSplit(r).minutes * 60 +
                  offSplit(r).seconds,
              INT32_MIN);
}

TEST(Reader, OutOfOrderLogGivesNegativeTimesThatTheMinimumSkips)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"07.12.2026 09:00:00 07.12.2026 08:00:00",
                               "07.12.2026 07:00:00 07.12.2026 07:10:00", "07.12.2026 11:00:00 "}));
    EXPECT_EQ(m.boot(1).OnTime, -3600);
    EXPECT_EQ(m.boot(1).OffTime, -3600);
    EXPECT_EQ(m.boot(1).OnDays, -1);
    EXPECT_EQ(m.summary(StatMin).OnTime, 600);
}

TEST(Reader, HugeGapsSaturateInsteadOfOverflowing)
{
    LogModel m(fixedClock(kNow));
    // A year typo: 2206 instead of 2026.
    readAndRefresh(
        m, logText({"01.01.0001 00:00:00 31.12.9999 23:59:59", "07.12.2206 08:00:00 07.12.2206 09:00:00",
                    "01.01.0001 00:00:00 01.01.0001 00:00:01", "07.12.2026 11:00:00 "}));
    EXPECT_EQ(m.boot(1).OnTime, INT32_MAX);
    EXPECT_EQ(m.boot(1).OffTime, INT32_MIN);
    EXPECT_EQ(m.boot(2).OffTime, INT32_MIN);
    EXPECT_EQ(m.summary(StatSum).OffTime, INT32_MIN);
    EXPECT_EQ(m.summary(StatSpan).OnTime, INT32_MAX);
}

TEST(Reader, IntakeErrorsStopWithTheirOwnText)
{
    EXPECT_EQ(intakeError(""), "LogFile is empty!");
    EXPECT_EQ(intakeError("\x1a"), "LogFile is empty!");
    EXPECT_EQ(intakeError(logText({"07.12.2026 08:00:00 ", ""})), "'' is not a valid date and time");
    EXPECT_EQ(intakeError(logText({"31.02.2026 08:00:00 ", "07.12.2026 08:00:00 "})),
              "'31.02.2026 08:00:00' is not a valid date and time");
    EXPECT_EQ(intakeError(logText({"07.12.2026 08:00:00 07.12.2026 8:00", "07.12.2026 09:00:00 "})),
              "'07.12.2026 8:00' is not a valid date and time");
    EXPECT_EQ(intakeError(std::string("07.12.2026 08:00:00 \r\n07.12.2026\0\x01", 34)),
              "'07.12.2026?\?' is not a valid date and time");
}

TEST(Reader, LastLineLogoutIsReadEvenWhenReplaced)
{
    // A last line's own logout is never parsed: it is replaced by now.
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"07.12.2026 08:00:00 garbage-logout-xx"}));
    EXPECT_EQ(m.boot(1).LogOut.view(), "07.12.2026 12:00:00");
}
