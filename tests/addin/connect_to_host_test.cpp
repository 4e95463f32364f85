// ConnectToHost's steps in order, as the host's callback library and the
// debugger output see them: the screen switched off and on, the temporary
// document made and closed, OLE initialised once, and the connection given
// back at close.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation_bridge.h"
#include "bridge_state.h"
#include "fake_automation_port.h"
#include "fake_host_documents.h"
#include "fake_ports.h"
#include "fake_xlcall32.h"
#include "host_call_error.h"
#include "host_functions.h"
#include "recorded_calls.h"

namespace marrowfield {
namespace {

constexpr const char* kPath = "C:\\Addins\\MarrowfieldExcel.xll";
constexpr HResult kOleRefused = static_cast<HResult>(0x8001010Au);

class ConnectToHost : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    fake_xl_set_addin_path(kPath);
    g_pdispXL = nullptr;
    g_pdispWorkbooks = nullptr;
    g_bOleInitialized = false;
    g_bInstanceFlag = false;
    own_ = model_.AddProcess([this](const std::string& path, int32_t* a) {
      if (path != kPath) return false;
      *a = CheckInstanceProbe(debug_);
      return true;
    });
    const int book = model_.AddWorkbook(own_, "C:\\b\\own.xlsx");
    model_.AddWorksheet(own_, book, "Sheet1");
    model_.SetActiveProcess(own_);
  }
  void TearDown() override {
    bridge_.ReleaseApplication();
    ForgetHostConnection();
    EXPECT_EQ(model_.OutstandingReferences(), 0);
    EXPECT_EQ(model_.overReleases(), 0);
    EXPECT_EQ(fake_xl_open_documents(), 0);
    EXPECT_EQ(fake_xl_screen_updating(), 1);
    g_bOleInitialized = false;
  }

  std::vector<int> Functions() {
    std::vector<int> functions;
    for (const RecordedCall& call : RecordedCalls()) {
      functions.push_back(call.function);
    }
    return functions;
  }

  FakeExcelModel model_;
  FakeAutomationPort port_{model_};
  FakeDebugOutput debug_;
  AutomationBridge bridge_{port_, debug_};
  int own_ = 0;
};

TEST_F(ConnectToHost, Succeeds_WithEveryStepInOrder) {
  EXPECT_EQ(bridge_.ConnectToHost(), kSOk);

  const std::vector<int> expected = {xlcEcho, xlcNew,   xlGetName,
                                     xlFree,  xlcClose, xlcEcho};
  EXPECT_EQ(Functions(), expected);
  const auto calls = RecordedCalls();
  EXPECT_EQ(calls[0].args, std::vector<std::string>{"bool:0"});
  EXPECT_EQ(calls[1].args, std::vector<std::string>{"num:6"});
  EXPECT_EQ(calls[4].args, std::vector<std::string>{"bool:0"});
  EXPECT_EQ(calls[5].args, std::vector<std::string>{"bool:1"});
  EXPECT_TRUE(g_bOleInitialized);
  EXPECT_EQ(port_.ObjectOf(g_pdispXL), model_.ApplicationObject(own_));
  EXPECT_NE(port_.ObjectOf(g_pdispWorkbooks), 0);
  // The temporary document is closed before Workbooks is asked for.
  EXPECT_EQ(port_.calls.back(), "Invoke 0x023C");
}

TEST_F(ConnectToHost, OleRefuses_NotesItAndStillClosesTheDocument) {
  port_.oleInitializeResult = kOleRefused;

  EXPECT_EQ(bridge_.ConnectToHost(), kOleRefused);

  EXPECT_EQ(debug_.lines, std::vector<std::string>{"OleInitialize Failed\n"});
  EXPECT_FALSE(g_bOleInitialized);
  EXPECT_EQ(RecordedArgsOf(xlcClose).size(), 1u);
  EXPECT_EQ(g_pdispXL, nullptr);
}

TEST_F(ConnectToHost, InitialisesOleOnlyOnce) {
  ASSERT_EQ(bridge_.ConnectToHost(), kSOk);
  bridge_.ReleaseApplication();
  ForgetHostConnection();

  EXPECT_EQ(bridge_.ConnectToHost(), kSOk);
  EXPECT_EQ(port_.oleInitializeCalls, 1);
}

struct OleCase {
  const char* label;
  HResult initializeAnswer;
  int uninitializeCalls;
};

class OleBalance : public ConnectToHost,
                   public ::testing::WithParamInterface<OleCase> {};

TEST_P(OleBalance, EverySuccessfulInitialiseIsUninitialisedOnce) {
  port_.oleInitializeResult = GetParam().initializeAnswer;
  bridge_.ConnectToHost();
  bridge_.ReleaseApplication();

  bridge_.UninitializeOle();
  bridge_.UninitializeOle();

  EXPECT_EQ(port_.oleUninitializeCalls, GetParam().uninitializeCalls);
  EXPECT_FALSE(g_bOleInitialized);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OleBalance,
    ::testing::Values(OleCase{"Initialised", kSOk, 1},
                      // S_FALSE: already initialised on the thread, which
                      // still counts and must be balanced.
                      OleCase{"AlreadyInitialised", kSFalse, 1},
                      OleCase{"Refused", kOleRefused, 0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ConnectToHost, AfterUninitialise_NextConnectInitialisesAgain) {
  ASSERT_EQ(bridge_.ConnectToHost(), kSOk);
  bridge_.ReleaseApplication();
  ForgetHostConnection();
  bridge_.UninitializeOle();

  EXPECT_EQ(bridge_.ConnectToHost(), kSOk);

  EXPECT_EQ(port_.oleInitializeCalls, 2);
  EXPECT_EQ(port_.oleUninitializeCalls, 1);
}

TEST_F(ConnectToHost, ReleaseApplication_GivesBothReferencesBackOnce) {
  ASSERT_EQ(bridge_.ConnectToHost(), kSOk);
  ASSERT_GT(model_.OutstandingReferences(), 0);

  bridge_.ReleaseApplication();
  bridge_.ReleaseApplication();

  EXPECT_EQ(g_pdispXL, nullptr);
  EXPECT_EQ(g_pdispWorkbooks, nullptr);
  EXPECT_EQ(model_.OutstandingReferences(), 0);
  EXPECT_EQ(model_.overReleases(), 0);
}

TEST_F(ConnectToHost, AddWorkbookWithoutConnection_RaisesHostCallError) {
  EXPECT_THROW(bridge_.AddWorkbookFromTemplate("C:\\s\\sample.xlt"),
               HostCallError);
}

TEST_F(ConnectToHost, AddWorkbookFromUnknownTemplate_RaisesHostCallError) {
  ASSERT_EQ(bridge_.ConnectToHost(), kSOk);
  EXPECT_THROW(bridge_.AddWorkbookFromTemplate("C:\\nowhere.xlt"),
               HostCallError);
  EXPECT_EQ(model_.WorkbookCount(own_), 1);
}

}  // namespace
}  // namespace marrowfield
