// The scores pair finding reports are the engine's: in whole-cell strict
// mode ScoreValues is compare_words itself, on thousands of pairs in both
// orders (and the engine's tolerant score in that mode), and every found
// pair carries exactly that score.

#include <string>
#include <vector>

#include "lists_fixture.h"
#include "mode_comparison.h"

namespace marrowfield::lists::testing {
namespace {

class ScoreIdentityTest : public ListsTest {
 protected:
  // Names, full names and values that stress the cleaning.
  static std::vector<std::string> MixedValues() {
    std::vector<std::string> values = SingleNames();
    for (const std::string& v : FullNameSample()) values.push_back(v);
    for (const char* odd : {"", "123", "O'Neil", "o neil", "  smith  ", "SMITH",
                            "Smith-Jones", "a", "x", "'", "Mc Donald",
                            "mcdonald", "\xc3\xa9mile", "zz top 99"}) {
      values.push_back(odd);
    }
    return values;
  }
};

TEST_F(ScoreIdentityTest, WholeCellStrict_EqualsCompareWordsInBothOrders) {
  const std::vector<std::string> values = MixedValues();
  const PairOptions options = Options(60, 1, /*wholeCell=*/true);
  NameRandom random(7);
  for (int k = 0; k < 20000; ++k) {
    const std::string& a = values[random.Below(values.size())];
    const std::string& b = values[random.Below(values.size())];
    ASSERT_EQ(ScoreValues(a, b, options), compare_words(a.c_str(), b.c_str()))
        << a << " / " << b;
    ASSERT_EQ(ScoreValues(b, a, options), compare_words(b.c_str(), a.c_str()))
        << b << " / " << a;
  }
}

TEST_F(ScoreIdentityTest, WholeCellTolerant_EqualsTheEnginesTolerantScore) {
  const std::vector<std::string> values = MixedValues();
  PairOptions options = Options(60, 1, /*wholeCell=*/true);
  options.scoring = ScoringMode::kTolerant;
  NameRandom random(13);
  for (int k = 0; k < 10000; ++k) {
    const std::string& a = values[random.Below(values.size())];
    const std::string& b = values[random.Below(values.size())];
    ASSERT_EQ(ScoreValues(a, b, options),
              ComparePercentage(a, b, ScoringMode::kTolerant))
        << a << " / " << b;
  }
}

TEST_F(ScoreIdentityTest, WordByWord_OneWordValuesScoreAsCompareWords) {
  const std::vector<std::string> values = SingleNames();
  const PairOptions options = Options(60);
  NameRandom random(11);
  for (int k = 0; k < 10000; ++k) {
    const std::string& a = values[random.Below(values.size())];
    const std::string& b = values[random.Below(values.size())];
    ASSERT_EQ(ScoreValues(a, b, options), compare_words(a.c_str(), b.c_str()))
        << a << " / " << b;
  }
}

TEST_F(ScoreIdentityTest, FoundDuplicatePairs_CarryCompareWordsScores) {
  const std::vector<std::string> values = MixedValues();
  const auto pairs = FindDuplicatePairs(values, Options(60, 2, true));
  ASSERT_FALSE(pairs.empty());
  for (const ValuePair& p : pairs) {
    ASSERT_LT(p.first, p.second);
    ASSERT_EQ(p.score,
              compare_words(values[p.first].c_str(), values[p.second].c_str()));
    ASSERT_GE(p.score, 60);
  }
}

TEST_F(ScoreIdentityTest, FoundLinkPairs_CarryCompareWordsScoresFirstToSecond) {
  const std::vector<std::string> values = SingleNames();
  const std::vector<std::string> a(values.begin(),
                                   values.begin() + values.size() / 2);
  const std::vector<std::string> b(values.begin() + values.size() / 2,
                                   values.end());
  const auto pairs = FindLinkPairs(a, b, Options(70, 2, true));
  ASSERT_FALSE(pairs.empty());
  for (const ValuePair& p : pairs) {
    ASSERT_EQ(p.score, compare_words(a[p.first].c_str(), b[p.second].c_str()));
  }
}

}  // namespace
}  // namespace marrowfield::lists::testing
