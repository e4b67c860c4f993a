#include "core/datetime.h"
#include "core/errors.h"

#include <gtest/gtest.h>

using namespace quomble;

TEST(DateTime, ReadsOnlyTheExactTimestampForm)
{
    EXPECT_EQ(parseTimestamp("30.12.1899 00:00:00"), 0);
    EXPECT_EQ(parseTimestamp("31.12.1899 00:00:01"), 86401);
    EXPECT_EQ(parseTimestamp("29.02.2024 23:59:59"), parseTimestamp("01.03.2024 00:00:00").value() - 1);
    EXPECT_TRUE(parseTimestamp("01.01.0001 00:00:00").has_value());
    EXPECT_TRUE(parseTimestamp("31.12.9999 23:59:59").has_value());
    for (const char* bad :
         {"", "7.12.2026 08:00:00", "07.12.26 08:00:00", "07.12.2026 8:00:00", "07.12.2026 08:00",
          "07.12.2026 08:00:00 ", "07/12/2026 08:00:00", "07.12.2026T08:00:00", "31.02.2026 08:00:00",
          "29.02.2025 08:00:00", "29.02.1900 08:00:00", "00.12.2026 08:00:00", "07.13.2026 08:00:00",
          "07.12.0000 08:00:00", "07.12.2026 24:00:00", "07.12.2026 08:60:00", "07.12.2026 08:00:60",
          "+7.12.2026 08:00:00", "07.12.2026 08:00:0a"}) {
        EXPECT_FALSE(parseTimestamp(bad).has_value()) << bad;
    }
    EXPECT_TRUE(parseTimestamp("29.02.2000 12:00:00").has_value());
}

TEST(DateTime, RoundTripsAcrossTheCalendar)
{
    for (std::int64_t day = -693593; day < 2958466; day += 997) {
        const std::string text = formatTimestamp(day * kSecondsPerDay + 3723);
        ASSERT_EQ(parseTimestamp(text), day * kSecondsPerDay + 3723) << text;
    }
    EXPECT_EQ(formatTimestamp(-1), "29.12.1899 23:59:59");
    EXPECT_EQ(formatDate(dayNumber(2026, 3, 5)), "05.03.2026");
}

TEST(DateTime, DeltaIsExactAndSaturates)
{
    const DateTime a = *parseTimestamp("07.12.2026 23:00:00");
    const DateTime b = *parseTimestamp("08.12.2026 01:00:00");
    EXPECT_EQ(dt_delta(a, b), 7200);
    EXPECT_EQ(dt_delta(b, a), -7200);
    EXPECT_EQ(dt_delta(*parseTimestamp("01.01.0001 00:00:00"), *parseTimestamp("31.12.9999 23:59:59")),
              INT32_MAX);
    EXPECT_EQ(dt_delta(*parseTimestamp("31.12.9999 23:59:59"), *parseTimestamp("01.01.0001 00:00:00")),
              INT32_MIN);
}

TEST(DateTime, CurrentDateTimeIsPaddedLikeALogTimestamp)
{
    EXPECT_EQ(Datumermitteln(fixedClock({2026, 3, 5, 7, 4, 9})), "05.03.2026 07:04:09");
    EXPECT_EQ(Datumermitteln(fixedClock({999, 1, 2, 0, 0, 0})), "02.01.0999 00:00:00");
    const std::string now = Datumermitteln(systemClock());
    EXPECT_TRUE(parseTimestamp(now).has_value()) << now;
}

TEST(DateTime, WeekdaysOfDatesAndTimestamps)
{
    EXPECT_EQ(Wochentag_ermitteln("07.12.2026"), "Mo");
    EXPECT_EQ(Wochentag_ermitteln("07.12.2026 23:59:59"), "Mo");
    EXPECT_EQ(Wochentag_ermitteln("07.12.2026 00:00:00"), "Mo");
    EXPECT_EQ(Wochentag_ermitteln_lang("06.12.2026"), "Sunday");
    EXPECT_EQ(Wochentag_ermitteln_lang("12.12.2026 10:00:00"), "Saturday");
    EXPECT_EQ(Wochentag_ermitteln("30.12.1899"), "Sa");
    EXPECT_EQ(Wochentag_ermitteln("29.12.1899"), "Fr");
    EXPECT_EQ(Wochentag_ermitteln("01.01.0001"), "Mo");
    EXPECT_THROW(Wochentag_ermitteln("07.12.2026 8"), IntakeError);
    EXPECT_THROW(Wochentag_ermitteln_lang(""), IntakeError);
}
