// Conversions between (row, column) and A1-style references. Column letters
// are bijective base 26: A..Z, then AA..ZZ, then AAA.., with no zero digit.
#include "cell_reference.h"

#include <algorithm>

namespace marrowfield {

std::string ColumnLetters(int32_t column) {
  std::string letters;
  for (int64_t rest = column; rest > 0; rest = (rest - 1) / 26) {
    letters.push_back(static_cast<char>('A' + (rest - 1) % 26));
  }
  std::reverse(letters.begin(), letters.end());
  return letters;
}

std::string CellReference(int32_t row, int32_t column) {
  return ColumnLetters(column) + std::to_string(row);
}

bool ParseCellReference(std::string_view text, int32_t& row, int32_t& column) {
  std::size_t i = 0;
  int64_t parsedColumn = 0;
  for (; i < text.size() && i < 4; ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    parsedColumn = parsedColumn * 26 + (c - 'A' + 1);
  }
  if (i == 0 || parsedColumn > kMaxSheetColumn) return false;
  const std::size_t digitsStart = i;
  int64_t parsedRow = 0;
  for (; i < text.size() && i - digitsStart < 8; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    parsedRow = parsedRow * 10 + (c - '0');
  }
  if (i == digitsStart || i != text.size()) return false;
  if (parsedRow < 1 || parsedRow > kMaxSheetRow) return false;
  row = static_cast<int32_t>(parsedRow);
  column = static_cast<int32_t>(parsedColumn);
  return true;
}

}  // namespace marrowfield
