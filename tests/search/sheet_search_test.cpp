// Which cells the sheet search scores and keeps, what it reports, and the
// order of its results, with scores from a table.
#include "marrowfield/sheet_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table_scorer.h"

namespace marrowfield {
namespace {

GridCell Text(int32_t row, int32_t column, const std::string& text) {
  return GridCell{row, column, true, text};
}

GridCell Number(int32_t row, int32_t column, const std::string& value) {
  return GridCell{row, column, false, value};
}

std::vector<std::string> Texts(const std::vector<SearchResult>& results) {
  std::vector<std::string> texts;
  for (const SearchResult& r : results) texts.push_back(r.cellText);
  return texts;
}

TEST(SheetSearchCells, ScoresOnlyNonEmptyTextCells) {
  TableScorer scorer({{"Smith", 100}, {"Smyth", 75}});
  SheetSearch search(scorer, 0);
  search.CollectMatches({Text(1, 1, "Smith"), Number(1, 2, "12"),
                         Text(2, 1, ""), Text(2, 2, "Smyth")},
                        0);
  EXPECT_EQ(scorer.scored, (std::vector<std::string>{"Smith", "Smyth"}));
}

TEST(SheetSearchCells, NumbersOnlyMeansNoData) {
  TableScorer scorer({});
  SheetSearch search(scorer, 60);
  search.CollectMatches({Number(1, 1, "12"), Number(2, 1, "3.5")}, 0);
  EXPECT_TRUE(search.noData());
  EXPECT_FALSE(search.foundAny());
  EXPECT_TRUE(search.results().empty());
}

TEST(SheetSearchCells, EmptyTextsAreNoData) {
  TableScorer scorer({});
  SheetSearch search(scorer, 0);
  search.CollectMatches({Text(1, 1, ""), Text(1, 2, "")}, 0);
  EXPECT_TRUE(search.noData());
  EXPECT_FALSE(search.foundAny());
}

TEST(SheetSearchCells, EmptyGridMeansNoData) {
  TableScorer scorer({});
  SheetSearch search(scorer, 60);
  search.CollectMatches({}, 0);
  EXPECT_TRUE(search.noData());
  EXPECT_FALSE(search.foundAny());
}

TEST(SheetSearchThreshold, TextBelowLevelIsDataButNoMatch) {
  TableScorer scorer({{"Jones", 20}});
  SheetSearch search(scorer, 60);
  search.CollectMatches({Text(1, 1, "Jones")}, 0);
  EXPECT_FALSE(search.noData());
  EXPECT_FALSE(search.foundAny());
  EXPECT_TRUE(search.results().empty());
}

TEST(SheetSearchThreshold, ScoreEqualToLevelIsKept) {
  TableScorer scorer({{"Smyth", 60}, {"Smote", 59}});
  SheetSearch search(scorer, 60);
  search.CollectMatches({Text(1, 1, "Smyth"), Text(1, 2, "Smote")}, 0);
  EXPECT_TRUE(search.foundAny());
  EXPECT_EQ(Texts(search.results()), std::vector<std::string>{"Smyth"});
}

TEST(SheetSearchThreshold, LevelZeroKeepsEveryTextCellScoringZero) {
  TableScorer scorer({});
  SheetSearch search(scorer, 0);
  search.CollectMatches({Text(1, 1, "Jones"), Text(1, 2, "123-45")}, 0);
  EXPECT_EQ(search.results().size(), 2u);
}

TEST(SheetSearchThreshold, LevelHundredKeepsOnlyFullScores) {
  TableScorer scorer({{"Smith", 100}, {"Smyth", 99}});
  SheetSearch search(scorer, 100);
  search.CollectMatches({Text(1, 1, "Smyth"), Text(2, 1, "Smith")}, 0);
  EXPECT_EQ(Texts(search.results()), std::vector<std::string>{"Smith"});
}

TEST(SheetSearchResults, RecordPlaceTextScoreAndSheet) {
  TableScorer scorer({{"Smith", 90}});
  SheetSearch search(scorer, 60);
  search.CollectMatches({Text(3, 4, "Smith")}, 7);
  ASSERT_EQ(search.results().size(), 1u);
  const SearchResult& result = search.results()[0];
  EXPECT_EQ(result.sheetIndex, 7);
  EXPECT_EQ(result.row, 3);
  EXPECT_EQ(result.column, 4);
  EXPECT_EQ(result.cellText, "Smith");
  EXPECT_EQ(result.score, 90);
}

TEST(SheetSearchResults, SortedBestFirstThenByBytes) {
  TableScorer scorer(
      {{"Smith", 100}, {"Smyth", 80}, {"Smithe", 80}, {"Schmidt", 65}});
  SheetSearch search(scorer, 60);
  search.CollectMatches({Text(1, 1, "Schmidt"), Text(2, 1, "Smyth"),
                         Text(3, 1, "Smith"), Text(4, 1, "Smithe")},
                        0);
  search.SortResults();
  EXPECT_EQ(Texts(search.results()),
            (std::vector<std::string>{"Smith", "Smithe", "Smyth", "Schmidt"}));
}

TEST(SheetSearchResults, SameTextInSeveralCellsListedOncePerCell) {
  TableScorer scorer({{"Smith", 100}});
  SheetSearch search(scorer, 60);
  search.CollectMatches({Text(2, 2, "Smith"), Text(1, 3, "Smith")}, 0);
  search.CollectMatches({Text(1, 1, "Smith")}, 1);
  search.SortResults();
  ASSERT_EQ(search.results().size(), 3u);
  // Equal records stay in the order they were collected.
  EXPECT_EQ(search.results()[0].row, 2);
  EXPECT_EQ(search.results()[1].row, 1);
  EXPECT_EQ(search.results()[1].column, 3);
  EXPECT_EQ(search.results()[2].sheetIndex, 1);
}

TEST(SheetSearchResults, GridsAreMergedIntoOneOrder) {
  TableScorer scorer({{"Smith", 100}, {"Smyth", 80}, {"Smit", 90}});
  SheetSearch search(scorer, 60);
  search.CollectMatches({Text(1, 1, "Smyth")}, 0);
  search.CollectMatches({Text(1, 1, "Smit"), Text(2, 1, "Smith")}, 1);
  search.SortResults();
  EXPECT_EQ(Texts(search.results()),
            (std::vector<std::string>{"Smith", "Smit", "Smyth"}));
  EXPECT_EQ(search.results()[2].sheetIndex, 0);
}

TEST(SheetSearchResults, NoDataAndFoundAnyCoverAllGrids) {
  TableScorer scorer({{"Smith", 100}});
  SheetSearch search(scorer, 60);
  search.CollectMatches({Number(1, 1, "1")}, 0);
  EXPECT_TRUE(search.noData());
  search.CollectMatches({Text(1, 1, "Smith")}, 1);
  search.CollectMatches({Number(1, 1, "2")}, 2);
  EXPECT_FALSE(search.noData());
  EXPECT_TRUE(search.foundAny());
}

TEST(SheetSearchMatchCell, SingleCellCountsLikeAGridCell) {
  TableScorer scorer({{"Smith", 100}});
  SheetSearch search(scorer, 60);
  search.MatchCell("Smith", 2, 1, 1);
  EXPECT_TRUE(search.foundAny());
  EXPECT_FALSE(search.noData());
  ASSERT_EQ(search.results().size(), 1u);
  EXPECT_EQ(search.results()[0].sheetIndex, 2);
}

TEST(SheetSearchProgress, ReportsEveryVisitedCell) {
  TableScorer scorer({});
  SheetSearch search(scorer, 60);
  std::vector<std::size_t> reports;
  search.CollectMatches({Text(1, 1, "a"), Number(1, 2, "1"), Text(1, 3, "")}, 0,
                        [&reports](std::size_t n) { reports.push_back(n); });
  EXPECT_EQ(reports, (std::vector<std::size_t>{1, 2, 3}));
}

}  // namespace
}  // namespace marrowfield
