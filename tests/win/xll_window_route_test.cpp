// Finding the own Application through the host's windows, with no macro,
// under Wine: the fake Excel's real XLMAIN / XLDESK / EXCEL7 windows hand
// out Window objects through WM_GETOBJECT, and its Excel 4.0 macros can be
// blocked as today's Excel blocks them. First the real XLL opening in such
// hosts (Excel4 only here: this program exports no MdCallBack12, so
// xlGetHwnd gives the low word), then the bridge itself, whose debugger
// lines and later lookups the test can read.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "automation_bridge.h"
#include "bridge_rig.h"
#include "bridge_state.h"
#include "fake_host_documents.h"
#include "fake_xlcall32.h"
#include "host_functions.h"
#include "win32/fake_excel_windows.h"
#include "win32/other_excel_process.h"
#include "win32/xll_module.h"
#include "win32_host_windows.h"

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

class WindowRoute : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    rig_ = MakeBridgeRig();
    windows_ = std::make_unique<FakeExcelWindows>(ComExcelOf(*rig_));
  }

  void TearDown() override {
    foreign_.reset();
    windows_.reset();
    rig_->Withdraw();
    // Every reference given back once, the windows' Window objects too.
    EXPECT_EQ(rig_->model().OutstandingReferences(), 0);
    EXPECT_EQ(rig_->model().overReleases(), 0);
    EXPECT_EQ(rig_->model().deadUses(), 0);
    EXPECT_EQ(fake_xl_open_documents(), 0);
  }

  // A process with one saved workbook of one sheet.
  int AddHost(bool own, const std::string& bookPath) {
    const int process = own ? rig_->AddOwnProcess() : rig_->AddForeignProcess();
    const int book = rig_->model().AddWorkbook(process, bookPath);
    rig_->model().AddWorksheet(process, book, "Sheet1");
    return process;
  }

  // How often the Workbooks of |process|'s Application were fetched: once
  // by the connection that found it.
  int WorkbooksFetched(int process) const {
    int count = 0;
    for (const InvokeRecord& record : rig_->model().invokes()) {
      if (record.process == process && record.kind == ModelKind::kApplication &&
          record.member == kWorkbooksMember) {
        ++count;
      }
    }
    return count;
  }

  int HostCalls(int function) const {
    int count = 0;
    for (int i = 0; i < fake_xl_call_count(); ++i) {
      if (fake_xl_call_function(i) == function) ++count;
    }
    return count;
  }

  std::unique_ptr<BridgeRig> rig_;
  std::unique_ptr<FakeExcelWindows> windows_;
  std::unique_ptr<WindowsOfAnotherThread> foreign_;
};

// The real XLL, opened and closed by the fake host.
class XllWindowRoute : public WindowRoute {
 protected:
  void SetUp() override {
    WindowRoute::SetUp();
    fake_xl_set_addin_path(xllPath_.c_str());
  }

  // Opens the XLL, runs |whileOpen|, closes it again.
  template <typename Check>
  void WhileOpen(Check&& whileOpen) {
    // What the published registrations hold, before the XLL holds more.
    published_ = rig_->model().OutstandingReferences();
    XllModule xll(xllPath_);
    xll.Get<EntryFunction>("xlAutoOpen")();
    whileOpen();
    xll.Get<EntryFunction>("xlAutoClose")();
  }

  // References the XLL holds while open.
  int HeldByTheXll() const {
    return rig_->model().OutstandingReferences() - published_;
  }

  const std::string xllPath_ = ProgramDirectory() + kXllFileName;
  int published_ = 0;
};

TEST_F(XllWindowRoute, XlmBlocked_OpenFindsItsApplicationThroughItsWindow) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().BlockMacros(own);
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  HWND main = windows_->AddMainWindow(own);
  HWND book = windows_->AddWorkbookWindow(main, 0);
  ASSERT_NE(book, nullptr);
  fake_xl_set_main_window(HandleValue(main));

  WhileOpen([&] {
    EXPECT_EQ(windows_->Queries(book), 1);
    EXPECT_TRUE(rig_->model().macros(own).empty()) << "a macro was run";
    EXPECT_EQ(HostCalls(xlGetHwnd), 1);
    // Connected: the Application's Workbooks fetched, both references held
    // and nothing else (the Window objects went back).
    EXPECT_EQ(WorkbooksFetched(own), 1);
    EXPECT_EQ(HeldByTheXll(), 2);
    EXPECT_EQ(fake_xl_screen_updating(), 1);
  });
}

struct TwoHostsCase {
  const char* name;
  bool hostNamesForeignWindow;  // xlGetHwnd's low word is the other's
};

class XllTwoHostsWithWindows
    : public XllWindowRoute,
      public ::testing::WithParamInterface<TwoHostsCase> {};

