// The sheet search with the real engine against a plain rendering of the
// dialog's search: walk a used range row by row, score each non-empty text
// with compare_words(searchText, text), both folded to ASCII, keep it at or
// above the level, sort best first. Both must list the same cells in the
// same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "marrowfield.h"
#include "marrowfield/cell_scorer.h"
#include "marrowfield/sheet_search.h"
#include "marrowfield/text_folding.h"

namespace marrowfield {
namespace {

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(initialize(), 0); }
  void TearDown() override { un_initialize(); }
};

const ::testing::Environment* const kEngine =
    ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

// A used range: nullopt for a cell that holds no string.
using UsedRange = std::vector<std::vector<std::optional<std::string>>>;

struct Listed {
  int32_t row;
  int32_t column;
  std::string text;
  int32_t score;
};

std::vector<Listed> DialogSearch(const std::string& searchText, int threshold,
                                 const UsedRange& range) {
  std::vector<Listed> listed;
  for (std::size_t r = 0; r < range.size(); ++r) {
    for (std::size_t c = 0; c < range[r].size(); ++c) {
      const std::optional<std::string>& value = range[r][c];
      if (!value || value->empty()) continue;
      const int score = compare_words(FoldToAscii(searchText).c_str(),
                                      FoldToAscii(*value).c_str());
      if (score >= threshold) {
        listed.push_back(Listed{static_cast<int32_t>(r + 1),
                                static_cast<int32_t>(c + 1), *value, score});
      }
    }
  }
  std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
    if (a.score != b.score) return a.score > b.score;
    return std::lexicographical_compare(
        a.text.begin(), a.text.end(), b.text.begin(), b.text.end(),
        [](char x, char y) {
          return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        });
  });
  return listed;
}

CellGrid ToGrid(const UsedRange& range) {
  CellGrid grid;
  for (std::size_t r = 0; r < range.size(); ++r) {
    for (std::size_t c = 0; c < range[r].size(); ++c) {
      const auto& value = range[r][c];
      grid.push_back(GridCell{static_cast<int32_t>(r + 1),
                              static_cast<int32_t>(c + 1), value.has_value(),
                              value.value_or("12.5")});
    }
  }
  return grid;
}

UsedRange NamesRange() {
  const std::vector<std::string> names = {
      "Smith",    "Smyth",   "Smithe",    "Schmidt",   "Schmitt",
      "Smit",     "Smith",   "Johnson",   "Jonson",    "Johnston",
      "Thompson", "Thomson", "Catherine", "Katherine", "Kathryn",
      "Reid",     "Reed",    "Read",      "McDonald",  "Macdonald",
      "Meyer",    "Meier",   "Mayer",     "Myers",     "O'Neil",
      "Neal",     "Niall",   "Jean-Luc",  "",          "Sm\xC3\xADth",
      "smith",    "SMITH",   "Smiths",    "Smithson",  "Smithers",
      "Smythe"};
  UsedRange range;
  for (std::size_t i = 0; i < names.size(); i += 4) {
    std::vector<std::optional<std::string>> row;
    for (std::size_t j = i; j < i + 4 && j < names.size(); ++j) {
      row.emplace_back(names[j]);
      if (j % 3 == 0) row.emplace_back(std::nullopt);  // a number
    }
    range.push_back(row);
  }
  return range;
}

using Key = std::tuple<int32_t, std::string, int32_t, int32_t>;

class SheetSearchAgreesWithDialog
    : public ::testing::TestWithParam<std::tuple<const char*, int>> {};

TEST_P(SheetSearchAgreesWithDialog, SameCellsSameOrder) {
  const std::string searchText = std::get<0>(GetParam());
  const int threshold = std::get<1>(GetParam());
  const UsedRange range = NamesRange();
  const std::vector<Listed> expected =
      DialogSearch(searchText, threshold, range);

  CompareWordsScorer scorer(searchText);
  SheetSearch search(scorer, threshold);
  search.CollectMatches(ToGrid(range), 0);
  search.SortResults();
  const std::vector<SearchResult>& actual = search.results();

  ASSERT_EQ(actual.size(), expected.size());
  EXPECT_EQ(search.foundAny(), !expected.empty());
  EXPECT_FALSE(search.noData());
  std::vector<Key> expectedCells;
  std::vector<Key> actualCells;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    // Order is fixed by score and text; equal texts may swap their cells.
    EXPECT_EQ(actual[i].score, expected[i].score) << "at " << i;
    EXPECT_EQ(actual[i].cellText, expected[i].text) << "at " << i;
    expectedCells.emplace_back(expected[i].score, expected[i].text,
                               expected[i].row, expected[i].column);
    actualCells.emplace_back(actual[i].score, actual[i].cellText, actual[i].row,
                             actual[i].column);
  }
  std::sort(expectedCells.begin(), expectedCells.end());
  std::sort(actualCells.begin(), actualCells.end());
  EXPECT_EQ(actualCells, expectedCells);
}

INSTANTIATE_TEST_SUITE_P(
    SearchTextsAndLevels, SheetSearchAgreesWithDialog,
    ::testing::Combine(::testing::Values("Smith", "Catherine", "reed",
                                         "MacDonald", "x"),
                       ::testing::Values(0, 60, 100)));

TEST(CompareWordsScorer, ScoresAsCompareWordsInDialogOrder) {
  CompareWordsScorer scorer("Thompson");
  for (const char* text : {"Thomson", "Tomson", "Smith", "", "42"}) {
    EXPECT_EQ(scorer.Score(text), compare_words("Thompson", text)) << text;
  }
}

// Names typed with accents, in either encoding, or with typographic
// apostrophes sound as they do without; --no-fold keeps the old scores.
TEST(CompareWordsScorer, FoldsBothTextsUnlessToldNotTo) {
  const std::pair<const char*, const char*> cases[] = {
      {"Jos\xC3\xA9", "Jose"},
      {"Zo\xC3\xAB", "Zoe"},
      {"M\xC3\xBCller", "Muller"},
      {"Fran\xC3\xA7ois", "Francois"},
      {"O\xE2\x80\x99Neil", "O'Neil"},
      {"Jos\xE9", "Jose"},
      {"\xC5\x81ukasz", "Lukasz"},
      {"Stra\xC3\x9F"
       "e",
       "Strasse"},
  };
  for (const auto& [accented, plain] : cases) {
    CompareWordsScorer folding(accented);
    EXPECT_EQ(folding.Score(plain), compare_words(plain, plain)) << accented;
    CompareWordsScorer keeping(accented, TextFolding::kNone);
    EXPECT_EQ(keeping.Score(plain), compare_words(accented, plain)) << accented;
  }
  // Excel hands the add-in ANSI text: Windows-1252 throughout.
  CompareWordsScorer ansi("Jos\xE9", TextFolding::kWindows1252);
  EXPECT_EQ(ansi.Score("Jos\xC9"), compare_words("Jose", "JosE"));
}

}  // namespace
}  // namespace marrowfield
