// The search dialog's searches: what is read from the sheet, what is
// scored, what the list shows, which buttons are enabled and where the
// host's active cell goes.

#include <gtest/gtest.h>

#include <string>

#include "host_call_error.h"
#include "search_dialog_rig.h"

namespace marrowfield {
namespace {

using SearchDialogSearch = SearchDialogRig;

TEST_F(SearchDialogSearch,
       SkipsNumbers_ScoresBothTexts_OrdersByScoreThenBytes) {
  AddSheet();
  Text(1, 1, "Smyth");
  Text(2, 1, "Smith");
  Number(3, 1, 12);
  Open();
  view_.ReleaseSlider(dialog_, 0);
  view_.searchField = "Smith";
  view_.DeliverPosted(dialog_);

  const Expected expected = Expect("Smith", 0);
  ASSERT_EQ(expected.items.size(), 2u);
  EXPECT_EQ(view_.items, expected.items);
  ASSERT_EQ(dialog_.results().size(), 2u);
  for (const SearchResult& result : dialog_.results()) {
    EXPECT_NE(result.cellText, "12");
  }
  const SearchResult& first = dialog_.results()[0];
  const SearchResult& second = dialog_.results()[1];
  EXPECT_GE(first.score, second.score);
  if (first.score == second.score) {
    EXPECT_EQ(first.cellText, "Smith");
    EXPECT_EQ(second.cellText, "Smyth");
  }
  EXPECT_EQ(view_.selection, 0);
  EXPECT_EQ(dialog_.currentIndex(), 0);
  EXPECT_EQ(ActiveCell(), expected.cells[0]);
}

TEST_F(SearchDialogSearch, SingleTextCell_IsRowOneColumnOne_AndJumpLandsOnIt) {
  AddSheet();
  Text(7, 4, "Catherine");
  Open();
  Search("Katherine");

  ASSERT_EQ(dialog_.results().size(), 1u) << view_.items[0];
  const SearchResult& result = dialog_.results()[0];
  EXPECT_EQ(result.row, 1);
  EXPECT_EQ(result.column, 1);
  EXPECT_EQ(ActiveCell(), std::make_pair(7, 4));
  EXPECT_EQ(model_.ActiveCellOf(process_).sheet, "Names");
}

// Excel hands the dialog ANSI (Windows-1252) text: accented names and
// typographic apostrophes sound as they do without them.
TEST_F(SearchDialogSearch, AnsiAccentsAreFolded_CellsListedAsTheyAre) {
  AddSheet();
  Text(1, 1, "Jos\xE9");
  Text(2, 1, "M\xFCller");
  Text(3, 1, "O\x92Neil");
  Open();
  for (const char* plain : {"Jose", "Muller", "O'Neil"}) {
    Search(plain);
    ASSERT_FALSE(dialog_.results().empty()) << plain;
    EXPECT_EQ(dialog_.results()[0].score, 100) << plain;
    EXPECT_EQ(view_.items, Expect(plain, 60).items) << plain;
  }
  EXPECT_EQ(dialog_.results()[0].cellText, "O\x92Neil");
}

TEST_F(SearchDialogSearch, OnlyNumbers_ShowsNoDataToSearch) {
  AddSheet();
  Number(1, 1, 12);
  Number(2, 1, 3.5);
  Open();
  Search("Smith");

  EXPECT_EQ(view_.items, std::vector<std::string>{"No Data to Search"});
  EXPECT_TRUE(dialog_.noData());
  EXPECT_FALSE(view_.prevEnabled);
  EXPECT_FALSE(view_.nextEnabled);
  EXPECT_EQ(Activations(), 0);
}

TEST_F(SearchDialogSearch,
       TextsButNoMatch_ShowsNoMatchesFound_ClickDoesNothing) {
  AddSheet();
  Text(1, 1, "Xylophone");
  Text(2, 1, "Quintessential");
  Open();
  Search("Smith");
  ASSERT_TRUE(Expect("Smith", kInitialThreshold).items.empty());

  EXPECT_EQ(view_.items, std::vector<std::string>{"No Matches Found"});
  view_.PickItem(dialog_, 0);
  view_.Click(dialog_, IDC_NEXT);
  view_.Click(dialog_, IDC_PREV);

  EXPECT_EQ(Activations(), 0);
  EXPECT_FALSE(view_.prevEnabled);
  EXPECT_FALSE(view_.nextEnabled);
  EXPECT_EQ(view_.items, std::vector<std::string>{"No Matches Found"});
}

TEST_F(SearchDialogSearch, OneResult_DisablesPrevAndNext) {
  AddSheet();
  Text(1, 1, "Smith");
  Open();
  Search("Smith");

  ASSERT_EQ(view_.items.size(), 1u);
  EXPECT_FALSE(view_.prevEnabled);
  EXPECT_FALSE(view_.nextEnabled);
}

TEST_F(SearchDialogSearch, ThreeResults_NextTwice_SelectsTheThird_HostFollows) {
  AddSheet();
  Text(1, 1, "Smith");
  Text(2, 2, "Smyth");
  Text(3, 3, "Smithe");
  Text(4, 1, "Zebra");
  Open();
  view_.ReleaseSlider(dialog_, 50);
  view_.searchField = "Smith";
  view_.DeliverPosted(dialog_);
  const Expected expected = Expect("Smith", 50);
  ASSERT_EQ(expected.items.size(), 3u);
  ASSERT_EQ(view_.items, expected.items);
  EXPECT_FALSE(view_.prevEnabled);
  EXPECT_TRUE(view_.nextEnabled);

  view_.Click(dialog_, IDC_NEXT);
  EXPECT_EQ(view_.selection, 1);
  EXPECT_EQ(ActiveCell(), expected.cells[1]);
  EXPECT_TRUE(view_.prevEnabled);
  EXPECT_TRUE(view_.nextEnabled);

  view_.Click(dialog_, IDC_NEXT);
  EXPECT_EQ(view_.selection, 2);
  EXPECT_EQ(dialog_.currentIndex(), 2);
  EXPECT_EQ(ActiveCell(), expected.cells[2]);
  EXPECT_TRUE(view_.prevEnabled);
  EXPECT_FALSE(view_.nextEnabled);

  view_.Click(dialog_, IDC_PREV);
  EXPECT_EQ(view_.selection, 1);
  EXPECT_EQ(ActiveCell(), expected.cells[1]);

  view_.PickItem(dialog_, 0);
  EXPECT_EQ(dialog_.currentIndex(), 0);
  EXPECT_EQ(ActiveCell(), expected.cells[0]);
  EXPECT_FALSE(view_.prevEnabled);
  EXPECT_TRUE(view_.nextEnabled);
}

TEST_F(SearchDialogSearch,
       SliderReleasedAt100_SearchesAgainKeepingOnlyFullScores) {
  AddSheet();
  Text(1, 1, "Smith");
  Text(2, 1, "Smithers");
  Text(3, 1, "Smyth");
  Open();
  Search("Smith");
  const size_t atSixty = view_.items.size();

  view_.accuracy = 100;
  dialog_.OnAccuracyScroll(5);  // still dragging: nothing yet
  EXPECT_EQ(view_.postedSearchClicks, 0);
  EXPECT_EQ(dialog_.threshold(), kInitialThreshold);
  view_.ReleaseSlider(dialog_, 100);
  EXPECT_EQ(view_.postedSearchClicks, 1);
  view_.DeliverPosted(dialog_);

  EXPECT_EQ(dialog_.threshold(), 100);
  const Expected expected = Expect("Smith", 100);
  ASSERT_FALSE(expected.items.empty());
  EXPECT_EQ(view_.items, expected.items);
  EXPECT_LT(view_.items.size(), atSixty);
  for (const SearchResult& result : dialog_.results()) {
    EXPECT_EQ(result.score, 100);
  }
}

TEST_F(SearchDialogSearch, SameWordInSeveralCells_GivesOneItemEach) {
  AddSheet();
  Text(1, 1, "Jones");
  Text(1, 2, "Jones");
  Text(4, 3, "Jones");
  Open();
  Search("Jones");

  ASSERT_EQ(view_.items.size(), 3u);
  EXPECT_EQ(view_.items[0], view_.items[1]);
  EXPECT_EQ(view_.items[1], view_.items[2]);
  EXPECT_EQ(view_.items, Expect("Jones", kInitialThreshold).items);
}

TEST_F(SearchDialogSearch, UsedRangeAtC5_RecordsRangePositions_JumpLandsOnC5) {
  AddSheet();
  Text(5, 3, "Smith");
  Text(6, 4, "Brown");
  Open();
  Search("Smith");

  ASSERT_FALSE(dialog_.results().empty());
  EXPECT_EQ(dialog_.results()[0].cellText, "Smith");
  EXPECT_EQ(dialog_.results()[0].row, 1);
  EXPECT_EQ(dialog_.results()[0].column, 1);
  EXPECT_EQ(ActiveCell(), std::make_pair(5, 3));
}

TEST_F(SearchDialogSearch, EmptySearchField_AsksForTheString_ChangesNothing) {
  AddSheet();
  Text(1, 1, "Smith");
  Open();
  Search("Smith");
  const std::vector<std::string> before = view_.items;
  const int focused = view_.searchFieldFocused;

  Search("");

  EXPECT_EQ(view_.messages,
            std::vector<std::string>{"Please enter the search string"});
  EXPECT_EQ(view_.searchFieldFocused, focused + 1);
  EXPECT_EQ(view_.items, before);
  EXPECT_EQ(dialog_.searchText(), "Smith");
}

TEST_F(SearchDialogSearch, NoActiveSheet_AsksForAWorkbook_ThenNoDataToSearch) {
  // A host with no workbook open; then no host connection at all.
  for (const bool connected : {true, false}) {
    connected_ = connected;
    view_.messages.clear();
    Open();
    Search("Smith");
    EXPECT_EQ(view_.messages,
              std::vector<std::string>{"Please open a workbook for searching"});
    EXPECT_EQ(view_.items, std::vector<std::string>{"No Data to Search"});
    EXPECT_FALSE(view_.prevEnabled);
    EXPECT_FALSE(view_.nextEnabled);
  }
}

TEST_F(SearchDialogSearch, ChartSheetActive_SaysSoAndStaysOpen) {
  AddSheet();
  Text(1, 1, "Smith");
  const int chart = model_.AddChartSheet(process_, book_, "Chart1");
  model_.ActivateSheet(process_, book_, chart);
  Open();

  Search("Smith");

  // The dialog's own words, as for a missing workbook; the dialog goes on.
  EXPECT_EQ(view_.messages,
            std::vector<std::string>{"Please open a worksheet for searching"});
  EXPECT_EQ(view_.items, std::vector<std::string>{"No Data to Search"});
  EXPECT_FALSE(view_.ended);
}

TEST_F(SearchDialogSearch, ChartSheetBeforeTheSheet_ResultJumpsToTheRightCell) {
  book_ = model_.AddWorkbook(process_, "C:\\Books\\charts.xlsx");
  model_.AddChartSheet(process_, book_, "Chart1");
  sheet_ = model_.AddWorksheet(process_, book_, "Names");
  model_.ActivateSheet(process_, book_, sheet_);
  Text(3, 2, "Smith");
  Open();

  Search("Smith");

  ASSERT_EQ(view_.items.size(), 1u);
  EXPECT_EQ(model_.ActiveCellOf(process_).sheet, "Names");
  EXPECT_EQ(ActiveCell(), std::make_pair(3, 2));
}

TEST_F(SearchDialogSearch, LongSearchText_IsCutTo255Characters) {
  AddSheet();
  Text(1, 1, "Smith");
  Open();
  Search(std::string(255, 'a'));
  EXPECT_EQ(dialog_.searchText().size(), 255u);

  Search(std::string(300, 'b'));
  EXPECT_EQ(dialog_.searchText(), std::string(255, 'b'));
}

TEST_F(SearchDialogSearch, ListIsFilledWhileLocked_AndTheLockIsLifted) {
  AddSheet();
  Text(1, 1, "Smith");
  Text(2, 1, "Smyth");
  Open();
  Search("Smith");

  EXPECT_EQ(view_.locks, 1);
  EXPECT_EQ(view_.lockDepth, 0);
  EXPECT_EQ(view_.itemsAddedUnlocked, 0);
}

TEST_F(SearchDialogSearch, FailingHostCall_EndsTheDialog_LiftsTheLock) {
  AddSheet();
  Text(1, 1, "Smith");
  model_.FailMember(process_, ModelKind::kRange, 0x0006,
                    static_cast<int32_t>(0x80010108u));
  Open();
  Search("Smith");

  EXPECT_TRUE(view_.ended);
  EXPECT_EQ(view_.endResult, kEndedByFailure);
  EXPECT_EQ(view_.lockDepth, 0);
  EXPECT_THROW(dialog_.TakeFailure(), HostCallError);
  // Taken once: the next opening starts clean.
  EXPECT_NO_THROW(dialog_.TakeFailure());
}

}  // namespace
}  // namespace marrowfield
