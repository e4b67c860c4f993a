#pragma once

#include "core/datetime.h"
#include "core/model.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace quomble::bench {

struct LogGenOptions {
    std::int64_t boots = 1'000'000;
    int years = 30;                            // the boots spread over this many years up to `end`
    CivilDateTime end{2026, 12, 7, 12, 0, 0};  // "today"; the last line is open
    std::uint64_t seed = 1;
};

// Writes a realistic, deterministic log: CR LF lines, a few percent crashes, sessions
// from seconds to days, some across midnight, the last line open.
// The same options give the same bytes on every platform and library version: the
// generator uses its own random numbers and only exact integer and IEEE arithmetic.
// Throws std::invalid_argument when the boots do not fit into the years (fewer than
// three seconds per boot) or the options are out of range.
void writeLog(std::ostream& out, const LogGenOptions& options);
std::string generateLog(const LogGenOptions& options);

// The benchmark log (default options) read, refreshed and analysed at its end time, made
// once and shared by every benchmark of the program.
const LogModel& benchmarkModel();

}  // namespace quomble::bench
