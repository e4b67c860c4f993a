#include "analysis_reference.h"
#include "core/daylist.h"

#include <gtest/gtest.h>

#include <random>

namespace quomble {
namespace {

using testing::analyse;

constexpr CivilDateTime kNow{2026, 12, 7, 12, 0, 0};

LogModel analysed(const std::string& log, CivilDateTime now = kNow)
{
    LogModel m(fixedClock(now));
    analyse(m, log);
    return m;
}

std::vector<int> bootsPerDay(const LogModel& m)
{
    std::vector<int> boots;
    for (int d = 1; d <= m.DayCount; ++d)
        boots.push_back(m.day(d).Boots);
    return boots;
}

TEST(DayList, MatchesTheStepByStepConstructionOnRandomLogs)
{
    std::mt19937_64 rng(20261207);
    for (int round = 0; round < 200; ++round) {
        const auto log = testing::randomLog(rng, 1 + static_cast<int>(rng() % 60));
        const LogModel m = analysed(log.text, log.now);
        const auto ref = testing::referenceDayList(m);
        ASSERT_EQ(m.DayCount, ref.DayCount) << log.text;
        ASSERT_EQ(m.DayList.size(), static_cast<std::size_t>(m.DayCount) + 2);
        for (int d = 1; d <= m.DayCount; ++d) {
            SCOPED_TRACE("day " + std::to_string(d) + "\n" + log.text);
            EXPECT_EQ(m.day(d).Date, ref.days[d].Date);
            EXPECT_EQ(m.day(d).Weekday, ref.days[d].Weekday);
            EXPECT_EQ(m.day(d).Boots, ref.days[d].Boots);
            EXPECT_EQ(m.day(d).Crashs, ref.days[d].Crashs);
            EXPECT_EQ(m.day(d).OnTime, ref.days[d].OnTime);
        }
        EXPECT_EQ(m.day(m.DayCount + 1).OnTime, ref.days[m.DayCount + 1].OnTime);
        EXPECT_EQ(m.day(m.DayCount + 1).Date, ref.days[m.DayCount + 1].Date);
        EXPECT_TRUE(m.day(m.DayCount + 1).Weekday.empty());
    }
}

TEST(DayList, SplitsOnTimeAtMidnightAndCarriesWholeDays)
{
    // 23:00 to 01:00: the login day keeps the seconds up to 23:59:59.
    LogModel a = analysed("05.12.2026 23:00:00 06.12.2026 01:00:00\r\n07.12.2026 11:00:00 \r\n");
    ASSERT_EQ(a.DayCount, 3);
    EXPECT_EQ(a.day(1).OnTime, 3599);
    EXPECT_EQ(a.day(2).OnTime, 3601);
    EXPECT_EQ(a.day(3).OnTime, 3600);
    EXPECT_EQ(bootsPerDay(a), (std::vector<int>{1, 0, 1}));

    // 50 hours from 12:00 on day 1: day 2 fills up and passes 14 hours and a second on.
    LogModel b = analysed("01.12.2026 12:00:00 03.12.2026 14:00:00\r\n07.12.2026 11:00:00 \r\n");
    EXPECT_EQ(b.day(1).OnTime, 12 * 3600 - 1);
    EXPECT_EQ(b.day(2).OnTime, 86400);
    EXPECT_EQ(b.day(3).OnTime, 14 * 3600 + 1);
    EXPECT_EQ(b.day(4).OnTime, 0);
    EXPECT_EQ(b.day(7).OnTime, 3600);
}

TEST(DayList, CountsACrashOnTheDayOfTheNextBoot)
{
    LogModel m = analysed("03.12.2026 10:00:00 \r\n"
                          "05.12.2026 09:00:00 05.12.2026 10:00:00\r\n"
                          "07.12.2026 11:00:00 \r\n");
    ASSERT_EQ(m.DayCount, 5);
    EXPECT_EQ(m.day(1).Crashs, 0);
    EXPECT_EQ(m.day(3).Crashs, 1);
    EXPECT_EQ(m.day(2).OnTime, 86400);  // the crashed boot runs on until the next login
}

TEST(DayList, CoversEveryDayUpToToday)
{
    LogModel one = analysed("01.11.2026 08:00:00 \r\n");
    EXPECT_EQ(one.DayCount, 37);
    for (int d = 1; d <= one.DayCount; ++d)
        EXPECT_EQ(one.day(d).Boots + one.day(d).Crashs + one.day(d).OnTime, 0);

    LogModel leap = analysed("27.02.2024 08:00:00 27.02.2024 09:00:00\r\n02.03.2024 08:00:00 \r\n",
                             {2024, 3, 2, 9, 0, 0});
    ASSERT_EQ(leap.DayCount, 5);
    EXPECT_EQ(leap.day(3).Date, "29.02.2024");
    EXPECT_EQ(leap.day(3).Weekday, "Th");
    EXPECT_EQ(leap.day(4).Date, "01.03.2024");
    EXPECT_EQ(leap.day(6).Date, "03.03.2024");  // the extra record

    LogModel sameDay = analysed("07.12.2026 08:00:00 07.12.2026 09:00:00\r\n"
                                "07.12.2026 09:30:00 \r\n07.12.2026 11:00:00 \r\n");
    ASSERT_EQ(sameDay.DayCount, 1);
    EXPECT_EQ(sameDay.day(1).Boots, 3);
    EXPECT_EQ(sameDay.day(1).Crashs, 1);
    EXPECT_EQ(sameDay.day(1).OnTime, 3600 + 5400 + 3600);
}

TEST(DayList, SkipsBootsDatedBeforeTheCursorOrAfterToday)
{
    LogModel back = analysed("02.12.2026 10:00:00 02.12.2026 11:00:00\r\n"
                             "04.12.2026 10:00:00 04.12.2026 11:00:00\r\n"
                             "03.12.2026 10:00:00 03.12.2026 11:00:00\r\n"  // backwards
                             "05.12.2026 10:00:00 \r\n"                     // crash ...
                             "03.12.2026 09:00:00 03.12.2026 09:30:00\r\n"  // ... next boot backwards
                             "06.12.2026 10:00:00 06.12.2026 10:30:00\r\n"
                             "07.12.2026 11:00:00 \r\n");
    EXPECT_EQ(bootsPerDay(back), (std::vector<int>{1, 0, 1, 1, 1, 1}));
    for (int d = 1; d <= back.DayCount; ++d)
        EXPECT_EQ(back.day(d).Crashs, 0);
    EXPECT_EQ(back.day(1).OnTime, 3600);

    LogModel future = analysed("05.12.2026 10:00:00 05.12.2026 11:00:00\r\n"
                               "09.12.2026 10:00:00 \r\n"  // a wrong clock; its crash is lost too
                               "07.12.2026 11:00:00 \r\n");
    EXPECT_EQ(bootsPerDay(future), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(future.day(3).Crashs, 0);
    EXPECT_EQ(future.Bootverlauf[600].Value, 2);  // the per-minute tables still count it
}

TEST(DayList, StaysBoundedForFarDates)
{
    // The 32-bit span saturates: only the first 24856 days are listed.
    LogModel old = analysed("01.01.0001 10:00:00 01.01.0001 11:00:00\r\n07.12.2026 11:00:00 \r\n");
    ASSERT_EQ(old.DayCount, 24856);
    EXPECT_EQ(old.DayList.size(), 24858u);
    EXPECT_EQ(old.day(1).Date, "01.01.0001");
    EXPECT_EQ(old.day(1).OnTime, 3600);
    EXPECT_EQ(old.DaysWithOnTime, 1);

    // A first boot after tomorrow lists no day at all.
    LogModel ahead = analysed("10.12.2026 10:00:00 10.12.2026 11:00:00\r\n11.12.2026 11:00:00 \r\n");
    EXPECT_EQ(ahead.DayCount, 0);
    EXPECT_EQ(ahead.DayList.size(), 2u);
    EXPECT_EQ(ahead.DaysWithOnTime, 0);
    EXPECT_EQ(ahead.BootIndex, 0.0f);
}

}  // namespace
}  // namespace quomble
