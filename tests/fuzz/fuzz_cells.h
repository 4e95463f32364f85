// Promises every workbook reading keeps, whatever the file: cells inside the
// worksheet grid, and no more cells or text than the limits allow.
#ifndef MARROWFIELD_TESTS_FUZZ_FUZZ_CELLS_H_
#define MARROWFIELD_TESTS_FUZZ_FUZZ_CELLS_H_

#include <cstdint>

#include "cell_reference.h"
#include "fuzz_require.h"
#include "marrowfield/sheet_search.h"
#include "reader_limits.h"

namespace marrowfield {

// Limits small enough that no input can make a fuzzing process large, yet
// far beyond what a few kilobytes of honest input could reach.
inline ReaderLimits FuzzLimits() {
  ReaderLimits limits;
  limits.partBytes = 8 * kMebibyte;
  limits.structurePartBytes = kMebibyte;
  limits.inflatedBytes = 16 * kMebibyte;
  limits.cells = 100'000;
  limits.cellTextBytes = 8 * kMebibyte;
  limits.sharedStrings = 100'000;
  limits.xmlPendingBytes = kMebibyte;
  return limits;
}

inline void CheckSheetCells(const CellGrid& cells, const ReaderLimits& limits) {
  Require(cells.size() <= limits.cells, "cells within the limit");
  uint64_t text = 0;
  for (const GridCell& cell : cells) {
    Require(cell.row >= 1 && cell.row <= kMaxSheetRow, "row inside the grid");
    Require(cell.column >= 1 && cell.column <= kMaxSheetColumn,
            "column inside the grid");
    text += cell.text.size();
  }
  Require(text <= limits.cellTextBytes, "text within the limit");
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FUZZ_FUZZ_CELLS_H_
