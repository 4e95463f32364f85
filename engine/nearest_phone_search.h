// The nearest-phone search over any phone distance: which of the (at most)
// three phones around position j of the other list is nearest to a phone.
// The engine searches with the phone distance table; the tolerant scoring
// mode with its own, gentler distance between vowels.

#ifndef MARROWFIELD_ENGINE_NEAREST_PHONE_SEARCH_H_
#define MARROWFIELD_ENGINE_NEAREST_PHONE_SEARCH_H_

#include <cstddef>
#include <cstdint>

#include "phone_tables.h"
#include "phonetic_matcher.h"

namespace marrowfield {

// Returns the offset -1, 0 or +1 from j of the phone of |otherList|
// nearest to |phone| by |distance|, or NO_NEAREST_PHONE when none is
// nearer than UNRELATED_DISTANCE; |currentDistance| gets the distance
// chosen, or -1. |otherList| is a PhoneIds or any list of PhoneId with
// size() and operator[] (the forced step replay's inline lists).
// REQUIRES: j indexes otherList.
template <typename Distance, typename List>
int FindNearestPhoneBy(Distance&& distance, PhoneId phone,
                       const List& otherList, size_t j,
                       int32_t& currentDistance) {
  // The three distances first, a phone beyond either end as unrelated, and
  // every distance from UNRELATED_DISTANCE up as unrelated too (none is
  // ever chosen): the choice then compiles to moves without branches,
  // which the walks of unrelated names would mispredict at every phone.
  const auto cappedAt = [&](size_t k) {
    const int32_t d = distance(phone, otherList[k]);
    return d < UNRELATED_DISTANCE ? d : UNRELATED_DISTANCE;
  };
  const int32_t before = j > 0 ? cappedAt(j - 1) : UNRELATED_DISTANCE;
  const int32_t here = cappedAt(j);
  const int32_t after =
      j + 1 < otherList.size() ? cappedAt(j + 1) : UNRELATED_DISTANCE;
  int nearestPhoneIndex = NO_NEAREST_PHONE;
  int32_t best = UNRELATED_DISTANCE;
  // On a tie the phone at j beats its neighbours, and the one before j
  // beats the one after it (which can only win by being strictly nearer).
  if (before < best) {
    best = before;
    nearestPhoneIndex = -1;
  }
  if (here < UNRELATED_DISTANCE && here <= best) {
    best = here;
    nearestPhoneIndex = 0;
  }
  if (after < best) {
    best = after;
    nearestPhoneIndex = 1;
  }
  currentDistance = nearestPhoneIndex == NO_NEAREST_PHONE ? -1 : best;
  return nearestPhoneIndex;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_NEAREST_PHONE_SEARCH_H_
