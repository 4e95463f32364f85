// The search and About commands showing the real dialog logic: the search
// dialog is made once and kept, and a host call that fails in it ends the
// dialog and the command with "Error..." on the debugger output.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "about_dialog.h"
#include "addin_dialogs.h"
#include "addin_session.h"
#include "bridge_state.h"
#include "dialog_windows.h"
#include "duplicates_dialog.h"
#include "fake_dialog_views.h"
#include "fake_duplicates_view.h"
#include "search_dialog_rig.h"

namespace marrowfield {
namespace {

// Windows that run a script in place of a user.
class ScriptedWindows : public DialogWindows {
 public:
  using Script = std::function<void(SearchDialog&, FakeSearchView&)>;

  void RunSearchWindow(SearchDialog& dialog,
                       const std::string& versionText) noexcept override {
    views.emplace_back();
    FakeSearchView& view = views.back();
    dialog.Initialise(view, versionText);
    if (script) script(dialog, view);
    dialog.Detach();
  }
  void RunAboutWindow(AboutDialog& dialog) noexcept override {
    FakeAboutView view;
    dialog.Initialise(view);
    dialog.OnCommand(1);
    aboutEnded.push_back(view.endResult);
  }
  // Find duplicates with what the dialog chose at opening.
  void RunDuplicatesWindow(DuplicatesDialog& dialog) noexcept override {
    FakeDuplicatesView view;
    dialog.Initialise(view);
    if (!view.ended) {
      view.Click(dialog, 1);
      view.Finish(dialog);
    }
    dialog.Detach();
    duplicatesEnded.push_back(view.ended ? view.endResult : 0);
  }

  Script script;
  std::vector<FakeSearchView> views;
  std::vector<int32_t> aboutEnded;
  std::vector<int32_t> duplicatesEnded;
};

class DialogCommands : public SearchDialogRig {
 protected:
  DialogCommands()
      : automation_(debug_),
        dialogs_([this] { return Application(); }, shell_, debug_, windows_),
        session_(AddinConfig{"", "3.1"},
                 AddinPorts{debug_, automation_, dialogs_}) {
    windows_.views.reserve(4);
  }
  ~DialogCommands() override { ForgetHostConnection(); }

  FakeHostAutomation automation_;
  ScriptedWindows windows_;
  AddinDialogs dialogs_;
  AddinSession session_;
};

TEST_F(DialogCommands, HostCallFailingMidSearch_EndsDialog_CommandWritesError) {
  AddSheet();
  Text(1, 1, "Smith");
  model_.FailMember(process_, ModelKind::kWorksheet, 0x019C,
                    static_cast<int32_t>(0x80010108u));
  windows_.script = [](SearchDialog& dialog, FakeSearchView& view) {
    view.searchField = "Smith";
    view.Click(dialog, 1);
    // The window is closing: what the user does now finds nothing to do.
    view.Click(dialog, 1);
  };

  EXPECT_EQ(session_.MarrowfieldDialog(), 1);

  ASSERT_EQ(windows_.views.size(), 1u);
  EXPECT_TRUE(windows_.views[0].ended);
  EXPECT_EQ(windows_.views[0].endResult, kEndedByFailure);
  EXPECT_EQ(windows_.views[0].locks, 1);
  EXPECT_EQ(windows_.views[0].lockDepth, 0);
  EXPECT_EQ(debug_.lines, std::vector<std::string>{"Error..."});
}

TEST_F(DialogCommands, SecondOpening_IsTheSameDialog_WithItsSearchText) {
  AddSheet();
  Text(1, 1, "Smith");
  windows_.script = [](SearchDialog& dialog, FakeSearchView& view) {
    if (view.searchField.empty()) {
      view.searchField = "Smith";
      view.Click(dialog, 1);
    }
    view.Click(dialog, 2);
  };

  EXPECT_EQ(session_.MarrowfieldDialog(), 1);
  SearchDialog* first = dialogs_.searchDialog();
  EXPECT_EQ(session_.MarrowfieldDialog(), 1);

  EXPECT_EQ(dialogs_.searchDialog(), first);
  ASSERT_EQ(windows_.views.size(), 2u);
  EXPECT_EQ(windows_.views[0].caption, "Marrowfield 3.1");
  EXPECT_EQ(windows_.views[1].searchField, "Smith");
  EXPECT_TRUE(windows_.views[1].items.empty());
  EXPECT_EQ(windows_.views[1].endResult, 2);
  EXPECT_TRUE(debug_.lines.empty());
}

TEST_F(DialogCommands, Duplicates_WritesTheSheetOfTheActiveWorksheet) {
  AddSheet();
  Text(1, 1, "Smith");
  Text(2, 1, "Smyth");
  Text(3, 1, "Smith");

  EXPECT_EQ(session_.MarrowfieldDuplicates(), 1);

  EXPECT_EQ(windows_.duplicatesEnded, std::vector<int32_t>{kDuplicatesWritten});
  EXPECT_EQ(model_.SheetNames(process_, book_),
            (std::vector<std::string>{"Duplicates", "Names"}));
  EXPECT_TRUE(debug_.lines.empty());
  EXPECT_EQ(model_.OutstandingReferences(), 0);
}

TEST_F(DialogCommands,
       Duplicates_HostCallFailing_EndsDialog_CommandWritesError) {
  AddSheet();
  Text(1, 1, "Smith");
  model_.FailMember(process_, ModelKind::kWorksheet, 0x019C,
                    static_cast<int32_t>(0x80010108u));

  EXPECT_EQ(session_.MarrowfieldDuplicates(), 1);

  EXPECT_EQ(windows_.duplicatesEnded, std::vector<int32_t>{kDuplicatesFailed});
  EXPECT_EQ(debug_.lines, std::vector<std::string>{"Error..."});
  EXPECT_EQ(model_.SheetNames(process_, book_),
            std::vector<std::string>{"Names"});
}

TEST_F(DialogCommands, About_ShowsAFreshAboutDialogEachTime) {
  EXPECT_EQ(session_.MarrowfieldAbout(), 1);
  EXPECT_EQ(session_.MarrowfieldAbout(), 1);
  EXPECT_EQ(windows_.aboutEnded, (std::vector<int32_t>{1, 1}));
  EXPECT_TRUE(debug_.lines.empty());
}

}  // namespace
}  // namespace marrowfield