TEST_P(XllTwoHostsWithWindows, OpenPicksItsOwnNeverAsksTheOther) {
  const int foreign = AddHost(false, "C:\\Books\\foreign.xlsx");
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().BlockMacros(own);
  rig_->model().BlockMacros(foreign);
  rig_->model().SetActiveProcess(foreign);
  rig_->Publish();
  HWND foreignMain = nullptr;
  HWND foreignBook = nullptr;
  foreign_ = std::make_unique<WindowsOfAnotherThread>(
      ComExcelOf(*rig_), [&](FakeExcelWindows& windows) {
        foreignMain = windows.AddMainWindow(foreign);
        foreignBook = windows.AddWorkbookWindow(foreignMain, 0);
      });
  ASSERT_NE(foreignBook, nullptr);
  HWND main = windows_->AddMainWindow(own);
  HWND book = windows_->AddWorkbookWindow(main, 0);
  ASSERT_NE(book, nullptr);
  ASSERT_NE(LOWORD(HandleValue(main)), LOWORD(HandleValue(foreignMain)));
  fake_xl_set_main_window(
      HandleValue(GetParam().hostNamesForeignWindow ? foreignMain : main));

  WhileOpen([&] {
    EXPECT_EQ(foreign_->windows().Queries(foreignBook), 0);
    EXPECT_EQ(windows_->Queries(book), 1);
    EXPECT_EQ(WorkbooksFetched(own), 1);
    EXPECT_EQ(WorkbooksFetched(foreign), 0);
    EXPECT_EQ(rig_->foreignProbes(), 0);
  });
}

INSTANTIATE_TEST_SUITE_P(
    HostNames, XllTwoHostsWithWindows,
    ::testing::Values(TwoHostsCase{"ItsOwnMainWindow", false},
                      TwoHostsCase{"TheOtherProcesssWindow", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(XllWindowRoute, ProtectedViewWindow_PassedOver_NextMainWindowServes) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  const int mail = rig_->model().AddWorkbook(own, "C:\\Mail\\attached.xlsx");
  rig_->model().AddWorksheet(own, mail, "Sheet1");
  rig_->model().SetProtectedView(own, mail, true);
  rig_->model().BlockMacros(own);
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  // One main window per workbook, as Excel 2013 and later have; the host
  // names the one in Protected View.
  HWND protectedMain = windows_->AddMainWindow(own);
  HWND protectedBook = windows_->AddWorkbookWindow(protectedMain, mail);
  HWND main = windows_->AddMainWindow(own);
  HWND book = windows_->AddWorkbookWindow(main, 0);
  ASSERT_NE(book, nullptr);
  fake_xl_set_main_window(HandleValue(protectedMain));

  WhileOpen([&] {
    EXPECT_EQ(windows_->Queries(protectedBook), 1);
    EXPECT_EQ(windows_->Queries(book), 1);
    EXPECT_EQ(WorkbooksFetched(own), 1);
  });
}

TEST_F(XllWindowRoute, OnlyProtectedViewAndXlmBlocked_HoldsNothing) {
  const int own = AddHost(true, "C:\\Mail\\attached.xlsx");
  rig_->model().SetProtectedView(own, 0, true);
  rig_->model().BlockMacros(own);
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  HWND main = windows_->AddMainWindow(own);
  HWND book = windows_->AddWorkbookWindow(main, 0);
  fake_xl_set_main_window(HandleValue(main));

  WhileOpen([&] {
    EXPECT_EQ(windows_->Queries(book), 1);
    // The probe was tried last (on each candidate), and refused.
    EXPECT_FALSE(rig_->model().macros(own).empty());
    EXPECT_EQ(WorkbooksFetched(own), 0);
    EXPECT_EQ(HeldByTheXll(), 0);
  });
}

TEST_F(XllWindowRoute, XlmAllowedNoWorkbookWindow_TheProbeStillConnects) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  HWND main = windows_->AddMainWindow(own);  // an XLDESK with no EXCEL7
  fake_xl_set_main_window(HandleValue(main));

  WhileOpen([&] {
    ASSERT_EQ(rig_->model().macros(own).size(), 1u);
    EXPECT_EQ(rig_->model().macros(own)[0],
              "cALL(\"" + xllPath_ + "\",\"CheckInstance\",\"j\")");
    EXPECT_EQ(WorkbooksFetched(own), 1);
  });
}

// Two Excel processes, macros allowed, and no workbook window in the own
// one: the probe is the way left. The other process is the active Excel and
// is asked first; CheckInstance runs there, in that process's own copy of
// the XLL, which is not this one, so the probe fails there and the XLL goes
// on through the running-object table to its own Excel.
TEST_F(XllWindowRoute, OtherProcessIsTheActiveExcel_ProbeRefusedThere_OwnFound) {
  OtherExcelProcess other("C:\\Books\\other.xlsx", true);
  ASSERT_TRUE(other.started());
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->Publish();  // its workbook only: the other is the active Excel
  HWND main = windows_->AddMainWindow(own);  // an XLDESK with no EXCEL7
  ASSERT_NE(main, nullptr);
  ASSERT_NE(LOWORD(HandleValue(main)), LOWORD(HandleValue(other.mainWindow())));
  fake_xl_set_main_window(HandleValue(other.mainWindow()));

  WhileOpen([&] {
    ASSERT_EQ(rig_->model().macros(own).size(), 1u);
    EXPECT_EQ(WorkbooksFetched(own), 1);
    EXPECT_EQ(HeldByTheXll(), 2);
  });
  const OtherExcelAnswers asked = other.Stop();
  EXPECT_GE(asked.probes, 1);
  EXPECT_EQ(asked.windowQueries, 0);
  EXPECT_EQ(asked.workbooksFetched, 0);
  EXPECT_EQ(asked.referencesOutstanding, 0);
}

// The bridge of this program, with its own CheckInstance and a debugger
// output the test reads.
class BridgeWindowRoute : public WindowRoute {
 protected:
  void SetUp() override {
    WindowRoute::SetUp();
    fake_xl_set_addin_path(rig_->LibraryPath().c_str());
    g_pdispXL = nullptr;
    g_pdispWorkbooks = nullptr;
    g_bInstanceFlag = false;
    g_bOkayToSetIFlag = false;
    hostWindows_ = std::make_unique<Win32HostWindows>(rig_->port());
    bridge_ = std::make_unique<AutomationBridge>(rig_->port(), rig_->debug(),
                                                 hostWindows_.get());
  }

  void TearDown() override {
    bridge_->ReleaseApplication();
    ForgetHostConnection();
    bridge_.reset();
    WindowRoute::TearDown();
  }

  int Found() {
    HostObject application = bridge_->Application();
    return rig_->ObjectOf(application.get());
  }

  std::vector<std::string> LinesStartingWith(const std::string& start) const {
    std::vector<std::string> lines;
    for (const std::string& line : rig_->debugLines()) {
      if (line.compare(0, start.size(), start) == 0) lines.push_back(line);
    }
    return lines;
  }

  std::unique_ptr<Win32HostWindows> hostWindows_;
  std::unique_ptr<AutomationBridge> bridge_;
};

TEST_F(BridgeWindowRoute, NothingFoundEitherWay_OneDebuggerLineSaysSo) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().BlockMacros(own);
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  windows_->AddMainWindow(own);

  EXPECT_EQ(bridge_->ConnectToHost(), kEFail);

  const auto lines = LinesStartingWith("FindOwnApplication:");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("0 workbook window"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("CheckInstance probe failed"), std::string::npos)
      << lines[0];
  EXPECT_EQ(lines[0].back(), '\n');
  EXPECT_EQ(g_pdispXL, nullptr);
}

