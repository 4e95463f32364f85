// FakeExcel: a small, honest model of what Excel's callback library does
// for the functions the add-in calls. It records each call, keeps the
// menus and registrations the add-in asked for, hands out strings that
// must be given back with xlFree, and counts what was not.

#ifndef MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "xloper.h"

namespace marrowfield {

class FakeExcel {
 public:
  struct Call {
    int32_t function;
    std::vector<std::string> args;  // as DescribeValue gives them
  };

  FakeExcel() { Reset(); }

  void Reset();
  void SetAddinPath(std::string path) { addinPath_ = std::move(path); }
  void SetReturnCode(int32_t code) { forcedCode_ = code; }

  // Excel4v: records the call and answers it.
  int32_t Answer(int32_t function, XLOPER* result, int32_t count,
                 XLOPER* const* args);

  const std::vector<Call>& calls() const { return calls_; }
  int MenuCount(const std::string& name) const;
  // Takes the menus added by add-ins off the bars, as a user may.
  void RemoveMenus();
  // The 1-based place of menu |name| on the worksheet bar; 0: not there.
  int MenuPosition(const std::string& name) const;
  // REGISTER and ADD.MENU calls refused for arguments Excel does not take.
  int refused() const { return refused_; }
  int outstanding() const { return static_cast<int>(handedOut_.size()); }
  int badFrees() const { return badFrees_; }

 private:
  struct Menu {
    double bar;
    std::string text;  // the menu's item text, with its ampersand
    bool builtIn;
  };

  int32_t Free(int32_t count, XLOPER* const* args);
  int32_t Coerce(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t Register(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t GetBar(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t AddMenu(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t DeleteMenu(XLOPER* result, int32_t count, XLOPER* const* args);
  int32_t SetName(XLOPER* result, int32_t count, XLOPER* const* args);

  // A counted string in memory the add-in must give back with xlFree.
  XLOPER HandOutString(const std::string& text);
  std::vector<Menu>::iterator FindMenu(double bar, const std::string& name);
  std::vector<Menu>::iterator NthMenu(double bar, int n);
  int MenusOn(double bar) const;
  bool ValidRegistration(int32_t count, XLOPER* const* args) const;

  std::vector<Call> calls_;
  std::vector<Menu> menus_;
  std::map<std::string, double> registerIds_;
  std::map<const char*, std::unique_ptr<char[]>> handedOut_;
  std::string addinPath_;
  int32_t forcedCode_ = 0;
  int badFrees_ = 0;
  int refused_ = 0;
};

// The one fake host of the process (or of the fake XLCALL32.DLL).
FakeExcel& TheFakeExcel();

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_H_
