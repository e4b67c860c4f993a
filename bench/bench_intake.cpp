// Intake benchmarks on a generated log of 1,000,000 boots over 30 years (about 41 MB).
//
//   ReadAndParse  the floor: split the file into lines and read every timestamp once
//   LogFileCheck  the validation
//   ReadAndRefresh  the log reader plus one refresh
//   FullIntake    validation, reader and refresh: the intake of the text summary
//
// QUOMBLE_BENCH_BOOTS overrides the number of boots (e.g. for a profiler run on a smaller
// log). Each benchmark reports the process's peak resident size so far as peak_rss_MB; run
// one benchmark alone (--benchmark_filter) to see that benchmark's own peak.

#include "loggen.h"

#include "core/datetime.h"
#include "core/log_lines.h"
#include "core/model.h"
#include "core/validation.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

const quomble::CivilDateTime kEnd{2026, 12, 7, 12, 0, 0};

class BenchLog {
public:
    BenchLog()
    {
        quomble::bench::LogGenOptions options;
        options.boots = 1'000'000;
        options.years = 30;
        options.end = kEnd;
        if (const char* boots = std::getenv("QUOMBLE_BENCH_BOOTS"))
            options.boots = std::stoll(boots);
        path_ = fs::temp_directory_path() / ("quomble-bench-intake-" + std::to_string(::getpid()) + ".log");
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        quomble::bench::writeLog(out, options);
        out.close();
        if (!out)
            throw std::runtime_error("cannot write " + path_.string());
        bytes_ = fs::file_size(path_);
    }
    ~BenchLog()
    {
        std::error_code ec;
        fs::remove(path_, ec);
    }
    const fs::path& path() const { return path_; }
    std::uintmax_t bytes() const { return bytes_; }

private:
    fs::path path_;
    std::uintmax_t bytes_ = 0;
};

const BenchLog& benchLog()
{
    static const BenchLog log;
    return log;
}

void report(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(benchLog().bytes()));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void ReadAndParse(benchmark::State& state)
{
    const auto& log = benchLog();
    for (auto _ : state) {
        quomble::LogLineReader lines(log.path());
        quomble::LogLine line;
        std::int64_t sum = 0;
        std::int64_t count = 0;
        while (lines.next(line)) {
            ++count;
            if (const auto in = quomble::parseTimestamp(line.head.substr(0, 19)))
                sum += *in;
            if (line.length >= 23)
                if (const auto out = quomble::parseTimestamp(line.head.substr(20, 19)))
                    sum += *out;
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(count);
    }
    report(state);
}

void LogFileCheck(benchmark::State& state)
{
    const auto& log = benchLog();
    for (auto _ : state) {
        const auto findings = quomble::LogFileCheck(log.path());
        if (!findings.empty())
            state.SkipWithError("the generated log has findings");
        benchmark::DoNotOptimize(findings.data());
    }
    report(state);
}

void ReadAndRefresh(benchmark::State& state)
{
    const auto& log = benchLog();
    for (auto _ : state) {
        quomble::LogModel model(quomble::fixedClock(kEnd));
        model.LogFile_read(log.path());
        model.Statistik_aktualisieren();
        benchmark::DoNotOptimize(model.BootList.data());
    }
    report(state);
}

void FullIntake(benchmark::State& state)
{
    const auto& log = benchLog();
    for (auto _ : state) {
        const auto findings = quomble::LogFileCheck(log.path());
        quomble::LogModel model(quomble::fixedClock(kEnd));
        model.LogFile_read(log.path());
        model.Statistik_aktualisieren();
        benchmark::DoNotOptimize(findings.data());
        benchmark::DoNotOptimize(model.BootList.data());
    }
    report(state);
}

BENCHMARK(ReadAndParse)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LogFileCheck)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadAndRefresh)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FullIntake)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
