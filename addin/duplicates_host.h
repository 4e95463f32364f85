// The host's side of Find duplicates: one read of the active sheet's used
// range (and where it lies, and the active cell), and the result sheet
// written in one assignment of the whole array. Every call goes through
// HostObject, on the host's own thread.

#ifndef MARROWFIELD_ADDIN_DUPLICATES_HOST_H_
#define MARROWFIELD_ADDIN_DUPLICATES_HOST_H_

#include <cstdint>
#include <string>

#include "automation_value.h"
#include "duplicates_sheet.h"
#include "host_object.h"

namespace marrowfield {

struct DuplicatesSource {
  // False when the host has no active sheet (no workbook open, or no
  // connection); the other fields are then empty.
  bool found = false;
  // False when the active sheet has no cells (a chart sheet).
  bool worksheet = true;
  std::string sheetName;
  UsedCells cells;
  // The sheet column of the active cell; 0 when there is none.
  int32_t activeColumn = 0;
};

// ActiveSheet of |application|, its Name and UsedRange, the range's Row,
// Column and Value (the one read of the cells), and the active cell's
// Column. Throws HostCallError when a host call fails, except UsedRange on
// a chart sheet (not a worksheet).
DuplicatesSource ReadDuplicatesSource(HostObject& application);

// Adds a worksheet to the active workbook, names it DuplicatesSheetName of
// the names its sheets already have, assigns |table| to the range of its
// shape from A1 in one Value assignment, autofits those columns and
// freezes the first row in the active window (the new sheet's). Returns
// the sheet's name. Throws HostCallError when a host call fails.
// REQUIRES: |table| has at least one row and kDuplicatesColumns columns.
std::string WriteDuplicatesSheet(HostObject& application,
                                 AutomationArray table);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_DUPLICATES_HOST_H_
