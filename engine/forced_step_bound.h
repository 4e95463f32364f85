// A cheap proof that the tolerant alignment walk of two phone lists must
// give up, for callers (pair finding) that ask about millions of pairs of
// which most are unrelated: proving it costs a few operations per phone,
// where the walk itself searches for every phone's partner and scores.
//
// Why it holds. Every phone of a finished walk ends in exactly one of three
// states: paired with a phone of the other list that the nearest-phone
// search found nearer than UNRELATED_DISTANCE, passed over as silent
// (which only a phone that can be blank is), or taken by a forced step; a
// forced pass takes one phone, a forced pair one of each list. The pairs
// keep the order of both lists. So the phones of one list that cannot be
// blank (solid phones) and are left unpaired each cost a forced step of
// their own, and there are at least as many of them as that list's solid
// phones, less the longest common subsequence of those phones and the
// other list under "near" (a relation the bound widens to classes of
// phones, which only makes the subsequence longer). When either list needs
// more forced steps than the walk is allowed (ForcedStepTolerance), the
// walk runs out and gives up: its distance is kFailureDistance. The strict
// walk, allowed none and searching with distances no smaller, then gives
// up too.
//
// The walk's first steps are known as well, while at each the walked
// (shorter) list's phone is near exactly one of the (at most) three phones
// the search looks at: it pairs with that one, passing over the other
// list's phone before it (a forced step if that is solid) or the walked
// list's phone before it or itself (forced if both are solid). Where none
// is near, the step is forced: a pair, or a pass when the next phone is
// near the same phone of the other list. Where the walk is no longer
// certain, the rest of the walked list pairs within the whole other list:
// the forced steps so far, plus its unpaired solid phones, are a bound
// too.

#ifndef MARROWFIELD_ENGINE_FORCED_STEP_BOUND_H_
#define MARROWFIELD_ENGINE_FORCED_STEP_BOUND_H_

#include <cstddef>
#include <cstdint>

#include "alignment_walk.h"
#include "phone_tables.h"

namespace marrowfield {

class ForcedStepBound {
 public:
  // Lists of more phones than this are never proven to give up.
  static constexpr size_t kMaxPhones = 15;

  // A phone list as the bound reads it, held inline so that many can lie
  // side by side: each phone's class, and kSolid for a solid phone.
  struct Phones {
    uint8_t size = 0;  // 0: nothing to prove with
    uint8_t phones[kMaxPhones] = {};
    PhoneId ids[kMaxPhones] = {};  // the phones themselves
  };

  // One list prepared to be compared with many others.
  struct Query {
    uint8_t size = 0;  // 0: nothing to prove with
    // Bit k of solidMasks[c]: the k-th solid phone is of class c; of
    // allMasks[c]: the k-th phone is. The class near every phone has
    // every bit.
    uint64_t solidMasks[kInventorySize + 1] = {};
    uint64_t allMasks[kInventorySize + 1] = {};
    uint64_t solidBits = 0;     // one bit per solid phone
    uint64_t allBits = 0;       // one bit per phone
    uint64_t nearAllSolid = 0;  // the solid phones near every phone
    uint64_t nearAll = 0;       // the phones near every phone
    Phones phones;              // the list itself
    uint8_t solidBefore[kMaxPhones + 1] = {};  // solid phones before k
    const ForcedStepBound* bound = nullptr;    // that prepared it
  };

  // Takes the classes of phones from the current tables, which must stay
  // as they are while the bound is used. Without tables it proves nothing.
  ForcedStepBound();

  Phones Read(const PhoneIds& phones) const;
  void Prepare(const PhoneIds& phones, Query& query) const;

  // At most the forced steps of any walk of |first| against |second| that
  // finishes, from the subsequences alone; 0 for a list of more than
  // kMaxPhones phones.
  size_t FewestForcedSteps(const PhoneIds& first, const PhoneIds& second) const;

