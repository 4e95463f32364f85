// The Find duplicates command's logic, apart from the host: which column of
// the used range it reads and whether its first row is a header, the rows
// of the result sheet (one per cell that falls in a group, from one shared
// sheet dedupe of the column's texts) as the two-dimensional array written
// in one assignment, and the name of the new sheet.

#ifndef MARROWFIELD_ADDIN_DUPLICATES_SHEET_H_
#define MARROWFIELD_ADDIN_DUPLICATES_SHEET_H_

#include <cstdint>
#include <string>
#include <vector>

#include "automation_value.h"
#include "sheet_dedupe.h"
#include "sheet_scoring.h"

namespace marrowfield {

// The cells of a used range as Find duplicates sees them.
struct UsedCells {
  enum class Kind : uint8_t { kEmpty, kText, kOther };
  int32_t top = 1;   // the sheet row of the range's first row
  int32_t left = 1;  // the sheet column of its first column
  int32_t rows = 0;
  int32_t columns = 0;
  // rows * columns cells, rows outer. Only strings are texts; numbers,
  // booleans, errors and empty strings are not (an empty string is empty).
  std::vector<Kind> kinds;
  std::vector<std::string> texts;  // "" for every cell that is not a text

  Kind KindAt(int32_t row, int32_t column) const;
  const std::string& TextAt(int32_t row, int32_t column) const;
};

// A used range's Value (an array, a single value for one cell, empty for
// an empty sheet) whose top-left cell is at sheet row |top|, column |left|.
UsedCells ToUsedCells(const AutomationValue& value, int32_t top, int32_t left);

// Column |column| (1-based) of |cells| alone, where it lies in the sheet;
// empty when there is no such column.
UsedCells ColumnOf(const UsedCells& cells, int32_t column);

// The column (1-based within the used range) the dialog starts with: that
// of the active cell at sheet column |activeColumn| when it lies within the
// used range, else the first.
int32_t DefaultDuplicatesColumn(const UsedCells& cells, int32_t activeColumn);

// Whether the first row of |column| reads as a header: the range has more
// than one row, the cell is a text and so is every other filled cell of the
// first row (a row of labels over the data).
bool FirstRowIsHeader(const UsedCells& cells, int32_t column);

// What the user chose in the dialog.
struct DuplicatesChoice {
  int32_t column = 1;  // within the used range
  bool header = false;
  int accuracy = 60;
  // Word by word unless whole cells are asked for, as the command line's
  // dedupe scores.
  SheetScoring scoring{MF_SCORING_STRICT, false};
};

// One row of the result: a cell of the column that is in a group.
struct DuplicateRow {
  int32_t group = 0;  // from 1, biggest first
  std::string suggested;
  std::string text;
  int32_t score = 0;  // against the suggested spelling
  std::string via;    // the member it joins through
  int32_t sheetRow = 0;
  int32_t sheetColumn = 0;
};

// The rows for |choice|: the dedupe's groups, and a group of its own for
// each text that repeats but sounds like no other (score 100, via itself),
// biggest first (cells, then members; among equals the dedupe's order,
// then first appearance), members in the dedupe's order (the suggestion
// first, then by score), the cells of one text top to bottom. Texts are
// Windows-1252 (Excel's ANSI) and folded from it before scoring. Empty when no
// cell is in a group. Throws as DedupeDistinct does; |run|'s accuracy is
// replaced by the choice's.
std::vector<DuplicateRow> FindDuplicateRows(const UsedCells& cells,
                                            const DuplicatesChoice& choice,
                                            DedupeRun run);

// "B12" for sheet row 12, column 2.
std::string CellAddress(int32_t row, int32_t column);

// =HYPERLINK("#'sheet'!B12","B12"): a link to the cell on |sheetName|.
std::string CellLinkFormula(const std::string& sheetName, int32_t row,
                            int32_t column);

// The result sheet's array: the header row, then one row per entry of
// |rows|: group, suggested spelling, text, score, via and the link to the
// cell of |sheetName|. Texts are written with Excel's text prefix (') so
// that none is read as a number, a date or a formula.
AutomationArray DuplicatesArray(const std::vector<DuplicateRow>& rows,
                                const std::string& sheetName);

// The columns of the result sheet.
constexpr int32_t kDuplicatesColumns = 6;

// "Duplicates", or "Duplicates (2)", "Duplicates (3)", ... : the first not
// among |taken| (compared without regard to case, as Excel compares
// sheet names).
std::string DuplicatesSheetName(const std::vector<std::string>& taken);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_DUPLICATES_SHEET_H_
