#include "core/daylist.h"
#include "core/model.h"

#include <climits>
#include <cmath>
#include <string>

namespace quomble {

namespace {

// "hh:mm" of minute m of the day, 00:00 .. 24:00.
std::string minuteLabel(int m)
{
    const auto twoDigits = [](int value) { return (value < 10 ? "0" : "") + std::to_string(value); };
    return twoDigits(m / 60) + ":" + twoDigits(m % 60);
}

// A float truncated towards zero, held within the 32-bit range.
std::int32_t truncated(float value)
{
    if (std::isnan(value))
        return 0;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    return static_cast<std::int32_t>(value);
}

}  // namespace

void LogModel::BC_Array_fuellen()
{
    buildDayList(*this);
    const int n = BootCount;

    // Days with on-time; with only the running boot there is one, though no day holds it.
    DaysWithOnTime = n == 1 ? 1 : 0;
    for (int d = 1; d <= DayCount; ++d)
        DaysWithOnTime += day(d).OnTime > 0 ? 1 : 0;

    // Ratios. Without a day with on-time the per-day figures stay 0.
    BootIndex = DaysWithOnTime > 0 ? static_cast<float>(double(n) / DaysWithOnTime) : 0.0f;
    CrashsPerBoot = n > 0 ? static_cast<float>(double(CrashCount) / n) : 0.0f;
    CrashsPerDay = DaysWithOnTime > 0 ? static_cast<float>(double(CrashCount) / DaysWithOnTime) : 0.0f;

    if (n >= 1) {
        // All boots' on-time, the running boot's up to now included, per day with on-time.
        BootRecord& dayAvg = summary(StatDayAvg);
        const std::int64_t total = std::int64_t{summary(StatSum).OnTime} + boot(n).OnTime;
        dayAvg.OnTime = DaysWithOnTime > 0 ? saturate32(total / DaysWithOnTime) : 0;
        dayAvg.OffTime = 0;
        Zeit_zerlegen(n + StatDayAvg);
    }

    // Boots (one more than the day has) and crashes per 24 hours of on-time, and the
    // fixed maxima of the diagrams' axes.
    MaxBootsPerDay = 0;
    MaxBootFrequency = 0;
    for (int d = 1; d <= DayCount; ++d) {
        DayRecord& r = day(d);
        if (r.OnTime > 0) {
            r.BootFrequency = static_cast<float>((double(r.Boots) + 1) / r.OnTime * 86400);
            r.CrashFrequency = static_cast<float>(double(r.Crashs) / r.OnTime * 86400);
        }
        if (r.Boots > MaxBootsPerDay)
            MaxBootsPerDay = r.Boots;
        if (truncated(r.BootFrequency) > MaxBootFrequency)
            MaxBootFrequency = truncated(r.BootFrequency);
    }

    // Boots and crashes by day of the week, Monday first.
    static constexpr const char* kNames[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                              "Friday", "Saturday", "Sunday"};
    for (std::size_t w = 0; w < WeekdayTable.size(); ++w)
        WeekdayTable[w] = WeekdayRecord{0, 0, std::string_view(kNames[w])};
    for (int d = 1; d <= DayCount; ++d) {
        const DayRecord& r = day(d);
        for (WeekdayRecord& entry : WeekdayTable) {
            if (entry.Name.view().substr(0, 2) == r.Weekday.view()) {
                entry.Boots += r.Boots;
                entry.Crashs += r.Crashs;
            }
        }
    }

    // Per-minute labels; the counted tables start from zero. The on-time curve is reset
    // with them, so it has to be computed anew.
    for (int m = 0; m <= MinutesPerDay; ++m) {
        const std::string text = minuteLabel(m);
        const auto i = static_cast<std::size_t>(m);
        Verlauf[i] = MinutePoint{0, std::string_view(text)};
        VerlaufNormiert[i].Value = 0;
        Einzelverlauf[i].TimeText = text.substr(0, 2) + text.substr(3, 2);
        Bootverlauf[i] = MinutePoint{0, std::string_view(text)};
        Shutdownverlauf[i] = MinutePoint{0, std::string_view(text)};
        Crashverlauf[i] = MinutePoint{0, std::string_view(text)};
        BootverlaufGlatt[i].TimeText = text;
        ShutdownverlaufGlatt[i].TimeText = text;
        CrashverlaufGlatt[i].TimeText = text;
    }
    DaytimePending = true;

    // Boots, shutdowns and crashes by minute of the day; a crash counts at the minute the
    // computer was started again.
    auto count = [](MinuteTable& table, int minute) {
        if (minute >= 0)
            ++table[static_cast<std::size_t>(minute)].Value;
    };
    for (int b = 1; b <= n; ++b) {
        const BootRecord& r = boot(b);
        count(Bootverlauf, minuteOfDay(r.LogIn.view()));
        if (!r.LogOut.empty())
            count(Shutdownverlauf, minuteOfDay(r.LogOut.view()));
        else if (b < n)
            count(Crashverlauf, minuteOfDay(boot(b + 1).LogIn.view()));
    }
}

}  // namespace quomble
