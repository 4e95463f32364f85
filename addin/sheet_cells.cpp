// The bridge's side of the search dialog: one read of the active sheet's
// used range, turned into the grid that the sheet search takes, and the
// jump back to a found cell.

#include "sheet_cells.h"

#include <limits>
#include <utility>

#include "host_call_error.h"

namespace marrowfield {
namespace {

GridCell ToGridCell(const AutomationValue& value, int32_t row, int32_t column) {
  GridCell cell;
  cell.row = row;
  cell.column = column;
  if (value.kind() == ValueKind::kString) {
    cell.isText = true;
    cell.text = value.text();
  }
  return cell;
}

}  // namespace

ActiveSheetValues ReadActiveSheet(HostObject& application) {
  ActiveSheetValues values;
  HostObject sheet = application.ActiveSheet();
  if (sheet.IsNull()) return values;
  values.found = true;
  values.sheetIndex = sheet.Index();
  HostObject usedRange;
  try {
    usedRange = sheet.UsedRange();
  } catch (const HostCallError& error) {
    // Only worksheets have cells; Excel's type library gives a chart sheet
    // no UsedRange.
    if (error.hresult() != kDispEMemberNotFound) throw;
    values.worksheet = false;
    return values;
  }
  values.value = usedRange.Value();
  return values;
}

CellGrid ToCellGrid(const AutomationValue& value) {
  CellGrid grid;
  switch (value.kind()) {
    case ValueKind::kEmpty:
      return grid;
    case ValueKind::kArray: {
      const AutomationArray& array = value.array();
      for (int32_t row = 1; row <= array.rows; ++row) {
        for (int32_t column = 1; column <= array.columns; ++column) {
          grid.push_back(ToGridCell(array.At(row, column), row, column));
        }
      }
      return grid;
    }
    default:
      grid.push_back(ToGridCell(value, 1, 1));
      return grid;
  }
}

bool ActivateFoundCell(HostObject& application, int32_t sheetIndex, int32_t row,
                       int32_t column) {
  if (application.IsNull()) return false;
  if (sheetIndex < 1 || sheetIndex > std::numeric_limits<int16_t>::max()) {
    return false;
  }
  HostObject usedRange;
  {
    HostObject sheets = application.Sheets();
    HostObject sheet = sheets.Item(static_cast<int16_t>(sheetIndex));
    usedRange = sheet.UsedRange();
    sheet.ActivateSheet();
  }
  AutomationValue cell = usedRange.Cell(row, column);
  HostObject cellObject(cell.TakeObject());
  if (cellObject.IsNull()) return false;
  cellObject.ActivateRange();
  return true;
}

}  // namespace marrowfield
