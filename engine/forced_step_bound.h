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

#include "phone_tables.h"

namespace marrowfield {

class ForcedStepBound {
 public:
  // Lists of more phones than this are never proven to give up.
  static constexpr size_t kMaxPhones = 23;

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
    uint64_t solidBits = 0;  // one bit per solid phone
    uint64_t allBits = 0;    // one bit per phone
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
  size_t FewestForcedSteps(const PhoneIds& first,
                           const PhoneIds& second) const;

  // True only when the tolerant walk of the two lists, and so the strict
  // one, gives up: FewestForcedSteps exceeds the walk's allowance.
  bool WalkGivesUp(const PhoneIds& first, const PhoneIds& second) const;
  // The same for the lists |query| and |other| were made from, in either
  // order.
  static bool WalkGivesUp(const Query& query, const Phones& other);

 private:
  static constexpr uint8_t kSolid = 0x80;
  // Whether a walk whose walked list starts with |first| takes a forced
  // step at once against a list starting with the first two of the
  // |otherSize| phones |other| (all as in Phones).
  static bool FirstStepForced(uint8_t first, const uint8_t* other,
                              size_t otherSize);
  static constexpr uint8_t kNearAll = kInventorySize;  // a class
  // A phone's class: phones near each other (in the tolerant search) are
  // always of one class; kNearAll is near every phone.
  uint8_t classOf[256];
  bool solid[256];
  bool ready = false;  // the tables were there
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_FORCED_STEP_BOUND_H_
