// FakeExcelWorld: the Excel that MarrowfieldSetup.exe starts under Wine --
// one FakeExcelModel process behind ComFakeExcel's COM objects, whose add-in
// manager does what Excel's does with files and libraries: Add reads the
// file's title through its xlAddInManagerInfo (no such export: not an
// add-in), Installed loads the XLL and runs xlAutoOpen or runs xlAutoClose,
// Quit closes what is loaded. Excel's add-in list outlives the process in
// a file, so a later removal finds what an install added. Everything it
// does is appended to a log the tests read; both files live in the folder
// named by MARROWFIELD_FAKE_EXCEL_DIR.

#ifndef MARROWFIELD_TESTS_WIN_WIN32_FAKE_EXCEL_WORLD_H_
#define MARROWFIELD_TESTS_WIN_WIN32_FAKE_EXCEL_WORLD_H_

#include <oaidl.h>
#include <windows.h>

#include <map>
#include <string>

#include "com_fake_excel.h"
#include "fake_excel_model.h"

namespace marrowfield {

constexpr const char* kFakeExcelDirVariable = "MARROWFIELD_FAKE_EXCEL_DIR";
constexpr const char* kFakeExcelLog = "fake_excel.log";
constexpr const char* kFakeExcelAddinList = "addins.txt";

class FakeExcelWorld {
 public:
  FakeExcelWorld();
  FakeExcelWorld(const FakeExcelWorld&) = delete;
  FakeExcelWorld& operator=(const FakeExcelWorld&) = delete;

  // The Application, with a reference for the caller, as |iid|.
  HRESULT Application(REFIID iid, void** out);

  // Appends "references outstanding N" to the log. Uses nothing but
  // kernel32, so the module's detach may call it.
  void LogOutstandingReferences() noexcept;

 private:
  bool Read(const std::string& path, std::string* title);
  void Switched(const ModelAddin& addin);
  void Quit();
  // Runs xlAutoOpen or xlAutoClose of the library at |path|, loading it
  // first when it is not loaded.
  void RunEntry(const std::string& path, const char* entry);
  void LoadList();
  void SaveList();
  void Log(const std::string& line);

  std::string folder_;
  FakeExcelModel model_;
  ComFakeExcel com_;
  int process_ = 0;
  std::map<std::string, HMODULE> loaded_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_FAKE_EXCEL_WORLD_H_
