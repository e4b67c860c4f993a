#include "analysis_reference.h"

#include <gtest/gtest.h>

#include <random>

namespace quomble {
namespace {

using testing::referenceSmoothing;
using testing::wrapped;

MinuteTable randomTable(std::mt19937_64& rng)
{
    MinuteTable table{};
    for (MinutePoint& p : table)
        p.Value = static_cast<std::int32_t>(rng() % 4 == 0 ? rng() % 1000 : 0);
    return table;
}

void expectSameValues(const MinuteTable& actual, const std::array<std::int64_t, kMinutePoints>& expected,
                      int radius)
{
    for (int m = 0; m <= MinutesPerDay; ++m)
        ASSERT_EQ(actual[m].Value, expected[m]) << "radius " << radius << " entry " << m;
}

TEST(DaytimeSmoothing, EqualsTheDirectSumForEveryRadius)
{
    std::mt19937_64 rng(3);
    LogModel m;
    m.Bootverlauf = randomTable(rng);
    m.Shutdownverlauf = randomTable(rng);
    m.Crashverlauf = randomTable(rng);
    m.Crashverlauf[1440].Value = 17;  // entry 24:00 is its own slot even when it holds a count

    // Direct sums for a few radii; for all the others the direct sum of the radius before
    // plus its two new terms, taken through the same wrap.
    std::array<std::int64_t, kMinutePoints> boots{}, shutdowns{}, crashs{};
    for (int radius = 0; radius <= MinutesPerDay; ++radius) {
        for (int k : radius == 0 ? std::vector<int>{0} : std::vector<int>{-radius, radius}) {
            for (int e = 0; e <= MinutesPerDay; ++e) {
                boots[e] += m.Bootverlauf[wrapped(e + k)].Value;
                shutdowns[e] += m.Shutdownverlauf[wrapped(e + k)].Value;
                crashs[e] += m.Crashverlauf[wrapped(e + k)].Value;
            }
        }
        for (int direct : {1, 2, 60, 719, 720, 721, 1439, 1440}) {
            if (radius == direct) {
                ASSERT_EQ(boots, referenceSmoothing(m.Bootverlauf, radius));
            }
        }
        m.BootverlaufGlaettung_berechnen(radius);
        expectSameValues(m.BootverlaufGlatt, boots, radius);
        expectSameValues(m.ShutdownverlaufGlatt, shutdowns, radius);
        expectSameValues(m.CrashverlaufGlatt, crashs, radius);
    }
}

TEST(DaytimeSmoothing, WrapsOverTheEndOfTheDay)
{
    LogModel m;
    m.Bootverlauf[1439].Value = 1;
    m.BootverlaufGlaettung_berechnen(1);
    for (int e = 0; e <= MinutesPerDay; ++e)
        EXPECT_EQ(m.BootverlaufGlatt[e].Value, e == 1438 || e == 1439 || e == 1440 || e == 0 ? 1 : 0) << e;

    m.Bootverlauf[1439].Value = 0;
    m.Bootverlauf[0].Value = 1;
    m.BootverlaufGlaettung_berechnen(1);
    for (int e = 0; e <= MinutesPerDay; ++e)
        EXPECT_EQ(m.BootverlaufGlatt[e].Value, e <= 1 ? 1 : 0) << e;

    m.BootverlaufGlaettung_berechnen(-3);  // no window at all
    EXPECT_EQ(m.BootverlaufGlatt[0].Value, 0);
    m.BootverlaufGlaettung_berechnen(5000);     // taken as 1440
    EXPECT_EQ(m.BootverlaufGlatt[0].Value, 2);  // reached from minutes -1440 and 0
    EXPECT_EQ(m.BootverlaufGlatt[700].Value, 1);
}

TEST(DayTrends, MatchTheDirectSumsInSinglePrecision)
{
    std::mt19937_64 rng(11);
    for (bool hugeCounts : {false, true}) {
        LogModel m;
        m.DayCount = 400;
        m.DayList.resize(402);
        for (int d = 1; d <= m.DayCount; ++d) {
            DayRecord& r = m.day(d);
            r.Boots = static_cast<std::int32_t>(hugeCounts ? rng() % 200'000'000 : rng() % 20);
            r.Crashs = static_cast<std::int32_t>(rng() % 3);
            r.OnTime = static_cast<std::int32_t>(rng() % 86401);
            r.BootFrequency = std::uniform_real_distribution<float>(0, 300)(rng);
            r.CrashFrequency = std::uniform_real_distribution<float>(0, 1)(rng) / 3;
        }
        for (int width : {1, 2, 3, 7, 30, 399, 400, 405}) {
            m.BootGlaettung_berechnen(width);
            const auto ref = testing::referenceTrends(m, width);
            for (int d = 1; d <= m.DayCount; ++d) {
                SCOPED_TRACE("width " + std::to_string(width) + " day " + std::to_string(d));
                ASSERT_EQ(m.day(d).BootTrend, ref[d].BootTrend);
                ASSERT_EQ(m.day(d).CrashTrend, ref[d].CrashTrend);
                ASSERT_EQ(m.day(d).OnTimeTrend, ref[d].OnTimeTrend);
                ASSERT_EQ(m.day(d).BootFrequencyTrend, ref[d].BootFrequencyTrend);
                ASSERT_EQ(m.day(d).CrashFrequencyTrend, ref[d].CrashFrequencyTrend);
            }
        }
    }
}

TEST(DayTrends, RiseOverTheFirstDaysAndTruncateOnTime)
{
    LogModel m;
    m.DayCount = 10;
    m.DayList.resize(12);
    for (int d = 1; d <= 10; ++d)
        m.day(d).Boots = 7;
    m.day(1).OnTime = 100;
    m.day(2).OnTime = 101;
    m.BootGlaettung_berechnen(7);
    for (int d = 1; d <= 10; ++d)
        EXPECT_EQ(m.day(d).BootTrend, static_cast<float>(std::min(d, 7)));
    m.BootGlaettung_berechnen(2);
    EXPECT_EQ(m.day(1).OnTimeTrend, 50);
    EXPECT_EQ(m.day(2).OnTimeTrend, 100);
    m.BootGlaettung_berechnen(0);  // an empty window leaves every trend 0
    EXPECT_EQ(m.day(5).BootTrend, 0.0f);
    m.BootGlaettung_berechnen(2'000'000'000);  // bounded by the days there are
    EXPECT_EQ(m.day(10).BootTrend, static_cast<float>(70.0 / 2'000'000'000));
}

TEST(OnTimeStandardization, LowersTheCurveToZero)
{
    LogModel m;
    for (int e = 0; e <= MinutesPerDay; ++e)
        m.Verlauf[e].Value = 40;
    m.Verlauf_normieren();
    EXPECT_EQ(testing::referenceSmoothing(m.VerlaufNormiert, 1440)[0], 0);

    m.Verlauf[1440].Value = 12;
    m.Verlauf[3].Value = 100;
    m.Verlauf_normieren();
    EXPECT_EQ(m.VerlaufNormiert[1440].Value, 0);
    EXPECT_EQ(m.VerlaufNormiert[3].Value, 88);
    EXPECT_EQ(m.VerlaufNormiert[0].Value, 28);
}

}  // namespace
}  // namespace quomble
