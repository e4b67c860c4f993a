// The log data window's sort on the benchmark log: every column of the boots table
// ascending then descending, each press on its own, and the same for the days table.

#include "core/log_lines.h"
#include "core/model.h"
#include "core/tables.h"
#include "loggen.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quomble;

using bench::benchmarkModel;

// One press: arg 0 = table (0 boots, 1 days), arg 1 = column; ascending, then descending
// on the order the ascending press left (the second press a user makes).
void BM_SortPress(benchmark::State& state)
{
    const LogModel& m = benchmarkModel();
    const LogTable table = state.range(0) == 0 ? LogTable::Boots : LogTable::Days;
    const int column = static_cast<int>(state.range(1));
    const bool descendingSecond = state.range(2) != 0;
    TableOrder order(table);
    for (auto _ : state) {
        state.PauseTiming();
        order.fill(m);
        if (descendingSecond)
            order.sortAs(m, column, true);
        state.ResumeTiming();
        order.sortAs(m, column, !descendingSecond);
        benchmark::DoNotOptimize(order.record(1));
    }
}

void pressArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"table", "column", "desc"});
    for (int column = 0; column < 5; ++column)
        for (int desc = 0; desc < 2; ++desc)
            b->Args({0, column, desc});
    for (int column = 0; column < 6; ++column)
        for (int desc = 0; desc < 2; ++desc)
            b->Args({1, column, desc});
}

BENCHMARK(BM_SortPress)->Apply(pressArgs)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
