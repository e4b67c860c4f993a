#pragma once

#include "core/model.h"
#include "core/settings.h"
#include "core/validation.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quomble::report {

struct Options {
    std::optional<CivilDateTime> now;
    bool json = false;
    int trendDays = Settings::kTrendDaysDefault;
    int smoothRadius = Settings::kSmoothRadiusDefault;
    std::optional<std::string> table;  // "boots" or "days"
    bool csv = false;                  // the table as CSV instead of tab-separated
    struct Sort {
        int column;
        bool ascending;
    };
    std::vector<Sort> sorts;
    std::string logFile;
};

// Parses the command line; returns nullopt and fills `problem` on a usage error.
std::optional<Options> parseArguments(int argc, const char* const* argv, std::string& problem);
void printUsage(std::ostream& out);

// The outcome of the start-up intake as the desktop program runs it.
struct Outcome {
    std::vector<Finding> findings;
    std::optional<std::string> error;  // the intake stopped with this message
};

// Validation, reader, first refresh, day list and analysis, trends, smoothing, curve.
Outcome runIntake(LogModel& model, const Options& options);

void writeJson(std::ostream& out, const LogModel& model, const Outcome& outcome);
// The log data window's table after the sorts of the command line, tab-separated or CSV.
void writeTable(std::ostream& out, const LogModel& model, const Options& options);
void writeText(std::ostream& out, const LogModel& model, const Outcome& outcome, const Options& options);

}  // namespace quomble::report
