#pragma once

#include "core/datetime.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace quomble::bench {

struct LogGenOptions {
    std::int64_t boots = 1'000'000;
    int years = 30;              // the boots spread over this many years up to `end`
    CivilDateTime end{2026, 12, 7, 12, 0, 0};  // "today"; the last line is open
    std::uint64_t seed = 1;
};

// Writes a realistic, deterministic log: CR LF lines, a few percent crashes, sessions
// from seconds to days, some across midnight, the last line open.
void writeLog(std::ostream& out, const LogGenOptions& options);
std::string generateLog(const LogGenOptions& options);

}  // namespace quomble::bench
