// Bad and odd input gives a correct (often empty) answer and never a
// crash: no values, one value, all values equal, values without letters,
// 100 000-byte values, accuracies out of range, and an engine that is not
// initialized.

#include <string>
#include <vector>

#include "lists_fixture.h"
#include "phone_tables.h"

namespace marrowfield::lists::testing {
namespace {

class BadInputTest : public ListsTest,
                     public ::testing::WithParamInterface<bool> {
 protected:
  PairOptions Opt(int accuracy) const {
    return Options(accuracy, 2, GetParam());
  }
};

TEST_P(BadInputTest, NoValuesOrOneValue_NoPairs) {
  EXPECT_TRUE(FindDuplicatePairs({}, Opt(60)).empty());
  EXPECT_TRUE(FindDuplicatePairs({"Smith"}, Opt(60)).empty());
  EXPECT_TRUE(FindLinkPairs({}, {"Smith"}, Opt(60)).empty());
  EXPECT_TRUE(FindLinkPairs({"Smith"}, {}, Opt(60)).empty());
  EXPECT_TRUE(GroupDuplicates({}, {}, {}, Opt(60)).empty());
}

TEST_P(BadInputTest, AllValuesEqual_EveryPairAtFullScoreInOneGroup) {
  const std::vector<std::string> values(40, "Smith");
  const auto pairs = FindDuplicatePairs(values, Opt(90));
  ASSERT_EQ(pairs.size(), values.size() * (values.size() - 1) / 2);
  for (const ValuePair& p : pairs) EXPECT_EQ(p.score, 100);
  const auto groups = GroupDuplicates(values, {}, pairs, Opt(90));
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].members.size(), values.size());
  EXPECT_EQ(groups[0].canonical, 0u);
}

TEST_P(BadInputTest, ValuesWithoutLetters_PairWithNothing) {
  const std::vector<std::string> values = {"",  "123", "--",    "  ",
                                           "'", "42",  "Smith", "Smyth"};
  for (int accuracy : {1, 60}) {
    for (const ValuePair& p : FindDuplicatePairs(values, Opt(accuracy))) {
      EXPECT_GE(p.first, 6u) << accuracy;
      EXPECT_GE(p.second, 6u) << accuracy;
    }
  }
  EXPECT_EQ(ScoreValues("123", "123", Opt(60)), 0);
}

TEST_P(BadInputTest, HugeValues_ScoredLikeAnyOther) {
  std::string letters;
  NameRandom random(3);
  for (int k = 0; k < 100000; ++k)
    letters += static_cast<char>('a' + random.Below(26));
  std::string words;
  while (words.size() < 100000) words += "smith jones ";
  const std::vector<std::string> values = {letters, words, "Smith Jones",
                                           "Smith", letters};
  const auto pairs = FindDuplicatePairs(values, Opt(60));
  for (const ValuePair& p : pairs) {
    EXPECT_EQ(p.score, ScoreValues(values[p.first], values[p.second], Opt(60)));
  }
  if (GetParam()) {
    EXPECT_EQ(ScoreValues(letters, words, Opt(60)),
              compare_words(letters.c_str(), words.c_str()));
  }
}

TEST_P(BadInputTest, AccuracyOutOfRange_NothingAboveHundredAllBelowZero) {
  const std::vector<std::string> values = {"Smith", "Smyth", "Brown"};
  EXPECT_TRUE(FindDuplicatePairs(values, Opt(101)).empty());
  EXPECT_TRUE(FindLinkPairs(values, values, Opt(1000)).empty());
  EXPECT_EQ(FindDuplicatePairs(values, Opt(-5)).size(), 3u);
  EXPECT_EQ(FindDuplicatePairs(values, Opt(-5)),
            FindDuplicatePairs(values, Opt(0)));
}

TEST_P(BadInputTest, EngineNotInitialized_NothingFoundNothingScored) {
  // Without phone tables (the layer's own guard, whoever set it up).
  FreePhoneTables();
  EXPECT_TRUE(FindDuplicatePairs({"Smith", "Smith"}, Opt(60)).empty());
  EXPECT_EQ(ScoreValues("Smith", "Smith", Opt(60)), 0);
  ASSERT_EQ(BuildPhoneTables(), 0);
  EXPECT_EQ(FindDuplicatePairs({"Smith", "Smith"}, Opt(60)).size(), 1u);
}

TEST_P(BadInputTest, GroupingOddInput_IgnoredNotTrusted) {
  const std::vector<std::string> values = {"Smith", "Smyth", "Brown"};
  // Pairs outside the values, a value paired with itself, too few counts.
  const std::vector<ValuePair> pairs = {{0, 1, 90}, {1, 7, 90}, {2, 2, 100}};
  const auto groups = GroupDuplicates(values, {5}, pairs, Opt(60));
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].canonical, 0u);
  EXPECT_EQ(groups[0].totalCount, 6u);
  EXPECT_EQ(groups[0].members.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(WordByWordAndWholeCell, BadInputTest,
                         ::testing::Bool());

}  // namespace
}  // namespace marrowfield::lists::testing
