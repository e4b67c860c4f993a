#include "core/summary_text.h"
#include "report.h"

namespace quomble::report {

void writeText(std::ostream& out, const LogModel& m, const Outcome& outcome, const Options& options)
{
    out << summaryText(m, options.logFile, outcome.findings, outcome.error);
}

}  // namespace quomble::report
