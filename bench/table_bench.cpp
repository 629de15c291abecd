// How the data table's whole-table operations grow with the row count:
// append, renumber, find (with colouring and checking), delete blank rows
// and check all, at 10^4, 10^5 and 10^6 rows.
#include <benchmark/benchmark.h>

#include <string>

#include "runtime/sim/sim_platform.h"
#include "shell/app.h"

namespace {

using tovan::table::RowStore;

// Rows like a real import: short texts, every tenth blank, every seventh a match.
void Fill(RowStore& rows, std::size_t count) {
  rows.Clear();
  rows.Reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::string content = i % 10 == 3 ? "" : "客户" + std::to_string(i) + (i % 7 == 0 ? " 北京" : " 上海");
    rows.Append(std::to_string(i + 1), content);
  }
}

void BM_Append(benchmark::State& state) {
  RowStore rows;
  for (auto _ : state) Fill(rows, state.range(0));
  state.SetComplexityN(state.range(0));
}

void BM_Renumber(benchmark::State& state) {
  RowStore rows;
  Fill(rows, state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    rows.Delete(0);  // every number after it is now one off
    rows.Append("0", "x");
    state.ResumeTiming();
    rows.Renumber();
  }
  state.SetComplexityN(state.range(0));
}

void BM_FindRows(benchmark::State& state) {
  tovan::rt::sim::SimPlatform sim;
  tovan::shell::App app(sim.Services());
  app.Start();
  Fill(app.Rows(), state.range(0));
  app.Table().Refresh();
  sim.ui["编辑框查询"].SetText("北京");
  for (auto _ : state) app.Table().FindRows();
  state.SetComplexityN(state.range(0));
}

void BM_DeleteBlankRows(benchmark::State& state) {
  RowStore rows;
  for (auto _ : state) {
    state.PauseTiming();
    Fill(rows, state.range(0));
    state.ResumeTiming();
    rows.DeleteBlankRows();
  }
  state.SetComplexityN(state.range(0));
}

void BM_CheckAll(benchmark::State& state) {
  RowStore rows;
  Fill(rows, state.range(0));
  bool checked = false;
  for (auto _ : state) rows.SetAllChecked(checked = !checked);
  state.SetComplexityN(state.range(0));
}

constexpr int kUnit = benchmark::kMillisecond;
BENCHMARK(BM_Append)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::TimeUnit(kUnit))->Complexity(benchmark::oN);
BENCHMARK(BM_Renumber)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::TimeUnit(kUnit))->Complexity(benchmark::oN);
BENCHMARK(BM_FindRows)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::TimeUnit(kUnit))->Complexity(benchmark::oN);
BENCHMARK(BM_DeleteBlankRows)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::TimeUnit(kUnit))->Complexity(benchmark::oN);
BENCHMARK(BM_CheckAll)->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::TimeUnit(kUnit))->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
