// The alignment of two phone lists: the values and positions it records for
// every kind of step, its refusals and the remaining-phones rule.

#include "engine_fixture.h"

namespace marrowfield {
namespace {

using AlignmentTest = EngineTest;

struct AlignCase {
  const char* name;
  const char* string1;
  const char* string2;
  int result;
  std::vector<int32_t> simValues;
  std::vector<int32_t> positions;
};

TEST_F(AlignmentTest, RecordsValuesAndPositionsOfEveryStep) {
  const AlignCase cases[] = {
      {"identical lists", "s m ih th", "s m ih th", 0, {0, 0, 0, 0}, {}},
      {"both empty", "", "", 0, {}, {}},
      {"one substitution", "s m ih th", "s m ay th", 0, {0, 0, 25, 0}, {2}},
      {"pass over string2 phone", "k t", "k ah t", 0, {0, 5, 0}, {1, 1}},
      {"pass over string2 phone with a mismatch",
       "k d",
       "k ah t",
       0,
       {0, 5, 15},
       {1, 1, 1}},
      {"pass over first phone of string2", "t", "hh t", 0, {10, 0}, {0, 0}},
      {"remaining phones record positions",
       "k aa",
       "k aa r",
       0,
       {0, 0, 2},
       {2}},
      {"string1 empty, all silent-capable", "", "ah", 0, {0}, {0}},
      // ax's nearest is the er already taken at distance 0: ax is passed
      // over; then ih of string2 is passed over for n, at i = 5.
      {"pass over current phone",
       "k ae th er ax n",
       "k ae th er ih n",
       0,
       {0, 0, 0, 0, 5, 5, 0},
       {4, 5, 5}},
      // ax's nearest is the ax that ah took at 2: ah is passed over and
      // its 2 becomes 5 and 0.
      {"pass over previous phone",
       "k ah ax t",
       "k ax t",
       0,
       {0, 5, 0, 0},
       {1, 1, 1}},
      // The same after a vowel costs one skip more; the leftover ah of
      // string2 records its position.
      {"pass over vowel after vowel",
       "aa ih iy",
       "aa iy ah",
       0,
       {0, 5, 0, 5, 2},
       {1, 1, 1, 1, 2}},
  };
  for (const AlignCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<int32_t> simValues;
    std::vector<int32_t> positions;
    EXPECT_EQ(matcher.AlignPhones(Phones(c.string1), Phones(c.string2),
                                  simValues, positions),
              c.result);
    EXPECT_EQ(simValues, c.simValues);
    EXPECT_EQ(positions, c.positions);
  }
}

TEST_F(AlignmentTest, Refusals) {
  const std::pair<const char*, const char*> cases[] = {
      {"k", "m"},             // nothing in the window is near
      {"k t", "k s t"},       // s cannot be blank
      {"", "k"},              // k cannot be silent
      {"k aa", "k aa t"},     // remaining t cannot be blank
      {"k ae aa", "k aa t"},  // previous phone ae cannot be blank
      {"k aa ae", "k aa t"},  // current phone ae cannot be blank
  };
  for (const auto& [string1, string2] : cases) {
    SCOPED_TRACE(std::string(string1) + " / " + string2);
    std::vector<int32_t> simValues;
    std::vector<int32_t> positions;
    EXPECT_EQ(matcher.AlignPhones(Phones(string1), Phones(string2), simValues,
                                  positions),
              -1);
  }
}

TEST_F(AlignmentTest, RemainingPhonesOfString1AreJudgedInWholeList) {
  std::vector<int32_t> simValues;
  std::vector<int32_t> positions;
  EXPECT_EQ(matcher.AlignRemainingPhones(Phones("k aa r"), Phones("k aa"), 2, 2,
                                         positions, simValues),
            0);
  EXPECT_EQ(simValues, (std::vector<int32_t>{2}));
  EXPECT_EQ(positions, (std::vector<int32_t>{2}));
  EXPECT_EQ(matcher.AlignRemainingPhones(Phones("k r"), Phones("k"), 1, 1,
                                         positions, simValues),
            -1);
}

}  // namespace
}  // namespace marrowfield
