// The give-up filter against the scorer: every pair it refuses scores 0
// (query first), and leaving out the walks it proves to give up changes no
// score, on single names (word by word and whole cells) and on full names,
// which it never refuses; and pair finding, which passes refused
// candidates over, finds what scoring every pair finds.

#include "give_up_filter.h"

#include <string>
#include <vector>

#include "lists_fixture.h"

namespace marrowfield::lists::testing {
namespace {

using GiveUpFilterTest = ListsTest;

struct FilterCase {
  const char* name;
  bool fullNames;
  bool wholeCell;
};

TEST_F(GiveUpFilterTest, RefusedPairsScoreZero) {
  const FilterCase cases[] = {
      {"single names, word by word", false, false},
      {"single names, whole cells", false, true},
      {"full names", true, false},
  };
  for (const FilterCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> values =
        c.fullNames ? FullNameSample() : SingleNames();
    ASSERT_FALSE(values.empty());
    if (values.size() > 1500) values.resize(1500);
    ValueScorer scorer(c.wholeCell, ScoringMode::kTolerant);
    std::vector<PreparedValue> prepared;
    for (const std::string& v : values) prepared.push_back(scorer.Prepare(v));
    const GiveUpFilter filter(prepared);
    GiveUpFilter::Query query;
    size_t refused = 0;
    size_t zero = 0;
    for (size_t i = 0; i < prepared.size(); ++i) {
      filter.Prepare(prepared[i], query);
      for (size_t j = 0; j < prepared.size(); ++j) {
        const int score = scorer.Score(prepared[i], prepared[j]);
        zero += score == 0;
        // The walks proven to give up are left out without changing the
        // score.
        const WalksGivingUp proven = filter.Walks(query, j);
        ASSERT_EQ(scorer.ScoreOnce(prepared[i], prepared[j], proven), score)
            << values[i] << " / " << values[j];
        if (!proven.All()) continue;
        ++refused;
        ASSERT_EQ(score, 0) << values[i] << " / " << values[j];
      }
    }
    if (c.fullNames) {
      EXPECT_EQ(refused, 0u);
    } else {
      // Most pairs of unrelated single names are refused unscored.
      EXPECT_GT(refused * 2, zero);
    }
  }
}

TEST_F(GiveUpFilterTest, TolerantPairFinding_FindsWhatScoringEveryPairFinds) {
  std::vector<std::string> values = SingleNames();
  ASSERT_FALSE(values.empty());
  if (values.size() > 1200) values.resize(1200);
  // Repeats of some values make the finder search by groups of values
  // that read alike, as it does on long lists of single names.
  const size_t distinct = values.size();
  for (size_t k = 0; k < distinct; k += 3) values.push_back(values[k]);
  for (bool wholeCell : {false, true}) {
    SCOPED_TRACE(wholeCell ? "whole cells" : "word by word");
    PairOptions options = Options(60, 2, wholeCell);
    options.scoring = ScoringMode::kTolerant;
    ValueScorer scorer(wholeCell, ScoringMode::kTolerant);
    std::vector<PreparedValue> prepared;
    for (const std::string& v : values) prepared.push_back(scorer.Prepare(v));
    std::vector<ValuePair> expected;
    for (size_t i = 0; i < values.size(); ++i) {
      for (size_t j = i + 1; j < values.size(); ++j) {
        const int score = scorer.Score(prepared[i], prepared[j]);
        if (score >= options.accuracy) expected.push_back({i, j, score});
      }
    }
    const std::vector<ValuePair> found = FindDuplicatePairs(values, options);
    // Pairs the keys do not bring together are the recall tests' concern;
    // every pair found is one scoring every pair finds, with its score.
    size_t e = 0;
    size_t matched = 0;
    for (const ValuePair& p : found) {
      while (e < expected.size() &&
             (expected[e].first < p.first ||
              (expected[e].first == p.first && expected[e].second < p.second)))
        ++e;
      ASSERT_LT(e, expected.size())
          << values[p.first] << " / " << values[p.second];
      ASSERT_EQ(expected[e], p) << values[p.first] << " / " << values[p.second];
      ++matched;
    }
    EXPECT_GE(static_cast<double>(matched),
              0.995 * static_cast<double>(expected.size()));
  }
}

}  // namespace
}  // namespace marrowfield::lists::testing
