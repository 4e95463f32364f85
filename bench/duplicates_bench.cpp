// Find duplicates end to end on a 100 000-row column of full names, with
// the in-process fake Excel behind the native automation port: the
// dialog's one read of the used range, the dedupe on its worker thread,
// and the result sheet written in one assignment. Against it, `marrowfield
// dedupe` of the same values from a TSV file, in a process of its own. The
// engine's cache is emptied before each run, as a new command-line process
// starts with it empty.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "duplicates_dialog.h"
#include "duplicates_sheet.h"
#include "fake_automation_port.h"
#include "fake_duplicates_view.h"
#include "fake_excel_model.h"
#include "marrowfield.h"
#include "marrowfield_api.h"
#include "name_variants.h"

namespace marrowfield {
namespace {

// The list benchmark's workload at a tenth of its size: 20 000 distinct
// full names (fewer with MARROWFIELD_DUPLICATES_BENCH_DISTINCT, for a
// smoke run) in five times as many cells, a few names very often.
const std::vector<std::string>& Column() {
  static const std::vector<std::string> column = [] {
    initialize();
    const std::vector<std::string> distinct = lists::testing::FullNames(
        lists::BaseNames(),
        lists::SizeFromEnvironment("MARROWFIELD_DUPLICATES_BENCH_DISTINCT",
                                   20000),
        1);
    return lists::SkewedColumn(distinct, 5, 2);
  }();
  return column;
}

void BM_FindDuplicates100k(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    mf_cache_clear();
    auto model = std::make_unique<FakeExcelModel>();
    FakeAutomationPort port(*model);
    const int process =
        model->AddProcess([](const std::string&, int32_t*) { return false; });
    const int book = model->AddWorkbook(process, "C:\\Books\\names.xlsx");
    const int sheet = model->AddWorksheet(process, book, "Names");
    model->SetText(process, book, sheet, 1, 1, "Name");
    const std::vector<std::string>& column = Column();
    for (std::size_t row = 0; row < column.size(); ++row) {
      model->SetText(process, book, sheet, static_cast<int>(row) + 2, 1,
                     column[row]);
    }
    DuplicatesDialog dialog([&] {
      return HostObject(port, FakeHandle(model->ApplicationObject(process)),
                        false);
    });
    FakeDuplicatesView view;
    state.ResumeTiming();

    dialog.Initialise(view);
    view.Click(dialog, 1);
    view.Finish(dialog);
    if (dialog.writtenSheet().empty()) {
      state.SkipWithError("Find duplicates wrote no sheet");
    }

    state.PauseTiming();
    model.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FindDuplicates100k)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// The add-in's own part of the same run, without the host: the used
// range's value turned into cells, the rows found and the result array
// built. What the end-to-end run spends beyond it is the fake host's
// reading and storing of the cells.
void BM_FindDuplicatesWithoutHost100k(benchmark::State& state) {
  AutomationArray array;
  array.columns = 1;
  array.cells.push_back(AutomationValue::String("Name"));
  for (const std::string& cell : Column()) {
    array.cells.push_back(AutomationValue::String(cell));
  }
  array.rows = static_cast<int32_t>(array.cells.size());
  const AutomationValue value = AutomationValue::Array(std::move(array));
  DuplicatesChoice choice;
  choice.header = true;
  DedupeRun run;
  run.threads = 0;
  for (auto _ : state) {
    state.PauseTiming();
    mf_cache_clear();
    state.ResumeTiming();
    const UsedCells cells = ToUsedCells(value, 1, 1);
    const std::vector<DuplicateRow> rows =
        FindDuplicateRows(cells, choice, run);
    const AutomationArray result = DuplicatesArray(rows, "Names");
    benchmark::DoNotOptimize(result.cells.size());
  }
}
BENCHMARK(BM_FindDuplicatesWithoutHost100k)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

#ifdef MARROWFIELD_CLI_PATH
void BM_CliDedupe100k(benchmark::State& state) {
  const std::string path = "/tmp/marrowfield_duplicates_bench.tsv";
  {
    std::ofstream tsv(path);
    tsv << "Name\n";
    for (const std::string& cell : Column()) tsv << cell << "\n";
  }
  const std::string command = std::string(MARROWFIELD_CLI_PATH) + " dedupe " +
                              path + " --column Name >/dev/null";
  for (auto _ : state) {
    // Exit 0 with groups, 1 without; anything else is a failure.
    const int status = std::system(command.c_str());
    if (status != 0 && status != 256) {
      state.SkipWithError("marrowfield dedupe failed");
    }
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_CliDedupe100k)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
#endif

}  // namespace
}  // namespace marrowfield

BENCHMARK_MAIN();
