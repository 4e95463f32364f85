// FakeExcel: a small, honest model of what Excel's callback library does
// for the functions the add-in calls, through Excel4 and (as Excel 2007
// and later offer it) Excel12. It records each call, keeps the menus and
// registrations the add-in asked for, holds a few sheets of cells that
// references point into, hands out strings and arrays that must be given
// back with xlFree, and counts what was not. Calls may come from several
// threads at once, as they do from thread-safe worksheet functions.

#ifndef MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_H_

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "xloper.h"
#include "xloper12.h"

namespace marrowfield {

class FakeExcel {
 public:
  struct Call {
    int32_t function;
    std::vector<std::string> args;  // as DescribeValue gives them
  };

  // One REGISTER call Excel accepted, with its texts as UTF-8.
  struct Registration {
    std::vector<std::string> texts;  // REGISTER's arguments, as text
    bool wide;                       // made through Excel12
    bool registered;                 // not unregistered since
    double id;
  };

  // One cell of a fake sheet.
  struct Cell {
    uint16_t type;  // xltypeStr, xltypeNum, xltypeBool or xltypeErr
    std::string text;
    double number;
  };

  FakeExcel() { Reset(); }

  void Reset();
  void SetAddinPath(std::string path) { addinPath_ = std::move(path); }
  void SetReturnCode(int32_t code) { forcedCode_ = code; }
  // The handle of the host's main window, which xlGetHwnd names: whole
  // through Excel12, its low 16 bits through Excel4.
  void SetMainWindow(int64_t handle) { mainWindow_ = handle; }

  // Excel4v: records the call and answers it.
  int32_t Answer(int32_t function, XLOPER* result, int32_t count,
                 XLOPER* const* args);
  // MdCallBack12: the same through the wide interface.
  int32_t Answer12(int32_t function, XLOPER12* result, int32_t count,
                   XLOPER12* const* args);

  void OfferExcel12(bool offered) { excel12_ = offered; }
  bool offersExcel12() const { return excel12_; }
  const std::vector<Registration>& registrations() const {
    return registrations_;
  }
  // Excel12 calls, kept apart from the Excel4 record.
  int calls12() const { return static_cast<int>(calls12_.size()); }
  const std::vector<int32_t>& calls12List() const { return calls12_; }

  // Sheets: cells addressed 0-based, sheet ids from 1; references of
  // type xltypeSRef point into sheet 1. A closed sheet cannot be read.
  void SetCell(uintptr_t sheet, int32_t row, int32_t column, Cell cell);
  void ClearCells() { cells_.clear(); }
  void SetSheetClosed(uintptr_t sheet, bool closed);

  const std::vector<Call>& calls() const { return calls_; }
  int MenuCount(const std::string& name) const;
  // Takes the menus added by add-ins off the bars, as a user may.
  void RemoveMenus();
  // The 1-based place of menu |name| on the worksheet bar; 0: not there.
  int MenuPosition(const std::string& name) const;
  // The 1-based place of item |item| in menu |menu| on the worksheet bar;
  // 0 when either is not there.
  int MenuItemPosition(const std::string& menu, const std::string& item) const;
  // REGISTER, ADD.MENU and ADD.COMMAND calls refused for arguments Excel
  // does not take.
  int refused() const { return refused_; }
  int outstanding() const { return static_cast<int>(handedOut_.size()); }
  // Wide values read by a thread-safe function from another thread.
  int coercions() const { return coercions_; }
  int badFrees() const { return badFrees_; }

 private:
  struct Menu {
    double bar;
    std::string text;  // the menu's item text, with its ampersand
    bool builtIn;
    std::vector<std::string> items;  // its commands' texts, in order
  };

  int32_t Free(int32_t count, XLOPER* const* args);
  // Takes back the host memory of a string or array value handed out
  // earlier; memory never handed out counts as a bad free.
  template <typename Value>
  void GiveBack(const Value& value) {
    const void* memory = nullptr;
    if (BaseType(value) == xltypeStr) memory = value.val.str;
    if (BaseType(value) == xltypeMulti) memory = value.val.array.lparray;
    if (memory != nullptr && handedOut_.erase(memory) == 0) ++badFrees_;
  }
  int32_t Coerce(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t Register(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t GetBar(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t AddMenu(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t DeleteMenu(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t AddCommand(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t SetName(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t Unregister(XLOPER* result, int32_t count, XLOPER* const* args);
  // REGISTER through either interface, given its arguments as text (the
  // macro type as its number, -1 when left out or not a number).
  double AcceptRegistration(std::vector<std::string> texts, double macroType,
                            bool wide);
  bool ValidRegistrationTexts(const std::vector<std::string>& texts,
                              double macroType, bool wide) const;

  // The cells of a reference (one area), or false when it cannot be read.
  bool ReferencedCells(uint16_t type, uintptr_t sheet, const XLREF12& area,
                       std::vector<const Cell*>* cells, int32_t* rows,
                       int32_t* columns) const;
  int32_t Coerce12(XLOPER12* result, int32_t count, XLOPER12* const* args);
  int32_t Free12(int32_t count, XLOPER12* const* args);
  XLOPER12 HandOutWideString(const std::string& utf8);
  XLOPER12 HandOutWideMulti(const std::vector<const Cell*>& cells, int32_t rows,
                            int32_t columns);
  XLOPER HandOutMulti(const std::vector<const Cell*>& cells, int32_t rows,
                      int32_t columns);

  // A counted string in memory the add-in must give back with xlFree.
  XLOPER HandOutString(const std::string& text);
  std::vector<Menu>::iterator FindMenu(double bar, const std::string& name);
  std::vector<Menu>::iterator NthMenu(double bar, int n);
  int MenusOn(double bar) const;

  std::vector<Call> calls_;
  std::vector<Menu> menus_;
  std::map<std::string, double> registerIds_;
  // Host memory handed out, by the pointer the add-in gives back.
  std::map<const void*, std::shared_ptr<void>> handedOut_;
  std::vector<Registration> registrations_;
  std::vector<int32_t> calls12_;
  std::unordered_map<uint64_t, Cell> cells_;
  std::vector<uintptr_t> closedSheets_;
  bool excel12_ = true;
  int coercions_ = 0;
  std::recursive_mutex mutex_;
  std::string addinPath_;
  int64_t mainWindow_ = 0;
  int32_t forcedCode_ = 0;
  int badFrees_ = 0;
  int refused_ = 0;
};

// The one fake host of the process (or of the fake XLCALL32.DLL).
FakeExcel& TheFakeExcel();

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_H_
