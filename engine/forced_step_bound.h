// A cheap proof that the tolerant alignment walk of two phone lists must
// give up, for callers (pair finding) that ask about millions of pairs of
// which most are unrelated: proving it costs a few operations per phone,
// where the walk itself searches for every phone's partner and scores.
//
// Why it holds. Every phone of a finished walk ends in exactly one of four
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
// The walk's first step is known as well: the first phone of the walked
// (shorter) list is searched for among the first two of the other. When
// neither is near it, or only the second is and the first is solid, that
// step is forced (a forced pass or pair, or the pass over the other's
// first phone), and the rest of the walked list is paired within the
// whole other list: one forced step more than its unpaired solid phones.

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
    uint8_t firstTwo[2] = {};   // the first two phones as in Phones
    uint8_t firstSolid = 0;     // 1 when the first phone is solid
  };

  // Takes the classes of phones from the current tables, which must stay
  // as they are while the bound is used. Without tables it proves nothing.
  ForcedStepBound();

  Phones Read(const PhoneIds& phones) const;
  void Prepare(const PhoneIds& phones, Query& query) const;

  // The fewest forced steps with which any walk of |first| against
  // |second| can finish; 0 when that is not bounded (a list of more than
  // kMaxPhones phones).
  size_t FewestForcedSteps(const PhoneIds& first, const PhoneIds& second) const;

  // True only when the tolerant walk of the two lists, and so the strict
  // one, gives up: FewestForcedSteps, or the forced first step and those
  // the rest needs, exceed the walk's allowance.
  bool WalkGivesUp(const PhoneIds& first, const PhoneIds& second) const;
  // The same for the lists |query| and |other| were made from, in either
  // order.
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

  // Whether a walk whose walked list starts with |first| takes a forced
  // step at once against a list starting with the first two of the
  // |otherSize| phones |other| (all as in Phones).
  static bool FirstStepForced(uint8_t first, const uint8_t* other,
                              size_t otherSize) {
    const uint8_t c = first & kClassBits;
    const auto near = [c](uint8_t phone) {
      const uint8_t d = phone & kClassBits;
      return c == kNearAll || d == c || d == kNearAll;
    };
    if (near(other[0])) return false;
    // Paired with the other's second phone, the walk passes over the
    // first, which a solid phone allows only as a forced step.
    return otherSize < 2 || !near(other[1]) || (other[0] & kSolid) != 0;
  }
  static constexpr uint8_t kNearAll = kInventorySize;  // a class
  // A phone's class: phones near each other (in the tolerant search) are
  // always of one class; kNearAll is near every phone.
  uint8_t classOf[256];
  bool solid[256];
  bool ready = false;  // the tables were there
};

// Inline: pair finding asks it about every candidate.
bool ForcedStepBound::WalkGivesUp(const Query& query, const Phones& other) {
  if (query.size == 0 || other.size == 0) return false;
  // The walk's own allowance, for its walked (shorter) list.
  const size_t allowance =
      ForcedStepTolerance(query.size < other.size ? query.size : other.size)
          .left;
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
  if (otherSolid - common > allowance) return true;

  // The first step, from whichever list walks; two lists of one length
  // walk in the order they are given, so both must be proven then.
  const bool queryWalks = query.size <= other.size;
  const bool otherWalks = other.size <= query.size;
  if (queryWalks &&
      !FirstStepForced(query.firstTwo[0], other.phones, other.size))
    return false;
  if (otherWalks &&
      !FirstStepForced(other.phones[0], query.firstTwo, query.size))
    return false;
  // The same subsequences without the walked list's first phone.
  const uint8_t shift = query.firstSolid;
  uint64_t queryRestSolid = ~uint64_t{0};
  uint64_t queryAllOtherRest = ~uint64_t{0};
  for (size_t k = 0; k < other.size; ++k) {
    const uint8_t phone = other.phones[k];
    const uint8_t c = phone & kClassBits;
    if (queryWalks) {
      queryRestSolid = Advance(
          queryRestSolid, (query.solidMasks[c] | query.nearAllSolid) >> shift);
    }
    if (otherWalks && k > 0) {
      const uint64_t isSolid = uint64_t{0} - (phone >> 7);
      queryAllOtherRest = Advance(
          queryAllOtherRest, (query.allMasks[c] | query.nearAll) & isSolid);
    }
  }
  if (queryWalks &&
      1 + CountBits(queryRestSolid & (query.solidBits >> shift)) <= allowance)
    return false;
  if (otherWalks) {
    const size_t otherRestSolid = otherSolid - (other.phones[0] >> 7);
    const size_t restCommon =
        query.size - CountBits(queryAllOtherRest & query.allBits);
    if (1 + otherRestSolid - restCommon <= allowance) return false;
  }
  return true;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_FORCED_STEP_BOUND_H_
