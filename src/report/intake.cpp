#include "core/errors.h"
#include "core/log_lines.h"
#include "report.h"

namespace quomble::report {

Outcome runIntake(LogModel& model, const Options& options)
{
    Outcome outcome;
    try {
        requireReadableLog(options.logFile);
        outcome.findings = LogFileCheck(options.logFile);
        model.LogFile_read(options.logFile);
        model.Statistik_aktualisieren();
        model.BC_Array_fuellen();
        model.BootGlaettung_berechnen(options.trendDays);
        model.BootverlaufGlaettung_berechnen(options.smoothRadius);
        model.Verlauf_berechnen();
        model.Verlauf_normieren();
    } catch (const IntakeError& e) {
        outcome.error = e.what();
    } catch (const std::bad_alloc&) {
        outcome.error = "Not enough memory to read the LogFile!";
    }
    return outcome;
}

}  // namespace quomble::report
