// The replay of the walk's forced steps against the walk itself: on the
// names corpus's readings and on random phone lists (phones outside the
// inventory and the inventory's "$" among them), in each order, the
// replay says a walk gives up exactly when the tolerant walk does; and on
// these lists the strict walk then gives up too, which nothing relies on
// but would be worth knowing if it changed.

#include "forced_step_replay.h"

#include <random>
#include <string>
#include <vector>

#include "alignment_walk.h"
#include "engine_fixture.h"
#include "names_corpus.h"
#include "tolerant_reading.h"

namespace marrowfield {
namespace {

using ForcedStepReplayTest = EngineTest;

struct Checked {
  size_t pairs = 0;
  size_t givenUp = 0;  // walks the replay says give up
  size_t refused = 0;  // tolerant walks that gave up
};

// The replay's answer for one pair of lists, each order on its own: on a
// tie of lengths the first list walks, and the two walks differ.
void CheckPair(const PhoneticMatcher& matcher, const ForcedStepReplay& replay,
               const PhoneIds& a, const PhoneIds& b, Checked& checked) {
  ++checked.pairs;
  for (const bool swapped : {false, true}) {
    const PhoneIds& first = swapped ? b : a;
    const PhoneIds& second = swapped ? a : b;
    // The walk itself, not the score: a finished walk whose values score
    // as a failure is no walk that gave up.
    const WalkOrder order = OrderOfWalk(first, second);
    std::vector<int32_t> values;
    std::vector<int32_t> positions;
    NoStepRecord none;
    const bool refused =
        WalkAlignment<ForcedStepTolerance>(matcher, order.walked, order.other,
                                           values, positions, none) < 0;
    checked.refused += refused;
    const bool givesUp = replay.WalkGivesUp(first, second);
    checked.givenUp += givesUp;
    const bool readable = first.size() <= ForcedStepReplay::kMaxPhones &&
                          second.size() <= ForcedStepReplay::kMaxPhones;
    ASSERT_EQ(givesUp, refused && readable) << (swapped ? "swapped" : "");
    if (givesUp) {
      ASSERT_EQ(WalkDistance<StrictTolerance>(matcher, first, second),
                kFailureDistance)
          << (swapped ? "swapped" : "");
    }
  }
}

TEST_F(ForcedStepReplayTest,
       NamesCorpusReadings_GiveUpExactlyWhereTheWalkDoes) {
  const NameGroups groups =
      ReadLabelledNames(MARROWFIELD_SOURCE_DIR "/tests/data/names/names.tsv");
  ASSERT_FALSE(groups.empty()) << "the names corpus sample was not read";
  std::vector<NamePair> pairs = PairsWithinAndAcross(groups, 30000);
  const ForcedStepReplay replay;
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
        CheckPair(matcher, replay, *r1, *r2, checked);
        if (HasFatalFailure()) return;
      }
    }
  }
  // Both outcomes are met often (two walks a pair).
  EXPECT_GT(checked.givenUp, checked.pairs / 4);
  EXPECT_LT(checked.givenUp, checked.pairs * 7 / 4);
}

TEST_F(ForcedStepReplayTest, RandomPhoneLists_GiveUpExactlyWhereTheWalkDoes) {
  std::mt19937 random(20261211);
  // Every inventory phone and the unknown phone; short lists, where the
  // allowance is one or two forced steps, most often.
  std::uniform_int_distribution<int> phone(0, kInventorySize);
  std::uniform_int_distribution<size_t> length(1, 12);
  const ForcedStepReplay replay;
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
    CheckPair(matcher, replay, a, b, checked);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(checked.givenUp, checked.pairs / 4);
  EXPECT_LT(checked.givenUp, checked.pairs * 7 / 4);
}

TEST_F(ForcedStepReplayTest, NamedCases_GiveUpAsTheWalkDoes) {
  struct Case {
    const char* first;
    const char* second;
    bool givesUp;
  };
  const Case cases[] = {
      // k ae t iy against k eh n ax d iy: one step is allowed; the walk
      // pairs k-k, ae-eh, finds nothing near t (forced), pairs iy with ax,
      // and cannot leave d over.
      {"k ae t iy", "k eh n ax d iy", true},
      // The same for seven phones, two steps allowed.
      {"ae b d d ae l ax", "ax b ih l aa r d ow iy", true},
      // n and s of p r k ih n s find no partner, where one step is allowed.
      {"b r uh k", "p r k ih n s", true},
      // Variants the walk relates: one phone more, or unlike vowels.
      {"t aa m s ax n", "t aa m p s ax n", false},
      {"s m ih th", "s m ay dh", false},
      // A walk that finishes (at a distance above 1) is never refused.
      {"m eh r iy", "m aa r k", false},
  };
  const ForcedStepReplay replay;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " / " + c.second);
    const PhoneIds a = Phones(c.first);
    const PhoneIds b = Phones(c.second);
    EXPECT_EQ(replay.WalkGivesUp(a, b), c.givesUp);
    EXPECT_EQ(
        WalkDistance<ForcedStepTolerance>(matcher, a, b) == kFailureDistance,
        c.givesUp);
  }
}

TEST_F(ForcedStepReplayTest, LongListsAndNoTablesTellNothing) {
  const PhoneIds longList(ForcedStepReplay::kMaxPhones + 1,
                          PhoneIdOf(std::string("k")));
  const PhoneIds vowel = Phones("aa");
  const ForcedStepReplay replay;
  // One k more than the replay reads, against a vowel: the walk gives up,
  // untold.
  EXPECT_EQ(WalkDistance<ForcedStepTolerance>(matcher, vowel, longList),
            kFailureDistance);
  EXPECT_FALSE(replay.WalkGivesUp(vowel, longList));
  // The same lists cut to the replay's length are told.
  const PhoneIds cut(ForcedStepReplay::kMaxPhones, longList[0]);
  EXPECT_TRUE(replay.WalkGivesUp(vowel, cut));
  EXPECT_FALSE(replay.WalkGivesUp(vowel, PhoneIds{}));

  FreePhoneTables();
  const ForcedStepReplay withoutTables;
  EXPECT_FALSE(withoutTables.WalkGivesUp(vowel, cut));
  ASSERT_EQ(BuildPhoneTables(), 0);
}

}  // namespace
}  // namespace marrowfield
