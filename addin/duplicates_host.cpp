// Find duplicates' host calls. The result is written as one array, never
// cell by cell: each call crosses into the host, and a hundred thousand of
// them would take minutes where one takes a moment.

#include "duplicates_host.h"

#include <utility>
#include <vector>

#include "host_call_error.h"
#include "host_members.h"

namespace marrowfield {

DuplicatesSource ReadDuplicatesSource(HostObject& application) {
  DuplicatesSource source;
  HostObject sheet = application.ActiveSheet();
  if (sheet.IsNull()) return source;
  source.found = true;
  source.sheetName = sheet.Name();
  HostObject usedRange;
  try {
    usedRange = sheet.UsedRange();
  } catch (const HostCallError& error) {
    // Only worksheets have cells; a chart sheet has no UsedRange.
    if (error.hresult() != kDispEMemberNotFound) throw;
    source.worksheet = false;
    return source;
  }
  const int32_t top = usedRange.Row();
  const int32_t left = usedRange.Column();
  source.cells = ToUsedCells(usedRange.Value(), top, left);
  HostObject activeCell = application.ActiveCell();
  if (!activeCell.IsNull()) source.activeColumn = activeCell.Column();
  return source;
}

std::string WriteDuplicatesSheet(HostObject& application,
                                 AutomationArray table) {
  std::vector<std::string> taken;
  {
    // Sheets, chart sheets included: a name is unique among all of them.
    HostObject sheets = application.Sheets();
    const int32_t count = sheets.Count();
    for (int32_t i = 1; i <= count && i <= 32767; ++i) {
      taken.push_back(sheets.Item(static_cast<int16_t>(i)).Name());
    }
  }
  const std::string name = DuplicatesSheetName(taken);
  HostObject worksheets = application.Worksheets();
  HostObject sheet = worksheets.AddWorksheet();
  sheet.SetName(name);
  const std::string address = "A1:" + CellAddress(table.rows, table.columns);
  HostObject range = sheet.Range(address);
  range.SetValue(AutomationValue::Array(std::move(table)));
  range.EntireColumn().AutoFit();
  // The new sheet is the active one, so the active window shows it.
  HostObject window = application.ActiveWindow();
  window.SetProperty(kSplitColumnMember, AutomationValue::Int32(0));
  window.SetProperty(kSplitRowMember, AutomationValue::Int32(1));
  window.SetProperty(kFreezePanesMember, AutomationValue::Boolean(true));
  return name;
}

}  // namespace marrowfield
