// A1-style cell references: column letters and row number, both 1-based.
#ifndef MARROWFIELD_CLI_CELL_REFERENCE_H_
#define MARROWFIELD_CLI_CELL_REFERENCE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace marrowfield {

// The largest row and column a worksheet can have (XFD1048576).
constexpr int32_t kMaxSheetRow = 1048576;
constexpr int32_t kMaxSheetColumn = 16384;

// Returns the column letters of |column| (1 -> "A", 27 -> "AA").
// REQUIRES: column >= 1.
std::string ColumnLetters(int32_t column);

// Returns the A1-style reference of a cell ("B12").
// REQUIRES: row >= 1, column >= 1.
std::string CellReference(int32_t row, int32_t column);

// Parses a worksheet reference such as "B12" (no "$", no sheet name) into
// |row| and |column|. Returns false, leaving both unchanged, when |text| is
// not a reference inside the worksheet limits.
bool ParseCellReference(std::string_view text, int32_t& row, int32_t& column);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_CELL_REFERENCE_H_
