#include "core/figures.h"

namespace quomble {

namespace {

std::array<std::string, 4> onCells(const BootRecord& r)
{
    return {std::to_string(r.OnDays), std::to_string(r.OnHours), std::to_string(r.OnMinutes),
            std::to_string(r.OnSeconds)};
}

std::array<std::string, 4> offCells(const BootRecord& r)
{
    return {std::to_string(r.OffDays), std::to_string(r.OffHours), std::to_string(r.OffMinutes),
            std::to_string(r.OffSeconds)};
}

}  // namespace

const std::array<const char*, 16> kFigureCaptions = {
    "",
    "first log of ... thus before",
    "current boot of ... thus before",
    "average OnTime per day",
    "longest crash-free OnTime",
    "average crash-free OnTime",
    "last crash on ... thus before",
    "difference of last to average",
    "shortest OnTime",
    "average OnTime",
    "longest OnTime",
    "sum of all OnTimes",
    "shortest OffTime",
    "average OffTime",
    "longest OffTime",
    "sum of all OffTimes",
};

FigureTable figureTable(const LogModel& m)
{
    FigureTable t;  // the strings start empty
    using Row = std::array<std::string, 4>;
    t[0] = Row{"day", "hou", "min", "sec"};
    if (!m.hasBoots())
        return t;
    t[1] = onCells(m.summary(StatSpan));
    t[2] = onCells(m.boot(m.BootCount));
    t[3] = onCells(m.summary(StatDayAvg));
    t[3][0].clear();  // the average per day never shows a day count
    t[4] = onCells(m.summary(StatCrashFreeMax));
    t[5] = onCells(m.summary(StatCrashFreeAvg));
    t[6] = m.CrashCount > 0 ? onCells(m.summary(StatSinceCrash))
                            : Row{"-", "-", "-", "-"};
    t[7] = offCells(m.summary(StatCrashFreeAvg));
    t[8] = onCells(m.summary(StatMin));
    t[9] = onCells(m.summary(StatAvg));
    t[10] = onCells(m.summary(StatMax));
    t[11] = onCells(m.summary(StatSum));
    t[12] = offCells(m.summary(StatMin));
    t[13] = offCells(m.summary(StatAvg));
    t[14] = offCells(m.summary(StatMax));
    t[15] = offCells(m.summary(StatSum));
    return t;
}

bool crashFreeWarning(const LogModel& m)
{
    return m.hasBoots() && m.summary(StatSinceCrash).OnTime > m.summary(StatCrashFreeAvg).OnTime;
}

}  // namespace quomble
