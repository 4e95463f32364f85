// The values a list command works on: the text cells of the chosen column
// of each input (or of the whole sheet), gathered into distinct values with
// how often and where each occurs.
#ifndef MARROWFIELD_CLI_COLUMN_VALUES_H_
#define MARROWFIELD_CLI_COLUMN_VALUES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "marrowfield/text_folding.h"
#include "spreadsheet_file.h"

namespace marrowfield {

// Where one occurrence of a value lies: the input's index and the cell.
struct ValuePlace {
  int32_t sheetIndex = 0;
  int32_t row = 0;
  int32_t column = 0;
};

// Distinct values in the order first met (input by input, cell by cell),
// with their counts and places (parallel vectors).
struct ValueTable {
  std::vector<std::string> values;
  std::vector<uint64_t> counts;
  std::vector<std::vector<ValuePlace>> places;
  uint64_t cells = 0;  // cells taken, repeats included
  // The values are records (--name): a place is a record's row, and text
  // output speaks of records and rows rather than spellings and cells.
  bool records = false;
};

struct ColumnChoice {
  int32_t column = 0;
  int32_t headerRow = 0;  // the row naming the column; 0 for none
};

// Finds |column| in |sheet|. A delimited file's column may be named by its
// header (a text cell of the first row, matched exactly, else ignoring
// ASCII case) or by its letters ("B", "aa"); a header wins over letters
// that spell it. A workbook's column is named by its letters. Throws
// InputError naming the file when no column fits.
ColumnChoice FindColumn(const LoadedSheet& sheet, const std::string& column);

// Adds the non-empty text cells of |sheet| (tagged |sheetIndex|) to
// |table|: all of them without |column|, else those of that column, the
// header row left out when the column was named by its header. Distinct
// values are found on |threads| threads (0: every core); the table is the
// same for every count.
void AddSheetValues(const LoadedSheet& sheet, int32_t sheetIndex,
                    const std::optional<std::string>& column,
                    ValueTable& table, unsigned threads = 0);

// Adds the non-empty text cells of |sheet| in |columns| (ascending) to
// |table|, as AddSheetValues does.
void AddSheetColumnValues(const LoadedSheet& sheet, int32_t sheetIndex,
                          const std::vector<int32_t>& columns,
                          ValueTable& table, unsigned threads = 0);

// Reads |path| as |read| says (notices go to standard error), appends its
// sheets to |sheets| and adds their values to |table| as AddSheetValues
// does, each sheet tagged with its index in |sheets|. Reads and counts on
// |threads| threads (0: every core).
void LoadSheetValues(const std::string& path, const ReadOptions& read,
                     const std::optional<std::string>& column,
                     std::vector<LoadedSheet>& sheets, ValueTable& table,
                     unsigned threads = 0);

// The places of value |value| of |table| as "FILE:CELL" or
// "FILE:Sheet!CELL"; |sheets| are the inputs the table was built from.
std::vector<std::string> DescribePlaces(const ValueTable& table, size_t value,
                                        const std::vector<LoadedSheet>& sheets);

// The places as above joined by "; ", for a CSV field.
std::string JoinedPlaces(const ValueTable& table, size_t value,
                         const std::vector<LoadedSheet>& sheets);

// For text output: "1 cell: FILE:B2", "5 cells: FILE:B2 FILE:B9 FILE:B12
// and 2 more" (at most kPlacesShown places); for records "1 row: FILE
// row 2", "5 rows: FILE rows 2, 9, 12 and 2 more", each sheet named once
// before its rows.
constexpr size_t kPlacesShown = 3;
std::string SummarisePlaces(const ValueTable& table, size_t value,
                            const std::vector<LoadedSheet>& sheets);

// The values of |table| as they are scored: folded to ASCII as |folding|
// says, in table order. Values that differ only in their accents stay
// separate values (each is shown as the file holds it) and score 100.
// Folded on |threads| threads (0: every core).
std::vector<std::string> ScoredValues(const ValueTable& table,
                                      TextFolding folding,
                                      unsigned threads = 0);

// C strings of |values|, valid while |values| is unchanged.
std::vector<const char*> ValuePointers(const std::vector<std::string>& values);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_COLUMN_VALUES_H_
