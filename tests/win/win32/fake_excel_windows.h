// FakeExcelWindows: the fake Excel's windows, real ones, as Excel makes
// them: a main window of class XLMAIN per process (Excel 2013 and later:
// per workbook), its XLDESK child, and under that an EXCEL7 window per
// workbook window. An EXCEL7 window answers WM_GETOBJECT for
// OBJID_NATIVEOM with LresultFromObject of the workbook's Window object,
// as Excel's do, so AccessibleObjectFromWindow reaches the model. Windows
// belong to the thread that adds them; every window is destroyed with
// this object, which must go on that thread.

#ifndef MARROWFIELD_TESTS_WIN_WIN32_FAKE_EXCEL_WINDOWS_H_
#define MARROWFIELD_TESTS_WIN_WIN32_FAKE_EXCEL_WINDOWS_H_

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "win32/com_fake_excel.h"

namespace marrowfield {

class FakeExcelWindows {
 public:
  // |excel| must outlive this object.
  explicit FakeExcelWindows(ComFakeExcel& excel) : excel_(excel) {}
  ~FakeExcelWindows();
  FakeExcelWindows(const FakeExcelWindows&) = delete;
  FakeExcelWindows& operator=(const FakeExcelWindows&) = delete;

  // An XLMAIN window of |process| with its XLDESK child, on the calling
  // thread; null when the system refuses.
  HWND AddMainWindow(int process);
  // An EXCEL7 window showing |workbook| of |main|'s process, under |main|'s
  // XLDESK.
  HWND AddWorkbookWindow(HWND main, int workbook);

  // How often |window| was asked for its native object model.
  int Queries(HWND window) const;

  // Per window: what it shows, and the questions it was asked.
  struct Shown {
    FakeExcelWindows* owner;
    int process;
    int workbook;  // -1: not a workbook window
    std::atomic<int> queries{0};
  };

 private:
  HWND Make(const char* className, HWND parent, int process, int workbook);

  ComFakeExcel& excel_;
  std::vector<HWND> made_;  // in the order made; destroyed last first
  std::map<HWND, std::unique_ptr<Shown>> shown_;

  friend LRESULT CALLBACK FakeExcelWindowProc(HWND, UINT, WPARAM, LPARAM);
};

// Another host process's windows as this process sees them: windows of
// another thread, which pumps its messages (as a live Excel does) until
// this object goes.
class WindowsOfAnotherThread {
 public:
  // Runs |build| on the new thread with that thread's FakeExcelWindows and
  // returns once it has run.
  WindowsOfAnotherThread(ComFakeExcel& excel,
                         const std::function<void(FakeExcelWindows&)>& build);
  ~WindowsOfAnotherThread();
  WindowsOfAnotherThread(const WindowsOfAnotherThread&) = delete;
  WindowsOfAnotherThread& operator=(const WindowsOfAnotherThread&) = delete;

  // Valid while this object lives.
  const FakeExcelWindows& windows() const { return *windows_; }

 private:
  std::unique_ptr<FakeExcelWindows> windows_;
  std::thread thread_;
  DWORD threadId_ = 0;
};

// The COM fake Excel behind a rig made by MakeBridgeRig under Wine.
class BridgeRig;
ComFakeExcel& ComExcelOf(BridgeRig& rig);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_FAKE_EXCEL_WINDOWS_H_
