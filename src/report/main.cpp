// quomble-report: the terminal companion of QuombleView. Runs the same intake and analysis
// on a boot log and prints the figures as text or JSON.

#include "core/safe_file.h"
#include "core/standard_output.h"
#include "report.h"

#include <filesystem>
#include <iostream>
#include <sstream>

int main(int argc, char** argv)
{
    using namespace quomble;
    std::ios::sync_with_stdio(false);
    // Whatever is printed is checked to the close: a full disk ends the tool with status 1.
    StandardOutput output("quomble-report");
    std::ostream& out = output.stream();
    std::string problem;
    const auto options = report::parseArguments(argc, argv, problem);
    if (!options) {
        if (!problem.empty())
            std::cerr << "quomble-report: " << problem << "\n\n";
        report::printUsage(problem.empty() ? out : std::cerr);
        return output.finish(problem.empty() ? 0 : 2);
    }

    if (options->crashes) {
        try {
            const CivilDateTime now = options->now ? *options->now : systemLocalTime();
            report::writeCrashes(out, options->logFile, *options, readTimestamp(formatTimestamp(now)));
            return output.finish(0);
        } catch (const std::exception& error) {
            std::cerr << "quomble-report: " << error.what() << '\n';
            return output.finish(1);
        }
    }

    if (!options->textfile.empty()) {
        // Where the node exporter is not installed, nothing is read and nothing written.
        const std::filesystem::path folder = std::filesystem::path(options->textfile).parent_path();
        std::error_code ec;
        if (!std::filesystem::is_directory(folder.empty() ? "." : folder, ec)) {
            std::cerr << "quomble-report: the folder of " << options->textfile << " does not exist\n";
            return output.finish(1);
        }
    }

    LogModel model(options->now ? fixedClock(*options->now) : systemClock());
    const report::Outcome outcome = report::runIntake(model, *options);
    if (outcome.error)
        std::cerr << "quomble-report: " << *outcome.error << '\n';

    if (options->prometheus) {
        std::ostringstream text;
        report::writePrometheus(text, model, outcome, options->logFile);
        if (options->textfile.empty()) {
            out << text.str();
            return output.finish(outcome.error ? 1 : 0);
        }
        // Written whole or not at all: the collector must never read half a file.
        const std::filesystem::path file(options->textfile);
        try {
            writeFileSafely(file, text.str(), "The metrics could not be written");
        } catch (const std::exception& error) {
            std::cerr << "quomble-report: " << error.what() << '\n';
            return output.finish(1);
        }
        return output.finish(outcome.error ? 1 : 0);
    }
    if (options->table) {
        if (!outcome.error)
            report::writeTable(out, model, *options);
    } else if (options->json)
        report::writeJson(out, model, outcome);
    else
        report::writeText(out, model, outcome, *options);
    return output.finish(outcome.error ? 1 : 0);
}
