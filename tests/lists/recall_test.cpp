// Pair finding against the exhaustive comparison of every pair: at
// accuracies 60 to 90 it finds at least 99.5 % of the pairs that scoring
// every pair finds, reports no pair that scoring every pair would not, and
// gives each the same score. The reference is compare_words itself for
// whole cells, and the pair finder's own every-pair path (no keys, taken
// below kBlockingKeysMinAccuracy) for the word-by-word and tolerant scores.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "blocking_keys.h"
#include "lists_fixture.h"

namespace marrowfield::lists::testing {
namespace {

using PairScores = std::map<std::pair<size_t, size_t>, int>;

struct RecallCase {
  const char* name;
  bool fullNames;
  bool wholeCell;
  ScoringMode scoring;
};

class RecallTest : public ListsTest,
                   public ::testing::WithParamInterface<RecallCase> {
 protected:
  PairOptions CaseOptions(int accuracy) const {
    PairOptions options = Options(accuracy, 2, GetParam().wholeCell);
    options.scoring = GetParam().scoring;
    return options;
  }
  std::vector<std::string> CaseValues() const {
    return GetParam().fullNames ? FullNameSample() : SingleNames();
  }

  // Every pair scoring kBlockingKeysMinAccuracy or more, by scoring all.
  PairScores Exhaustive(const std::vector<std::string>& values) const {
    PairScores all;
    const RecallCase& c = GetParam();
    if (c.wholeCell && c.scoring == ScoringMode::kStrict) {
      for (size_t i = 0; i < values.size(); ++i) {
        for (size_t j = i + 1; j < values.size(); ++j) {
          const int s = compare_words(values[i].c_str(), values[j].c_str());
          if (s >= kBlockingKeysMinAccuracy) all[{i, j}] = s;
        }
      }
      return all;
    }
    for (const ValuePair& p : FindDuplicatePairs(
             values, CaseOptions(kBlockingKeysMinAccuracy - 1))) {
      if (p.score >= kBlockingKeysMinAccuracy)
        all[{p.first, p.second}] = p.score;
    }
    return all;
  }
};

TEST_P(RecallTest, FindsNearlyEveryPairOfTheExhaustiveComparison) {
  const std::vector<std::string> values = CaseValues();
  const PairScores all = Exhaustive(values);
  for (int accuracy : {60, 70, 80, 90}) {
    size_t expected = 0;
    for (const auto& [pair, score] : all) expected += score >= accuracy;
    ASSERT_GT(expected, 20u) << "too few pairs to measure at " << accuracy;
    size_t found = 0;
    for (const ValuePair& p :
         FindDuplicatePairs(values, CaseOptions(accuracy))) {
      const auto it = all.find({p.first, p.second});
      ASSERT_NE(it, all.end()) << values[p.first] << " / " << values[p.second];
      ASSERT_EQ(p.score, it->second);
      ASSERT_GE(p.score, accuracy);
      ++found;
    }
    const double recall =
        static_cast<double>(found) / static_cast<double>(expected);
    EXPECT_GE(recall, 0.995)
        << "accuracy " << accuracy << ": " << found << " of " << expected;
    RecordProperty("recall_" + std::to_string(accuracy),
                   std::to_string(found) + "/" + std::to_string(expected));
  }
}

TEST_P(RecallTest, LinkFindsNearlyEveryPairAcrossTwoLists) {
  const std::vector<std::string> values = CaseValues();
  const PairScores all = Exhaustive(values);
  // Even and odd positions: variants of one name sit side by side.
  std::vector<std::string> a;
  std::vector<std::string> b;
  for (size_t k = 0; k < values.size(); ++k)
    (k % 2 ? b : a).push_back(values[k]);
  size_t expected = 0;
  for (const auto& [pair, score] : all) {
    expected += score >= 70 && (pair.first % 2) != (pair.second % 2) &&
                // Link scores a against b; whole-cell scores may differ by
                // order, so only pairs scored in that order are counted.
                pair.first % 2 == 0;
  }
  // Enough pairs for the share to mean something (the full-name sample at
  // 70, strictly, has 20).
  ASSERT_GE(expected, 20u);
  size_t found = 0;
  for (const ValuePair& p : FindLinkPairs(a, b, CaseOptions(70))) {
    const size_t i = 2 * p.first;
    const size_t j = 2 * p.second + 1;
    if (i < j) found += all.count({i, j});
  }
  EXPECT_GE(static_cast<double>(found) / static_cast<double>(expected), 0.995)
      << found << " of " << expected;
}

INSTANTIATE_TEST_SUITE_P(
    Corpora, RecallTest,
    ::testing::Values(
        RecallCase{"NamesWholeCellStrict", false, true, ScoringMode::kStrict},
        RecallCase{"NamesWordByWordStrict", false, false, ScoringMode::kStrict},
        RecallCase{"FullNamesWholeCellStrict", true, true,
                   ScoringMode::kStrict},
        RecallCase{"FullNamesWordByWordStrict", true, false,
                   ScoringMode::kStrict},
        RecallCase{"NamesWholeCellTolerant", false, true,
                   ScoringMode::kTolerant},
        RecallCase{"FullNamesWordByWordTolerant", true, false,
                   ScoringMode::kTolerant}),
    [](const ::testing::TestParamInfo<RecallCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace marrowfield::lists::testing
