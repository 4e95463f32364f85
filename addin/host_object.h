// HostObject: one host automation object (Excel's Application, a worksheet,
// a range, ...) with the typed operations the add-in calls on it. Each
// operation invokes a member by Excel's fixed dispatch identifier and
// converts the result; object results come back as HostObjects that own
// their reference. On a null object every operation does nothing and yields
// the empty answer, so a missing connection reads as "no workbook".

#ifndef MARROWFIELD_ADDIN_HOST_OBJECT_H_
#define MARROWFIELD_ADDIN_HOST_OBJECT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "automation_port.h"
#include "automation_value.h"

struct IDispatch;

namespace marrowfield {

class HostObject {
 public:
  // A null object.
  HostObject() = default;
  // Wraps |object| (may be null). When |releaseOnDestroy| is set, takes
  // over one reference the caller holds, adding none, and releases it once
  // through |port|; otherwise the caller keeps ownership and must keep the
  // object alive while this wrapper is used.
  HostObject(AutomationPort& port, IDispatch* object, bool releaseOnDestroy);
  // Takes over |object|'s reference.
  explicit HostObject(DispatchRef object);
  ~HostObject() { Release(); }
  HostObject(HostObject&& other) noexcept;
  HostObject& operator=(HostObject&& other) noexcept;
  HostObject(const HostObject&) = delete;
  HostObject& operator=(const HostObject&) = delete;

  // Releases the reference (when owned) and leaves the object null.
  void Release() noexcept;

  bool IsNull() const { return object_ == nullptr; }
  IDispatch* get() const { return object_; }

  // Each operation below throws HostCallError with the HRESULT when the
  // host's Invoke fails.

  // Application: the active sheet; null when no workbook is open.
  HostObject ActiveSheet();
  // Application: the Workbooks collection.
  HostObject Workbooks();
  // Application: the active workbook's Worksheets collection.
  HostObject Worksheets();
  // Application: the active workbook's Sheets collection, every sheet in
  // the order of Index, chart sheets included.
  HostObject Sheets();
  // Worksheets or Sheets: the sheet at |index| (from 1), passed as VT_I2.
  HostObject Item(int16_t index);
  // Worksheet: its position among the workbook's sheets; 0 when the host
  // answers with something other than an integer.
  int32_t Index();
  // Worksheet: the range of cells in use.
  HostObject UsedRange();
  // Range: its values (see ReadSheet for the shapes).
  AutomationValue Value();
  // Range: the cell at |row|, |column| (from 1, relative to the range),
  // both passed as VT_I4; the host answers with a range object.
  AutomationValue Cell(int32_t row, int32_t column);
  // Worksheet: makes it the active sheet.
  void ActivateSheet();
  // Range: makes its first cell the active cell.
  void ActivateRange();
  // Workbooks: a new workbook made from the template at |templatePath|.
  HostObject Add(const std::string& templatePath);

  // What Find duplicates needs besides.
  // Worksheet (or any object with a Name): its name; "" when the host
  // answers with something other than a string.
  std::string Name();
  // Worksheet: renames it; the host refuses a name already taken.
  void SetName(const std::string& name);
  // Application: the active cell; null with no workbook open.
  HostObject ActiveCell();
  // Application: the active window.
  HostObject ActiveWindow();
  // Range: the sheet row and column of its first cell; 0 when the host
  // answers with something other than a number.
  int32_t Row();
  int32_t Column();
  // Worksheets: how many there are; 0 as for Row.
  int32_t Count();
  // Worksheets: a new worksheet, which becomes the active sheet.
  HostObject AddWorksheet();
  // Worksheet: the range at |address| ("A1:F10").
  HostObject Range(const std::string& address);
  // Range: assigns |value| (an array of the range's shape, or one value).
  void SetValue(AutomationValue value);
  // Range: its whole columns.
  HostObject EntireColumn();
  // Range of columns: fits their widths to their contents.
  void AutoFit();
  // Sets the property called |name| (looked up by name) to |value|.
  void SetProperty(const std::string& name, AutomationValue value);

 private:
  // Invokes |member|; returns the result (empty when |wantResult| is false
  // or the object is null).
  AutomationValue Call(DispId member, InvokeKind kind,
                       std::vector<AutomationValue> arguments, bool wantResult);
  // The object inside |value| as an owning HostObject; null otherwise.
  static HostObject ObjectResult(AutomationValue value);
  // A number the host answered as VT_I4, VT_I2 or VT_R8; 0 otherwise.
  static int32_t IntegerResult(const AutomationValue& value);

  AutomationPort* port_ = nullptr;
  IDispatch* object_ = nullptr;
  bool releaseOnDestroy_ = false;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_HOST_OBJECT_H_
