// FakeExcelWorld: the Excel that MarrowfieldSetup.exe starts under Wine --
// one FakeExcelModel process behind ComFakeExcel's COM objects, whose add-in
// manager does what Excel's does with files and libraries: Add reads the
// file's title through its xlAddInManagerInfo (no such export: not an
// add-in), Installed loads the XLL and runs xlAutoOpen or runs xlAutoClose,
// Quit closes what is loaded. Excel's add-in list outlives the process in
// a file, so a later removal finds what an install added. Everything it
// does is appended to a log the tests read; both files live in the folder
// it is given. An alert Excel would show the user (DisplayAlerts left on)
// is logged as "alert".

#ifndef MARROWFIELD_TESTS_WIN_WIN32_FAKE_EXCEL_WORLD_H_
#define MARROWFIELD_TESTS_WIN_WIN32_FAKE_EXCEL_WORLD_H_

#include <oaidl.h>
#include <windows.h>

#include <map>
#include <string>

#include "com_fake_excel.h"
#include "fake_excel_model.h"

namespace marrowfield {

constexpr const char* kFakeExcelLog = "fake_excel.log";
constexpr const char* kFakeExcelAddinList = "addins.txt";

class FakeExcelWorld {
 public:
  // The log and the add-in list live in |folder|. |library| answers the
  // CheckInstance probes the process's macros make (none: they fail).
  explicit FakeExcelWorld(std::string folder,
                          FakeExcelModel::LibraryCall library = {});
  FakeExcelWorld(const FakeExcelWorld&) = delete;
  FakeExcelWorld& operator=(const FakeExcelWorld&) = delete;

  // The Application, with a reference for the caller, as |iid|.
  HRESULT Application(REFIID iid, void** out);

  // Application.Hwnd answers with |window|, as Excel names its main window.
  void SetWindow(HWND window);

  // Appends "references outstanding N" to the log. Uses nothing but
  // kernel32, so the module's detach may call it.
  void LogOutstandingReferences() noexcept;

  // Appends |line| to the log.
  void Note(const std::string& line) { Log(line); }

  bool quitCalled() const { return quitCalled_; }
  int OutstandingReferences() const { return model_.OutstandingReferences(); }

  // The one process, and its model and COM skin, for a world that shows
  // workbooks and windows of its own.
  int process() const { return process_; }
  FakeExcelModel& model() { return model_; }
  ComFakeExcel& com() { return com_; }

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
  bool quitCalled_ = false;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_FAKE_EXCEL_WORLD_H_
