// "marrowfield search": the search dialog's job over files. All inputs are
// read before anything is scored, and the output is written only at the end,
// so a bad file produces one error line and nothing on standard output.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "engine_session.h"
#include "input_error.h"
#include "list_options.h"
#include "marrowfield/cell_scorer.h"
#include "marrowfield/sheet_search.h"
#include "progress_bar.h"
#include "read_flags.h"
#include "result_output.h"
#include "scoring_choice.h"
#include "spreadsheet_file.h"

namespace marrowfield {

namespace {

// The dialog's slider starts at this level.
constexpr int kDefaultAccuracy = 60;

struct SearchOptions {
  std::string text;
  std::vector<std::string> files;
  int accuracy = kDefaultAccuracy;
  ReadOptions read;
  bool noFold = false;
  std::string format = "text";
  std::string scoring = "strict";
};

// When nothing matched on the first worksheet of a workbook that has others,
// the user may not know that the others were not looked at.
std::vector<std::string> UnsearchedSheetNotes(
    const std::vector<LoadedSheet>& sheets, const ReadOptions& read) {
  std::vector<std::string> notes;
  if (read.allSheets || read.sheet) return notes;
  for (const LoadedSheet& sheet : sheets) {
    if (sheet.sheet && sheet.worksheetCount > 1) {
      notes.push_back(sheet.path + ": note: only the first worksheet, '" +
                      *sheet.sheet + "', was searched; --all-sheets searches " +
                      "all " + std::to_string(sheet.worksheetCount));
    }
  }
  return notes;
}

int RunSearch(const SearchOptions& options) {
  if (options.text.empty()) {
    throw InputError("search: the search text is empty");
  }
  const TextFolding folding = FoldingFor(options.noFold);
  if (!HasLetter(FoldToAscii(options.text, folding))) {
    throw InputError(
        "search: the search text holds no letter, so nothing sounds like it");
  }
  std::vector<LoadedSheet> sheets;
  std::vector<std::string> notices;
  std::size_t totalCells = 0;
  for (const std::string& path : options.files) {
    LoadedFile file = LoadFile(path, options.read);
    for (LoadedSheet& sheet : file.sheets) {
      totalCells += sheet.cells.size();
      sheets.push_back(std::move(sheet));
    }
    notices.insert(notices.end(), file.notices.begin(), file.notices.end());
  }
  PrintNotices(notices);

  const EngineSession engine;
  CompareWordsScorer strictScorer(options.text, folding);
  TolerantScorer tolerantScorer(options.text, folding);
  CellScorer& engineScorer = options.scoring == "tolerant"
                                 ? static_cast<CellScorer&>(tolerantScorer)
                                 : strictScorer;
  RememberingScorer scorer(engineScorer);
  SheetSearch search(scorer, options.accuracy);
  {
    ProgressBar bar(stderr, totalCells, ShouldShowProgress(totalCells));
    std::size_t before = 0;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      search.CollectMatches(sheets[i].cells, static_cast<int32_t>(i),
                            [&bar, before](std::size_t visited) {
                              bar.Update(before + visited);
                            });
      before += sheets[i].cells.size();
    }
  }
  search.SortResults();

  const OutputFormat format = ParseOutputFormat(options.format);
  WriteOutput(FormatResults(search.results(), sheets, format));
  if (search.foundAny()) return 0;
  // The dialog lists its notice in place of results; machine formats keep
  // their output parseable and give the notice on standard error.
  const std::string notice =
      std::string(search.noData() ? kNoDataToSearch : kNoMatchesFound) + "\n";
  if (format == OutputFormat::TEXT) {
    WriteOutput(notice);
  } else {
    std::fputs(notice.c_str(), stderr);
  }
  PrintNotices(UnsearchedSheetNotes(sheets, options.read));
  return 1;
}

}  // namespace

Subcommand AddSearchCommand(CLI::App& parent) {
  auto options = std::make_shared<SearchOptions>();
  CLI::App* app = parent.add_subcommand(
      "search",
      "List the text cells of CSV, TSV and XLSX files that sound like TEXT, "
      "best first, as \"cell text  (score%)\" followed by FILE:[SHEET!]CELL. "
      "Exit status: 0 with results, 1 when nothing matched, 2 on errors. "
      "Put -- before a TEXT that starts with a dash.");
  app->add_option("TEXT", options->text, "Word or name to search for")
      ->required();
  app->add_option("FILE", options->files,
                  "Files to search (.csv, .tsv, .txt, .xlsx, .xlsm, .xltx, "
                  ".xltm; - for standard input); results of all files are "
                  "listed together, best first")
      ->required();
  app->add_option("-a,--accuracy", options->accuracy,
                  "Lowest score listed, 0-100")
      ->default_val(kDefaultAccuracy)
      ->check(PercentCheck("accuracy"));
  AddReadOptions(*app, options->read);
  AddNoFoldOption(*app, options->noFold);
  app->add_option("-f,--format", options->format,
                  "Output: text, json (an array of objects) or csv")
      ->default_val("text")
      ->check(CLI::IsMember({"text", "json", "csv"}));
  AddScoringOption(*app, options->scoring);
  return Subcommand{app, [options] { return RunSearch(*options); }};
}

}  // namespace marrowfield
