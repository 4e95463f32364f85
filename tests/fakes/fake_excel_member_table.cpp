// The one table of Excel's members the fake serves. Identifiers and kinds
// are those of Excel's type library (the same for every version since
// Excel 97; Hwnd since Excel 2002); every object also has Application.

#include "fake_excel_member_table.h"

#include <cctype>
#include <cstddef>

namespace marrowfield {
namespace {

constexpr uint16_t M = kModelMethod;
constexpr uint16_t G = kModelGet;
constexpr uint16_t P = kModelPut;

constexpr ModelMember kMembers[] = {
    {ModelKind::kApplication, "ExecuteExcel4Macro", 0x015E, M},
    {ModelKind::kApplication, "Workbooks", 0x023C, G},
    {ModelKind::kApplication, "ActiveSheet", 0x0133, G},
    {ModelKind::kApplication, "Worksheets", 0x01EE, G},
    {ModelKind::kApplication, "Sheets", 0x01E5, G},
    {ModelKind::kApplication, "AddIns", 0x0225, G},
    {ModelKind::kApplication, "Quit", 0x012E, M},
    {ModelKind::kApplication, "DisplayAlerts", 0x0157, G | P},
    {ModelKind::kApplication, "Hwnd", 0x079E, G},
    {ModelKind::kApplication, "Version", 0x0188, G},
    {ModelKind::kApplication, "ActiveCell", 0x0131, G},
    {ModelKind::kApplication, "ActiveWindow", 0x02F7, G},
    {ModelKind::kWorkbooks, "Add", 0x00B5, M},
    {ModelKind::kWorkbooks, "Count", 0x0076, G},
    {ModelKind::kWorkbook, "Close", 0x0115, M},
    {ModelKind::kWorkbook, "Worksheets", 0x01EE, G},
    {ModelKind::kWorkbook, "Sheets", 0x01E5, G},
    {ModelKind::kWorksheets, "Item", 0x00AA, G},
    {ModelKind::kWorksheets, "Count", 0x0076, G},
    {ModelKind::kWorksheets, "Add", 0x00B5, M},
    {ModelKind::kSheets, "Item", 0x00AA, G},
    {ModelKind::kSheets, "Count", 0x0076, G},
    {ModelKind::kWorksheet, "Index", 0x01E6, G},
    {ModelKind::kWorksheet, "UsedRange", 0x019C, G},
    {ModelKind::kWorksheet, "Activate", 0x0130, M},
    {ModelKind::kWorksheet, "Name", 0x006E, G | P},
    {ModelKind::kWorksheet, "Range", 0x00C5, G},
    {ModelKind::kChart, "Index", 0x01E6, G},
    {ModelKind::kChart, "Activate", 0x0130, M},
    {ModelKind::kChart, "Name", 0x006E, G | P},
    {ModelKind::kRange, "Value", 0x0006, G | P},
    {ModelKind::kRange, "_Default", 0x0000, G | P},
    {ModelKind::kRange, "Activate", 0x0130, M},
    {ModelKind::kRange, "Row", 0x0101, G},
    {ModelKind::kRange, "Column", 0x00F0, G},
    {ModelKind::kRange, "EntireColumn", 0x00F6, G},
    {ModelKind::kRange, "AutoFit", 0x00ED, M},
    {ModelKind::kWindow, "SplitColumn", 0x0394, G | P},
    {ModelKind::kWindow, "SplitRow", 0x0395, G | P},
    {ModelKind::kWindow, "FreezePanes", 0x028A, G | P},
    {ModelKind::kAddIns, "Add", 0x00B5, M},
    {ModelKind::kAddIns, "Item", 0x00AA, G},
    {ModelKind::kAddIns, "Count", 0x0076, G},
    {ModelKind::kAddIn, "Installed", 0x0226, G | P},
    {ModelKind::kAddIn, "Name", 0x006E, G},
    {ModelKind::kAddIn, "FullName", 0x0121, G},
};

// Every object of Excel's library answers Application.
constexpr ModelMember kApplicationOf = {ModelKind::kApplication, "Application",
                                        0x0094, G};

}  // namespace

bool SameModelName(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return i == a.size() && b[i] == '\0';
}

const ModelMember* FindModelMember(ModelKind owner, const std::string& name) {
  if (SameModelName(name, kApplicationOf.name)) return &kApplicationOf;
  for (const ModelMember& member : kMembers) {
    if (member.owner == owner && SameModelName(name, member.name)) {
      return &member;
    }
  }
  return nullptr;
}

const ModelMember* FindModelMember(ModelKind owner, int32_t dispId) {
  if (dispId == kApplicationOf.dispId) return &kApplicationOf;
  for (const ModelMember& member : kMembers) {
    if (member.owner == owner && member.dispId == dispId) return &member;
  }
  return nullptr;
}

}  // namespace marrowfield
