#include "core/figures.h"

namespace quomble {

namespace {

// A negative duration (a clock set back, a log out of order) splits into a negative day
// count and a positive rest, which reads as nearly that many days; it shows "-" instead.
std::array<std::string, 4> cells(std::int32_t days, int hours, int minutes, int seconds)
{
    if (days < 0)
        return {"-", "-", "-", "-"};
    return {std::to_string(days), std::to_string(hours), std::to_string(minutes), std::to_string(seconds)};
}

std::array<std::string, 4> onCells(const BootRecord& r)
{
    return cells(r.OnDays, r.OnHours, r.OnMinutes, r.OnSeconds);
}

std::array<std::string, 4> offCells(const BootRecord& r)
{
    return cells(r.OffDays, r.OffHours, r.OffMinutes, r.OffSeconds);
}

}  // namespace

FigureTable figureTable(const LogModel& m)
{
    FigureTable t;  // the strings start empty
    using Row = std::array<std::string, 4>;
    t[0] = Row{"day", "hou", "min", "sec"};
    if (!m.hasBoots())
        return t;
    t[1] = onCells(m.summary(StatSpan));
    t[2] = onCells(m.boot(m.BootCount));
    const BootRecord& dayAvg = m.summary(StatDayAvg);
    t[3] = cells(0, dayAvg.OnHours, dayAvg.OnMinutes, dayAvg.OnSeconds);
    t[3][0].clear();  // the average per day never shows a day count
    t[4] = onCells(m.summary(StatCrashFreeMax));
    t[5] = onCells(m.summary(StatCrashFreeAvg));
    t[6] = m.CrashCount > 0 ? onCells(m.summary(StatSinceCrash)) : Row{"-", "-", "-", "-"};
    t[7] = offCells(m.summary(StatCrashFreeAvg));
    const Row none{"-", "-", "-", "-"};
    t[8] = hasShortestOnTime(m) ? onCells(m.summary(StatMin)) : none;
    t[9] = onCells(m.summary(StatAvg));
    t[10] = onCells(m.summary(StatMax));
    t[11] = onCells(m.summary(StatSum));
    t[12] = hasShortestOffTime(m) ? offCells(m.summary(StatMin)) : none;
    t[13] = offCells(m.summary(StatAvg));
    t[14] = offCells(m.summary(StatMax));
    t[15] = offCells(m.summary(StatSum));
    return t;
}

FigureMoment figureMoment(const LogModel& m, int row)
{
    if (!m.hasBoots() || (row == 6 && m.CrashCount <= 0))
        return {"-", "-"};
    const BootRecord& boot = row == 1   ? m.boot(1)
                             : row == 2 ? m.boot(m.BootCount)
                                        : m.summary(StatSinceCrash);
    return {datePartOf(boot.LogIn.view()), timePartOf(boot.LogIn.view())};
}

std::string figureCaption(const LogModel& m, int row)
{
    const std::string caption = figureRow(row).caption;
    if (!figureRow(row).sentence)
        return caption;
    const FigureMoment moment = figureMoment(m, row);
    return caption + ' ' + moment.date + ' ' + kSentenceAt + ' ' + moment.time + ' ' + kSentenceEnd;
}

FigureHint figureHint(const LogModel& m, int row)
{
    using Kind = FigureHint::Kind;
    if (!m.hasBoots())
        return {};
    switch (row) {
    case 4:
        return {Kind::Text, m.Label33Hint};
    case 8:
        return hasShortestOnTime(m) ? FigureHint{Kind::OnClock, m.summary(StatMin).LogIn.str()}
                                    : FigureHint{};
    case 10:
        return {Kind::OnClock, m.summary(StatMax).LogIn.str()};
    case 12:
        return hasShortestOffTime(m) ? FigureHint{Kind::OnClock, m.summary(StatMin).LogOut.str()}
                                     : FigureHint{};
    case 14:
        return {Kind::OnClock, m.summary(StatMax).LogOut.str()};
    default:
        return {};
    }
}

std::string datePartOf(std::string_view timestamp) { return std::string(timestamp.substr(0, 10)); }

std::string timePartOf(std::string_view timestamp)
{
    return timestamp.size() > 11 ? std::string(timestamp.substr(11, 8)) : std::string();
}

bool hasShortestOnTime(const LogModel& m)
{
    return m.hasBoots() && m.summary(StatMin).OnTime != kShortestStart;
}

bool hasShortestOffTime(const LogModel& m)
{
    return m.hasBoots() && m.summary(StatMin).OffTime != kShortestStart;
}

bool crashFreeWarning(const LogModel& m)
{
    return m.hasBoots() && m.summary(StatSinceCrash).OnTime > m.summary(StatCrashFreeAvg).OnTime;
}

}  // namespace quomble
