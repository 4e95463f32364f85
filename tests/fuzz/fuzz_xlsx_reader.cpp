// Fuzzes the .xlsx reader with the input taken as a whole workbook file (a
// zip archive): nothing but InputError may come out, and whatever is read
// lies inside the worksheet grid and the limits.

#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_cells.h"
#include "input_error.h"
#include "spreadsheet_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace marrowfield;
  static const ReaderLimits limits = FuzzLimits();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    std::string chosen;
    const CellGrid cells = ReadXlsxSheet(bytes, std::nullopt, chosen, limits);
    CheckSheetCells(cells, limits);
  } catch (const InputError&) {
    // One error line for the user: the expected end for most inputs.
  }
  return 0;
}
