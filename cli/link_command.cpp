// "marrowfield link": for each value of list A, the values of list B that
// sound like it, best first. Both inputs are read before anything is
// compared; output is written only at the end.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "column_values.h"
#include "commands.h"
#include "input_error.h"
#include "link_output.h"
#include "list_options.h"
#include "lists_library.h"
#include "read_flags.h"
#include "record_lists.h"

namespace marrowfield {

namespace {

struct LinkOptions {
  std::string fileA;
  std::string fileB;
  std::optional<std::string> column;
  std::optional<std::string> columnB;
  std::optional<std::string> sheetB;
  std::vector<std::string> name;
  std::vector<std::string> same;
  std::vector<std::string> also;
  bool best = false;
  ListOptions list;
};

struct LoadedList {
  std::vector<LoadedSheet> sheets;
  ValueTable table;
};

LoadedList LoadList(const std::string& path, const ReadOptions& read,
                    const std::optional<std::string>& column,
                    unsigned threads) {
  LoadedList list;
  LoadSheetValues(path, read, column, list.sheets, list.table, threads);
  return list;
}

// B is read as A unless --sheet-b names its own worksheet, which then
// stands for --sheet and --all-sheets.
ReadOptions ReadOptionsOfB(const LinkOptions& options) {
  ReadOptions read = options.list.read;
  if (options.sheetB) {
    read.sheet = options.sheetB;
    read.allSheets = false;
  }
  return read;
}

std::vector<ValueLinks> TakeLinks(const mf_links_t* links, size_t aCount) {
  std::vector<ValueLinks> taken;
  for (size_t a = 0; a < aCount; ++a) {
    const size_t count = mf_links_match_count(links, a);
    if (count == 0) continue;
    ValueLinks link;
    link.value = a;
    for (size_t m = 0; m < count; ++m) {
      link.matches.push_back(LinkMatch{mf_links_match_value(links, a, m),
                                       mf_links_match_score(links, a, m)});
    }
    taken.push_back(std::move(link));
  }
  return taken;
}

int RunLink(const LinkOptions& options) {
  RecordColumns columns;
  columns.name = ColumnLists(options.name);
  columns.same = ColumnLists(options.same);
  columns.also = ColumnLists(options.also);
  if (!columns.name.empty() || !columns.same.empty() || !columns.also.empty()) {
    if (options.column && !columns.name.empty()) {
      throw InputError(
          "--column and --name both name the name's columns; give one");
    }
    if (options.columnB) {
      throw InputError(
          "--column-b does not go with --name, --same and --also, which "
          "name the same columns in both files");
    }
    if (options.column) columns.name.push_back(*options.column);
    if (columns.name.empty()) {
      throw InputError(
          "--same and --also need the name's columns: --name "
          "COLUMN[,COLUMN...]");
    }
    return RunRecordLink(options.fileA, options.fileB, ReadOptionsOfB(options),
                         columns, options.best, options.list);
  }
  const LoadedList a = LoadList(options.fileA, options.list.read,
                                options.column, options.list.threads);
  const LoadedList b =
      LoadList(options.fileB, ReadOptionsOfB(options),
               options.columnB ? options.columnB : options.column,
               options.list.threads);

  std::vector<ValueLinks> links;
  if (!a.table.values.empty() && !b.table.values.empty()) {
    MfOptions mfOptions = MakeMfOptions(options.list);
    mf_options_set_best_only(mfOptions.get(), options.best ? 1 : 0);
    MfError error;
    mf_links_t* found = nullptr;
    {
      const ListProgress progress(
          mfOptions.get(),
          static_cast<std::size_t>(a.table.cells + b.table.cells));
      const TextFolding folding = FoldingFor(options.list.noFold);
      const std::vector<std::string> scoredA = ScoredValues(a.table, folding, options.list.threads);
      const std::vector<std::string> scoredB = ScoredValues(b.table, folding, options.list.threads);
      const std::vector<const char*> valuesA = ValuePointers(scoredA);
      const std::vector<const char*> valuesB = ValuePointers(scoredB);
      CheckMf(mf_link(mfOptions.get(), valuesA.data(), valuesA.size(),
                        valuesB.data(), valuesB.size(), &found, error.out()),
               error);
    }
    const MfLinks owned(found);
    links = TakeLinks(owned.get(), a.table.values.size());
  }

  WriteOutput(FormatLinks(links, LinkSide{a.table, a.sheets},
                          LinkSide{b.table, b.sheets},
                          ParseOutputFormat(options.list.format)));
  if (!links.empty()) return 0;
  const bool noData = a.table.values.empty() || b.table.values.empty();
  return ReportNothingFound(noData ? kNoDataToSearch : kNoMatchesFound,
                            options.list.format);
}

}  // namespace

Subcommand AddLinkCommand(CLI::App& parent) {
  auto options = std::make_shared<LinkOptions>();
  CLI::App* app = parent.add_subcommand(
      "link",
      "For each text cell value of A, list the values of B that sound like "
      "it, best first. Exit status: 0 with matches, 1 when there are none, "
      "2 on errors.");
  app->add_option("A", options->fileA, "File whose values are looked up")
      ->required();
  app->add_option("B", options->fileB, "File to look them up in")->required();
  app->add_option("-c,--column", options->column,
                  "Column to read in A (and in B unless --column-b says "
                  "otherwise): a header of the first row (CSV, TSV) or "
                  "letters such as B (default: every column)");
  app->add_option("--column-b", options->columnB, "Column to read in B");
  app->add_option("--name", options->name,
                  "Link rows, not cells: the columns that hold the name in "
                  "both files, joined in this order (FirstName,LastName)")
      ->type_name("COL[,COL...]")
      ->allow_extra_args(false);
  AddRecordRoleOptions(*app, options->same, options->also);
  app->add_option("--sheet-b", options->sheetB,
                  "Worksheet of B (default: as --sheet or --all-sheets say)");
  app->add_flag("--best", options->best,
                "Only the best matches of each value (all that share the "
                "best score)");
  AddListOptions(*app, options->list);
  return Subcommand{app, [options] { return RunLink(*options); }};
}

}  // namespace marrowfield
