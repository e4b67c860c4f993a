// Fuzz target: arbitrary bytes as the boot log, through the whole intake and analysis at a
// fixed clock, then the log data tables and a sort of each column. Any crash, hang,
// sanitizer report or broken invariant is a finding.

#include "core/errors.h"
#include "core/log_lines.h"
#include "core/model.h"
#include "core/tables.h"
#include "core/validation.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace quomble;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the clock's day, so "today" also moves before and after the log.
    const int dayShift = size > 0 ? data[0] % 64 : 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    LogLineReader checkLines(bytes);
    const auto findings = LogFileCheck(checkLines);
    for (const Finding& f : findings)
        if (f.text().empty())
            std::abort();

    LogModel model(fixedClock({2026, 12, 1 + dayShift % 28, 12, 0, 0}));
    LogLineReader lines(bytes);
    try {
        model.LogFile_read(lines);
    } catch (const IntakeError&) {
        if (model.hasBoots())
            std::abort();  // a stopped intake leaves no half-filled list behind
        return 0;
    }
    model.Statistik_aktualisieren();
    model.BC_Array_fuellen();
    model.BootGlaettung_berechnen(1 + dayShift);
    model.BootverlaufGlaettung_berechnen(dayShift * 22);
    model.Verlauf_berechnen();
    model.Verlauf_normieren();

    for (LogTable table : {LogTable::Boots, LogTable::Days}) {
        TableOrder order(table);
        order.fill(model);
        if (order.rowCount() > 4000)
            continue;  // long tables are the benchmarks' business; keep the runs quick
        for (int column = 0; column < columnCount(table); ++column) {
            order.press(model, column);
            for (int row = 1; row <= order.rowCount() && row <= 50; ++row)
                (void)cellText(model, table, order.record(row), column);
        }
    }
    return 0;
}
