// OtherExcelProcess: a second fake Excel in a process of its own
// (fake_excel_server.exe --workbook), with a workbook shown in its own
// XLMAIN / XLDESK / EXCEL7 windows, for the tests in which the add-in,
// loaded into the test program's fake Excel, must tell its own Excel from
// another one on the same desktop. What the other process was asked (its
// workbook window's native object, its Workbooks, CheckInstance probes) it
// writes to a log when it stops.

#ifndef MARROWFIELD_TESTS_WIN_WIN32_OTHER_EXCEL_PROCESS_H_
#define MARROWFIELD_TESTS_WIN_WIN32_OTHER_EXCEL_PROCESS_H_

#include <windows.h>

#include <string>

namespace marrowfield {

// What the other process logged about the questions it was asked; -1
// where its log said nothing.
struct OtherExcelAnswers {
  int windowQueries = -1;
  int workbooksFetched = -1;
  int probes = -1;
  int referencesOutstanding = -1;
};

class OtherExcelProcess {
 public:
  // Starts fake_excel_server.exe from this program's folder with one
  // workbook, |bookPath|. |publish|: registered as the active Excel, its
  // workbook in the running-object table. Returns once it stands, or gave
  // up (started() is then false).
  OtherExcelProcess(const std::string& bookPath, bool publish);
  // Stops it if Stop was not called.
  ~OtherExcelProcess();
  OtherExcelProcess(const OtherExcelProcess&) = delete;
  OtherExcelProcess& operator=(const OtherExcelProcess&) = delete;

  bool started() const { return mainWindow_ != nullptr; }
  // Its XLMAIN window, a window of another process.
  HWND mainWindow() const { return mainWindow_; }

  // Tells it to stop, waits for it to end and reads its log; every field
  // -1 when it did not end within seconds.
  OtherExcelAnswers Stop();

 private:
  std::string folder_;
  HANDLE ready_ = nullptr;
  HANDLE stop_ = nullptr;
  PROCESS_INFORMATION process_{};
  HWND mainWindow_ = nullptr;
  bool stopped_ = false;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_OTHER_EXCEL_PROCESS_H_
