// Pair finding takes values that read alike (the same words, spelt or cased
// differently) together, scoring their candidates once: its pairs must be
// those of the value-by-value search that a block of every value gets,
// pair for pair, score for score and in the same order, in both modes and
// both ways of reading a value, within one list and across two, for any
// thread count.

#include <cctype>
#include <string>
#include <vector>

#include "lists_fixture.h"

namespace marrowfield::lists::testing {
namespace {

struct AlikeCase {
  const char* name;
  bool wholeCell;
  ScoringMode scoring;
};

class AlikeValuesTest : public ListsTest,
                        public ::testing::WithParamInterface<AlikeCase> {
 protected:
  PairOptions CaseOptions(int accuracy, unsigned threads) const {
    PairOptions options = Options(accuracy, threads, GetParam().wholeCell);
    options.scoring = GetParam().scoring;
    return options;
  }
};

// Single names with many that sound alike, each name also repeated in
// other cases and with punctuation, full names sharing their words,
// initials, and values without phones.
std::vector<std::string> AlikeValues() {
  std::vector<std::string> values;
  const std::vector<std::string> names = SingleNames();
  for (size_t k = 0; k < names.size() && k < 700; ++k) {
    values.push_back(names[k]);
    if (k % 3 == 0) {
      std::string upper = names[k];
      for (char& c : upper) c = static_cast<char>(std::toupper(c));
      values.push_back(upper + ".");
    }
  }
  for (const char* v :
       {"John Smith", "john smith", "JOHN SMITH!", "J. Smith", "J Smith",
        "Smith, John", "Jon Smyth", "Cayden", "Kayden", "Kaydenn", "K.",
        "k", "123", "--", "", "Ann Marie", "Anne Marie", "Anna Maria",
        "Cayden Smith", "Kayden Smith", "K. Smith", "C. Smith", "Smith C."}) {
    values.push_back(v);
  }
  return values;
}

TEST_P(AlikeValuesTest, DedupeAndLink_SameAsValueByValue) {
  const std::vector<std::string> values = AlikeValues();
  const std::vector<size_t> oneBlock(values.size(), 0);
  // Linked against itself backwards, so that both sides hold values that
  // read alike.
  const std::vector<std::string>& a = values;
  const std::vector<std::string> b(values.rbegin(), values.rend());
  const std::vector<size_t> aBlock(a.size(), 0);
  const std::vector<size_t> bBlock(b.size(), 0);
  for (int accuracy : {60, 85}) {
    SCOPED_TRACE(accuracy);
    const auto expected =
        FindDuplicatePairsInBlocks(values, oneBlock, CaseOptions(accuracy, 1));
    const auto expectedLinks = FindLinkPairsInBlocks(
        a, aBlock, b, bBlock, CaseOptions(accuracy, 1));
    ASSERT_GT(expected.size(), 100u);
    ASSERT_GT(expectedLinks.size(), 20u);
    for (unsigned threads : {1u, 2u, 3u}) {
      SCOPED_TRACE(threads);
      EXPECT_EQ(FindDuplicatePairs(values, CaseOptions(accuracy, threads)),
                expected);
      EXPECT_EQ(FindLinkPairs(a, b, CaseOptions(accuracy, threads)),
                expectedLinks);
    }
  }
}

// Whole cells are found completely: every pair at 60 or more that scoring
// every pair gives, and no other.
TEST_P(AlikeValuesTest, WholeCells_EveryPairOfTheExhaustiveScoring) {
  if (!GetParam().wholeCell) GTEST_SKIP() << "word by word keeps its recall";
  const std::vector<std::string> values = AlikeValues();
  std::vector<ValuePair> expected;
  const PairOptions options = CaseOptions(60, 2);
  for (size_t i = 0; i < values.size(); ++i) {
    for (size_t j = i + 1; j < values.size(); ++j) {
      const int score = ScoreValues(values[i], values[j], options);
      if (score >= 60) expected.push_back({i, j, score});
    }
  }
  EXPECT_EQ(FindDuplicatePairs(values, options), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AlikeValuesTest,
    ::testing::Values(
        AlikeCase{"WholeCellStrict", true, ScoringMode::kStrict},
        AlikeCase{"WholeCellTolerant", true, ScoringMode::kTolerant},
        AlikeCase{"WordByWordStrict", false, ScoringMode::kStrict},
        AlikeCase{"WordByWordTolerant", false, ScoringMode::kTolerant}),
    [](const ::testing::TestParamInfo<AlikeCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace marrowfield::lists::testing
