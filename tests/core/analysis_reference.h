#pragma once

// Straightforward transcriptions of the day list, the on-time curve, the trends and the
// daytime smoothing, step by step and reading the timestamp texts, against which the fast
// versions in the core are checked. Also a builder of random logs with the awkward cases.

#include "core/datetime.h"
#include "core/log_lines.h"
#include "core/model.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace quomble::testing {

inline CivilDateTime civilOf(DateTime value)
{
    std::int64_t days = value / kSecondsPerDay;
    std::int64_t rest = value % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    CivilDateTime c = civilFromDayNumber(days);
    c.hour = static_cast<int>(rest / 3600);
    c.minute = static_cast<int>(rest / 60 % 60);
    c.second = static_cast<int>(rest % 60);
    return c;
}

// Reads a log text, refreshes the running boot at `now` and runs the analysis.
inline void analyse(LogModel& model, const std::string& log)
{
    LogLineReader lines{std::string_view(log)};
    model.LogFile_read(lines);
    model.Statistik_aktualisieren();
    model.BC_Array_fuellen();
}

struct RandomLog {
    std::string text;
    CivilDateTime now;
};

// Login dates never go backwards, but times within a day may; durations run from negative
// through zero and seconds to several days (some exactly 1440 or 1441 minutes), logins fall
// into minute 23:59, about a fifth of the boots crash, and "now" lies up to three days after
// the last login.
inline RandomLog randomLog(std::mt19937_64& rng, int boots)
{
    auto pick = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
    };
    auto dayOf = [](DateTime t) { return t / kSecondsPerDay; };
    RandomLog log;
    DateTime t = dayNumber(static_cast<int>(pick(2000, 2025)), static_cast<int>(pick(1, 12)),
                           static_cast<int>(pick(1, 28))) *
                     kSecondsPerDay +
                 pick(0, 86399);
    for (int i = 0; i < boots; ++i) {
        DateTime login = t;
        if (pick(0, 99) < 8)
            login = dayOf(t) * kSecondsPerDay + 23 * 3600 + 59 * 60 + pick(0, 59);
        std::int64_t duration;
        const auto kind = pick(0, 99);
        if (kind < 10)
            duration = pick(0, 59);
        else if (kind < 20)
            duration = -pick(1, 7200);
        else if (kind < 30)
            duration = 1441 * 60 * pick(1, 3) + pick(-120, 120);
        else if (kind < 35)
            duration = (pick(0, 1) ? 1441 : 1440) * 60 + pick(0, 1) * 59;
        else
            duration = pick(60, 600 * 60);
        const bool last = i == boots - 1;
        const bool crash = !last && pick(0, 99) < 20;
        log.text += formatTimestamp(login) + " ";
        DateTime next;
        if (last) {
            log.now = civilOf(login + pick(0, 3 * 86400));
            next = login;
        } else if (crash) {
            next = login + duration;
        } else {
            log.text += formatTimestamp(login + duration);
            next = std::max(login, login + duration) + (pick(0, 3) ? pick(0, 3600) : pick(0, 3 * 86400));
            if (pick(0, 19) == 0)
                next = login + pick(0, 600);  // the next boot before this one's logout
        }
        if (dayOf(next) < dayOf(login))
            next = login;
        log.text += "\r\n";
        t = next;
    }
    return log;
}

// ---- Day list, literally: texts compared, times read back from texts ------------------

struct ReferenceDays {
    std::int32_t DayCount = 0;
    std::vector<DayRecord> days;  // placeholder, days, extra record
};

inline ReferenceDays referenceDayList(const LogModel& m)
{
    const int n = m.BootCount;
    auto date = [](const Timestamp& t) { return std::string(t.view().substr(0, 10)); };
    ReferenceDays r;
    r.DayCount = dt_delta(readTimestamp(date(m.boot(1).LogIn) + " 00:00:00"),
                          readTimestamp(date(m.boot(n).LogOut) + " 23:59:59")) /
                     86400 +
                 1;
    const int count = std::max(r.DayCount, 0);
    r.days.resize(static_cast<std::size_t>(count) + 2);
    const std::int64_t first = readTimestamp(date(m.boot(1).LogIn) + " 00:00:00") / kSecondsPerDay;
    for (int d = 1; d <= count + 1; ++d)
        r.days[d].Date = formatDate(first + d - 1);
    for (int d = 1; d <= count; ++d)
        r.days[d].Weekday = Wochentag_ermitteln(r.days[d].Date.view());
    if (n == 1)
        return r;
    std::vector<std::int64_t> on(r.days.size(), 0);
    int b = 1;
    for (int d = 1; d <= count; ++d) {
        while (b <= n && date(m.boot(b).LogIn) == r.days[d].Date.view()) {
            const BootRecord& boot = m.boot(b);
            const Timestamp end = !boot.LogOut.empty() ? boot.LogOut : m.boot(b + 1).LogIn;
            on[d] += boot.OnTime;
            if (date(boot.LogIn) != date(end)) {
                const std::int64_t part = dt_delta(readTimestamp(boot.LogIn.view()),
                                                   readTimestamp(r.days[d].Date.str() + " 23:59:59"));
                const std::int64_t rest = boot.OnTime - part;
                on[d] -= rest;
                on[d + 1] += rest;
            }
            r.days[d].Boots += 1;
            if (boot.LogOut.empty()) {
                for (int e = d; e <= count; ++e) {
                    if (r.days[e].Date.view() == date(m.boot(b + 1).LogIn)) {
                        r.days[e].Crashs += 1;
                        break;
                    }
                }
            }
            b = b + 1;
        }
        if (on[d] > 86400) {
            on[d + 1] += on[d] - 86400;
            on[d] = 86400;
        }
    }
    for (std::size_t d = 1; d < on.size(); ++d)
        r.days[d].OnTime = saturate32(on[d]);
    return r;
}

