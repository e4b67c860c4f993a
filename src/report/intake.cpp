#include "core/intake.h"
#include "report.h"

namespace quomble::report {

Outcome runIntake(LogModel& model, const Options& options)
{
    Outcome outcome;
    IntakeObserver observer;
    observer.findings = [&outcome](const std::vector<Finding>& findings) { outcome.findings = findings; };
    outcome.error = quomble::runIntake(model, options.logFile, observer);
    if (outcome.error)
        return outcome;
    // What the diagrams window adds: the trends, the smoothing and the on-time curve.
    model.BootGlaettung_berechnen(options.trendDays);
    model.BootverlaufGlaettung_berechnen(options.smoothRadius);
    model.Verlauf_berechnen();
    model.Verlauf_normieren();
    return outcome;
}

}  // namespace quomble::report
