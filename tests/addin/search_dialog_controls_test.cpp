// The search dialog apart from searching: what each opening starts with,
// what is kept between openings, the buttons that open web pages and the
// About dialog, Close, and the logo that acts as a link.

#include <gtest/gtest.h>

#include <string>

#include "search_dialog_rig.h"
#include "shell.h"
#include "web_addresses.h"

namespace marrowfield {
namespace {

using SearchDialogControls = SearchDialogRig;

TEST_F(SearchDialogControls,
       Opening_SetsLevelCaptionIconFocusAndDisablesSteps) {
  Open();

  EXPECT_EQ(dialog_.threshold(), 60);
  EXPECT_EQ(view_.accuracy, 60);
  EXPECT_EQ(view_.caption, "Marrowfield 2.5");
  EXPECT_TRUE(view_.iconShown);
  EXPECT_EQ(dialog_.currentIndex(), -1);
  EXPECT_FALSE(dialog_.foundAny());
  EXPECT_TRUE(dialog_.noData());
  EXPECT_FALSE(view_.prevEnabled);
  EXPECT_FALSE(view_.nextEnabled);
  EXPECT_EQ(view_.searchFieldFocused, 1);
  EXPECT_TRUE(view_.items.empty());
}

TEST_F(SearchDialogControls, Reopening_KeepsTheSearchText_StartsAfresh) {
  AddSheet();
  Text(1, 1, "Smith");
  Text(2, 1, "Smyth");
  Open();
  view_.ReleaseSlider(dialog_, 10);
  view_.searchField = "Smith";
  view_.DeliverPosted(dialog_);
  ASSERT_EQ(view_.items.size(), 2u);
  view_.Click(dialog_, IDC_NEXT);
  view_.Click(dialog_, 2);
  EXPECT_TRUE(view_.ended);
  EXPECT_EQ(view_.endResult, 2);
  dialog_.Detach();

  FakeSearchView second;
  dialog_.Initialise(second, "2.5");

  EXPECT_EQ(second.searchField, "Smith");
  EXPECT_EQ(dialog_.threshold(), 60);
  EXPECT_EQ(second.accuracy, 60);
  EXPECT_EQ(dialog_.currentIndex(), -1);
  EXPECT_TRUE(second.items.empty());
  EXPECT_FALSE(second.prevEnabled);
  EXPECT_FALSE(second.nextEnabled);
}

TEST_F(SearchDialogControls, EmptyVersion_LeavesTheBlankInTheCaption) {
  dialog_.Initialise(view_, "");
  EXPECT_EQ(view_.caption, "Marrowfield ");
}

TEST_F(SearchDialogControls, Close_EndsWithTwoOnAnyNotification) {
  Open();
  dialog_.OnCommand(2, 5);
  EXPECT_TRUE(view_.ended);
  EXPECT_EQ(view_.endResult, 2);
}

TEST_F(SearchDialogControls, ButtonsActOnClicksOnly) {
  AddSheet();
  Text(1, 1, "Smith");
  Open();
  view_.searchField = "Smith";
  dialog_.OnCommand(1, 5);  // a notification other than a click
  dialog_.OnCommand(IDC_HELP_BUTTON, 5);
  EXPECT_TRUE(view_.items.empty());
  EXPECT_TRUE(shell_.opened.empty());
}

struct PageButton {
  const char* name;
  int32_t controlId;
  std::string (*address)();
};

class SearchDialogPages : public SearchDialogRig,
                          public ::testing::WithParamInterface<PageButton> {};

TEST_P(SearchDialogPages, OpensItsAddress) {
  Open();
  view_.Click(dialog_, GetParam().controlId);
  EXPECT_EQ(shell_.opened, std::vector<std::string>{GetParam().address()});
  EXPECT_TRUE(shell_.notices.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, SearchDialogPages,
    ::testing::Values(
        PageButton{"Help", IDC_HELP_BUTTON, UsageHelpAddress},
        PageButton{"Feedback", IDC_FEEDBACK, [] { return FeedbackAddress(); }},
        PageButton{"ReportABug", IDC_REPORT_BUG, BugReportAddress}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SearchDialogControls, ReportABug_NotesTheClickOnTheDebugOutput) {
  Open();
  view_.Click(dialog_, IDC_REPORT_BUG);
  EXPECT_EQ(debug_.lines,
            std::vector<std::string>{"In REPORT A BUG  Button Click\n"});
}

TEST_F(SearchDialogControls, ShellFailure_ShowsTheMessageNamingTheAddress) {
  shell_.answer = 31;
  Open();
  view_.Click(dialog_, IDC_FEEDBACK);
  ASSERT_EQ(shell_.notices.size(), 1u);
  EXPECT_EQ(shell_.notices[0], OpenFailureMessage(FeedbackAddress()));
  EXPECT_NE(shell_.notices[0].find(FeedbackAddress()), std::string::npos);
  EXPECT_FALSE(view_.ended);
}

TEST_F(SearchDialogControls, About_ShowsTheAboutDialog) {
  Open();
  view_.Click(dialog_, IDC_ABOUT_BUTTON);
  EXPECT_EQ(view_.aboutShown, 1);
}

TEST_F(SearchDialogControls, Logo_HoverShowsTheHand_ClickOpensTheProductSite) {
  Open();
  const ClientRect logo = view_.logo;

  dialog_.OnMouseMove({logo.left - 1, logo.top});
  EXPECT_FALSE(dialog_.logoHovered());
  EXPECT_EQ(view_.cursor, CursorKind::kArrow);
  dialog_.OnLeftButtonDown({logo.left - 1, logo.top});
  EXPECT_TRUE(shell_.opened.empty());

  // Edges belong to the logo.
  dialog_.OnMouseMove({logo.right, logo.bottom});
  EXPECT_TRUE(dialog_.logoHovered());
  EXPECT_EQ(view_.cursor, CursorKind::kHand);
  EXPECT_EQ(view_.logoRepaints, 1);
  dialog_.OnMouseMove({logo.left, logo.top});
  EXPECT_EQ(view_.logoRepaints, 1);  // no change, no repaint
  dialog_.OnLeftButtonDown({logo.left, logo.top});
  EXPECT_EQ(shell_.opened, std::vector<std::string>{productSiteUrl});
  dialog_.OnMouseMove({logo.right + 1, logo.bottom});
  EXPECT_FALSE(dialog_.logoHovered());
  EXPECT_EQ(view_.cursor, CursorKind::kArrow);
  EXPECT_EQ(view_.logoRepaints, 2);
}

TEST_F(SearchDialogControls, LogoMovedAfterOpening_HoverAndClickFollowIt) {
  Open();
  const ClientRect first = view_.logo;
  view_.logo = {first.left + 40, first.top + 30, first.right + 40,
                first.bottom + 30};

  // Where the logo was is nothing now.
  dialog_.OnMouseMove({first.left, first.top});
  EXPECT_FALSE(dialog_.logoHovered());
  dialog_.OnLeftButtonDown({first.left, first.top});
  EXPECT_TRUE(shell_.opened.empty());

  dialog_.OnMouseMove({view_.logo.right, view_.logo.bottom});
  EXPECT_TRUE(dialog_.logoHovered());
  dialog_.OnLeftButtonDown({view_.logo.right, view_.logo.bottom});
  EXPECT_EQ(shell_.opened, std::vector<std::string>{productSiteUrl});
}

}  // namespace
}  // namespace marrowfield
