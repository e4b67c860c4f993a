#include "analysis_reference.h"

#include <gtest/gtest.h>

#include <random>

namespace quomble {
namespace {

constexpr CivilDateTime kNow{2026, 12, 7, 12, 0, 0};

LogModel analysed(const std::string& log, CivilDateTime now = kNow)
{
    LogModel m(fixedClock(now));
    testing::analyse(m, log);
    return m;
}

std::vector<int> coveredEntries(const LogModel& m)
{
    std::vector<int> entries;
    for (int k = 0; k <= MinutesPerDay; ++k)
        if (m.Verlauf[k].Value != 0)
            entries.push_back(k);
    return entries;
}

TEST(OnTimeCurve, MatchesOneMarkPerMinuteOnRandomLogs)
{
    std::mt19937_64 rng(7);
    for (int round = 0; round < 300; ++round) {
        const auto log = testing::randomLog(rng, 1 + static_cast<int>(rng() % 40));
        LogModel m = analysed(log.text, log.now);
        m.Verlauf_berechnen();
        const auto ref = testing::referenceCurve(m);
        for (int k = 0; k <= MinutesPerDay; ++k) {
            ASSERT_EQ(m.Verlauf[k].Value, ref.verlauf[k]) << "entry " << k << "\n" << log.text;
            ASSERT_EQ(m.Einzelverlauf[k].Value, ref.einzel[k]) << "entry " << k << "\n" << log.text;
        }
    }
}

TEST(OnTimeCurve, MarksFromTheMinuteAfterTheLogin)
{
    LogModel hour = analysed("05.12.2026 08:30:15 05.12.2026 09:30:15\r\n07.12.2026 12:00:00 \r\n");
    hour.Verlauf_berechnen();
    // The running boot (0 minutes) marks 12:01 only.
    std::vector<int> expected;
    for (int k = 511; k <= 570; ++k)
        expected.push_back(k);
    expected.push_back(721);
    EXPECT_EQ(coveredEntries(hour), expected);

    LogModel midnight = analysed("05.12.2026 23:58:00 06.12.2026 00:02:00\r\n07.12.2026 12:00:30 \r\n");
    midnight.Verlauf_berechnen();
    EXPECT_EQ(coveredEntries(midnight), (std::vector<int>{0, 1, 721, 1439, 1440}));

    LogModel crash = analysed("07.12.2026 10:00:00 \r\n07.12.2026 10:10:00 \r\n", {2026, 12, 7, 10, 10, 30});
    crash.Verlauf_berechnen();
    EXPECT_EQ(coveredEntries(crash),
              (std::vector<int>{601, 602, 603, 604, 605, 606, 607, 608, 609, 610, 611}));
    EXPECT_EQ(crash.Verlauf[610].Value, 1);
    EXPECT_EQ(crash.Verlauf[611].Value, 1);  // the running boot of 30 seconds
}

TEST(OnTimeCurve, LongBootsCoverTheClockMoreThanOnce)
{
    // 3000 minutes from 00:00: every entry twice, then 118 more from 00:01.
    LogModel m = analysed("01.12.2026 00:00:00 03.12.2026 02:00:00\r\n07.12.2026 12:00:00 \r\n");
    m.Verlauf_berechnen();
    EXPECT_EQ(m.Verlauf[0].Value, 2);
    EXPECT_EQ(m.Verlauf[1].Value, 3);
    EXPECT_EQ(m.Verlauf[118].Value, 3);
    EXPECT_EQ(m.Verlauf[119].Value, 2);
    EXPECT_EQ(m.Verlauf[1440].Value, 2);
}

TEST(OnTimeCurve, ReportsEachShownPercentageOnceAndRunsOnce)
{
    LogModel m = analysed("07.12.2026 08:00:00 07.12.2026 08:10:00\r\n07.12.2026 09:00:00 \r\n"
                          "07.12.2026 10:00:00 07.12.2026 10:00:20\r\n07.12.2026 11:00:00 \r\n");
    std::vector<int> shown;
    ASSERT_TRUE(m.DaytimePending);
    m.Verlauf_berechnen([&](int p) { shown.push_back(p); });
    EXPECT_EQ(shown, (std::vector<int>{0, 25, 50, 75}));
    EXPECT_FALSE(m.DaytimePending);
    const int before = m.Verlauf[481].Value;
    m.Verlauf_berechnen([&](int p) { shown.push_back(p); });
    EXPECT_EQ(m.Verlauf[481].Value, before);
    EXPECT_EQ(shown.size(), 4u);
}

TEST(OnTimeCurve, ReportsAtMostEveryPercentOnLongLogs)
{
    std::string log;
    const DateTime start = dayNumber(2026, 12, 6) * kSecondsPerDay;
    for (int i = 0; i < 1000; ++i)
        log += formatTimestamp(start + i * 60) + " " + formatTimestamp(start + i * 60 + 30) + "\r\n";
    log += "07.12.2026 11:00:00 \r\n";
    LogModel m = analysed(log);
    std::vector<int> shown;
    m.Verlauf_berechnen([&](int p) { shown.push_back(p); });
    ASSERT_EQ(shown.size(), 101u);
    for (std::size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(shown[i], static_cast<int>(i));
}

}  // namespace
}  // namespace quomble
