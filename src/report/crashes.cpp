#include "core/boot_ends.h"
#include "core/log_lines.h"
#include "core/table_text.h"
#include "report.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace quomble::report {

void writeCrashes(std::ostream& out, const std::string& logFile, const Options& options, DateTime now)
{
    const auto boots = readLoggedBoots(logFile);
    const auto records = readBootEnds(logFile);
    const auto recordOf = [&records](DateTime login) {
        const BootEndRecord* r = findBootEnd(records, login);
        return r ? *r : BootEndRecord{login, {}, {}, EndCause::None, Confidence::Low, {}, {}, {}};
    };
    const auto rate = [](double value) { return rateText(value); };
    const auto kernels = kernelFigures(boots, records, now);
    const auto settings = evidenceSettings("/");
    if (options.json) {
        auto crashes = nlohmann::json::array();
        for (const auto& b : boots) {
            if (!b.crashed)
                continue;
            const BootEndRecord r = recordOf(b.login);
            nlohmann::json item{{"login", formatTimestamp(b.login)},
                                {"cause", causeKey(r.cause)},
                                {"cause_text", causeText(r.cause)},
                                {"confidence", confidenceKey(r.confidence)},
                                {"kernel", r.kernel},
                                {"boot_id", r.bootId},
                                {"evidence", r.evidence},
                                {"missing", r.missing}};
            item["last_entry"] =
                r.lastEntry ? nlohmann::json(formatTimestamp(*r.lastEntry)) : nlohmann::json();
            crashes.push_back(std::move(item));
        }
        auto perKernel = nlohmann::json::array();
        for (const auto& k : kernels)
            perKernel.push_back(
                {{"kernel", k.kernel}, {"boots", k.boots}, {"crashes", k.crashes}, {"on_hours", k.onHours}});
        auto keeps = nlohmann::json::array();
        for (const auto& e : settings)
            keeps.push_back({{"what", e.what}, {"on", e.on}, {"without", e.without}, {"command", e.command}});
        out << nlohmann::json{{"crashes", crashes}, {"kernels", perKernel}, {"evidence_settings", keeps}}
                   .dump(2)
            << '\n';
        return;
    }
    std::vector<std::vector<std::string>> rows{{kCrashColumns.begin(), kCrashColumns.end()}};
    for (const auto& b : boots)
        if (b.crashed)
            rows.push_back(crashCells(b, findBootEnd(records, b.login)));
    out << rowsText(rows, options.csv ? TableTextFormat::Csv : TableTextFormat::Tsv);
    if (options.csv)
        return;
    out << "\nkernel\tboots\tcrashes\tcrashes per boot\tcrashes per 100 h\n";
    for (const auto& k : kernels)
        out << k.kernel << '\t' << k.boots << '\t' << k.crashes << '\t'
            << rate(k.boots ? static_cast<double>(k.crashes) / k.boots : 0) << '\t'
            << (k.onHours > 0 ? rate(k.crashes * 100.0 / k.onHours) : "-") << '\n';
    out << "\nwhat this machine keeps\ton\twithout it\tto switch it on\n";
    for (const auto& e : settings)
        out << e.what << '\t' << (e.on ? "yes" : "no") << '\t' << e.without << '\t'
            << (e.on ? "-" : e.command) << '\n';
}

}  // namespace quomble::report
