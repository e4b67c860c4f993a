#include "core/errors.h"
#include "core/log_lines.h"
#include "core/model.h"

#include <cstdint>
#include <system_error>

#include <sys/mman.h>

namespace quomble {

namespace {

// A million records are 64 MB: touched page by page that is a quarter million page
// faults. Huge pages, where the system offers them on request, make it a few dozen.
void adviseHugePages(void* data, std::size_t bytes)
{
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kHuge - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

LogModel::LogModel(Clock clock) : clock_(std::move(clock)) {}

void LogModel::Zeit_zerlegen(int index)
{
    BootRecord& r = boot(index);
    // Floor division: a negative duration (a log out of order) keeps a negative day count
    // and non-negative hours, minutes and seconds, e.g. -5 s splits into -1 day 23:59:55.
    auto split = [](std::int32_t seconds, std::int32_t& days, std::uint8_t& hours, std::uint8_t& minutes,
                    std::uint8_t& secs) {
        std::int64_t d = seconds / kSecondsPerDay;
        std::int64_t rest = seconds - d * kSecondsPerDay;
        if (rest < 0) {
            rest += kSecondsPerDay;
            --d;
        }
        days = static_cast<std::int32_t>(d);
        hours = static_cast<std::uint8_t>(rest / 3600);
        minutes = static_cast<std::uint8_t>((rest - hours * 3600) / 60);
        secs = static_cast<std::uint8_t>(rest - hours * 3600 - minutes * 60);
    };
    split(r.OnTime, r.OnDays, r.OnHours, r.OnMinutes, r.OnSeconds);
    split(r.OffTime, r.OffDays, r.OffHours, r.OffMinutes, r.OffSeconds);
}

void LogModel::LogFile_read(const std::filesystem::path& logFile)
{
    LogLineReader lines(logFile);
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(logFile, ec);
    if (!ec && bytes / 40 < 50'000'000) {
        BootList.reserve(static_cast<std::size_t>(bytes / 40 + 16));
        adviseHugePages(BootList.data(), BootList.capacity() * sizeof(BootRecord));
    }
    LogFile_read(lines);
}

void LogModel::LogFile_read(LogLineReader& lines)
{
    BootList.clear();
    BootCount = 0;
    LogoutCount = 0;
    CrashCount = 0;
    BootList.emplace_back();  // placeholder, index 0

    LogLine line;
    while (lines.next(line)) {
        if (BootCount == INT32_MAX - kSummaryCount - 1)
            throw IntakeError("LogFile has too many lines!");
        BootRecord& r = BootList.emplace_back();
        r.LogIn = line.head.substr(0, 19);
        ++BootCount;
        if (line.length >= 23) {
            ++LogoutCount;
            r.LogOut = line.head.substr(20, 19);
        }
    }
    if (BootCount == 0) {
        BootList.clear();
        throw IntakeError("LogFile is empty!");
    }
    const int n = BootCount;
    // Lines without logout among boots 1..N-1; the last line is the running boot.
    for (int i = 1; i < n; ++i)
        CrashCount += boot(i).LogOut.empty() ? 1 : 0;
    BootList.resize(BootList.size() + kSummaryCount);

    try {
        BootRecord& statMin = summary(StatMin);
        BootRecord& statMax = summary(StatMax);
        statMin.OnTime = kShortestStart;
        statMin.OffTime = n == 1 ? 0 : kShortestStart;
        finishedOnTimeSum_ = 0;
        finishedOffTimeSum_ = 0;

        TimestampReader timestamps;
        DateTime login = timestamps.readOrThrow(boot(1).LogIn.view());
        firstLogIn_ = login;
        for (int i = 1; i <= n; ++i) {
            BootRecord& r = boot(i);
            if (i < n) {
                const DateTime nextLogin = timestamps.readOrThrow(boot(i + 1).LogIn.view());
                if (!r.LogOut.empty()) {
                    const DateTime logout = timestamps.readOrThrow(r.LogOut.view());
                    r.OnTime = dt_delta(login, logout);
                    r.OffTime = dt_delta(logout, nextLogin);
                } else {
                    r.OnTime = dt_delta(login, nextLogin);
                    r.OffTime = 0;
                }
                finishedOnTimeSum_ += r.OnTime;
                finishedOffTimeSum_ += r.OffTime;
                login = nextLogin;
            } else {
                currentLogIn_ = login;
                CurrentDateTime = Datumermitteln(clock_);
                r.LogOut = CurrentDateTime;
                r.OnTime = dt_delta(login, readTimestamp(CurrentDateTime));
                r.OffTime = 0;
            }
            if (i == n)  // the refresh measures the running boot against the finished ones
                summary(StatMinBase) = statMin;
            if (r.OnTime < statMin.OnTime && r.OnTime > 0) {
                statMin.OnTime = r.OnTime;
                statMin.LogIn = r.LogIn;
            }
            if (r.OffTime < statMin.OffTime && r.OffTime > 0) {
                statMin.OffTime = r.OffTime;
                statMin.LogOut = r.LogOut;
            }
            if (r.OnTime > statMax.OnTime) {
                statMax.OnTime = r.OnTime;
                statMax.LogIn = r.LogIn;
            }
            if (r.OffTime > statMax.OffTime) {
                statMax.OffTime = r.OffTime;
                statMax.LogOut = r.LogOut;
            }
            Zeit_zerlegen(i);
        }
    } catch (...) {
        BootList.clear();
        BootCount = LogoutCount = CrashCount = 0;
        throw;
    }

    summary(StatSum).OnTime = saturate32(finishedOnTimeSum_);
    summary(StatSum).OffTime = saturate32(finishedOffTimeSum_);
    summary(StatAvg).OffTime = saturate32(finishedOffTimeSum_ / n);
    summary(StatMinBase).OffTime = summary(StatMin).OffTime;
    summary(StatMinBase).LogOut = summary(StatMin).LogOut;

    // The run since the last crash.
    int lastCrash = n - 1;
    while (lastCrash > 1 && !boot(lastCrash).LogOut.empty())
        --lastCrash;
    const int runStart = lastCrash <= 1 && !boot(1).LogOut.empty() ? 1 : lastCrash + 1;
    BootRecord& sinceCrash = summary(StatSinceCrash);
    sinceCrash.LogIn = boot(runStart).LogIn;
    sinceCrash.OnTime = 0;
    sinceCrashFinishedSum_ = 0;
    for (int i = runStart; i < n; ++i)
        sinceCrashFinishedSum_ += boot(i).OnTime;
    sinceCrash.OffTime = saturate32(sinceCrashFinishedSum_);

    // The longest finished crash-free run: from the boot after one crash up to and
    // including the next crash. Ties keep the earliest run.
    BootRecord& run = summary(StatCrashFreeRun);
    BootRecord& best = summary(StatCrashFreeMax);
    Label33Hint.clear();
    if (CrashCount < 1) {
        best.LogOut = boot(1).LogIn;
        return;
    }
    int firstCrash = 1;
    while (boot(firstCrash).LogOut.empty() == false)
        ++firstCrash;
    run.LogIn = boot(firstCrash + 1).LogIn;
    best.OnTime = 0;
    std::int64_t runSum = 0;
    for (int f = firstCrash; f <= n; ++f) {
        if (f > firstCrash)
            runSum += boot(f).OnTime;
        if (!boot(f).LogOut.empty())
            continue;
        run.LogOut = run.LogIn;
        run.OffTime = run.OnTime;
        run.OnTime = saturate32(runSum);
        run.LogIn = boot(f + 1).LogIn;
        if (run.OnTime > best.OnTime) {
            best.OnTime = run.OnTime;
            best.LogIn = run.LogOut;
            best.LogOut = run.LogIn;
        }
        runSum = 0;
    }
    Zeit_zerlegen(n + StatCrashFreeMax);
    Label33Hint = "between " + best.LogIn.str() + " and " + best.LogOut.str();
}

void LogModel::release()
{
    BootList.clear();
    BootList.shrink_to_fit();
    BootCount = 0;
    DayList.clear();
    DayList.shrink_to_fit();
    DayCount = 0;
}

}  // namespace quomble
