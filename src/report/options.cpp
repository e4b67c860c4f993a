#include "report.h"

#include "core/datetime.h"
#include "core/paths.h"
#include "core/tables.h"

#include <charconv>
#include <limits>
#include <set>
#include <string_view>

namespace quomble::report {

namespace {

bool parseInt(std::string_view text, int low, int high, int& value)
{
    int parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

// "--sort 5:desc: the boots table has the columns 0 to 4 (Nr., LogIn, ...)".
std::string columnProblem(const Options::Sort& sort, const std::string& tableName)
{
    const LogTable table = tableName == "days" ? LogTable::Days : LogTable::Boots;
    std::string problem = "--sort " + std::to_string(sort.column) + (sort.ascending ? ":asc" : ":desc") +
                          ": the " + tableName + " table has the columns 0 to " +
                          std::to_string(columnCount(table) - 1) + " (";
    for (int column = 0; column < columnCount(table); ++column)
        problem += (column > 0 ? ", " : "") + columnTitle(table, column);
    return problem + ")";
}

}  // namespace

void printUsage(std::ostream& out)
{
    out << "usage: quomble-report [--now \"dd.mm.yyyy hh:mm:ss\"] [--json] [--trend-days N]\n"
           "                      [--smooth-radius R] [--table boots|days]\n"
           "                      [--sort C:asc|C:desc ...] [--crashes] [--csv]\n"
           "                      [--prometheus [--textfile FILE]] [LOGFILE]\n"
           "\n"
           "Reads a boot log (default: Quomble.log beside this program) and prints its\n"
           "statistics: a readable summary, or with --json every figure as one JSON object.\n"
           "  --now            the local date and time to use instead of the system clock\n"
           "  --trend-days     days of the per-day trends (default "
        << Settings::kTrendDaysDefault
        << ")\n"
           "  --smooth-radius  minutes of the daytime smoothing, "
        << kSmoothRadiusMin << ".." << kSmoothRadiusMax << " (default " << Settings::kSmoothRadiusDefault
        << ")\n"
           "  --table          print the boots or days table, tab-separated, header first\n"
           "  --sort           sort that table by 0-based column C; repeatable, applied in order\n"
           "  --crashes        list every boot that ended without a logout with its likely cause\n"
           "                   (from Quomble.log.ends beside the log), tab-separated or with --json\n"
           "  --csv            print that table as CSV (RFC 4180) instead\n"
           "  --prometheus     print the figures in the Prometheus text format\n"
           "  --textfile FILE  write them to FILE instead (for the node exporter's textfile\n"
           "                   collector: a temporary file renamed over FILE, whose folder must exist)\n"
           "Exit status: 0 success, 1 the intake stopped or the output could not be\n"
           "written, 2 usage error.\n";
}

std::optional<Options> parseArguments(int argc, const char* const* argv, std::string& problem)
{
    Options options;
    bool haveLog = false;
    std::set<std::string_view> given;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // Only --sort may come more than once; a second value would silently replace the first.
        if ((arg == "--now" || arg == "--trend-days" || arg == "--smooth-radius" || arg == "--table" ||
             arg == "--textfile") &&
            !given.insert(arg).second) {
            problem = std::string(arg) + " can be given once";
            return std::nullopt;
        }
        auto value = [&](std::string_view& out) {
            if (i + 1 >= argc) {
                problem = std::string(arg) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string_view v;
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg == "--crashes") {
            options.crashes = true;
        } else if (arg == "--prometheus") {
            options.prometheus = true;
        } else if (arg == "--textfile") {
            if (!value(v) || v.empty()) {
                problem = "--textfile needs a file name";
                return std::nullopt;
            }
            options.textfile = std::string(v);
        } else if (arg == "--now") {
            if (!value(v))
                return std::nullopt;
            const auto at = parseTimestamp(v);
            if (!at) {
                problem = "--now takes \"dd.mm.yyyy hh:mm:ss\"";
                return std::nullopt;
            }
            options.now = civilFromDateTime(*at);
        } else if (arg == "--trend-days") {
            if (!value(v) || !parseInt(v, kTrendDaysMin, kTrendDaysMax, options.trendDays)) {
                problem = "--trend-days takes a whole number of at least " + std::to_string(kTrendDaysMin);
                return std::nullopt;
            }
        } else if (arg == "--smooth-radius") {
            if (!value(v) || !parseInt(v, kSmoothRadiusMin, kSmoothRadiusMax, options.smoothRadius)) {
                problem = "--smooth-radius takes a whole number from " + std::to_string(kSmoothRadiusMin) +
                          " to " + std::to_string(kSmoothRadiusMax);
                return std::nullopt;
            }
        } else if (arg == "--table") {
            if (!value(v) || (v != "boots" && v != "days")) {
                problem = "--table takes boots or days";
                return std::nullopt;
            }
            options.table = std::string(v);
        } else if (arg == "--sort") {
            const auto colon = value(v) ? v.find(':') : std::string_view::npos;
            Options::Sort sort{0, true};
            if (colon == std::string_view::npos ||
                !parseInt(v.substr(0, colon), 0, std::numeric_limits<int>::max(), sort.column) ||
                (v.substr(colon + 1) != "asc" && v.substr(colon + 1) != "desc")) {
                problem = "--sort takes C:asc or C:desc";
                return std::nullopt;
            }
            sort.ascending = v.substr(colon + 1) == "asc";
            options.sorts.push_back(sort);
        } else if (arg == "--help" || arg == "-h") {
            problem.clear();
            return std::nullopt;
        } else if (arg.size() > 1 && arg[0] == '-') {
            problem = "unknown option " + std::string(arg);
            return std::nullopt;
        } else if (!haveLog) {
            options.logFile = std::string(arg);
            haveLog = true;
        } else {
            problem = "only one LOGFILE can be given";
            return std::nullopt;
        }
    }
    if (!options.sorts.empty() && !options.table) {
        problem = "--sort needs --table";
        return std::nullopt;
    }
    if (options.prometheus && (options.table || options.crashes || options.json || options.csv)) {
        problem = "--prometheus goes with none of --table, --crashes, --json and --csv";
        return std::nullopt;
    }
    if (!options.textfile.empty() && !options.prometheus) {
        problem = "--textfile needs --prometheus";
        return std::nullopt;
    }
    if (options.crashes && options.table) {
        problem = "--crashes and --table exclude each other";
        return std::nullopt;
    }
    if (options.csv && !options.table && !options.crashes) {
        problem = "--csv needs --table or --crashes";
        return std::nullopt;
    }
    for (const Options::Sort& sort : options.sorts) {
        if (sort.column >= columnCount(*options.table == "days" ? LogTable::Days : LogTable::Boots)) {
            problem = columnProblem(sort, *options.table);
            return std::nullopt;
        }
    }
    if (!haveLog)
        options.logFile = LogFileNameIn(AppDirOf(runningExecutablePath()));
    return options;
}

}  // namespace quomble::report
