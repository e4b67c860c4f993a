// quomble-report: the terminal companion of QuombleView. Runs the same intake and analysis
// on a boot log and prints the figures as text or JSON.

#include "report.h"

#include <iostream>

int main(int argc, char** argv)
{
    using namespace quomble;
    std::ios::sync_with_stdio(false);
    std::string problem;
    const auto options = report::parseArguments(argc, argv, problem);
    if (!options) {
        if (!problem.empty())
            std::cerr << "quomble-report: " << problem << "\n\n";
        report::printUsage(problem.empty() ? std::cout : std::cerr);
        return problem.empty() ? 0 : 2;
    }

    LogModel model(options->now ? fixedClock(*options->now) : systemClock());
    const report::Outcome outcome = report::runIntake(model, *options);
    if (outcome.error)
        std::cerr << "quomble-report: " << *outcome.error << '\n';

    if (options->table) {
        if (!outcome.error)
            report::writeTable(std::cout, model, *options);
    } else if (options->json)
        report::writeJson(std::cout, model, outcome);
    else
        report::writeText(std::cout, model, outcome, *options);
    std::cout.flush();
    return outcome.error ? 1 : 0;
}
