// The real XLL finding its Application through its host's windows when the
// host offers Excel12, as Excel 2007 and later do (this program exports
// MdCallBack12): xlGetHwnd then names the whole main-window handle, which
// the XLL takes only when the window belongs to its own thread -- not when
// it is another thread's, nor another Excel process's. The fake Excels are
// neither registered nor published here, so no other way to an Application
// exists and these tests can run beside any other.

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <memory>
#include <string>

#include "fake_excel_model.h"
#include "fake_xlcall32.h"
#include "host_functions.h"
#include "win32/com_fake_excel.h"
#include "win32/fake_excel_windows.h"
#include "win32/other_excel_process.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

#if defined(_WIN64)
#define XLL_CALL
#else
#define XLL_CALL __stdcall
#endif
using EntryFunction = int(XLL_CALL*)();

constexpr int32_t kWorkbooksMember = 0x023C;

long long HandleValue(HWND window) {
  return static_cast<long long>(reinterpret_cast<intptr_t>(window));
}

struct NamedWindowCase {
  const char* name;
  bool namesAnotherThreadsWindow;
};

class XllWindowRoute12 : public ::testing::TestWithParam<NamedWindowCase> {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    fake_xl_reset();
    fake_xl_set_addin_path(xllPath_.c_str());
    excel_ = std::make_unique<ComFakeExcel>(model_, false);
    windows_ = std::make_unique<FakeExcelWindows>(*excel_);
    process_ =
        model_.AddProcess([](const std::string&, int32_t*) { return false; });
    const int book = model_.AddWorkbook(process_, "C:\\Books\\own.xlsx");
    model_.AddWorksheet(process_, book, "Sheet1");
    model_.BlockMacros(process_);
  }

  void TearDown() override {
    other_.reset();
    windows_.reset();
    EXPECT_EQ(model_.OutstandingReferences(), 0);
    EXPECT_EQ(model_.overReleases(), 0);
    excel_.reset();
    OleUninitialize();
  }

  int Excel4Calls(int function) const {
    int count = 0;
    for (int i = 0; i < fake_xl_call_count(); ++i) {
      if (fake_xl_call_function(i) == function) ++count;
    }
    return count;
  }

  int Excel12Calls(int function) const {
    int count = 0;
    for (int i = 0; i < fake_xl_call12_count(); ++i) {
      if (fake_xl_call12_function(i) == function) ++count;
    }
    return count;
  }

  int WorkbooksFetched() const {
    int count = 0;
    for (const InvokeRecord& record : model_.invokes()) {
      if (record.kind == ModelKind::kApplication &&
          record.member == kWorkbooksMember) {
        ++count;
      }
    }
    return count;
  }

  const std::string xllPath_ = ProgramDirectory() + kXllFileName;
  FakeExcelModel model_;
  std::unique_ptr<ComFakeExcel> excel_;
  std::unique_ptr<FakeExcelWindows> windows_;
  std::unique_ptr<WindowsOfAnotherThread> other_;
  int process_ = -1;
};

TEST_P(XllWindowRoute12, XlmBlocked_OpenFindsItsApplicationThroughItsWindow) {
  HWND main = windows_->AddMainWindow(process_);
  HWND book = windows_->AddWorkbookWindow(main, 0);
  ASSERT_NE(book, nullptr);
  HWND named = main;
  if (GetParam().namesAnotherThreadsWindow) {
    // A window of the right class, of the same process, but not of the
    // thread the host calls the add-in on.
    other_ = std::make_unique<WindowsOfAnotherThread>(
        *excel_, [&](FakeExcelWindows& windows) {
          named = windows.AddMainWindow(process_);
        });
  }
  fake_xl_set_main_window(HandleValue(named));
  {
    XllModule xll(xllPath_);
    xll.Get<EntryFunction>("xlAutoOpen")();
    EXPECT_EQ(Excel12Calls(xlGetHwnd), 1);
    EXPECT_EQ(Excel4Calls(xlGetHwnd), 0);
    EXPECT_EQ(windows_->Queries(book), 1);
    EXPECT_EQ(WorkbooksFetched(), 1);
    // The Application and its Workbooks, nothing else.
    EXPECT_EQ(model_.OutstandingReferences(), 2);
    EXPECT_TRUE(model_.macros(process_).empty());
    xll.Get<EntryFunction>("xlAutoClose")();
  }
}

INSTANTIATE_TEST_SUITE_P(
    HostNames, XllWindowRoute12,
    ::testing::Values(NamedWindowCase{"ItsMainWindow", false},
                      NamedWindowCase{"AnotherThreadsWindow", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Two Excel processes, each with a workbook in its windows; the host names
// the other process's main window, which GetWindowThreadProcessId puts on a
// thread (and a process) that is not the host's.
class XllWindowRoute12OtherProcess : public XllWindowRoute12 {};

TEST_F(XllWindowRoute12OtherProcess,
       HostNamesTheOtherProcesssWindow_OwnFoundTheOtherNeverAsked) {
  OtherExcelProcess other("C:\\Books\\other.xlsx", false);
  ASSERT_TRUE(other.started());
  DWORD otherProcess = 0;
  GetWindowThreadProcessId(other.mainWindow(), &otherProcess);
  ASSERT_NE(otherProcess, GetCurrentProcessId());
  HWND main = windows_->AddMainWindow(process_);
  HWND book = windows_->AddWorkbookWindow(main, 0);
  ASSERT_NE(book, nullptr);
  fake_xl_set_main_window(HandleValue(other.mainWindow()));
  {
    XllModule xll(xllPath_);
    xll.Get<EntryFunction>("xlAutoOpen")();
    EXPECT_EQ(Excel12Calls(xlGetHwnd), 1);
    EXPECT_EQ(windows_->Queries(book), 1);
    EXPECT_EQ(WorkbooksFetched(), 1);
    EXPECT_EQ(model_.OutstandingReferences(), 2);
    xll.Get<EntryFunction>("xlAutoClose")();
  }
  const OtherExcelAnswers asked = other.Stop();
  EXPECT_EQ(asked.windowQueries, 0);
  EXPECT_EQ(asked.workbooksFetched, 0);
  EXPECT_EQ(asked.probes, 0);
  EXPECT_EQ(asked.referencesOutstanding, 0);
}

}  // namespace
}  // namespace marrowfield
