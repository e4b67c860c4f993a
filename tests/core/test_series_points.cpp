#include "core/series_points.h"

#include <gtest/gtest.h>

namespace quomble {
namespace {

TEST(SeriesPoints, DaySlotNeverReachesPastTheLastDay)
{
    EXPECT_EQ(daySlot(0, 3, 7).first, 1);
    EXPECT_EQ(daySlot(0, 3, 7).count, 3);
    EXPECT_EQ(daySlot(6, 3, 7).count, 2);
    EXPECT_EQ(daySlot(8, 3, 7).count, 0);
    EXPECT_EQ(daySlot(1, 5, 0).count, 0);
}

TEST(SeriesPoints, DayValuesOfTheSlotWithOnTimeInHours)
{
    LogModel model;
    model.DayCount = 3;
    model.DayList.resize(5);
    for (int d = 1; d <= 3; ++d) {
        model.day(d).Boots = d;
        model.day(d).OnTimeTrend = 1800 * d;
        model.day(d).CrashFrequencyTrend = 0.25f * d;
    }
    EXPECT_EQ(dayValues(model, daySlot(2, 5, 3), DayFigure::Boots), (std::vector<double>{2, 3}));
    EXPECT_EQ(dayValues(model, daySlot(1, 2, 3), DayFigure::OnTimeTrendHours), (std::vector<double>{0.5, 1}));
    EXPECT_EQ(dayValues(model, daySlot(3, 1, 3), DayFigure::CrashFrequencyTrend),
              (std::vector<double>{0.75}));
    EXPECT_TRUE(dayValues(model, daySlot(4, 1, 3), DayFigure::Crashs).empty());
}

TEST(SeriesPoints, TurnedDaytimeAxisWrapsByOneDay)
{
    MinuteTable table{};
    for (int m = 0; m <= MinutesPerDay; ++m)
        table[m].Value = m;
    auto shown = [&](int hours) {
        const MinuteTable t = turnedTable(table, hours);
        return std::vector<int>{t[0].Value, t[60].Value, t[61].Value, t[1380].Value, t[1440].Value};
    };
    EXPECT_EQ(shown(0), (std::vector<int>{0, 60, 61, 1380, 1440}));
    EXPECT_EQ(shown(1), (std::vector<int>{1380, 0, 1, 1320, 1380}));   // 23:00 at both ends
    EXPECT_EQ(shown(-1), (std::vector<int>{60, 120, 121, 1440, 60}));  // 01:00 twice, 00:00 never
    EXPECT_EQ(shown(-23), (std::vector<int>{1380, 1440, 1, 1320, 1380}));
    EXPECT_EQ(shown(23), (std::vector<int>{60, 120, 121, 0, 60}));
}

TEST(SeriesPoints, RotationStepsWrapAtADay)
{
    EXPECT_EQ(rotationStep(0, 1), 1);
    EXPECT_EQ(rotationStep(23, 1), 0);
    EXPECT_EQ(rotationStep(0, -1), -1);
    EXPECT_EQ(rotationStep(-23, -1), 0);
    EXPECT_EQ(rotationStep(-23, 1), -22);
}

}  // namespace
}  // namespace quomble