  // True only when the tolerant walk of |first| against |second| (in that
  // order, which decides who walks when the lengths tie), and so the
  // strict one, gives up: FewestForcedSteps, or the forced steps of the
  // walk's certain first steps with those the rest needs, exceed its
  // allowance.
  bool WalkGivesUp(const PhoneIds& first, const PhoneIds& second) const;
  // The same for the lists |query| (first) and |other| were made from.
  static inline bool WalkGivesUp(const Query& query, const Phones& other);

 private:
  static constexpr uint8_t kSolid = 0x80;
  static constexpr uint8_t kClassBits = static_cast<uint8_t>(~kSolid);

  // The bits set in |x|, without the library call that a build for any
  // x86-64 makes of the builtin.
  static size_t CountBits(uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return static_cast<size_t>((x * 0x0101010101010101ull) >> 56);
  }

  // One column of a subsequence: |v|'s zero bits (below the pattern's
  // length) count the longest common subsequence of the pattern and the
  // phones scanned so far; |match| marks the pattern's phones alike to the
  // next phone.
  static uint64_t Advance(uint64_t v, uint64_t match) {
    const uint64_t u = v & match;
    return (v + u) | (v - u);
  }

  // The fewest forced steps the walk of the query's list (|queryWalks|)
  // or of |other| against the other one can finish with, following the
  // walk's first steps while each is certain; once that passes |allowance|
  // it stops there, with a count above it. Not inline: asked only where
  // the subsequences prove nothing.
  static size_t FollowedForcedSteps(const Query& query, const Phones& other,
                                    bool queryWalks, size_t allowance);
  // The solid phones of the walked list from |from| on that find no
  // partner in the longest common subsequence with the whole other list.
  static size_t UnpairedFrom(const Query& query, const Phones& other,
                             bool queryWalks, size_t from);
  static constexpr uint8_t kNearAll = kInventorySize;  // a class
  // A phone's class: phones near each other (in the tolerant search) are
  // always of one class; kNearAll is near every phone.
  uint8_t classOf[256];
  bool solid[256];
  bool nearPhones[kPhoneIdCount][kPhoneIdCount];  // in the tolerant search
  bool ready = false;                             // the tables were there
};

// Inline: pair finding asks it about every candidate.
bool ForcedStepBound::WalkGivesUp(const Query& query, const Phones& other) {
  if (query.size == 0 || other.size == 0) return false;
  // The walk's own allowance, for its walked (shorter) list.
  const size_t allowance =
      ForcedStepTolerance(query.size < other.size ? query.size : other.size)
          .left;
  // The walk's first steps, from the list that walks (the shorter, the
  // query's on a tie), prove most of what is proven, and stop early.
  if (FollowedForcedSteps(query, other, query.size <= other.size, allowance) >
      allowance)
    return true;
  // Two subsequences in one pass over |other|: the query's solid phones
  // against all of other's, and all of the query's phones against other's
  // solid phones (a subsequence is the same read from either list).
  uint64_t querySolid = ~uint64_t{0};
  uint64_t queryAll = ~uint64_t{0};
  size_t otherSolid = 0;
  for (size_t k = 0; k < other.size; ++k) {
    const uint8_t phone = other.phones[k];
    const uint8_t c = phone & kClassBits;
    querySolid = Advance(querySolid, query.solidMasks[c] | query.nearAllSolid);
    // Zero for a phone that can be blank, which then changes nothing.
    const uint64_t isSolid = uint64_t{0} - (phone >> 7);
    otherSolid += phone >> 7;
    queryAll = Advance(queryAll, (query.allMasks[c] | query.nearAll) & isSolid);
  }
  // A one bit below the length is a phone outside the subsequence.
  if (CountBits(querySolid & query.solidBits) > allowance) return true;
  const size_t common = query.size - CountBits(queryAll & query.allBits);
  return otherSolid - common > allowance;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_FORCED_STEP_BOUND_H_
