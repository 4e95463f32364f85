// MARROWFIELD.BEST over a 10 000-cell range holding 1 000 distinct names,
// against the prepared sheet search of the same cells. BEST gets the range
// as Excel hands it to the function (a multi of UTF-16 strings), so its
// figure includes reading and converting every cell, scoring each distinct
// text once, and making and freeing the result. Both run warm (the
// engine's transcriptions cached, as during a recalculation) and cold.
//
// MARROWFIELD.GROUP over a 100 000-cell column of full names, against the
// command line's dedupe of the same cells and against MATCHES filled down
// the column (one call per cell, each scoring every distinct text of the
// range), whose cost is extrapolated from a sample of calls.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench_corpus.h"
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

// |texts| as Excel hands a range to a worksheet function: a column of
// counted UTF-16 strings, which the structure owns.
struct WideColumn {
  std::vector<std::u16string> texts;
  std::vector<XLOPER12> cells;
  XLOPER12 range{};
  XLOPER12 missing{};

  explicit WideColumn(const std::vector<std::string>& utf8) {
    texts.reserve(utf8.size());
    for (const std::string& text : utf8) {
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
    range.val.array.rows = static_cast<int>(cells.size());
    range.val.array.columns = 1;
    range.xltype = xltypeMulti;
    missing.xltype = xltypeMissing;
  }
};

// BEST's range, its search text and the arguments left out.
struct WideRange {
  WideColumn column{CellTexts()};
  XLOPER12& range = column.range;
  std::u16string searchText;
  XLOPER12 search{};
  XLOPER12& accuracy = column.missing;
  XLOPER12& scoring = column.missing;

  WideRange() {
    searchText = Utf16FromUtf8(kSearch);
    searchText.insert(searchText.begin(),
                      static_cast<char16_t>(searchText.size()));
    search.val.str = searchText.data();
    search.xltype = xltypeStr;
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

// A column of full names as a customer list has them: "First Last" pairs
// of the corpus's names, the frequent ones repeated, about a quarter of
// the cells distinct. The smoke run shrinks it through the environment.
const std::vector<std::string>& ColumnTexts() {
  static const std::vector<std::string> column = [] {
    const size_t cells =
        lists::SizeFromEnvironment("MARROWFIELD_GROUP_BENCH_CELLS", 100000);
    std::vector<std::string> base = lists::BaseNames();
    for (std::string& name : base) {
      if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') {
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
      }
    }
    std::mt19937 random(7);
    std::vector<std::string> distinct;
    for (size_t i = 0; i < cells / 4 + 1; ++i) {
      distinct.push_back(base[random() % base.size()] + " " +
                         base[random() % base.size()]);
    }
    std::vector<std::string> texts;
    texts.reserve(cells);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (size_t i = 0; i < cells; ++i) {
      // Skewed towards the front, as the frequent names of a list are.
      const double u = unit(random);
      texts.push_back(distinct[static_cast<size_t>(
          u * u * static_cast<double>(distinct.size() - 1))]);
    }
    return texts;
  }();
  return column;
}

// One GROUP of the whole column, cold as a freshly opened workbook is.
void BM_Group100kCells(benchmark::State& state) {
  EnsureInitialized();
  WideColumn column(ColumnTexts());
  for (auto _ : state) {
    state.PauseTiming();
    ClearTranscriptionCache();
    state.ResumeTiming();
    XLOPER12* result =
        fMarrowfieldGroup12(&column.range, &column.missing, &column.missing);
    if (result->xltype != (xltypeMulti | xlbitDLLFree)) {
      state.SkipWithError("MARROWFIELD.GROUP gave no array");
    }
    xlAutoFree12(result);
  }
  // One item an iteration: the ratio script reads real seconds per call.
  state.SetItemsProcessed(state.iterations());
  state.counters["cells"] = static_cast<double>(column.cells.size());
}
BENCHMARK(BM_Group100kCells)->UseRealTime()->Unit(benchmark::kMillisecond);

#ifdef MARROWFIELD_CLI_PATH
// The command line's dedupe of the same cells, with the mapping GROUP
// agrees with: reading, pair finding, grouping and writing, in a process of
// its own as a cold workbook is.
void BM_CliDedupe100kCells(benchmark::State& state) {
  const std::string path = "/tmp/marrowfield_group_bench_" +
                           std::to_string(ColumnTexts().size()) + ".csv";
  {
    std::ofstream csv(path);
    csv << "name\n";
    for (const std::string& cell : ColumnTexts()) {
      csv << '"' << cell << "\"\n";
    }
  }
  const std::string command =
      std::string(MARROWFIELD_CLI_PATH) + " dedupe " + path +
      " --column name --format csv --mapping /dev/null >/dev/null";
  for (auto _ : state) {
    // Exit 0 with groups, 1 without; anything else is a failure.
    const int status = std::system(command.c_str());
    if (status != 0 && status != 256) {
      state.SkipWithError("marrowfield dedupe failed");
    }
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CliDedupe100kCells)->UseRealTime()->Unit(benchmark::kMillisecond);
#endif

// MATCHES filled down the column: each cell's formula scores its text
// against every distinct text of the range. A sample of cells' calls,
// warm as all but the first call of a recalculation are; the counter
// extrapolates to a call for every cell.
void BM_MatchesFilledDownSample(benchmark::State& state) {
  EnsureInitialized();
  WideColumn column(ColumnTexts());
  constexpr size_t kSample = 16;
  const size_t stride = column.cells.size() / kSample;
  // The first call transcribes the range, as the first formula would.
  xlAutoFree12(fMarrowfieldMatches12(&column.cells[0], &column.range,
                                     &column.missing, &column.missing));
  size_t calls = 0;
  for (auto _ : state) {
    for (size_t k = 0; k < kSample; ++k) {
      XLOPER12* result =
          fMarrowfieldMatches12(&column.cells[k * stride], &column.range,
                                &column.missing, &column.missing);
      benchmark::DoNotOptimize(result->xltype);
      xlAutoFree12(result);
    }
    calls += kSample;
  }
  // Items are calls: the ratio script's figure is the time of one call.
  state.SetItemsProcessed(static_cast<int64_t>(calls));
  state.counters["cells"] = static_cast<double>(column.cells.size());
}
BENCHMARK(BM_MatchesFilledDownSample)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace marrowfield

BENCHMARK_MAIN();
