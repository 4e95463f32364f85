// Choosing a column and gathering its values. Values are kept exactly as
// the cells hold them: "Smith" and "Smith " are two values (that score 100
// against each other), so every place can be mapped back to its own text.
#include "column_values.h"

#include <unordered_map>
#include <utility>

#include "cell_reference.h"
#include "input_error.h"
#include "read_flags.h"
#include "result_output.h"

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

void AddSheetValues(const LoadedSheet& sheet, int32_t sheetIndex,
                    const std::optional<std::string>& column,
                    ValueTable& table) {
  ColumnChoice choice;
  if (column) choice = FindColumn(sheet, *column);
  std::unordered_map<std::string, size_t> index;
  index.reserve(table.values.size());
  for (size_t i = 0; i < table.values.size(); ++i) {
    index.emplace(table.values[i], i);
  }
  for (const GridCell& cell : sheet.cells) {
    if (!cell.isText || cell.text.empty()) continue;
    if (choice.column != 0 &&
        (cell.column != choice.column || cell.row == choice.headerRow)) {
      continue;
    }
    const auto [found, added] = index.emplace(cell.text, table.values.size());
    if (added) {
      table.values.push_back(cell.text);
      table.counts.push_back(0);
      table.places.emplace_back();
    }
    ++table.counts[found->second];
    table.places[found->second].push_back(
        ValuePlace{sheetIndex, cell.row, cell.column});
    ++table.cells;
  }
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

std::string SummarisePlaces(const ValueTable& table, size_t value,
                            const std::vector<LoadedSheet>& sheets) {
  const std::vector<ValuePlace>& places = table.places.at(value);
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
                     std::vector<LoadedSheet>& sheets, ValueTable& table) {
  LoadedFile file = LoadFile(path, read);
  PrintNotices(file.notices);
  for (LoadedSheet& sheet : file.sheets) {
    sheets.push_back(std::move(sheet));
    AddSheetValues(sheets.back(), static_cast<int32_t>(sheets.size() - 1),
                   column, table);
  }
}

std::vector<std::string> ScoredValues(const ValueTable& table,
                                      TextFolding folding) {
  std::vector<std::string> scored;
  scored.reserve(table.values.size());
  for (const std::string& value : table.values) {
    scored.push_back(FoldToAscii(value, folding));
  }
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
