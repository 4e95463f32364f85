// Choosing a column and gathering its values. Values are kept exactly as
// the cells hold them: "Smith" and "Smith " are two values (that score 100
// against each other), so every place can be mapped back to its own text.
#include "column_values.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "cell_reference.h"
#include "distinct_texts.h"
#include "input_error.h"
#include "read_flags.h"
#include "result_output.h"
#include "run_chunks.h"

namespace marrowfield {

namespace {

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The column whose letters are |text| ("b", "AA"), or 0.
int32_t ColumnOfLetters(const std::string& text) {
  if (text.empty() || text.size() > 3) return 0;
  std::string upper;
  for (const char c : text) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!letter) return 0;
    upper.push_back(c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  int32_t row = 0;
  int32_t column = 0;
  return ParseCellReference(upper + "1", row, column) ? column : 0;
}

// The column of the first text cell of the header row equal to |name|
// (exactly, or else ignoring ASCII case), or 0.
int32_t ColumnOfHeader(const CellGrid& cells, int32_t headerRow,
                       const std::string& name) {
  int32_t caseless = 0;
  const std::string lowerName = AsciiLower(name);
  for (const GridCell& cell : cells) {
    if (cell.row != headerRow) break;
    if (!cell.isText) continue;
    if (cell.text == name) return cell.column;
    if (caseless == 0 && AsciiLower(cell.text) == lowerName) {
      caseless = cell.column;
    }
  }
  return caseless;
}

}  // namespace

ColumnChoice FindColumn(const LoadedSheet& sheet, const std::string& column) {
  const std::string file = sheet.path == "-" ? "standard input" : sheet.path;
  if (column.empty()) throw InputError(file + ": the column name is empty");
  ColumnChoice choice;
  if (!sheet.sheet && !sheet.cells.empty()) {
    // Cells come row by row, so the first cell lies in the header row.
    const int32_t headerRow = sheet.cells.front().row;
    choice.column = ColumnOfHeader(sheet.cells, headerRow, column);
    if (choice.column != 0) {
      choice.headerRow = headerRow;
      return choice;
    }
  }
  choice.column = ColumnOfLetters(column);
  if (choice.column != 0) return choice;
  if (sheet.sheet) {
    throw InputError(file + ": \"" + column +
                     "\" is not a column letter; choose a workbook's column "
                     "by its letter, such as B");
  }
  throw InputError(file + ": no column is headed \"" + column +
                   "\" in the first row, and it is not a column letter; "
                   "choose a column by its header or its letter, such as B");
}

namespace {

// Adds the non-empty text cells of |sheet| that |take| accepts.
template <typename Take>
void AddTakenCells(const LoadedSheet& sheet, int32_t sheetIndex, Take&& take,
                   ValueTable& table, unsigned threads) {
  // The table's values first (distinct already, so they keep their
  // numbers), then the cells taken, all numbered at once on the threads.
  std::vector<std::string_view> texts(table.values.begin(),
                                      table.values.end());
  const size_t known = texts.size();
  std::vector<const GridCell*> taken;
  for (const GridCell& cell : sheet.cells) {
    if (!cell.isText || cell.text.empty() || !take(cell)) continue;
    texts.push_back(cell.text);
    taken.push_back(&cell);
  }
  const lists::DistinctTexts distinct =
      lists::NumberDistinctTexts(texts, threads);
  for (size_t d = known; d < distinct.firstItem.size(); ++d) {
    table.values.emplace_back(texts[distinct.firstItem[d]]);
  }
  table.counts.resize(table.values.size(), 0);
  for (size_t k = 0; k < taken.size(); ++k) {
    ++table.counts[distinct.ofItem[known + k]];
  }
  // Each value's places reserved at once: a million cells would otherwise
  // grow two hundred thousand vectors step by step.
  table.places.resize(table.values.size());
  for (size_t v = 0; v < table.values.size(); ++v) {
    table.places[v].reserve(static_cast<size_t>(table.counts[v]));
  }
  for (size_t k = 0; k < taken.size(); ++k) {
    const GridCell& cell = *taken[k];
    table.places[distinct.ofItem[known + k]].push_back(
        ValuePlace{sheetIndex, cell.row, cell.column});
  }
  table.cells += taken.size();
}

}  // namespace

void AddSheetValues(const LoadedSheet& sheet, int32_t sheetIndex,
                    const std::optional<std::string>& column,
                    ValueTable& table, unsigned threads) {
  ColumnChoice choice;
  if (column) choice = FindColumn(sheet, *column);
  AddTakenCells(
      sheet, sheetIndex,
      [&](const GridCell& cell) {
        return choice.column == 0 ||
               (cell.column == choice.column && cell.row != choice.headerRow);
      },
      table, threads);
}

void AddSheetColumnValues(const LoadedSheet& sheet, int32_t sheetIndex,
                          const std::vector<int32_t>& columns,
                          ValueTable& table, unsigned threads) {
  AddTakenCells(
      sheet, sheetIndex,
      [&](const GridCell& cell) {
        return std::binary_search(columns.begin(), columns.end(), cell.column);
      },
      table, threads);
}

std::vector<std::string> DescribePlaces(
    const ValueTable& table, size_t value,
    const std::vector<LoadedSheet>& sheets) {
  std::vector<std::string> described;
  for (const ValuePlace& place : table.places.at(value)) {
    described.push_back(
        DescribeLocation(sheets.at(static_cast<size_t>(place.sheetIndex)),
                         place.row, place.column));
  }
  return described;
}

std::string JoinedPlaces(const ValueTable& table, size_t value,
                         const std::vector<LoadedSheet>& sheets) {
  std::string joined;
  for (const std::string& place : DescribePlaces(table, value, sheets)) {
    if (!joined.empty()) joined += "; ";
    joined += place;
  }
  return joined;
}

namespace {

std::string SummariseRows(const std::vector<ValuePlace>& places,
                          const std::vector<LoadedSheet>& sheets) {
  std::string summary = std::to_string(places.size()) +
                        (places.size() == 1 ? " row:" : " rows:");
  const size_t shown = std::min(places.size(), kPlacesShown);
  for (size_t i = 0; i < shown;) {
    // The rows of one sheet together: "FILE rows 2, 9".
    size_t end = i + 1;
    while (end < shown && places[end].sheetIndex == places[i].sheetIndex)
      ++end;
    summary += (i == 0 ? " " : "; ") +
               OnOneLine(DescribeSheet(
                   sheets.at(static_cast<size_t>(places[i].sheetIndex)))) +
               (end - i == 1 ? " row " : " rows ");
    for (size_t k = i; k < end; ++k) {
      if (k > i) summary += ", ";
      summary += std::to_string(places[k].row);
    }
    i = end;
  }
  if (places.size() > kPlacesShown) {
    summary += " and " + std::to_string(places.size() - kPlacesShown) + " more";
  }
  return summary;
}

}  // namespace

std::string SummarisePlaces(const ValueTable& table, size_t value,
                            const std::vector<LoadedSheet>& sheets) {
  const std::vector<ValuePlace>& places = table.places.at(value);
  if (table.records) return SummariseRows(places, sheets);
  std::string summary = std::to_string(places.size()) +
                        (places.size() == 1 ? " cell:" : " cells:");
  for (size_t i = 0; i < places.size() && i < kPlacesShown; ++i) {
    const ValuePlace& place = places[i];
    summary += " " + OnOneLine(DescribeLocation(
                         sheets.at(static_cast<size_t>(place.sheetIndex)),
                         place.row, place.column));
  }
  if (places.size() > kPlacesShown) {
    summary += " and " + std::to_string(places.size() - kPlacesShown) + " more";
  }
  return summary;
}

void LoadSheetValues(const std::string& path, const ReadOptions& read,
                     const std::optional<std::string>& column,
                     std::vector<LoadedSheet>& sheets, ValueTable& table,
                     unsigned threads) {
  ReadOptions threaded = read;
  threaded.threads = threads;
  LoadedFile file = LoadFile(path, threaded);
  PrintNotices(file.notices);
  for (LoadedSheet& sheet : file.sheets) {
    sheets.push_back(std::move(sheet));
    AddSheetValues(sheets.back(), static_cast<int32_t>(sheets.size() - 1),
                   column, table, threads);
  }
}

std::vector<std::string> ScoredValues(const ValueTable& table,
                                      TextFolding folding, unsigned threads) {
  std::vector<std::string> scored(table.values.size());
  const size_t perChunk = 4096;
  lists::RunChunks(scored.size(), perChunk,
                   lists::WorkerCount(threads, scored.size() / perChunk + 1),
                   [&](unsigned, size_t, size_t begin, size_t end) {
                     for (size_t v = begin; v < end; ++v)
                       scored[v] = FoldToAscii(table.values[v], folding);
                   });
  return scored;
}

std::vector<const char*> ValuePointers(const std::vector<std::string>& values) {
  std::vector<const char*> pointers;
  pointers.reserve(values.size());
  for (const std::string& value : values) {
    pointers.push_back(value.c_str());
  }
  return pointers;
}

}  // namespace marrowfield
