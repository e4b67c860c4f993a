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
constexpr const char* kColumns[] = {"LogIn", "last entry", "OnTime (at least)", "cause", "confidence", "kernel",
                                    "evidence"};

std::string durationText(std::int64_t seconds)
{
    const std::int64_t d = seconds / 86400, h = seconds / 3600 % 24, m = seconds / 60 % 60, s = seconds % 60;
    char text[48];
    std::snprintf(text, sizeof text, "%lld %02lld:%02lld:%02lld", static_cast<long long>(d), static_cast<long long>(h),
                  static_cast<long long>(m), static_cast<long long>(s));
    return text;
}

std::vector<std::string> cellsOf(const Crash& c)
{
    const BootEndRecord& r = c.record;
    std::string evidence;
    for (const auto& line : r.evidence)
        evidence += (evidence.empty() ? "" : " | ") + line;
    if (!r.missing.empty())
        evidence += (evidence.empty() ? "missing: " : " | missing: ") + r.missing;
    return {formatTimestamp(c.login),
            r.lastEntry ? formatTimestamp(*r.lastEntry) : "-",
            r.lastEntry && *r.lastEntry >= c.login ? durationText(*r.lastEntry - c.login) : "-",
            r.cause == EndCause::None ? "not looked at" : std::string(causeText(r.cause)),
            r.cause == EndCause::None ? "-" : std::string(confidenceKey(r.confidence)),
            r.kernel.empty() ? "-" : r.kernel,
            evidence.empty() ? "-" : evidence};
}

}  // namespace

std::filesystem::path bootEndsFileOf(const std::string& logFile)
{
    std::error_code ec;
    auto target = std::filesystem::weakly_canonical(logFile, ec);
    if (ec)
        target = logFile;
    target += ".ends";
    return target;
}

std::vector<Crash> readCrashes(const std::string& logFile)
{
    std::vector<Crash> crashes;
    std::vector<BootEndRecord> records;
    {
        std::ifstream in(bootEndsFileOf(logFile), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        records = parseBootEnds(text.str());
    }
    LogLineReader lines{std::filesystem::path(logFile)};
    LogLine line;
    std::optional<DateTime> open;  // the last open entry seen: a crash once another entry follows
    while (lines.next(line)) {
        if (open) {
            const BootEndRecord* r = findBootEnd(records, *open);
            crashes.push_back({*open, r ? *r : BootEndRecord{*open, {}, {}, EndCause::None, Confidence::Low, {}, {}, {}}});
            open.reset();
        }
        const auto login = line.head.size() >= 19 ? parseTimestamp(line.head.substr(0, 19)) : std::nullopt;
        if (login && line.length < 23)
            open = *login;
    }
    return crashes;
}

void writeCrashes(std::ostream& out, const std::vector<Crash>& crashes, const Options& options)
{
    if (options.json) {
        auto list = nlohmann::json::array();
        for (const auto& c : crashes) {
            const BootEndRecord& r = c.record;
            nlohmann::json item{{"login", formatTimestamp(c.login)},
                                {"cause", causeKey(r.cause)},
                                {"cause_text", causeText(r.cause)},
                                {"confidence", confidenceKey(r.confidence)},
                                {"kernel", r.kernel},
                                {"boot_id", r.bootId},
                                {"evidence", r.evidence},
                                {"missing", r.missing}};
            item["last_entry"] = r.lastEntry ? nlohmann::json(formatTimestamp(*r.lastEntry)) : nlohmann::json();
            list.push_back(std::move(item));
        }
        out << nlohmann::json{{"crashes", list}}.dump(2) << '\n';
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
    for (const auto& c : crashes)
        row(cellsOf(c));
}

}  // namespace quomble::report
