// The score formula on hand-computed vectors, and the distance-to-percent
// rule.

#include <cmath>

#include "engine_fixture.h"

namespace marrowfield {
namespace {

struct ScoreCase {
  const char* name;
  std::vector<int32_t> simValues;
  std::vector<int32_t> positions;
  size_t length;
  double distance;
};

TEST(ScoreAlignmentTest, HandComputedVectors) {
  const ScoreCase cases[] = {
      {"nothing recorded", {0, 0, 0}, {}, 3, 0.0},
      {"nothing recorded, values ignored", {7, 9}, {}, 2, 0.0},
      // m=1, A=25, W=0, floor 0.1, D=8.
      {"one difference in three phones", {0, 0, 25}, {2}, 3, 25 * 0.1 / 8},
      {"place of one difference does not matter",
       {25, 0, 0},
       {0},
       3,
       25 * 0.1 / 8},
      // m=2, A=50, mean 1, W=1, D=14.
      {"two differences spread", {25, 0, 25}, {0, 2}, 3, 50 * 1.1 / 14},
      // m=3, A=10, mean 4.5, W=0.25, floor 0.35, D=99.
      {"six phones",
       {0, 0, 0, 0, 5, 5, 0},
       {4, 4, 4},
       6,
       10 * (0.5 + 0.35) / 99},
      // floor 0.15 for four phones, 0.24 for five, 0.4 from seven.
      {"floor of four", {0, 4, 0, 0}, {1}, 4, 4 * 0.15 / 15},
      {"floor of five", {0, 4, 0, 0, 0}, {1}, 5, 4 * 0.24 / 24},
      {"floor capped", {0, 0, 0, 6, 0, 0, 0}, {3}, 7, 6 * 0.4 / 48},
      {"one phone with a mismatch", {5}, {0}, 1, -1.0},
      {"empty shorter list", {0}, {0}, 0, -1.0},
      {"too many mismatches", {5, 5, 5, 5}, {0, 0, 1, 1}, 2, -1.0},
  };
  for (const ScoreCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(ScoreAlignment(c.simValues, c.positions, c.length), c.distance,
                1e-12);
  }
}

TEST(DistanceToPercentageTest, TruncatesAndTreatsFailureAsNoSimilarity) {
  const std::pair<double, int> cases[] = {
      {0.0, 100}, {0.5, 50}, {0.3125, 68},  {1.0, 0},
      {1.7, 0},   {-1.0, 0}, {0.00001, 99}, {0.0858585, 91},
  };
  for (const auto& [distance, percent] : cases) {
    EXPECT_EQ(DistanceToPercentage(distance), percent) << distance;
  }
}

using WordDistanceTest = EngineTest;

TEST_F(WordDistanceTest, ShorterListIsWalkedAndEqualLengthsKeepOrder) {
  const PhoneIds cath = Phones("k ae th er ax n");
  const PhoneIds kath = Phones("k ae th er ih n");
  EXPECT_NEAR(matcher.GetDistanceForPhoneLists(cath, kath), 8.5 / 99, 1e-12);
  EXPECT_NEAR(matcher.GetDistanceForPhoneLists(kath, cath), 25 * 0.35 / 35,
              1e-12);
  // Different lengths: the same alignment in either order.
  const PhoneIds kt = Phones("k t");
  const PhoneIds kaht = Phones("k ah t");
  EXPECT_EQ(matcher.GetDistanceForPhoneLists(kt, kaht),
            matcher.GetDistanceForPhoneLists(kaht, kt));
}

TEST_F(WordDistanceTest, EmptyListsAndRefusals) {
  EXPECT_EQ(matcher.GetDistanceForPhoneLists({}, {}), 0.0);
  EXPECT_EQ(matcher.GetDistanceForPhoneLists({}, Phones("ah")), -1.0);
  EXPECT_EQ(matcher.GetDistanceForPhoneLists(Phones("k"), Phones("m")), -1.0);
  EXPECT_EQ(matcher.GetDistanceForPhoneLists(Phones("k"), Phones("k")), 0.0);
  EXPECT_EQ(matcher.GetDistanceForPhoneLists(Phones("k"), Phones("g")), -1.0);
}

}  // namespace
}  // namespace marrowfield
