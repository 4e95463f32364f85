// "marrowfield dedupe": the values of one column (or of the word columns
// of whole sheets) that sound alike, grouped under a suggested spelling;
// or, with --name, --same and --also, the records (rows) that do. All
// inputs are read before anything is compared, and output is written only
// at the end, so a bad file or argument leaves one error line and nothing
// on standard output.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "column_values.h"
#include "commands.h"
#include "group_output.h"
#include "input_error.h"
#include "list_options.h"
#include "lists_library.h"
#include "read_flags.h"
#include "record_lists.h"
#include "word_columns.h"

namespace marrowfield {

namespace {

struct DedupeOptions {
  std::vector<std::string> files;
  std::optional<std::string> column;
  std::vector<std::string> name;
  std::vector<std::string> same;
  std::vector<std::string> also;
  std::string annotate;
  std::string mapping;
  ListOptions list;
};

// Reads |path| and adds the values of each sheet's word columns, saying on
// standard error which columns those are when the sheet has others.
void LoadWordColumnValues(const std::string& path, const ReadOptions& read,
                          std::vector<LoadedSheet>& sheets, ValueTable& table,
                          unsigned threads) {
  ReadOptions threaded = read;
  threaded.threads = threads;
  LoadedFile file = LoadFile(path, threaded);
  PrintNotices(file.notices);
  for (LoadedSheet& sheet : file.sheets) {
    sheets.push_back(std::move(sheet));
    const LoadedSheet& loaded = sheets.back();
    const std::vector<int32_t> columns = WordColumns(loaded.cells);
    std::string where = loaded.path == "-" ? "standard input" : loaded.path;
    if (loaded.sheet) where += " (" + *loaded.sheet + ")";
    // A sheet of one column leaves nothing to choose and nothing to say.
    const bool several = std::any_of(
        loaded.cells.begin(), loaded.cells.end(), [&](const GridCell& cell) {
          return cell.column != loaded.cells.front().column;
        });
    if (several || (columns.empty() && !loaded.cells.empty())) {
      PrintNotices(
          {where + ": note: " +
           (columns.empty() ? std::string("no column holds mostly words; "
                                          "nothing to group")
                            : "grouping the columns of words: " +
                                  DescribeColumns(loaded, columns)) +
           " (--column or --name chooses)"});
    }
    AddSheetColumnValues(loaded, static_cast<int32_t>(sheets.size() - 1),
                         columns, table, threads);
  }
}

// The records' columns, or none when the run is by values.
std::optional<RecordColumns> RecordColumnsOf(const DedupeOptions& options) {
  RecordColumns columns;
  columns.name = ColumnLists(options.name);
  columns.same = ColumnLists(options.same);
  columns.also = ColumnLists(options.also);
  const bool byRecords = !columns.name.empty() || !columns.same.empty() ||
                         !columns.also.empty() || !options.annotate.empty();
  if (!byRecords) return std::nullopt;
  if (options.column) {
    if (!columns.name.empty()) {
      throw InputError(
          "--column and --name both name the name's columns; give one");
    }
    columns.name.push_back(*options.column);
  }
  if (columns.name.empty()) {
    throw InputError(
        "--same, --also and --annotate need the name's columns: --name "
        "COLUMN[,COLUMN...]");
  }
  return columns;
}

std::vector<ValueGroup> TakeGroups(const mf_groups_t* groups,
                                   const ValueTable& table) {
  std::vector<ValueGroup> taken(mf_groups_count(groups));
  for (size_t g = 0; g < taken.size(); ++g) {
    ValueGroup& group = taken[g];
    group.canonical = mf_groups_canonical(groups, g);
    const size_t members = mf_groups_member_count(groups, g);
    for (size_t m = 0; m < members; ++m) {
      GroupRow row;
      row.value = mf_groups_member_value(groups, g, m);
      row.score = mf_groups_member_score(groups, g, m);
      row.via = mf_groups_member_via(groups, g, m);
      row.viaScore = mf_groups_member_via_score(groups, g, m);
      group.cells += table.counts.at(row.value);
      group.members.push_back(row);
    }
  }
  return taken;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file ||
      std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
      std::fflush(file.get()) != 0) {
    throw InputError(path +
                     ": cannot write the mapping: " + std::strerror(errno));
  }
}

int RunDedupe(const DedupeOptions& options) {
  if (const std::optional<RecordColumns> columns = RecordColumnsOf(options)) {
    return RunRecordDedupe(RecordDedupeRun{options.files, *columns,
                                           options.mapping, options.annotate},
                           options.list);
  }
  std::vector<LoadedSheet> sheets;
  ValueTable table;
  for (const std::string& path : options.files) {
    if (options.column) {
      LoadSheetValues(path, options.list.read, options.column, sheets, table,
                      options.list.threads);
    } else {
      LoadWordColumnValues(path, options.list.read, sheets, table,
                           options.list.threads);
    }
  }

  std::vector<ValueGroup> groups;
  if (!table.values.empty()) {
    MfOptions mfOptions = MakeMfOptions(options.list);
    MfError error;
    mf_groups_t* found = nullptr;
    {
      const ListProgress progress(mfOptions.get(),
                                  static_cast<std::size_t>(table.cells));
      const std::vector<std::string> scored =
          ScoredValues(table, FoldingFor(options.list.noFold),
                       options.list.threads);
      const std::vector<const char*> values = ValuePointers(scored);
      CheckMf(mf_dedupe(mfOptions.get(), values.data(), table.counts.data(),
                          values.size(), &found, error.out()),
               error);
    }
    const MfGroups owned(found);
    groups = TakeGroups(owned.get(), table);
  }

  if (!options.mapping.empty()) {
    WriteFile(options.mapping,
              FormatMapping(groups, table, options.list.threads));
  }
  WriteOutput(FormatGroups(groups, table, sheets,
                           ParseOutputFormat(options.list.format),
                           options.list.threads));
  if (!groups.empty()) return 0;
  return ReportNothingFound(
      table.values.empty() ? kNoDataToSearch : kNoMatchesFound,
      options.list.format);
}

}  // namespace

