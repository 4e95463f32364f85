// The prepared search must score every distinct text once and give exactly
// the results of scoring every cell.

#include <gtest/gtest.h>

#include "marrowfield/sheet_search.h"
#include "table_scorer.h"

namespace marrowfield {
namespace {

CellGrid RepeatingGrid() {
  const char* texts[] = {"Smith", "Smyth", "",      "Jones", "Smith",
                         "n/a",   "Smyth", "Smith", "n/a",   "Smithe"};
  CellGrid grid;
  int32_t n = 0;
  for (int32_t row = 1; row <= 30; ++row) {
    for (int32_t column = 1; column <= 4; ++column) {
      GridCell cell;
      cell.row = row;
      cell.column = column;
      cell.isText = column != 3;  // a column of numbers
      cell.text = cell.isText ? texts[n++ % 10] : "12";
      grid.push_back(cell);
    }
  }
  return grid;
}

const std::map<std::string, int32_t> kScores = {
    {"Smith", 100}, {"Smyth", 75}, {"Smithe", 98}, {"Jones", 0}, {"n/a", 0}};

TEST(RememberingScorerTest, ScoresEachDistinctTextOnce) {
  TableScorer table(kScores);
  RememberingScorer remembering(table);
  SheetSearch search(remembering, 60);
  search.CollectMatches(RepeatingGrid(), 0);
  EXPECT_EQ(table.scored.size(), 5u);
  EXPECT_EQ(remembering.distinctTexts(), 5u);
}

TEST(RememberingScorerTest, GivesTheResultsOfScoringEveryCell) {
  for (int32_t threshold : {0, 60, 99, 100}) {
    TableScorer plainTable(kScores);
    SheetSearch plain(plainTable, threshold);
    TableScorer innerTable(kScores);
    RememberingScorer remembering(innerTable);
    SheetSearch prepared(remembering, threshold);
    for (SheetSearch* search : {&plain, &prepared}) {
      search->CollectMatches(RepeatingGrid(), 3);
      search->SortResults();
    }
    ASSERT_EQ(plain.results().size(), prepared.results().size());
    for (size_t k = 0; k < plain.results().size(); ++k) {
      const SearchResult& a = plain.results()[k];
      const SearchResult& b = prepared.results()[k];
      EXPECT_EQ(std::tie(a.sheetIndex, a.row, a.column, a.cellText, a.score),
                std::tie(b.sheetIndex, b.row, b.column, b.cellText, b.score));
    }
    EXPECT_EQ(plain.foundAny(), prepared.foundAny());
    EXPECT_EQ(plain.noData(), prepared.noData());
    EXPECT_GT(plainTable.scored.size(), innerTable.scored.size());
  }
}

}  // namespace
}  // namespace marrowfield
