// The forced step bound against the walk itself: on the names corpus's
// readings and on random phone lists (phones outside the inventory and the
// inventory's "$" among them), a walk the bound says gives up does give
// up, strictly and tolerantly, in the order asked about; and no walk that
// finishes takes fewer forced steps than the bound says it needs.

#include "forced_step_bound.h"

#include <random>
#include <string>
#include <vector>

#include "alignment_walk.h"
#include "engine_fixture.h"
#include "names_corpus.h"
#include "tolerant_reading.h"

namespace marrowfield {
namespace {

using ForcedStepBoundTest = EngineTest;

// Counts the forced steps a walk takes.
struct ForcedStepCount {
  size_t forced = 0;
  void Step(WalkStep step, WalkSide, size_t, size_t, int32_t) {
    forced += step == WalkStep::kForcedPass || step == WalkStep::kForcedPair;
  }
  void AttachToEarlier() {}
  void Withdraw() {}
};

struct Checked {
  size_t pairs = 0;
  size_t givenUp = 0;  // walks the bound proved to give up
  size_t refused = 0;  // tolerant walks that gave up
};

// The bound's promises for one pair of lists, each order on its own: on a
// tie of lengths the first list walks, and the two walks differ.
void CheckPair(const PhoneticMatcher& matcher, const ForcedStepBound& bound,
               const PhoneIds& a, const PhoneIds& b, Checked& checked) {
  ++checked.pairs;
  for (const bool swapped : {false, true}) {
    const PhoneIds& first = swapped ? b : a;
    const PhoneIds& second = swapped ? a : b;
    const double tolerant =
        WalkDistance<ForcedStepTolerance>(matcher, first, second);
    checked.refused += tolerant == kFailureDistance;
    if (!bound.WalkGivesUp(first, second)) continue;
    ++checked.givenUp;
    ASSERT_EQ(tolerant, kFailureDistance) << (swapped ? "swapped" : "");
    ASSERT_EQ(WalkDistance<StrictTolerance>(matcher, first, second),
              kFailureDistance)
        << (swapped ? "swapped" : "");
  }
  // The walk itself, with its steps counted, for the walked (shorter) list.
  const WalkOrder order = OrderOfWalk(a, b);
  std::vector<int32_t> values;
  std::vector<int32_t> positions;
  ForcedStepCount count;
  if (WalkAlignment<ForcedStepTolerance>(matcher, order.walked, order.other,
                                         values, positions, count) == 0) {
    ASSERT_LE(bound.FewestForcedSteps(a, b), count.forced);
  }
}

TEST_F(ForcedStepBoundTest, NamesCorpusReadings_GiveUpWhereTheBoundSays) {
  const NameGroups groups =
      ReadLabelledNames(MARROWFIELD_SOURCE_DIR "/tests/data/names/names.tsv");
  ASSERT_FALSE(groups.empty()) << "the names corpus sample was not read";
  std::vector<NamePair> pairs = PairsWithinAndAcross(groups, 30000);
  const ForcedStepBound bound;
  Checked checked;
  for (const NamePair& p : pairs) {
    SCOPED_TRACE(p.first + " / " + p.second);
    std::string first = p.first;
    std::string second = p.second;
    matcher.CleanWord(first);
    matcher.CleanWord(second);
    const TolerantReadings x = ReadTolerantly(matcher, first);
    const TolerantReadings y = ReadTolerantly(matcher, second);
    if (x.written.empty() || y.written.empty()) continue;
    for (const PhoneIds* r1 : {&x.written, &x.respelled}) {
      for (const PhoneIds* r2 : {&y.written, &y.respelled}) {
        if (r1->empty() || r2->empty()) continue;
        CheckPair(matcher, bound, *r1, *r2, checked);
        if (HasFatalFailure()) return;
      }
    }
  }
  // The bound is of use: it proves most of the unrelated names' walks.
  EXPECT_GT(checked.givenUp * 4, checked.refused);
  EXPECT_LE(checked.givenUp, checked.refused);
}

TEST_F(ForcedStepBoundTest, RandomPhoneLists_GiveUpWhereTheBoundSays) {
  std::mt19937 random(20261211);
  // Every inventory phone and the unknown phone; short lists, where the
  // allowance is one or two forced steps, most often.
  std::uniform_int_distribution<int> phone(0, kInventorySize);
  std::uniform_int_distribution<size_t> length(1, 12);
  const ForcedStepBound bound;
  Checked checked;
  for (int k = 0; k < 200000; ++k) {
    PhoneIds a(length(random));
    PhoneIds b(length(random));
    for (PhoneId& p : a) p = static_cast<PhoneId>(phone(random));
    for (PhoneId& p : b) p = static_cast<PhoneId>(phone(random));
    // Often one list a small change of the other, as variants are.
    if (k % 2 == 1) {
      b = a;
      const size_t at = random() % b.size();
      switch (random() % 3) {
        case 0:
          b.erase(b.begin() + static_cast<ptrdiff_t>(at));
          break;
        case 1:
          b.insert(b.begin() + static_cast<ptrdiff_t>(at),
                   static_cast<PhoneId>(phone(random)));
          break;
        default:
          b[at] = static_cast<PhoneId>(phone(random));
      }
      if (b.empty()) continue;
    }
    CheckPair(matcher, bound, a, b, checked);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(checked.givenUp, 0u);
}

TEST_F(ForcedStepBoundTest, NamedCases_ProvenBySubsequenceOrFirstSteps) {
  struct Case {
    const char* first;
    const char* second;
    size_t subsequenceSteps;  // FewestForcedSteps
    bool givesUp;
  };
  const Case cases[] = {
      // k n d iy against k ae t iy: n has no partner. One step is allowed
      // and the subsequence asks for one; the walk pairs k-k, ae-eh, finds
      // nothing near t (forced), pairs iy with ax, and leaves d and iy over.
      {"k ae t iy", "k eh n ax d iy", 1, true},
      // The same for seven phones, two steps allowed.
      {"ae b d d ae l ax", "ax b ih l aa r d ow iy", 2, true},
      // n and s of p r k ih n s find no partner, where one step is allowed.
      {"b r uh k", "p r k ih n s", 2, true},
      // Variants the walk relates: one phone more, or unlike vowels.
      {"t aa m s ax n", "t aa m p s ax n", 1, false},
      {"s m ih th", "s m ay dh", 0, false},
      // A walk that finishes (at a distance above 1) is never refused.
      {"m eh r iy", "m aa r k", 1, false},
  };
  const ForcedStepBound bound;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " / " + c.second);
    const PhoneIds a = Phones(c.first);
    const PhoneIds b = Phones(c.second);
    EXPECT_EQ(bound.FewestForcedSteps(a, b), c.subsequenceSteps);
    EXPECT_EQ(bound.WalkGivesUp(a, b), c.givesUp);
    EXPECT_EQ(
        WalkDistance<ForcedStepTolerance>(matcher, a, b) == kFailureDistance,
        c.givesUp);
  }
}

TEST_F(ForcedStepBoundTest, LongListsAndNoTablesProveNothing) {
  const PhoneIds longList(ForcedStepBound::kMaxPhones + 1,
                          PhoneIdOf(std::string("k")));
  const PhoneIds vowel = Phones("aa");
  const ForcedStepBound bound;
  // One k more than the bound reads, against a vowel: the walk gives up,
  // unproven.
  EXPECT_EQ(WalkDistance<ForcedStepTolerance>(matcher, vowel, longList),
            kFailureDistance);
  EXPECT_FALSE(bound.WalkGivesUp(vowel, longList));
  EXPECT_EQ(bound.FewestForcedSteps(vowel, longList), 0u);
  // The same lists cut to the bound's length are proven.
  const PhoneIds cut(ForcedStepBound::kMaxPhones, longList[0]);
  EXPECT_TRUE(bound.WalkGivesUp(vowel, cut));
  EXPECT_FALSE(bound.WalkGivesUp(vowel, PhoneIds{}));

  FreePhoneTables();
  const ForcedStepBound withoutTables;
  EXPECT_FALSE(withoutTables.WalkGivesUp(vowel, cut));
  ASSERT_EQ(BuildPhoneTables(), 0);
}

}  // namespace
}  // namespace marrowfield
