// The commands and the host connection of AddinSession, with fake ports:
// what each command does, that no error escapes one, and that closing
// forgets the host connection so the next open connects afresh.

#include "addin_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge_state.h"
#include "fake_ports.h"
#include "fake_xlcall32.h"

namespace marrowfield {
namespace {

class AddinSessionTest : public ::testing::Test {
 protected:
  AddinSessionTest() {
    fake_xl_reset();
    ForgetHostConnection();
    configuration_.values["SampleWorkBook"] = "C:\\Samples\\names.xlt";
    configuration_.values["Version"] = "1.0";
  }
  ~AddinSessionTest() override { ForgetHostConnection(); }

  AddinSession MakeSession() {
    return AddinSession(LoadAddinConfig(configuration_, debug_),
                        AddinPorts{debug_, automation_, dialogs_});
  }

  int ErrorLines() const {
    int count = 0;
    for (const std::string& line : debug_.lines) count += line == "Error...";
    return count;
  }

  FakeDebugOutput debug_;
  FakeConfiguration configuration_;
  FakeHostAutomation automation_{debug_};
  FakeDialogs dialogs_;
};

TEST_F(AddinSessionTest, OpenCloseOpen_ReconnectsToAFreshApplication) {
  AddinSession session = MakeSession();
  session.AutoOpen();
  FakeApplication* first = automation_.Current();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(g_bInstanceFlag);

  session.AutoClose();
  EXPECT_EQ(g_pdispXL, nullptr);
  EXPECT_FALSE(g_bInstanceFlag);
  EXPECT_EQ(first->references, 0);
  EXPECT_EQ(first->releases, 1);

  session.AutoOpen();
  FakeApplication* second = automation_.Current();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(automation_.connectCalls, 2);
  EXPECT_TRUE(g_bInstanceFlag);
  EXPECT_EQ(first->releases, 1);  // the old object is never touched again
  session.AutoClose();
  EXPECT_EQ(second->releases, 1);
}

TEST_F(AddinSessionTest, Close_BalancesOleOnceForEveryOpen) {
  AddinSession session = MakeSession();
  session.AutoOpen();
  session.AutoClose();
  EXPECT_EQ(automation_.oleUninitializeCalls, 1);

  session.AutoOpen();
  session.AutoClose();
  EXPECT_EQ(automation_.oleUninitializeCalls, 2);
}

TEST_F(AddinSessionTest, OpenTwice_KeepsTheFirstConnection) {
  AddinSession session = MakeSession();
  session.AutoOpen();
  FakeApplication* first = automation_.Current();

  session.AutoOpen();

  EXPECT_EQ(automation_.Current(), first);
  EXPECT_EQ(automation_.applications.size(), 1u);
  session.AutoClose();
  EXPECT_EQ(first->releases, 1);
}

TEST_F(AddinSessionTest, CloseWithoutConnection_ReleasesNothing) {
  automation_.hostRunning = false;
  AddinSession session = MakeSession();
  session.AutoOpen();
  EXPECT_EQ(g_pdispXL, nullptr);

  EXPECT_EQ(session.AutoClose(), 1);
  EXPECT_TRUE(automation_.applications.empty());
}

TEST_F(AddinSessionTest, Dialog_ShowsSearchWithTheConfiguredVersion) {
  AddinSession session = MakeSession();
  EXPECT_EQ(session.MarrowfieldDialog(), 1);
  EXPECT_EQ(dialogs_.searchShown, 1);
  EXPECT_EQ(dialogs_.shownVersion, "1.0");
  EXPECT_TRUE(automation_.workbooksAdded.empty());
}

TEST_F(AddinSessionTest, Test_AddsSampleWorkbookOnceThenShowsSearch) {
  AddinSession session = MakeSession();
  session.AutoOpen();

  EXPECT_EQ(session.MarrowfieldTest(), 1);
  EXPECT_FALSE(g_bTestMode);
  EXPECT_EQ(session.MarrowfieldDialog(), 1);

  const std::vector<std::string> added = {"C:\\Samples\\names.xlt"};
  EXPECT_EQ(automation_.workbooksAdded, added);
  EXPECT_EQ(dialogs_.searchShown, 2);
  session.AutoClose();
}

TEST_F(AddinSessionTest, Test_WithoutSampleWorkbook_EndsWithErrorLine) {
  configuration_.values.erase("SampleWorkBook");
  AddinSession session = MakeSession();
  session.AutoOpen();

  EXPECT_EQ(session.MarrowfieldTest(), 1);

  EXPECT_EQ(ErrorLines(), 1);
  EXPECT_EQ(dialogs_.searchShown, 0);
  EXPECT_FALSE(g_bTestMode);
  session.AutoClose();
}

TEST_F(AddinSessionTest, FailingDialogs_EndWithErrorLineAndAnswerOne) {
  AddinSession session = MakeSession();
  dialogs_.failNext = true;
  EXPECT_EQ(session.MarrowfieldDialog(), 1);
  dialogs_.failNext = true;
  EXPECT_EQ(session.MarrowfieldAbout(), 1);
  dialogs_.failNext = true;
  EXPECT_EQ(session.MarrowfieldTest(), 1);

  EXPECT_EQ(ErrorLines(), 3);
  EXPECT_FALSE(g_bTestMode);
}

TEST_F(AddinSessionTest, About_ShowsTheAboutDialog) {
  AddinSession session = MakeSession();
  EXPECT_EQ(session.MarrowfieldAbout(), 1);
  EXPECT_EQ(dialogs_.aboutShown, 1);
  EXPECT_EQ(dialogs_.searchShown, 0);
}

}  // namespace
}  // namespace marrowfield
