// Records through the library: each row handed over with its fields in
// role order, the groups read back row by row. Groups are shown as the
// value commands show values, one line per distinct record.
#include "record_lists.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "annotated_file.h"
#include "annotated_workbook.h"
#include "commands.h"
#include "group_output.h"
#include "input_error.h"
#include "link_output.h"
#include "lists_library.h"
#include "read_flags.h"

namespace marrowfield {

namespace {

using MfRecords =
    std::unique_ptr<mf_records_t, MfDeleter<mf_records_t, mf_records_destroy>>;

struct LoadedRecords {
  std::vector<LoadedSheet> sheets;
  RecordTable table;
};

LoadedRecords LoadRecords(const std::vector<std::string>& paths,
                          const ReadOptions& read, const RecordColumns& columns,
                          unsigned threads) {
  LoadedRecords loaded;
  ReadOptions threaded = read;
  threaded.threads = threads;
  for (const std::string& path : paths) {
    LoadedFile file = LoadFile(path, threaded);
    PrintNotices(file.notices);
    for (LoadedSheet& sheet : file.sheets) {
      loaded.sheets.push_back(std::move(sheet));
      AddSheetRecords(loaded.sheets.back(),
                      static_cast<int32_t>(loaded.sheets.size() - 1), columns,
                      loaded.table);
    }
  }
  return loaded;
}

MfRecords MakeRecords(const RecordTable& table, const RecordColumns& columns) {
  mf_records_t* made = nullptr;
  MfError error;
  CheckMf(mf_records_create(columns.name.size(), columns.same.size(),
                            columns.also.size(), &made, error.out()),
          error);
  MfRecords records(made);
  std::vector<const char*> fields(table.fieldCount);
  for (size_t r = 0; r < table.rows.size(); ++r) {
    for (size_t f = 0; f < table.fieldCount; ++f)
      fields[f] = table.Field(r, f).c_str();
    CheckMf(mf_records_add(records.get(), fields.data(), error.out()), error);
  }
  return records;
}

MfOptions RecordOptions(const ListOptions& list) {
  MfOptions options = MakeMfOptions(list);
  mf_options_set_fold(options.get(), list.noFold ? MF_FOLD_NONE : MF_FOLD_UTF8);
  return options;
}

// The groups as the value output shows them: one member per distinct
// record shown, copies counted with it.
std::vector<ValueGroup> ShownGroups(const mf_groups_t* groups,
                                    const std::vector<size_t>& valueOfRecord,
                                    const ValueTable& values) {
  std::vector<ValueGroup> shown(mf_groups_count(groups));
  for (size_t g = 0; g < shown.size(); ++g) {
    ValueGroup& group = shown[g];
    group.canonical = valueOfRecord.at(mf_groups_canonical(groups, g));
    std::vector<size_t> taken;
    for (size_t m = 0; m < mf_groups_member_count(groups, g); ++m) {
      const size_t value =
          valueOfRecord.at(mf_groups_member_value(groups, g, m));
      bool seen = false;
      for (const size_t t : taken) seen = seen || t == value;
      if (seen) continue;
      taken.push_back(value);
      GroupRow row;
      row.value = value;
      row.score = mf_groups_member_score(groups, g, m);
      row.via = valueOfRecord.at(mf_groups_member_via(groups, g, m));
      row.viaScore = mf_groups_member_via_score(groups, g, m);
      group.cells += values.counts.at(value);
      group.members.push_back(row);
    }
  }
  return shown;
}

// Each row's annotation (index: row - 1) for the sheet's records.
std::vector<RowAnnotation> Annotations(const mf_groups_t* groups,
                                       const RecordTable& table,
                                       size_t nameFields) {
  std::vector<RowAnnotation> annotations;
  if (!table.rows.empty())
    annotations.resize(static_cast<size_t>(table.rows.back().row));
  for (size_t g = 0; g < mf_groups_count(groups); ++g) {
    const std::string canonical =
        RecordNameText(table, mf_groups_canonical(groups, g), nameFields);
    for (size_t m = 0; m < mf_groups_member_count(groups, g); ++m) {
      const size_t r = mf_groups_member_value(groups, g, m);
      RowAnnotation& row =
          annotations.at(static_cast<size_t>(table.rows.at(r).row) - 1);
      row.group = std::to_string(g + 1);
      row.canonical = canonical;
      row.score = std::to_string(mf_groups_member_score(groups, g, m));
    }
  }
  return annotations;
}

void WriteMapping(const std::string& path, const std::string& text) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file ||
      std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
      std::fflush(file.get()) != 0) {
    throw InputError(path +
                     ": cannot write the mapping: " + std::strerror(errno));
  }
}

}  // namespace

