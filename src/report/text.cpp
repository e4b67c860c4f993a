#include "core/figures.h"
#include "core/format.h"
#include "report.h"

#include <array>
#include <iomanip>

namespace quomble::report {

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

std::string datePart(std::string_view ts) { return std::string(ts.substr(0, 10)); }
std::string timePart(std::string_view ts) { return ts.size() > 11 ? std::string(ts.substr(11)) : ""; }

}  // namespace

void writeText(std::ostream& out, const LogModel& m, const Outcome& outcome, const Options& options)
{
    out << "QuombleView report of " << options.logFile << '\n';
    if (outcome.findings.empty()) {
        out << "Log check: no findings.\n";
    } else {
        out << "Log check: " << outcome.findings.size() << " finding"
            << (outcome.findings.size() == 1 ? "" : "s") << ":\n";
        for (std::size_t i = 0; i < outcome.findings.size() && i < kFindingsShown; ++i)
            out << "  " << outcome.findings[i].text() << '\n';
        if (outcome.findings.size() > kFindingsShown)
            out << "  ... and " << outcome.findings.size() - kFindingsShown << " more\n";
    }
    if (outcome.error || !m.hasBoots())
        return;

    const FigureTable t = figureTable(m);
    const std::string first = m.boot(1).LogIn.str();
    const std::string current = m.boot(m.BootCount).LogIn.str();
    const std::string sinceCrash = m.summary(StatSinceCrash).LogIn.str();
    const bool crashed = m.CrashCount > 0;
    // The captions of the duration table, with the dates filled into the three sentences.
    std::array<std::string, 16> sentences;
    for (std::size_t row = 0; row < sentences.size(); ++row)
        sentences[row] = kFigureCaptions[row];
    sentences[1] = "first log of " + datePart(first) + " at " + timePart(first) + " o'clock, thus before";
    sentences[2] =
        "current boot of " + datePart(current) + " at " + timePart(current) + " o'clock, thus before";
    sentences[6] = crashed ? "last crash on " + datePart(sinceCrash) + " at " + timePart(sinceCrash) +
                                 " o'clock, thus before"
                           : std::string("last crash on - at - o'clock, thus before");

    out << "\nAs of " << Wochentag_ermitteln_lang(m.CurrentDateTime) << ", the "
        << datePart(m.CurrentDateTime) << " at " << timePart(m.CurrentDateTime) << " o'clock\n\n";
    for (int row = 1; row < 16; ++row) {
        out << "  " << std::left << std::setw(58) << sentences[static_cast<std::size_t>(row)] << std::right
            << std::setw(20) << durationOfRow(t[static_cast<std::size_t>(row)]);
        if (row == 4 && !m.Label33Hint.empty())
            out << "   (" << m.Label33Hint << ')';
        if (row == 7 && crashFreeWarning(m))
            out << "   (longer than average!)";
        out << '\n';
        if (row == 2 || row == 3 || row == 7 || row == 11)
            out << '\n';
    }

    out << "\nAltogether " << m.BootCount << " times booted on " << m.DaysWithOnTime << " different days.\n"
        << "That results in a BootIndex of " << ratioText(m.BootIndex) << " boots per day.\n"
        << "Altogether " << m.CrashCount << " times crashed and " << m.LogoutCount << " times shutdowned.\n"
        << "Those are " << ratioText(m.CrashsPerBoot) << " crashs per boot and " << ratioText(m.CrashsPerDay)
        << " crashs per day.\n";
}

}  // namespace quomble::report
