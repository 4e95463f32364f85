// The scores pair finding reports are the engine's: in whole-cell strict
// mode ScoreValues is compare_words itself, on thousands of pairs in both
// orders (and the engine's tolerant score in that mode), and every found
// pair carries exactly that score.

#include <cstdint>
#include <string>
#include <vector>

#include "lists_fixture.h"
#include "mode_comparison.h"
#include "value_scorer.h"

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

// |count| random pairs (a, b) of |values| where ScoreValues under
// |options| differs from |reference|; empty when they all agree.
template <typename Reference>
std::vector<std::string> Disagreements(const std::vector<std::string>& values,
                                       const PairOptions& options,
                                       uint64_t seed, int count,
                                       Reference reference) {
  std::vector<std::string> wrong;
  NameRandom random(seed);
  for (int k = 0; k < count; ++k) {
    const std::string& a = values[random.Below(values.size())];
    const std::string& b = values[random.Below(values.size())];
    if (ScoreValues(a, b, options) != reference(a, b)) {
      wrong.push_back(a + " / " + b);
    }
  }
  return wrong;
}

int CompareWords(const std::string& a, const std::string& b) {
  return compare_words(a.c_str(), b.c_str());
}

TEST_F(ScoreIdentityTest, WholeCellStrict_EqualsCompareWordsInBothOrders) {
  // Random pairs come in both orders over so many draws.
  EXPECT_EQ(Disagreements(MixedValues(), Options(60, 1, /*wholeCell=*/true), 7,
                          40000, CompareWords),
            std::vector<std::string>());
}

TEST_F(ScoreIdentityTest, WholeCellTolerant_EqualsTheEnginesTolerantScore) {
  PairOptions options = Options(60, 1, /*wholeCell=*/true);
  options.scoring = ScoringMode::kTolerant;
  EXPECT_EQ(Disagreements(MixedValues(), options, 13, 10000,
                          [](const std::string& a, const std::string& b) {
                            return ComparePercentage(a, b,
                                                     ScoringMode::kTolerant);
                          }),
            std::vector<std::string>());
}

TEST_F(ScoreIdentityTest, WordByWord_OneWordValuesScoreAsCompareWords) {
  EXPECT_EQ(Disagreements(SingleNames(), Options(60), 11, 10000, CompareWords),
            std::vector<std::string>());
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

TEST_F(ScoreIdentityTest, NumberedReadings_RememberedWalksScoreAsFresh) {
  // Numbered words and readings let a scorer remember walks (keyed by the
  // readings, in order: on a tie of lengths the first list walks); every
  // pair in both orders must score as values scored afresh do.
  std::vector<std::string> values = MixedValues();
  if (values.size() > 450) values.resize(450);
  for (const bool wholeCell : {false, true}) {
    SCOPED_TRACE(wholeCell ? "whole cells" : "word by word");
    ValueScorer scorer(wholeCell, ScoringMode::kTolerant);
    ValueScorer fresh(wholeCell, ScoringMode::kTolerant);
    std::vector<PreparedValue> numbered;
    for (const std::string& v : values) numbered.push_back(scorer.Prepare(v));
    std::vector<PreparedValue*> pointers;
    for (PreparedValue& v : numbered) pointers.push_back(&v);
    ValueScorer::NumberWords(pointers, 2);
    ASSERT_NE(numbered[0].words.at(0).readingIds[0],
              kNoWordId);
    for (size_t i = 0; i < values.size(); ++i) {
      const PreparedValue a = fresh.Prepare(values[i]);
      for (size_t j = 0; j < values.size(); ++j) {
        ASSERT_EQ(scorer.ScoreOnce(numbered[i], numbered[j]),
                  fresh.Score(a, fresh.Prepare(values[j])))
            << values[i] << " / " << values[j];
      }
    }
  }
}

}  // namespace
}  // namespace marrowfield::lists::testing
