#pragma once

#include "core/boot_ends.h"
#include "core/model.h"
#include "core/settings.h"
#include "core/validation.h"

#include <filesystem>
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
    bool crashes = false;              // the crashes and their likely causes instead
    bool prometheus = false;           // the figures in the Prometheus text format instead
    std::string textfile;              // write the output there (temporary file and rename)
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

// Every entry without logout but the last, with its record from the ends file beside the
// log (Quomble.log.ends), the crashes per kernel and what the machine keeps: a table
// (tab-separated, or CSV with the crashes only), or with --json one object. Throws
// IntakeError when the log cannot be read.
void writeCrashes(std::ostream& out, const std::string& logFile, const Options& options, DateTime now);

// The log's figures in the Prometheus text exposition format (for the node exporter's
// textfile collector): boots, clean shutdowns and unclean ends by likely cause, on- and
// off-time, the running boot's start, the last unclean end, the longest crash-free
// on-time, the log's first entry, and whether the log was read without findings.
void writePrometheus(std::ostream& out, const LogModel& model, const Outcome& outcome,
                     const std::string& logFile);

}  // namespace quomble::report
