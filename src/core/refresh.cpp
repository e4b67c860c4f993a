#include "core/model.h"

namespace quomble {

void LogModel::refreshCurrentBoot()
{
    CurrentDateTime = Datumermitteln(clock_);
    BootRecord& current = boot(BootCount);
    current.LogOut = CurrentDateTime;
    current.OnTime = dt_delta(currentLogIn_, readTimestamp(CurrentDateTime));
}

void LogModel::Statistik_aktualisieren()
{
    if (BootCount < 1)
        return;
    const int n = BootCount;
    refreshCurrentBoot();
    const BootRecord& current = boot(n);
    const std::int64_t onTime = current.OnTime;

    BootRecord& statMin = summary(StatMin);
    if (current.OnTime < summary(StatMinBase).OnTime) {
        statMin.OnTime = current.OnTime;
        statMin.LogIn = current.LogIn;
    } else {
        statMin = summary(StatMinBase);
    }
    BootRecord& statMax = summary(StatMax);
    if (current.OnTime > statMax.OnTime) {
        statMax.OnTime = current.OnTime;
        statMax.LogIn = current.LogIn;
    }

    // The sum holds the running boot only while the figures below are derived.
    const std::int64_t allOnTime = finishedOnTimeSum_ + onTime;
    summary(StatSum).OnTime = saturate32(allOnTime);
    summary(StatAvg).OnTime = saturate32(allOnTime / n);

    BootRecord& span = summary(StatSpan);
    span.LogIn = boot(1).LogIn;
    span.LogOut = CurrentDateTime;
    span.OnTime = dt_delta(firstLogIn_, readTimestamp(CurrentDateTime));

    BootRecord& sinceCrash = summary(StatSinceCrash);
    const std::int64_t sinceCrashOnTime = sinceCrashFinishedSum_ + onTime;
    sinceCrash.OnTime = saturate32(sinceCrashOnTime);

    BootRecord& crashFreeAvg = summary(StatCrashFreeAvg);
    const std::int64_t average = CrashCount > 0 ? allOnTime / CrashCount : allOnTime;
    crashFreeAvg.OnTime = saturate32(average);
    crashFreeAvg.OffTime =
        saturate32(sinceCrashOnTime > average ? sinceCrashOnTime - average : average - sinceCrashOnTime);

    BootRecord& best = summary(StatCrashFreeMax);
    if (sinceCrash.OnTime > best.OnTime) {
        best.OnTime = sinceCrash.OnTime;
        Zeit_zerlegen(n + StatCrashFreeMax);
        // The run still going on started at the first boot after the last crash.
        Label33Hint = "between " + sinceCrash.LogIn.str() + " and " + current.LogOut.str();
    }

    for (int i = n; i <= n + StatCrashFreeAvg; ++i)
        Zeit_zerlegen(i);
    summary(StatSum).OnTime = saturate32(finishedOnTimeSum_);
}

}  // namespace quomble
