// "Save table as..." on the benchmark log of a million boots: the table's text as TSV and
// as CSV, and that text written to a file in one safe step (temporary file, sync, rename).

#include "core/log_lines.h"
#include "core/model.h"
#include "core/safe_file.h"
#include "core/table_text.h"
#include "loggen.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace quomble;

using bench::benchmarkModel;

// arg 0: 0 TSV, 1 CSV; arg 1: 0 the text only, 1 the text and the file.
void BM_SaveBootsTable(benchmark::State& state)
{
    const LogModel& m = benchmarkModel();
    const TableTextFormat format = state.range(0) == 0 ? TableTextFormat::Tsv : TableTextFormat::Csv;
    const bool write = state.range(1) != 0;
    TableOrder order(LogTable::Boots);
    order.fill(m);
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("quomble-bench-export-" + std::to_string(::getpid()));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = tableText(m, order, format);
        if (write)
            writeFileSafely(file, text, "File");
        bytes = text.size();
    }
    std::filesystem::remove(file);
    state.counters["rows"] = order.rowCount();
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

BENCHMARK(BM_SaveBootsTable)
    ->ArgNames({"csv", "file"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(false);

}  // namespace

BENCHMARK_MAIN();