TEST_F(BridgeWindowRoute, NoWorkbookAtOpen_FoundOnceAWorkbookWindowOpens) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().BlockMacros(own);
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  HWND main = windows_->AddMainWindow(own);
  fake_xl_set_main_window(HandleValue(main));
  EXPECT_EQ(bridge_->ConnectToHost(), kEFail);
  // With no workbook the search is handed no Application, and says so.
  EXPECT_EQ(Found(), 0);

  windows_->AddWorkbookWindow(main, 0);
  EXPECT_EQ(Found(), rig_->model().ApplicationObject(own));
  EXPECT_NE(g_pdispWorkbooks, nullptr);
  // Kept, and checked before each reuse rather than searched for again.
  EXPECT_EQ(Found(), rig_->model().ApplicationObject(own));
  EXPECT_EQ(WorkbooksFetched(own), 1);
}

TEST_F(BridgeWindowRoute, KeptApplicationStopsAnswering_GivenUpFoundAgain) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().BlockMacros(own);
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  HWND main = windows_->AddMainWindow(own);
  HWND book = windows_->AddWorkbookWindow(main, 0);
  fake_xl_set_main_window(HandleValue(main));
  ASSERT_EQ(bridge_->ConnectToHost(), kSOk);
  EXPECT_EQ(Found(), rig_->model().ApplicationObject(own));
  EXPECT_EQ(windows_->Queries(book), 1);

  // RPC_E_DISCONNECTED, as a host that went away answers.
  rig_->model().FailMember(own, ModelKind::kApplication, 0x0188,
                           static_cast<int32_t>(0x80010108u));
  EXPECT_EQ(Found(), rig_->model().ApplicationObject(own));
  EXPECT_EQ(
      LinesStartingWith("The host's Application no longer answers").size(), 1u);
  EXPECT_EQ(windows_->Queries(book), 2);
  EXPECT_EQ(WorkbooksFetched(own), 2);
}

}  // namespace
}  // namespace marrowfield