Subcommand AddDedupeCommand(CLI::App& parent) {
  auto options = std::make_shared<DedupeOptions>();
  CLI::App* app = parent.add_subcommand(
      "dedupe",
      "Group the text cells of CSV, TSV and XLSX files that sound alike, "
      "each group under its most frequent spelling, biggest group first; "
      "or, with --name, the rows whose names sound alike. Exit status: 0 "
      "with groups, 1 when there are none, 2 on errors.");
  app->add_option("FILE", options->files,
                  "Files to read (.csv, .tsv, .txt, .xlsx, .xlsm, .xltx, "
                  ".xltm; - for standard input); their values are grouped "
                  "together")
      ->required();
  app->add_option("-c,--column", options->column,
                  "Column to read: a header of the first row (CSV, TSV) or "
                  "letters such as B (default: the columns whose cells are "
                  "mostly words)");
  app->add_option("--name", options->name,
                  "Group rows, not cells: the columns that hold the name, "
                  "joined in this order (FirstName,LastName)")
      ->type_name("COL[,COL...]")
      ->allow_extra_args(false);
  AddRecordRoleOptions(*app, options->same, options->also);
  app->add_option("--annotate", options->annotate,
                  "Write the input (one CSV or TSV file) back to FILE with "
                  "the columns group, canonical and score added")
      ->type_name("FILE");
  app->add_option("-m,--mapping", options->mapping,
                  "Also write FILE, a CSV of text,canonical for every "
                  "grouped spelling")
      ->type_name("FILE");
  AddListOptions(*app, options->list);
  return Subcommand{app, [options] { return RunDedupe(*options); }};
}

}  // namespace marrowfield
