// Reading the cells of the host's active worksheet for the sheet search,
// and jumping to a cell the search found. Rows and columns here are always
// positions within the worksheet's used range (its top-left cell is row 1,
// column 1), never sheet coordinates, in both directions.

#ifndef MARROWFIELD_ADDIN_SHEET_CELLS_H_
#define MARROWFIELD_ADDIN_SHEET_CELLS_H_

#include <cstdint>

#include "automation_value.h"
#include "host_object.h"
#include "marrowfield/sheet_search.h"

namespace marrowfield {

struct ActiveSheetValues {
  // False when the host has no active sheet (no workbook open, or no
  // connection); the other fields are then empty.
  bool found = false;
  // False when the active sheet has no cells (a chart sheet); the value is
  // then empty.
  bool worksheet = true;
  // The sheet's Index, its position among the workbook's sheets.
  int32_t sheetIndex = 0;
  // The used range's Value: an array of rows by columns, a single value for
  // a one-cell range, empty for an empty sheet.
  AutomationValue value;
};

// ActiveSheet of |application|, then its Index, UsedRange and the range's
// Value. A sheet without UsedRange (the host answers DISP_E_MEMBERNOTFOUND,
// as for a chart sheet) is found but not a worksheet. Throws HostCallError
// when any other host call fails.
ActiveSheetValues ReadActiveSheet(HostObject& application);

// The cells of a used range's Value in the order the search visits them,
// rows outer and columns inner: every element of an array at its row and
// column, a single value as row 1, column 1, nothing for an empty value.
// Only strings are text cells; numbers, booleans, errors and empty cells are
// listed as cells that are not text.
CellGrid ToCellGrid(const AutomationValue& value);

// Activates sheet |sheetIndex| of the application's Sheets (Index counts
// every sheet, so Worksheets would miss with a chart sheet before it) and the
// cell at |row|, |column| of its used range, so the host shows and selects
// it. Returns false, calling nothing, when |sheetIndex| cannot name a
// worksheet (below 1 or beyond a 16-bit index) or when not connected.
// Throws HostCallError when a host call fails.
bool ActivateFoundCell(HostObject& application, int32_t sheetIndex, int32_t row,
                       int32_t column);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SHEET_CELLS_H_
