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
namespace {

// Fields of the crash table, in order.
constexpr const char* kColumns[] = {"LogIn",      "last entry", "OnTime (at least)", "cause",
                                    "confidence", "kernel",     "evidence"};

std::string durationText(std::int64_t seconds)
{
    const std::int64_t d = seconds / 86400, h = seconds / 3600 % 24, m = seconds / 60 % 60, s = seconds % 60;
    char text[48];
    std::snprintf(text, sizeof text, "%lld %02lld:%02lld:%02lld", static_cast<long long>(d),
                  static_cast<long long>(h), static_cast<long long>(m), static_cast<long long>(s));
    return text;
}

std::vector<std::string> cellsOf(const LoggedBoot& boot, const BootEndRecord& r)
{
    std::string evidence;
    for (const auto& line : r.evidence)
        evidence += (evidence.empty() ? "" : " | ") + line;
    if (!r.missing.empty())
        evidence += (evidence.empty() ? "missing: " : " | missing: ") + r.missing;
    return {formatTimestamp(boot.login),
            r.lastEntry ? formatTimestamp(*r.lastEntry) : "-",
            r.lastEntry && *r.lastEntry >= boot.login ? durationText(*r.lastEntry - boot.login) : "-",
            r.cause == EndCause::None ? "not looked at" : std::string(causeText(r.cause)),
            r.cause == EndCause::None ? "-" : std::string(confidenceKey(r.confidence)),
            r.kernel.empty() ? "-" : r.kernel,
            evidence.empty() ? "-" : evidence};
}

std::string rate(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

}  // namespace

void writeCrashes(std::ostream& out, const std::string& logFile, const Options& options, DateTime now)
{
    const auto boots = readLoggedBoots(logFile);
    const auto records = readBootEnds(logFile);
    const auto recordOf = [&records](DateTime login) {
        const BootEndRecord* r = findBootEnd(records, login);
        return r ? *r : BootEndRecord{login, {}, {}, EndCause::None, Confidence::Low, {}, {}, {}};
    };
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
    const TableTextFormat format = options.csv ? TableTextFormat::Csv : TableTextFormat::Tsv;
    const char* lineEnd = options.csv ? "\r\n" : "\n";
    const auto row = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += format == TableTextFormat::Csv ? ',' : '\t';
            if (format == TableTextFormat::Csv)
                appendCsvField(text, cells[i]);
            else
                text += cells[i];
        }
        out << text << lineEnd;
    };
    row(std::vector<std::string>(std::begin(kColumns), std::end(kColumns)));
    for (const auto& b : boots)
        if (b.crashed)
            row(cellsOf(b, recordOf(b.login)));
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
