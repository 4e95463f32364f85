// MARROWFIELD.BEST over a 10 000-cell range holding 1 000 distinct names,
// against the prepared sheet search of the same cells. BEST gets the range
// as Excel hands it to the function (a multi of UTF-16 strings), so its
// figure includes reading and converting every cell, scoring each distinct
// text once, and making and freeing the result. Both run warm (the
// engine's transcriptions cached, as during a recalculation) and cold.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "bench_words.h"
#include "marrowfield.h"
#include "marrowfield/cell_scorer.h"
#include "marrowfield/sheet_search.h"
#include "sheet_function_entries.h"
#include "transcription_cache.h"
#include "wide_text.h"

namespace marrowfield {
namespace {

constexpr int kCells = 10000;
constexpr size_t kDistinct = 1000;
const char* const kSearch = "smisons";

const std::vector<std::string>& CellTexts() {
  static const std::vector<std::string> texts = [] {
    const std::vector<std::string> names = BenchNames(kDistinct);
    std::mt19937 random(5);
    std::vector<std::string> cells;
    for (int i = 0; i < kCells; ++i) {
      cells.push_back(names[static_cast<size_t>(i) < names.size()
                                ? static_cast<size_t>(i)
                                : random() % names.size()]);
    }
    return cells;
  }();
  return texts;
}

const CellGrid& Grid() {
  static const CellGrid grid = [] {
    CellGrid cells;
    for (int i = 0; i < kCells; ++i) {
      cells.push_back(
          GridCell{i + 1, 1, true, CellTexts()[static_cast<size_t>(i)]});
    }
    return cells;
  }();
  return grid;
}

// The range as a column of XLOPER12 strings, and the other arguments.
struct WideRange {
  std::vector<std::u16string> texts;
  std::vector<XLOPER12> cells;
  XLOPER12 range{};
  std::u16string searchText;
  XLOPER12 search{};
  XLOPER12 accuracy{};
  XLOPER12 scoring{};

  WideRange() {
    texts.reserve(kCells);
    for (const std::string& text : CellTexts()) {
      std::u16string wide = Utf16FromUtf8(text);
      wide.insert(wide.begin(), static_cast<char16_t>(wide.size()));
      texts.push_back(std::move(wide));
    }
    cells.resize(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      cells[i].val.str = texts[i].data();
      cells[i].xltype = xltypeStr;
    }
    range.val.array.lparray = cells.data();
    range.val.array.rows = kCells;
    range.val.array.columns = 1;
    range.xltype = xltypeMulti;
    searchText = Utf16FromUtf8(kSearch);
    searchText.insert(searchText.begin(),
                      static_cast<char16_t>(searchText.size()));
    search.val.str = searchText.data();
    search.xltype = xltypeStr;
    accuracy.xltype = xltypeMissing;
    scoring.xltype = xltypeMissing;
  }
};

void EnsureInitialized() {
  static const int ready = initialize();
  (void)ready;
}

void SheetSearchOnce() {
  CompareWordsScorer engine(kSearch);
  RememberingScorer scorer(engine);
  SheetSearch search(scorer, 60);
  search.CollectMatches(Grid(), 1);
  search.SortResults();
  benchmark::DoNotOptimize(search.results().size());
}

void BestOnce(WideRange& wide) {
  XLOPER12* result =
      fMarrowfieldBest12(&wide.search, &wide.range, &wide.accuracy,
                         &wide.scoring);
  benchmark::DoNotOptimize(result->xltype);
  xlAutoFree12(result);
}

void BM_SheetSearch10kCells(benchmark::State& state) {
  EnsureInitialized();
  const bool cold = state.range(0) == 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      ClearTranscriptionCache();
      state.ResumeTiming();
    }
    SheetSearchOnce();
  }
  state.SetItemsProcessed(state.iterations() * kCells);
}

void BM_Best10kCells(benchmark::State& state) {
  EnsureInitialized();
  WideRange wide;
  const bool cold = state.range(0) == 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      ClearTranscriptionCache();
      state.ResumeTiming();
    }
    BestOnce(wide);
  }
  state.SetItemsProcessed(state.iterations() * kCells);
}

// Argument: 1 warm, 0 cold.
BENCHMARK(BM_SheetSearch10kCells)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Best10kCells)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace marrowfield

BENCHMARK_MAIN();