int RunRecordDedupe(const RecordDedupeRun& run, const ListOptions& list) {
  if (!run.annotate.empty())
    CheckAnnotation(run.files, run.annotate, list.read.allSheets);
  const LoadedRecords loaded =
      LoadRecords(run.files, list.read, run.columns, list.threads);
  const RecordTable& table = loaded.table;

  MfOptions options = RecordOptions(list);
  MfGroups groups;
  {
    const MfRecords records = MakeRecords(table, run.columns);
    const ListProgress progress(options.get(), table.rows.size());
    mf_groups_t* found = nullptr;
    MfError error;
    CheckMf(
        mf_records_dedupe(options.get(), records.get(), &found, error.out()),
        error);
    groups.reset(found);
  }
  std::vector<char> grouped(table.rows.size(), 0);
  for (size_t g = 0; g < mf_groups_count(groups.get()); ++g) {
    for (size_t m = 0; m < mf_groups_member_count(groups.get(), g); ++m)
      grouped.at(mf_groups_member_value(groups.get(), g, m)) = 1;
  }
  std::vector<size_t> valueOfRecord;
  const ValueTable values =
      RecordValues(table, run.columns, grouped, valueOfRecord);
  const std::vector<ValueGroup> shown =
      ShownGroups(groups.get(), valueOfRecord, values);

  if (!run.annotate.empty()) {
    const std::vector<RowAnnotation> annotations =
        Annotations(groups.get(), table, run.columns.name.size());
    const std::optional<std::string>& sheet = loaded.sheets.front().sheet;
    if (AnnotatesWorkbook(run.files.front()) && sheet) {
      WriteAnnotatedWorkbook(run.files.front(), *sheet, table.headerRow.front(),
                             annotations, run.annotate, list.read.limits);
    } else {
      WriteAnnotatedFile(run.files.front(), list.read, table.headerRow.front(),
                         annotations, run.annotate);
    }
  }
  if (!run.mapping.empty()) {
    WriteMapping(run.mapping, FormatMapping(shown, values, list.threads));
  }
  WriteOutput(FormatGroups(shown, values, loaded.sheets,
                           ParseOutputFormat(list.format), list.threads));
  if (!shown.empty()) return 0;
  return ReportNothingFound(
      table.rows.empty() ? kNoDataToSearch : kNoMatchesFound, list.format);
}

int RunRecordLink(const std::string& fileA, const std::string& fileB,
                  const ReadOptions& readB, const RecordColumns& columns,
                  bool best, const ListOptions& list) {
  const LoadedRecords a =
      LoadRecords({fileA}, list.read, columns, list.threads);
  const LoadedRecords b = LoadRecords({fileB}, readB, columns, list.threads);
  MfOptions options = RecordOptions(list);
  mf_options_set_best_only(options.get(), best ? 1 : 0);
  MfLinks links;
  {
    const MfRecords recordsA = MakeRecords(a.table, columns);
    const MfRecords recordsB = MakeRecords(b.table, columns);
    const ListProgress progress(options.get(),
                                a.table.rows.size() + b.table.rows.size());
    mf_links_t* found = nullptr;
    MfError error;
    CheckMf(mf_records_link(options.get(), recordsA.get(), recordsB.get(),
                            &found, error.out()),
            error);
    links.reset(found);
  }
  std::vector<char> linkedA(a.table.rows.size(), 0);
  std::vector<char> linkedB(b.table.rows.size(), 0);
  for (size_t r = 0; r < a.table.rows.size(); ++r) {
    const size_t count = mf_links_match_count(links.get(), r);
    linkedA[r] = count != 0;
    for (size_t m = 0; m < count; ++m)
      linkedB.at(mf_links_match_value(links.get(), r, m)) = 1;
  }
  std::vector<size_t> valueOfA;
  std::vector<size_t> valueOfB;
  const ValueTable valuesA = RecordValues(a.table, columns, linkedA, valueOfA);
  const ValueTable valuesB = RecordValues(b.table, columns, linkedB, valueOfB);
  // One block per distinct record of A shown, its first copy's matches.
  std::vector<ValueLinks> shown;
  std::vector<char> taken(valuesA.values.size(), 0);
  for (size_t r = 0; r < a.table.rows.size(); ++r) {
    const size_t count = mf_links_match_count(links.get(), r);
    if (count == 0 || taken[valueOfA[r]]) continue;
    taken[valueOfA[r]] = 1;
    ValueLinks link;
    link.value = valueOfA[r];
    std::vector<char> matched(valuesB.values.size(), 0);
    for (size_t m = 0; m < count; ++m) {
      const size_t value = valueOfB.at(mf_links_match_value(links.get(), r, m));
      if (matched[value]) continue;
      matched[value] = 1;
      link.matches.push_back(
          LinkMatch{value, mf_links_match_score(links.get(), r, m)});
    }
    shown.push_back(std::move(link));
  }
  WriteOutput(FormatLinks(shown, LinkSide{valuesA, a.sheets},
                          LinkSide{valuesB, b.sheets},
                          ParseOutputFormat(list.format)));
  if (!shown.empty()) return 0;
  const bool noData = a.table.rows.empty() || b.table.rows.empty();
  return ReportNothingFound(noData ? kNoDataToSearch : kNoMatchesFound,
                            list.format);
}

}  // namespace marrowfield
