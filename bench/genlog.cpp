// quomble-genlog: writes a realistic boot log, for demos and benchmarks.
//
//   quomble-genlog [--boots N] [--years Y] [--end "dd.mm.yyyy hh:mm:ss"] [--seed S] [OUTFILE]
//   quomble-genlog --self-check [--boots N] [--years Y] [--end ...] [--seed S]
//
// Without OUTFILE the log goes to standard output. The end defaults to the current local
// time; the last line is the boot in progress. --self-check generates a log in memory
// (5000 boots over one year unless told otherwise), validates and reads it, prints its
// key figures and fails when anything looks wrong.

#include "loggen.h"

#include "core/datetime.h"
#include "core/log_lines.h"
#include "core/model.h"
#include "core/validation.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

using quomble::bench::LogGenOptions;

constexpr const char* kUsage =
    "usage: quomble-genlog [--boots N] [--years Y] [--end \"dd.mm.yyyy hh:mm:ss\"] [--seed S] "
    "[OUTFILE]\n"
    "       quomble-genlog --self-check [--boots N] [--years Y] [--end ...] [--seed S]\n";

template <typename T>
std::optional<T> number(std::string_view text)
{
    T value{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<quomble::CivilDateTime> civilOf(std::string_view text)
{
    const auto value = quomble::parseTimestamp(text);
    if (!value)
        return std::nullopt;
    quomble::CivilDateTime c = quomble::civilFromDayNumber(*value / quomble::kSecondsPerDay);
    const auto rest = static_cast<int>(*value % quomble::kSecondsPerDay);
    c.hour = rest / 3600;
    c.minute = rest / 60 % 60;
    c.second = rest % 60;
    return c;
}

struct Check {
    int failures = 0;
    void expect(bool ok, const std::string& what)
    {
        if (!ok) {
            ++failures;
            std::cerr << "self-check FAILED: " << what << '\n';
        }
    }
};

int selfCheck(const LogGenOptions& options)
{
    Check check;
    const std::string log = quomble::bench::generateLog(options);
    check.expect(log == quomble::bench::generateLog(options), "the same seed gives the same log");
    check.expect(log.size() >= 2 && log.substr(log.size() - 2) == "\r\n", "the log ends with CR LF");

    quomble::LogLineReader lines{std::string_view(log)};
    const auto findings = quomble::LogFileCheck(lines);
    for (std::size_t i = 0; i < findings.size() && i < 10; ++i)
        std::cerr << "  " << findings[i].text() << '\n';
    check.expect(findings.empty(), std::to_string(findings.size()) + " validation findings");

    quomble::LogModel model(quomble::fixedClock(options.end));
    quomble::LogLineReader again{std::string_view(log)};
    model.LogFile_read(again);
    model.Statistik_aktualisieren();
    const int n = model.BootCount;
    check.expect(n == options.boots, "one line per boot");
    const std::string end = quomble::formatTimestamp(options.end);
    const auto lastLogin = quomble::readTimestamp(model.boot(n).LogIn.view());
    check.expect(lastLogin < quomble::readTimestamp(end), "the running boot began before the end");

    int crossing = 0;
    for (int i = 1; i < n; ++i) {
        const auto& b = model.boot(i);
        if (!b.LogOut.empty() && b.LogIn.view().substr(0, 10) != b.LogOut.view().substr(0, 10))
            ++crossing;
    }
    const double crashShare = n > 1 ? 100.0 * model.CrashCount / (n - 1) : 0.0;
    const auto& shortest = model.summary(quomble::StatMin);
    const auto& longest = model.summary(quomble::StatMax);
    const auto& sum = model.summary(quomble::StatSum);
    const auto& span = model.summary(quomble::StatSpan);

    std::cout << "boots " << n << ", crashes " << model.CrashCount << " (" << crashShare
              << " %), sessions across midnight " << crossing << "\n"
              << "first log " << model.boot(1).LogIn.view() << ", running boot since "
              << model.boot(n).LogIn.view() << ", end " << end << "\n"
              << "on-time: shortest " << shortest.OnTime << " s, longest " << longest.OnTime << " s, average "
              << model.summary(quomble::StatAvg).OnTime << " s\n"
              << "off-time: shortest " << shortest.OffTime << " s, longest " << longest.OffTime
              << " s, average " << model.summary(quomble::StatAvg).OffTime << " s\n"
              << "log covers " << span.OnTime << " s, of which on " << sum.OnTime << " s" << std::endl;

    if (n >= 1000) {
        check.expect(crashShare >= 2.0 && crashShare <= 5.0, "crash share between 2 and 5 %");
        check.expect(crossing > 0, "some sessions cross midnight");
        check.expect(shortest.OnTime < 600, "some sessions are short");
        // Only a log of fewer than about 150 boots a day leaves room for nights off.
        if (span.OnTime / n >= 600)
            check.expect(longest.OffTime > 6 * 3600, "some gaps last the night");
        check.expect(sum.OnTime > 0 && sum.OnTime < span.OnTime, "on-time below the covered time");
    }
    if (check.failures == 0)
        std::cout << "self-check passed\n";
    return check.failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    LogGenOptions options;
    options.end = quomble::systemLocalTime();
    options.boots = 3000;
    options.years = 2;
    bool bootsGiven = false;
    bool yearsGiven = false;
    bool check = false;
    std::string outFile;

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&]() -> std::optional<std::string_view> {
            if (i + 1 >= argc)
                return std::nullopt;
            return std::string_view(argv[++i]);
        };
        bool ok = true;
        if (arg == "--boots") {
            const auto v = value();
            const auto parsed = v ? number<std::int64_t>(*v) : std::nullopt;
            ok = parsed.has_value();
            options.boots = parsed.value_or(0);
            bootsGiven = true;
        } else if (arg == "--years") {
            const auto v = value();
            const auto parsed = v ? number<int>(*v) : std::nullopt;
            ok = parsed.has_value();
            options.years = parsed.value_or(0);
            yearsGiven = true;
        } else if (arg == "--seed") {
            const auto v = value();
            const auto parsed = v ? number<std::uint64_t>(*v) : std::nullopt;
            ok = parsed.has_value();
            options.seed = parsed.value_or(0);
        } else if (arg == "--end") {
            const auto v = value();
            const auto parsed = v ? civilOf(*v) : std::nullopt;
            ok = parsed.has_value();
            if (parsed)
                options.end = *parsed;
        } else if (arg == "--self-check") {
            check = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (!arg.empty() && arg[0] != '-' && outFile.empty()) {
            outFile = arg;
        } else {
            ok = false;
        }
        if (!ok) {
            std::cerr << "quomble-genlog: bad argument '" << arg << "'\n" << kUsage;
            return 2;
        }
    }

    try {
        if (check) {
            if (!bootsGiven)
                options.boots = 5000;
            if (!yearsGiven)
                options.years = 1;
            return selfCheck(options);
        }
        if (outFile.empty()) {
            std::ios::sync_with_stdio(false);
            quomble::bench::writeLog(std::cout, options);
            std::cout.flush();
            return std::cout ? 0 : 1;
        }
        std::ofstream out(outFile, std::ios::binary | std::ios::trunc);
        if (!out) {
            std::cerr << "quomble-genlog: cannot write " << outFile << '\n';
            return 1;
        }
        quomble::bench::writeLog(out, options);
        out.close();
        if (!out) {
            std::cerr << "quomble-genlog: cannot write " << outFile << '\n';
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << "quomble-genlog: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