// ---- On-time curve, literally: one scan and one mark per minute and boot -------------

struct ReferenceCurve {
    std::array<std::int64_t, kMinutePoints> verlauf{};
    std::array<std::int64_t, kMinutePoints> einzel{};
};

inline ReferenceCurve referenceCurve(const LogModel& m)
{
    ReferenceCurve r;
    std::array<int, kMinutePoints> number{};  // the work table's labels 0000 .. 2400 as numbers
    for (int k = 0; k <= MinutesPerDay; ++k)
        number[k] = k / 60 * 100 + k % 60;
    DateTime nextLogin = kZeroDateTime;
    for (int b = m.BootCount; b >= 1; --b) {
        const BootRecord& boot = m.boot(b);
        const DateTime end = !boot.LogOut.empty() ? readTimestamp(boot.LogOut.view()) : nextLogin;
        const DateTime login = readTimestamp(boot.LogIn.view());
        nextLogin = login;
        const std::int64_t minutes = dt_delta(login, end) / 60;
        const std::string in = boot.LogIn.str();
        const int loginNumber = std::stoi(in.substr(11, 2) + in.substr(14, 2));
        int start = 0;
        for (int k = 0; k <= MinutesPerDay; ++k) {
            const int previous = number[k == 0 ? 0 : k - 1];
            if (previous <= loginNumber && loginNumber <= number[k])
                start = k;
            r.einzel[k] = 0;
        }
        for (std::int64_t i = 0; i < std::max<std::int64_t>(minutes, 1); ++i) {
            r.einzel[start] += 1;
            start = start == MinutesPerDay ? 0 : start + 1;
        }
        for (int k = 0; k <= MinutesPerDay; ++k)
            r.verlauf[k] += r.einzel[k];
    }
    return r;
}

// ---- Smoothing and trends, as direct sums ---------------------------------------------

inline int wrapped(int f)
{
    if (f < 0)
        f = f + 1440;
    if (f > 1440)
        f = f - 1440;
    return f;
}

inline std::array<std::int64_t, kMinutePoints> referenceSmoothing(const MinuteTable& source, int radius)
{
    std::array<std::int64_t, kMinutePoints> out{};
    for (int m = 0; m <= MinutesPerDay; ++m)
        for (int k = -radius; k <= radius; ++k)
            out[m] += source[wrapped(m + k)].Value;
    return out;
}

// Trends of days 1..DayCount written into a copy of the day list.
inline std::vector<DayRecord> referenceTrends(const LogModel& m, int width)
{
    std::vector<DayRecord> days = m.DayList;
    for (int d = 1; d <= m.DayCount; ++d) {
        DayRecord& r = days[d];
        r.BootTrend = r.CrashTrend = r.BootFrequencyTrend = r.CrashFrequencyTrend = 0;
        std::int64_t onTime = 0;
        for (int k = 0; k <= width - 1; ++k) {
            const int j = d - k;
            if (j < 1)
                continue;
            r.BootTrend += days[j].Boots;
            r.CrashTrend += days[j].Crashs;
            onTime += days[j].OnTime;
            r.BootFrequencyTrend += days[j].BootFrequency;
            r.CrashFrequencyTrend += days[j].CrashFrequency;
        }
        r.BootTrend = static_cast<float>(double{r.BootTrend} / width);
        r.CrashTrend = static_cast<float>(double{r.CrashTrend} / width);
        r.BootFrequencyTrend = static_cast<float>(double{r.BootFrequencyTrend} / width);
        r.CrashFrequencyTrend = static_cast<float>(double{r.CrashFrequencyTrend} / width);
        r.OnTimeTrend = saturate32(onTime / width);
    }
    return days;
}

}  // namespace quomble::testing
