#include "core/daylist.h"

#include "core/model.h"

#include <cstring>
#include <optional>
#include <vector>

namespace quomble {

namespace {

std::string_view datePart(const Timestamp& text) { return text.view().substr(0, 10); }

// Day index (1-based, may lie outside the list) of a timestamp's date. Consecutive boots
// mostly share a date, so the last text and its index are remembered and compared first.
class DayIndexer {
public:
    explicit DayIndexer(std::int64_t firstDay) : firstDay_(firstDay) {}

    std::optional<std::int64_t> operator()(const Timestamp& text)
    {
        const std::string_view date = datePart(text);
        if (date.size() == 10 && valid_ && std::memcmp(date.data(), lastDate_, 10) == 0)
            return lastIndex_;
        const auto value = parseDate(date);
        if (!value)
            return std::nullopt;
        std::memcpy(lastDate_, date.data(), 10);
        lastIndex_ = *value / kSecondsPerDay - firstDay_ + 1;
        valid_ = true;
        return lastIndex_;
    }

private:
    std::int64_t firstDay_;
    char lastDate_[10] = {};
    std::int64_t lastIndex_ = 0;
    bool valid_ = false;
};

}  // namespace

int minuteOfDay(std::string_view timestamp)
{
    if (timestamp.size() < 16)
        return -1;
    auto digit = [&](std::size_t i) { return static_cast<unsigned char>(timestamp[i]) - '0'; };
    const unsigned h1 = digit(11), h2 = digit(12), m1 = digit(14), m2 = digit(15);
    if (h1 > 9 || h2 > 9 || m1 > 9 || m2 > 9)
        return -1;
    const int hours = static_cast<int>(h1 * 10 + h2);
    const int minutes = static_cast<int>(m1 * 10 + m2);
    if (hours > 23 || minutes > 59)
        return -1;
    return hours * 60 + minutes;
}

void buildDayList(LogModel& model)
{
    auto& days = model.DayList;
    days.clear();
    model.DayCount = 0;
    const int n = model.BootCount;
    std::optional<DateTime> first;
    std::optional<DateTime> today;
    if (n >= 1) {
        first = parseDate(datePart(model.boot(1).LogIn));
        today = parseDate(datePart(model.boot(n).LogOut));
    }
    if (!first || !today) {
        days.resize(2);  // placeholder and the extra record
        return;
    }

    // Whole days from the first date at 00:00:00 to today at 23:59:59, both counted.
    const std::int32_t span = dt_delta(*first, *today + kSecondsPerDay - 1);
    const std::int32_t count = span / 86400 + 1 > 0 ? span / 86400 + 1 : 0;
    model.DayCount = count;

    const std::int64_t firstDay = *first / kSecondsPerDay;
    days.resize(static_cast<std::size_t>(count) + 2);
    for (std::int32_t d = 1; d <= count + 1; ++d)
        days[static_cast<std::size_t>(d)].Date = formatDate(firstDay + d - 1);
    static constexpr const char* kCodes[7] = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
    for (std::int32_t d = 1; d <= count; ++d)
        days[static_cast<std::size_t>(d)].Weekday = kCodes[dayOfWeek(firstDay + d - 1)];

    if (n == 1)
        return;  // only the running boot: no day gets boots, crashes or on-time

    // On-time in 64 bits while boots and carries are added; the records get saturated copies.
    std::vector<std::int64_t> onTime(static_cast<std::size_t>(count) + 2, 0);
    auto carry = [&](std::int64_t d) {
        auto& dayOnTime = onTime[static_cast<std::size_t>(d)];
        if (dayOnTime > kSecondsPerDay) {
            onTime[static_cast<std::size_t>(d) + 1] += dayOnTime - kSecondsPerDay;
            dayOnTime = kSecondsPerDay;
        }
    };

    DayIndexer loginDay(firstDay);
    DayIndexer nextLoginDay(firstDay);
    std::int64_t d = 1;  // the day the cursor has reached; it only moves forward
    for (int b = 1; b <= n; ++b) {
        const BootRecord& boot = model.boot(b);
        const auto e = loginDay(boot.LogIn);
        if (!e || *e < d || *e > count)
            continue;  // dated before the cursor's day or after the last day: on no day
        for (; d < *e; ++d)
            carry(d);

        DayRecord& day = days[static_cast<std::size_t>(d)];
        const bool crashed = boot.LogOut.empty();
        const Timestamp& end = !crashed ? boot.LogOut : (b < n ? model.boot(b + 1).LogIn : boot.LogIn);
        onTime[static_cast<std::size_t>(d)] += boot.OnTime;
        if (datePart(boot.LogIn) != datePart(end)) {
            // The login day keeps the seconds up to its 23:59:59, the next day the rest.
            const auto start = parseTimestamp(boot.LogIn.view());
            if (start) {
                const DateTime dayEnd = (firstDay + d - 1) * kSecondsPerDay + kSecondsPerDay - 1;
                const std::int64_t rest = std::int64_t{boot.OnTime} - dt_delta(*start, dayEnd);
                onTime[static_cast<std::size_t>(d)] -= rest;
                onTime[static_cast<std::size_t>(d) + 1] += rest;
            }
        }
        ++day.Boots;
        if (crashed && b < n) {
            const auto crashDay = nextLoginDay(model.boot(b + 1).LogIn);
            if (crashDay && *crashDay >= d && *crashDay <= count)
                ++days[static_cast<std::size_t>(*crashDay)].Crashs;
        }
    }
    for (; d <= count; ++d)
        carry(d);
    for (std::int32_t i = 1; i <= count + 1; ++i)
        days[static_cast<std::size_t>(i)].OnTime = saturate32(onTime[static_cast<std::size_t>(i)]);
}

}  // namespace quomble
