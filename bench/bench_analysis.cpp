// Analysis on the benchmark log (1,000,000 boots over 30 years): the whole intake with the
// analysis and the on-time curve, and each analysis step on its own.

#include "core/model.h"
#include "loggen.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

using namespace quomble;

const bench::LogGenOptions kOptions{};

const std::string& benchmarkLog()
{
    static const std::string log = [] {
        std::string text = bench::generateLog(kOptions);
        if (text.empty())
            throw std::runtime_error("the log generator produced no log");
        return text;
    }();
    return log;
}

// The program reads the log from its file, which also lets the reader size the boot list
// in advance; the file stays in the page cache between the runs.
const std::filesystem::path& benchmarkLogFile()
{
    static const std::filesystem::path file = [] {
        const auto path = std::filesystem::temp_directory_path() / "quomble-bench-analysis.log";
        std::ofstream out(path, std::ios::binary);
        out << benchmarkLog();
        if (!out)
            throw std::runtime_error("cannot write " + path.string());
        return path;
    }();
    return file;
}

void readAndAnalyse(LogModel& model)
{
    model.LogFile_read(benchmarkLogFile());
    model.Statistik_aktualisieren();
    model.BC_Array_fuellen();
}

const LogModel& analysedModel()
{
    static const LogModel model = [] {
        LogModel m(fixedClock(kOptions.end));
        readAndAnalyse(m);
        return m;
    }();
    return model;
}

void BM_IntakeAnalysisAndCurve(benchmark::State& state)
{
    benchmarkLogFile();
    for (auto _ : state) {
        LogModel model(fixedClock(kOptions.end));
        readAndAnalyse(model);
        model.Verlauf_berechnen([](int) {});
        benchmark::DoNotOptimize(model.Verlauf[720].Value);
    }
    state.counters["boots"] = analysedModel().BootCount;
    state.counters["days"] = analysedModel().DayCount;
}
BENCHMARK(BM_IntakeAnalysisAndCurve)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DayListAndAnalysis(benchmark::State& state)
{
    LogModel model = analysedModel();
    for (auto _ : state) {
        model.BC_Array_fuellen();
        benchmark::DoNotOptimize(model.DaysWithOnTime);
    }
}
BENCHMARK(BM_DayListAndAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OnTimeCurve(benchmark::State& state)
{
    LogModel model = analysedModel();
    for (auto _ : state) {
        state.PauseTiming();
        model.DaytimePending = true;
        for (MinutePoint& p : model.Verlauf)
            p.Value = 0;
        state.ResumeTiming();
        model.Verlauf_berechnen([](int) {});
        benchmark::DoNotOptimize(model.Verlauf[720].Value);
    }
}
BENCHMARK(BM_OnTimeCurve)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DaytimeSmoothing(benchmark::State& state)
{
    LogModel model = analysedModel();
    const int radius = static_cast<int>(state.range(0));
    for (auto _ : state) {
        model.BootverlaufGlaettung_berechnen(radius);
        benchmark::DoNotOptimize(model.BootverlaufGlatt[720].Value);
    }
}
BENCHMARK(BM_DaytimeSmoothing)->Arg(60)->Arg(1440)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Trend width 0 stands for the widest the track bar allows, DayCount.
void BM_DayTrends(benchmark::State& state)
{
    LogModel model = analysedModel();
    const int width = state.range(0) > 0 ? static_cast<int>(state.range(0)) : model.DayCount;
    for (auto _ : state) {
        model.BootGlaettung_berechnen(width);
        benchmark::DoNotOptimize(model.day(model.DayCount).BootFrequencyTrend);
    }
}
BENCHMARK(BM_DayTrends)->Arg(30)->Arg(365)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
