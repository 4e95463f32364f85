// The host's published dispatch identifiers for the members the add-in
// calls through HostObject, the names it looks up at run time instead, and
// the locales it passes. Excel fixes these numbers for every version, which
// is why HostObject can call members without asking for their identifiers.

#ifndef MARROWFIELD_ADDIN_HOST_MEMBERS_H_
#define MARROWFIELD_ADDIN_HOST_MEMBERS_H_

#include <cstdint>

namespace marrowfield {

// Dispatch identifiers (Excel's).
constexpr int32_t kDispIdDefaultMember = 0x0000;  // a range's cell
constexpr int32_t kDispIdValue = 0x0006;
constexpr int32_t kDispIdItem = 0x00AA;
constexpr int32_t kDispIdAdd = 0x00B5;
constexpr int32_t kDispIdActivate = 0x0130;
constexpr int32_t kDispIdActiveSheet = 0x0133;
constexpr int32_t kDispIdUsedRange = 0x019C;
constexpr int32_t kDispIdIndex = 0x01E6;
constexpr int32_t kDispIdWorksheets = 0x01EE;
constexpr int32_t kDispIdSheets = 0x01E5;
constexpr int32_t kDispIdWorkbooks = 0x023C;
constexpr int32_t kDispIdVersion = 0x0188;  // Application.Version
constexpr int32_t kDispIdName = 0x006E;
constexpr int32_t kDispIdCount = 0x0076;
constexpr int32_t kDispIdRange = 0x00C5;
constexpr int32_t kDispIdAutoFit = 0x00ED;
constexpr int32_t kDispIdColumn = 0x00F0;
constexpr int32_t kDispIdEntireColumn = 0x00F6;
constexpr int32_t kDispIdRow = 0x0101;
constexpr int32_t kDispIdActiveCell = 0x0131;
constexpr int32_t kDispIdActiveWindow = 0x02F7;

// Members looked up by name.
constexpr const char* kApplicationProgId = "Excel.Application";
constexpr const char* kApplicationMember = "Application";
constexpr const char* kExecuteExcel4MacroMember = "ExecuteExcel4Macro";
constexpr const char* kWorkbooksMember = "Workbooks";
// The window's panes, set after the result sheet of Find duplicates is
// written.
constexpr const char* kSplitColumnMember = "SplitColumn";
constexpr const char* kSplitRowMember = "SplitRow";
constexpr const char* kFreezePanesMember = "FreezePanes";

// The locale of every name lookup and call, here and in the installer:
// English (United States), what VBA passes. Excel resolves the English
// member names and reads every [lcid] argument with it; under other
// regional settings the user's default locale gets 0x80028018 ("Old format
// or invalid type library") for English names.
constexpr uint32_t kLocaleEnglishUs = 0x0409;

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_HOST_MEMBERS_H_
