#include "core/summary_text.h"

#include "core/datetime.h"
#include "core/figures.h"
#include "core/format.h"

#include <array>
#include <iomanip>
#include <sstream>

namespace quomble {

namespace {

constexpr std::size_t kFindingsShown = 20;

// "2 days, 3:04:05" from a row of the duration table; "3:04:05" when it has no day cell.
std::string durationOfRow(const std::array<std::string, 4>& cells)
{
    if (cells[0] == "-")
        return "-";
    std::string text = cells[0].empty() ? "" : cells[0] + (cells[0] == "1" ? " day, " : " days, ");
    text += cells[1] + ':' + (cells[2].size() < 2 ? "0" : "") + cells[2] + ':' +
            (cells[3].size() < 2 ? "0" : "") + cells[3];
    return text;
}

}  // namespace

std::string summaryText(const LogModel& m, std::string_view logFile, const std::vector<Finding>& findings,
                        const std::optional<std::string>& error)
{
    std::ostringstream out;
    out << "QuombleView report of " << logFile << '\n';
    if (findings.empty()) {
        out << "Log check: no findings.\n";
    } else {
        out << "Log check: " << findings.size() << " finding" << (findings.size() == 1 ? "" : "s") << ":\n";
        for (std::size_t i = 0; i < findings.size() && i < kFindingsShown; ++i)
            out << "  " << findings[i].text() << '\n';
        if (findings.size() > kFindingsShown)
            out << "  ... and " << findings.size() - kFindingsShown << " more\n";
    }
    if (error || !m.hasBoots())
        return std::move(out).str();

    const FigureTable t = figureTable(m);
    out << "\nAs of " << Wochentag_ermitteln_lang(m.CurrentDateTime) << ", the "
        << datePartOf(m.CurrentDateTime) << " at " << timePartOf(m.CurrentDateTime) << " o'clock\n\n";
    for (int row = 1; row < kFigureRows; ++row) {
        out << "  " << std::left << std::setw(58) << figureCaption(m, row) << std::right << std::setw(20)
            << durationOfRow(t[static_cast<std::size_t>(row)]);
        if (const FigureHint hint = figureHint(m, row);
            hint.kind == FigureHint::Kind::Text && !hint.text.empty())
            out << "   (" << hint.text << ')';
        if (figureRow(row).warning && crashFreeWarning(m))
            out << "   (longer than average!)";
        out << '\n';
        if (figureRow(row).breakAfter != FigureBreak::None)
            out << '\n';
    }

    out << "\nAltogether " << m.BootCount << " times booted on " << m.DaysWithOnTime << " different days.\n"
        << "That results in a BootIndex of " << ratioText(m.BootIndex) << " boots per day.\n"
        << "Altogether " << m.CrashCount << " times crashed and " << m.LogoutCount << " times shutdowned.\n"
        << "Those are " << ratioText(m.CrashsPerBoot) << " crashs per boot and " << ratioText(m.CrashsPerDay)
        << " crashs per day.\n";
    return std::move(out).str();
}

}  // namespace quomble
