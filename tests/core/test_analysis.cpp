#include "analysis_reference.h"

#include <gtest/gtest.h>

namespace quomble {
namespace {

constexpr CivilDateTime kNow{2026, 12, 7, 12, 0, 0};

LogModel analysed(const std::string& log, CivilDateTime now = kNow)
{
    LogModel m(fixedClock(now));
    testing::analyse(m, log);
    return m;
}

int nonZeroEntries(const MinuteTable& table)
{
    int count = 0;
    for (const MinutePoint& p : table)
        count += p.Value != 0 ? 1 : 0;
    return count;
}

TEST(DayAnalysis, SingleRunningBoot)
{
    LogModel m = analysed("05.12.2026 08:30:15 \r\n", {2026, 12, 7, 12, 0, 0});
    EXPECT_EQ(m.DayCount, 3);
    EXPECT_EQ(m.DaysWithOnTime, 1);
    EXPECT_EQ(m.BootIndex, 1.0f);
    EXPECT_EQ(m.CrashsPerBoot, 0.0f);
    EXPECT_EQ(m.MaxBootsPerDay, 0);
    EXPECT_EQ(m.MaxBootFrequency, 0);
    for (const WeekdayRecord& w : m.WeekdayTable)
        EXPECT_EQ(w.Boots + w.Crashs, 0);
    // All on-time of the running boot in the one day with on-time.
    EXPECT_EQ(m.summary(StatDayAvg).OnTime, m.boot(1).OnTime);
    EXPECT_EQ(m.summary(StatDayAvg).OnDays, 2);
    EXPECT_EQ(m.Bootverlauf[510].Value, 1);
    EXPECT_EQ(m.Shutdownverlauf[720].Value, 1);  // the minute of the analysis
    EXPECT_EQ(nonZeroEntries(m.Bootverlauf) + nonZeroEntries(m.Shutdownverlauf) +
                  nonZeroEntries(m.Crashverlauf),
              2);
}

TEST(DayAnalysis, RatiosFrequenciesAndMaxima)
{
    // Day 1: a boot of 13395 s, so (1 + 1) boots per 24 h of on-time = 12.9; day 2 holds
    // a boot from 20:00 into day 3 and a crash; day 3 the running boot.
    LogModel m = analysed("05.12.2026 10:00:00 05.12.2026 13:43:15\r\n"
                          "06.12.2026 20:00:00 07.12.2026 02:00:00\r\n"
                          "07.12.2026 03:00:00 \r\n"
                          "07.12.2026 08:00:00 \r\n");
    ASSERT_EQ(m.DayCount, 3);
    EXPECT_EQ(m.DaysWithOnTime, 3);
    EXPECT_EQ(m.BootIndex, static_cast<float>(4.0 / 3));
    EXPECT_EQ(m.CrashsPerBoot, 0.25f);
    EXPECT_EQ(m.CrashsPerDay, static_cast<float>(1.0 / 3));
    EXPECT_EQ(m.day(1).BootFrequency, static_cast<float>(2.0 / 13395 * 86400));
    EXPECT_EQ(m.MaxBootFrequency, 12);
    EXPECT_EQ(m.day(2).OnTime, 14399);
    EXPECT_EQ(m.day(2).BootFrequency, static_cast<float>(2.0 / 14399 * 86400));
    EXPECT_EQ(m.day(3).Crashs, 1);
    EXPECT_EQ(m.day(3).CrashFrequency, static_cast<float>(1.0 / m.day(3).OnTime * 86400));
    EXPECT_EQ(m.MaxBootsPerDay, 2);
    EXPECT_EQ(m.Crashverlauf[480].Value, 1);  // at the next login, 08:00
    EXPECT_EQ(m.Shutdownverlauf[120].Value, 1);
    EXPECT_EQ(m.WeekdayTable[0].Name, "Monday");
    EXPECT_EQ(m.WeekdayTable[0].Boots, 2);  // 07.12.2026 is a Monday
    EXPECT_EQ(m.WeekdayTable[0].Crashs, 1);
    EXPECT_EQ(m.WeekdayTable[6].Boots, 1);  // Sunday
    EXPECT_EQ(m.WeekdayTable[5].Boots, 1);  // Saturday
}

TEST(DayAnalysis, AverageOnTimePerDayTruncates)
{
    LogModel m = analysed("05.12.2026 10:00:00 05.12.2026 10:00:40\r\n"
                          "06.12.2026 10:00:00 06.12.2026 10:00:30\r\n"
                          "07.12.2026 11:59:30 \r\n");
    EXPECT_EQ(m.DaysWithOnTime, 3);
    EXPECT_EQ(m.summary(StatDayAvg).OnTime, 33);
    EXPECT_EQ(m.summary(StatDayAvg).OnSeconds, 33);
    EXPECT_EQ(m.summary(StatDayAvg).OffTime, 0);
}

TEST(DayAnalysis, NoDayWithOnTimeLeavesThePerDayFiguresZero)
{
    LogModel m = analysed("07.12.2026 12:00:00 \r\n07.12.2026 12:00:00 \r\n");
    EXPECT_EQ(m.DaysWithOnTime, 0);
    EXPECT_EQ(m.BootIndex, 0.0f);
    EXPECT_EQ(m.CrashsPerDay, 0.0f);
    EXPECT_EQ(m.CrashsPerBoot, 0.5f);
    EXPECT_EQ(m.summary(StatDayAvg).OnTime, 0);
    EXPECT_EQ(m.day(1).BootFrequency, 0.0f);
}

TEST(DayAnalysis, MinuteTablesAndTheirLabels)
{
    LogModel m = analysed("06.12.2026 23:59:40 \r\n07.12.2026 07:15:05 07.12.2026 08:00:00\r\n"
                          "07.12.2026 11:00:00 \r\n");
    EXPECT_EQ(m.Bootverlauf[1439].Value, 1);
    EXPECT_EQ(m.Crashverlauf[435].Value, 1);
    EXPECT_EQ(m.Bootverlauf[1440].Value + m.Shutdownverlauf[1440].Value + m.Crashverlauf[1440].Value, 0);
    EXPECT_EQ(m.Verlauf[0].TimeText, "00:00");
    EXPECT_EQ(m.Bootverlauf[61].TimeText, "01:01");
    EXPECT_EQ(m.CrashverlaufGlatt[1439].TimeText, "23:59");
    EXPECT_EQ(m.ShutdownverlaufGlatt[1440].TimeText, "24:00");
    EXPECT_EQ(m.Einzelverlauf[1440].TimeText, "2400");
    EXPECT_EQ(m.Einzelverlauf[5].TimeText, "0005");
    EXPECT_TRUE(m.VerlaufNormiert[5].TimeText.empty());
    EXPECT_TRUE(m.DaytimePending);
}

}  // namespace
}  // namespace quomble
