#include "core/format.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quomble;

TEST(Format, RatiosRoundToFourSignificantDigitsThenShowThreeDecimals)
{
    EXPECT_EQ(ratioText(2.3456), "2.346");
    EXPECT_EQ(ratioText(12.3456), "12.350");
    EXPECT_EQ(ratioText(1.5), "1.500");
    EXPECT_EQ(ratioText(0), "0.000");
    EXPECT_EQ(ratioText(0.00012345), "0.000");
    EXPECT_EQ(ratioText(1234.56), "1235.000");
    EXPECT_EQ(ratioText(0.9999), "1.000");
    EXPECT_EQ(ratioText(9.9996), "10.000");
    EXPECT_EQ(ratioText(2.3456, ','), "2,346");
    EXPECT_EQ(ratioText(-0.00001), "0.000");
    EXPECT_EQ(ratioText(std::nan("")), "NAN");
}

TEST(Format, DurationAndClockTexts)
{
    EXPECT_EQ(durationText(2, 5, 3, 7), "2 / 05:03:07");
    EXPECT_EQ(durationText(0, 0, 0, 0), "0 / 00:00:00");
    EXPECT_EQ(durationText(10, 23, 59, 59), "10 / 23:59:59");
    EXPECT_EQ(clockText(86400), "24:00:00");
    EXPECT_EQ(clockText(3599), "00:59:59");
    EXPECT_EQ(clockText(360000), "100:00:00");
    EXPECT_EQ(daysClockText(1, 2, 3, 4), "1 day, 2:03:04");
    EXPECT_EQ(daysClockText(0, 0, 0, 59), "0 days, 0:00:59");
}
