#include "core/model.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace quomble {

namespace {

// Trailing window sums of single-precision values, rounded to single precision after every
// addition and added from the day itself back to the oldest day of the window, as a
// running sum could not reproduce. The loops are interchanged so that the inner one runs
// over the days without a dependency from one addition to the next.
template <typename Value>
std::vector<float> windowSumsInOrder(const std::vector<Value>& values, int days, int width)
{
    std::vector<float> sums(static_cast<std::size_t>(days) + 1, 0.0f);
    const int reach = std::min(width, days);
    float* out = sums.data();
    const Value* in = values.data();
    for (int k = 0; k < reach; ++k)
        for (int d = k + 1; d <= days; ++d)
            out[d] = out[d] + static_cast<float>(in[d - k]);
    return sums;
}

// Trailing window sums of whole numbers in 64 bits.
std::vector<std::int64_t> windowSums(const std::vector<std::int32_t>& values, int days, int width)
{
    std::vector<std::int64_t> prefix(static_cast<std::size_t>(days) + 1, 0);
    for (int d = 1; d <= days; ++d)
        prefix[static_cast<std::size_t>(d)] =
            prefix[static_cast<std::size_t>(d) - 1] + values[static_cast<std::size_t>(d)];
    std::vector<std::int64_t> sums(static_cast<std::size_t>(days) + 1, 0);
    for (int d = 1; d <= days; ++d)
        sums[static_cast<std::size_t>(d)] =
            prefix[static_cast<std::size_t>(d)] - prefix[static_cast<std::size_t>(std::max(0, d - width))];
    return sums;
}

// Window sums of counts as single-precision sums. While the counts' magnitudes add up to
// less than 2^24 every partial sum is a whole number that a float holds exactly, so the
// order of the additions does not matter and a running sum gives the same floats.
std::vector<float> countWindowSums(const std::vector<std::int32_t>& counts, int days, int width)
{
    std::int64_t magnitude = 0;
    for (int d = 1; d <= days; ++d)
        magnitude += std::llabs(counts[static_cast<std::size_t>(d)]);
    if (magnitude >= (std::int64_t{1} << 24))
        return windowSumsInOrder(counts, days, width);
    const auto exact = windowSums(counts, days, width);
    std::vector<float> sums(exact.size());
    for (std::size_t d = 0; d < exact.size(); ++d)
        sums[d] = static_cast<float>(exact[d]);
    return sums;
}

// Circular window sum over minutes m - radius .. m + radius of a per-minute table. A
// minute below 0 is taken 1440 later and one above 1440 is taken 1440 earlier, so entry
// 1440 (24:00) is a slot of its own that windows reaching it include, and entry 0 is
// never reached from the end of the day.
void smoothCircular(const MinuteTable& source, MinuteTable& smoothed, int radius)
{
    for (MinutePoint& point : smoothed)
        point.Value = 0;
    if (radius < 0)
        return;
    radius = std::min(radius, MinutesPerDay);
    // Prefix sums over the minutes -1440 .. 2880, each mapped to its entry.
    constexpr int kOffset = MinutesPerDay;
    std::array<std::int64_t, 3 * MinutesPerDay + 2> prefix{};
    for (int x = -MinutesPerDay; x <= 2 * MinutesPerDay; ++x) {
        const int f = x < 0 ? x + MinutesPerDay : (x > MinutesPerDay ? x - MinutesPerDay : x);
        const auto i = static_cast<std::size_t>(x + kOffset);
        prefix[i + 1] = prefix[i] + source[static_cast<std::size_t>(f)].Value;
    }
    for (int m = 0; m <= MinutesPerDay; ++m) {
        const std::int64_t sum = prefix[static_cast<std::size_t>(m + radius + kOffset + 1)] -
                                 prefix[static_cast<std::size_t>(m - radius + kOffset)];
        smoothed[static_cast<std::size_t>(m)].Value = saturate32(sum);
    }
}

}  // namespace

// Trailing moving averages over TrendDays days; days before day 1 count as zero and the
// divisor is always TrendDays. With TrendDays below 1 the window is empty and every trend
// stays 0.
void LogModel::BootGlaettung_berechnen(int TrendDays)
{
    const int days = std::max(DayCount, 0);
    for (int d = 1; d <= days; ++d) {
        DayRecord& r = day(d);
        r.BootTrend = r.CrashTrend = r.BootFrequencyTrend = r.CrashFrequencyTrend = 0.0f;
        r.OnTimeTrend = 0;
    }
    if (TrendDays < 1 || days < 1)
        return;

    const auto size = static_cast<std::size_t>(days) + 1;
    std::vector<std::int32_t> boots(size), crashs(size), onTime(size);
    std::vector<float> bootFrequency(size), crashFrequency(size);
    for (int d = 1; d <= days; ++d) {
        const DayRecord& r = day(d);
        const auto i = static_cast<std::size_t>(d);
        boots[i] = r.Boots;
        crashs[i] = r.Crashs;
        onTime[i] = r.OnTime;
        bootFrequency[i] = r.BootFrequency;
        crashFrequency[i] = r.CrashFrequency;
    }
    const auto bootSums = countWindowSums(boots, days, TrendDays);
    const auto crashSums = countWindowSums(crashs, days, TrendDays);
    const auto onTimeSums = windowSums(onTime, days, TrendDays);
    const auto bootFrequencySums = windowSumsInOrder(bootFrequency, days, TrendDays);
    const auto crashFrequencySums = windowSumsInOrder(crashFrequency, days, TrendDays);

    auto average = [TrendDays](float sum) { return static_cast<float>(double{sum} / TrendDays); };
    for (int d = 1; d <= days; ++d) {
        DayRecord& r = day(d);
        const auto i = static_cast<std::size_t>(d);
        r.BootTrend = average(bootSums[i]);
        r.CrashTrend = average(crashSums[i]);
        r.OnTimeTrend = saturate32(onTimeSums[i] / TrendDays);
        r.BootFrequencyTrend = average(bootFrequencySums[i]);
        r.CrashFrequencyTrend = average(crashFrequencySums[i]);
    }
}

// Sums, not averages, of the boots, shutdowns and crashes within SmoothRadius minutes of
// each time of day. A radius above 1440 is taken as 1440; a negative one leaves 0.
void LogModel::BootverlaufGlaettung_berechnen(int SmoothRadius)
{
    smoothCircular(Bootverlauf, BootverlaufGlatt, SmoothRadius);
    smoothCircular(Shutdownverlauf, ShutdownverlaufGlatt, SmoothRadius);
    smoothCircular(Crashverlauf, CrashverlaufGlatt, SmoothRadius);
}

// The on-time curve lowered by its own minimum.
void LogModel::Verlauf_normieren()
{
    std::int64_t lowest = Verlauf[0].Value;
    for (const MinutePoint& point : Verlauf)
        lowest = std::min<std::int64_t>(lowest, point.Value);
    for (std::size_t m = 0; m < Verlauf.size(); ++m)
        VerlaufNormiert[m].Value = saturate32(Verlauf[m].Value - lowest);
}

}  // namespace quomble
