// Telling word columns from identifier, number and note columns by their
// cells alone, so that the choice needs no header and no configuration.
#include "word_columns.h"

#include <map>

#include "cell_reference.h"

namespace marrowfield {

bool IsWordCell(const GridCell& cell) {
  if (!cell.isText) return false;
  size_t letters = 0;
  size_t others = 0;
  for (const char c : cell.text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= '0' && c <= '9') || c == '@') return false;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || byte >= 0x80) {
      ++letters;
    } else if (c != ' ' && c != '\t') {
      ++others;
    }
  }
  return letters > 0 && letters >= others;
}

std::vector<int32_t> WordColumns(const CellGrid& cells) {
  struct Tally {
    size_t cells = 0;
    size_t words = 0;
  };
  std::map<int32_t, Tally> tallies;
  for (const GridCell& cell : cells) {
    if (cell.text.empty()) continue;
    Tally& tally = tallies[cell.column];
    ++tally.cells;
    if (IsWordCell(cell)) ++tally.words;
  }
  std::vector<int32_t> columns;
  for (const auto& [column, tally] : tallies) {
    if (static_cast<double>(tally.words) >=
        kWordColumnShare * static_cast<double>(tally.cells)) {
      columns.push_back(column);
    }
  }
  return columns;
}

std::string DescribeColumns(const LoadedSheet& sheet,
                            const std::vector<int32_t>& columns) {
  std::map<int32_t, std::string> headers;
  if (!sheet.sheet && !sheet.cells.empty()) {
    const int32_t firstRow = sheet.cells.front().row;
    for (const GridCell& cell : sheet.cells) {
      if (cell.row != firstRow) break;
      if (cell.isText) headers[cell.column] = cell.text;
    }
  }
  std::string described;
  for (const int32_t column : columns) {
    if (!described.empty()) described += ", ";
    const auto header = headers.find(column);
    described +=
        header != headers.end() ? header->second : ColumnLetters(column);
  }
  return described;
}

}  // namespace marrowfield
