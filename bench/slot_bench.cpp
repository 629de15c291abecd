// The work behind opening, saving and importing large files, without the
// window: GBK conversion both ways, building a 10^6-row slot's rows (from
// its text, and from its files a piece at a time as an open does), the
// texts a save writes, and cutting a tab-separated file into rows.
#include <benchmark/benchmark.h>

#include <string>

#include "runtime/gbk.h"
#include "runtime/sim/memory_files.h"
#include "table/import_cut.h"
#include "table/slot_format.h"
#include "table/slot_loader.h"

namespace {

using namespace tovan;
constexpr int kRows = 1'000'000;

// A slot row file's text: rows like "客户0000001 北京市朝阳区建国路 13800138000★".
const std::string& SlotText() {
  static const std::string text = [] {
    std::string t;
    char number[16];
    for (int i = 1; i <= kRows; ++i) {
      std::snprintf(number, sizeof number, "%07d", i);
      t.append("客户").append(number).append(" 北京市朝阳区建国路 13800138000★");
    }
    return t;
  }();
  return text;
}

const std::string& ExtrasText() {
  static const std::string text = [] {
    std::string t;
    for (int i = 1; i <= kRows; ++i) t.append(std::to_string(i % 4)).append(i % 10 == 0 ? "★暂停★\r\n" : "★★\r\n");
    return t;
  }();
  return text;
}

void BM_FromGbk(benchmark::State& state) {
  const std::string gbk = rt::ToGbk(SlotText()).bytes;
  for (auto _ : state) benchmark::DoNotOptimize(rt::FromGbk(gbk));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gbk.size()));
}

void BM_ToGbk(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(rt::ToGbk(SlotText()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * SlotText().size()));
}

void BM_BuildSlotRows(benchmark::State& state) {
  table::ExtrasOverlay extras;
  extras.Add(ExtrasText());
  for (auto _ : state) {
    table::RowStore rows;
    rows.Adopt(table::BuildSlotRows(SlotText(), extras, ""));
    benchmark::DoNotOptimize(rows.RowCount());
    state.PauseTiming();
    rows.Clear();
    state.ResumeTiming();
  }
}

// Both halves on this thread, one after the other: the figure is the work
// both cores share when a slot opens.
void BM_LoadSlotRows(benchmark::State& state) {
  const rt::MemoryFiles files({{"r", rt::ToGbk(SlotText()).bytes}, {"e", rt::ToGbk(ExtrasText()).bytes}});
  rt::InlineWorker worker;
  for (auto _ : state) {
    table::RowStore rows;
    rows.Adopt(table::LoadSlotRows(worker, files, "r", {"e"}, ""));
    benchmark::DoNotOptimize(rows.RowCount());
    state.PauseTiming();
    rows.Clear();
    state.ResumeTiming();
  }
}

void BM_SaveTexts(benchmark::State& state) {
  table::ExtrasOverlay extras;
  extras.Add(ExtrasText());
  table::RowStore rows;
  rows.Adopt(table::BuildSlotRows(SlotText(), extras, ""));
  for (auto _ : state) {
    std::string row_text;
    std::string extras_text;
    table::AppendSlotTexts(rows, 0, rows.RowCount(), row_text, extras_text);
    benchmark::DoNotOptimize(row_text.data());
  }
}

void BM_CutTabSeparated(benchmark::State& state) {
  // About 50 MB: lines of ten short cells.
  std::string text;
  for (int line = 0; text.size() < 50'000'000; ++line) {
    for (int cell = 0; cell < 10; ++cell) text.append("值").append(std::to_string(line * 10 + cell)).append(cell < 9 ? "\t" : "\r\n");
  }
  for (auto _ : state) {
    table::RowStore rows;
    rows.Adopt(table::CutIntoRows(table::ImportMode::kTabs, text, ""));
    state.counters["rows"] = static_cast<double>(rows.RowCount());
    state.PauseTiming();
    rows.Clear();
    state.ResumeTiming();
  }
}

constexpr auto kMs = benchmark::kMillisecond;
BENCHMARK(BM_FromGbk)->Unit(kMs);
BENCHMARK(BM_ToGbk)->Unit(kMs);
BENCHMARK(BM_BuildSlotRows)->Unit(kMs);
BENCHMARK(BM_LoadSlotRows)->Unit(kMs);
BENCHMARK(BM_SaveTexts)->Unit(kMs);
BENCHMARK(BM_CutTabSeparated)->Unit(kMs);

}  // namespace

BENCHMARK_MAIN();
