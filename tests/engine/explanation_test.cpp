// The explanation of a comparison: its numbers are the engine's own (the
// percentage and distance of compare_words in the strict mode, of the
// tolerant comparison in the tolerant mode, on thousands of pairs), its
// steps account for every recorded value, and it names the phone where an
// alignment gives up.

#include "explanation.h"

#include <numeric>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "mode_comparison.h"
#include "names_corpus.h"
#include "word_samples.h"

namespace marrowfield {
namespace {

std::vector<NamePair> ManyPairs() {
  const NameGroups corpus =
      ReadLabelledNames(MARROWFIELD_SOURCE_DIR "/tests/data/names/names.tsv");
  const NameGroups reference = ReadReferenceNames(
      MARROWFIELD_SOURCE_DIR "/tests/engine/reference/names.txt");
  std::vector<NamePair> pairs = PairsWithinAndAcross(corpus, 2000);
  for (const NamePair& p : PairsWithinGroups(reference)) pairs.push_back(p);
  const std::vector<std::string> words = SampleWords(400);
  for (size_t k = 0; k + 1 < words.size(); ++k)
    pairs.emplace_back(words[k], words[k + 1]);
  return pairs;
}

// The values the steps still account for: all of them but the last value
// of each withdrawn step.
int64_t CountedValues(const ComparisonExplanation& e) {
  int64_t sum = 0;
  for (const ExplanationStep& step : e.steps) {
    sum += std::accumulate(step.values.begin(), step.values.end(), int64_t{0});
    if (step.withdrawn) sum -= step.values.back();
  }
  return sum;
}

int64_t CountedMismatches(const ComparisonExplanation& e) {
  int64_t sum = 0;
  for (const ExplanationStep& step : e.steps) sum += step.mismatches;
  return sum;
}

using ExplanationTest = EngineTest;

TEST_F(ExplanationTest, StrictPercentageAndDistanceAreCompareWords) {
  const std::vector<NamePair> pairs = ManyPairs();
  ASSERT_GT(pairs.size(), 5000u) << "the names corpus sample was not read";
  for (const NamePair& p : pairs) {
    const ComparisonExplanation e =
        ExplainComparison(p.first, p.second, ScoringMode::kStrict);
    const double distance = matcher.CompareWords(p.first, p.second);
    ASSERT_EQ(e.distance, distance) << p.first << " / " << p.second;
    ASSERT_EQ(e.percentage, DistanceToPercentage(distance))
        << p.first << " / " << p.second;
  }
}

TEST_F(ExplanationTest, TolerantPercentageIsTheTolerantComparison) {
  for (const NamePair& p : ManyPairs()) {
    const ComparisonExplanation e =
        ExplainComparison(p.first, p.second, ScoringMode::kTolerant);
    ASSERT_EQ(e.percentage,
              ComparePercentage(p.first, p.second, ScoringMode::kTolerant))
        << p.first << " / " << p.second;
  }
}

TEST_F(ExplanationTest, StepsAccountForEveryValueAndMismatch) {
  size_t withdrawals = 0;
  for (const NamePair& p : ManyPairs()) {
    for (ScoringMode mode : {ScoringMode::kStrict, ScoringMode::kTolerant}) {
      const ComparisonExplanation e =
          ExplainComparison(p.first, p.second, mode);
      if (e.failure == ExplanationFailure::kNoPhones) continue;
      SCOPED_TRACE(p.first + " / " + p.second);
      ASSERT_EQ(
          CountedValues(e),
          std::accumulate(e.simValues.begin(), e.simValues.end(), int64_t{0}));
      ASSERT_EQ(CountedMismatches(e),
                static_cast<int64_t>(e.mismatchedPositions.size()));
      if (e.failure == ExplanationFailure::kNone) {
        ASSERT_EQ(CountedValues(e), e.terms.cumulativeValue);
        ASSERT_EQ(CountedMismatches(e), e.terms.mismatchCount);
      }
      for (const ExplanationStep& step : e.steps) {
        withdrawals += step.withdrawn;
        ASSERT_LT(step.position1, static_cast<int>(e.phones1.size()));
        ASSERT_LT(step.position2, static_cast<int>(e.phones2.size()));
      }
    }
  }
  // The greedy walk's revision of its previous pairing is exercised too.
  EXPECT_GT(withdrawals, 0u);
}

TEST_F(ExplanationTest, IdenticalWordsPairEveryPhoneAtNoDistance) {
  const ComparisonExplanation e =
      ExplainComparison("Margaret", "MARGARET", ScoringMode::kStrict);
  EXPECT_EQ(e.word1, "margaret");
  EXPECT_EQ(e.phones1, e.phones2);
  ASSERT_EQ(e.steps.size(), e.phones1.size());
  for (size_t k = 0; k < e.steps.size(); ++k) {
    EXPECT_EQ(e.steps[k].kind, ExplanationStepKind::kPaired);
    EXPECT_EQ(e.steps[k].position1, static_cast<int>(k));
    EXPECT_EQ(e.steps[k].position2, static_cast<int>(k));
    EXPECT_EQ(e.steps[k].distance, 0);
  }
  EXPECT_EQ(e.failure, ExplanationFailure::kNone);
  EXPECT_EQ(e.percentage, 100);
}

TEST_F(ExplanationTest, WordWithoutPhonesShowsBothListsAndScoresZero) {
  const ComparisonExplanation e =
      ExplainComparison("123", "Smith", ScoringMode::kTolerant);
  EXPECT_EQ(e.failure, ExplanationFailure::kNoPhones);
  EXPECT_TRUE(e.phones1.empty());
  EXPECT_FALSE(e.phones2.empty());
  EXPECT_TRUE(e.steps.empty());
  EXPECT_EQ(e.percentage, 0);
}

TEST_F(ExplanationTest, StrictRefusalNamesThePhoneThatCannotBeSilent) {
  const ComparisonExplanation e =
      ExplainComparison("Thompson", "Thomson", ScoringMode::kStrict);
  ASSERT_EQ(e.failure, ExplanationFailure::kRefused);
  EXPECT_TRUE(e.secondWalked);
  const ExplanationStep& last = e.steps.back();
  EXPECT_EQ(last.kind, ExplanationStepKind::kRefused);
  ASSERT_GE(last.position1, 0);
  EXPECT_EQ(e.phones1[static_cast<size_t>(last.position1)], "p");
  EXPECT_EQ(last.position2, -1);
  EXPECT_EQ(e.percentage, 0);
}

TEST_F(ExplanationTest, TolerantStepPassesOverThatPhoneAtACost) {
  const ComparisonExplanation e =
      ExplainComparison("Thompson", "Thomson", ScoringMode::kTolerant);
  ASSERT_EQ(e.failure, ExplanationFailure::kNone);
  size_t forced = 0;
  for (const ExplanationStep& step : e.steps) {
    EXPECT_NE(step.kind, ExplanationStepKind::kRefused);
    if (step.kind != ExplanationStepKind::kTolerantPass) continue;
    ++forced;
    ASSERT_GE(step.position1, 0);
    EXPECT_EQ(e.phones1[static_cast<size_t>(step.position1)], "p");
    ASSERT_EQ(step.values.size(), 1u);
    EXPECT_GT(step.values[0], static_cast<int32_t>(SKIP_DISTANCE));
  }
  EXPECT_EQ(forced, 1u);
  EXPECT_GE(e.percentage, 60);
  EXPECT_LT(e.percentage, 100);
}

// A forced pairing sets two unlike phones against each other; it must keep
// both of them, whichever word walks.
TEST_F(ExplanationTest, ForcedPairing_KeepsBothPhonesAtTheUnrelatedDistance) {
  size_t forced = 0;
  for (const NamePair& pair : ManyPairs()) {
    for (const auto& [first, second] :
         {std::pair(pair.first, pair.second),
          std::pair(pair.second, pair.first)}) {
      const ComparisonExplanation e =
          ExplainComparison(first, second, ScoringMode::kTolerant);
      for (const ExplanationStep& step : e.steps) {
        if (step.kind != ExplanationStepKind::kForcedPair) continue;
        ++forced;
        ASSERT_GE(step.position1, 0) << first << " " << second;
        ASSERT_GE(step.position2, 0) << first << " " << second;
        EXPECT_EQ(step.distance, 50) << first << " " << second;
        EXPECT_NE(e.phones1[static_cast<size_t>(step.position1)],
                  e.phones2[static_cast<size_t>(step.position2)])
            << first << " " << second;
      }
    }
  }
  EXPECT_GT(forced, 0u);
}

TEST_F(ExplanationTest, UninitializedEngineExplainsNothing) {
  FreePhoneTables();
  const ComparisonExplanation e =
      ExplainComparison("Smith", "Smyth", ScoringMode::kStrict);
  EXPECT_EQ(e.failure, ExplanationFailure::kNoPhones);
  EXPECT_TRUE(e.phones1.empty());
  EXPECT_EQ(e.percentage, 0);
}

}  // namespace
}  // namespace marrowfield
