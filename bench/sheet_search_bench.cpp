// The sheet search over a 200 000-cell grid holding 20 000 distinct values:
// one uncached compare_words per cell against the prepared search, and the
// whole `marrowfield search` run on the same cells written as a CSV file.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "bench_words.h"
#include "marrowfield.h"
#include "marrowfield/cell_scorer.h"
#include "marrowfield/sheet_search.h"
#include "transcription_cache.h"

namespace marrowfield {
namespace {

constexpr int kRows = 20000;
constexpr int kColumns = 10;
constexpr size_t kDistinct = 20000;

std::vector<std::string> DistinctValues() {
  std::set<std::string> seen;
  std::vector<std::string> values;
  for (const char* tail : {"", "e", "s", "y", "er", "ie"}) {
    for (const std::string& name : BenchNames(4608)) {
      if (values.size() < kDistinct && seen.insert(name + tail).second) {
        values.push_back(name + tail);
      }
    }
  }
  return values;
}

const CellGrid& Grid() {
  static const CellGrid grid = [] {
    const std::vector<std::string> values = DistinctValues();
    std::mt19937 random(3);
    CellGrid cells;
    cells.reserve(kRows * kColumns);
    for (int32_t row = 1; row <= kRows; ++row) {
      for (int32_t column = 1; column <= kColumns; ++column) {
        GridCell cell;
        cell.row = row;
        cell.column = column;
        cell.isText = true;
        // Every value at least once, then at random: 20 000 distinct.
        const size_t n = static_cast<size_t>((row - 1) * kColumns + column - 1);
        cell.text = values[n < values.size() ? n : random() % values.size()];
        cells.push_back(std::move(cell));
      }
    }
    return cells;
  }();
  return grid;
}

void EnsureInitialized() {
  static const int ready = initialize();
  (void)ready;
}

void BM_SheetSearchPerCellUncached(benchmark::State& state) {
  EnsureInitialized();
  SetTranscriptionCacheEnabled(false);
  for (auto _ : state) {
    CompareWordsScorer scorer("smisons");
    SheetSearch search(scorer, 60);
    search.CollectMatches(Grid(), 1);
    search.SortResults();
    benchmark::DoNotOptimize(search.results().size());
  }
  state.SetItemsProcessed(state.iterations() * Grid().size());
  SetTranscriptionCacheEnabled(true);
}

void RunPreparedSearch(benchmark::State& state, TextFolding folding) {
  EnsureInitialized();
  for (auto _ : state) {
    // Each search starts cold: nothing from an earlier one helps.
    state.PauseTiming();
    ClearTranscriptionCache();
    state.ResumeTiming();
    CompareWordsScorer engine("smisons", folding);
    RememberingScorer scorer(engine);
    SheetSearch search(scorer, 60);
    search.CollectMatches(Grid(), 1);
    search.SortResults();
    benchmark::DoNotOptimize(search.results().size());
  }
  state.SetItemsProcessed(state.iterations() * Grid().size());
}

void BM_SheetSearchPrepared(benchmark::State& state) {
  RunPreparedSearch(state, TextFolding::kUtf8);
}

// The same without folding to ASCII (--no-fold), to see what folding costs.
void BM_SheetSearchPreparedNoFold(benchmark::State& state) {
  RunPreparedSearch(state, TextFolding::kNone);
}

// The CPU seconds of every child process waited for so far.
double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) *
             1e-6;
}

// The program on the same cells as a CSV file: parsing, the search and the
// output, in a process of its own. Timed by the program's CPU time, as the
// search alone is: on a machine shared with other work the wall-clock time
// of a child process says more about the neighbours than about the program.
void BM_CliSearchCsv(benchmark::State& state) {
  const std::string path = "/tmp/marrowfield_bench_200k.csv";
  {
    std::ofstream csv(path);
    for (size_t n = 0; n < Grid().size(); ++n) {
      csv << Grid()[n].text << ((n + 1) % kColumns == 0 ? "\n" : ",");
    }
  }
  const std::string command = std::string(MARROWFIELD_CLI_PATH) +
                              " search smisons " + path + " >/dev/null";
  for (auto _ : state) {
    // Exit 0 with matches, 1 without; anything else is a failure.
    const double before = ChildCpuSeconds();
    const int status = std::system(command.c_str());
    state.SetIterationTime(ChildCpuSeconds() - before);
    if (status != 0 && status != 256) {
      state.SkipWithError("marrowfield search failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * Grid().size());
  std::remove(path.c_str());
}

BENCHMARK(BM_SheetSearchPerCellUncached)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_SheetSearchPrepared)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SheetSearchPreparedNoFold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliSearchCsv)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
}  // namespace marrowfield

BENCHMARK_MAIN();
