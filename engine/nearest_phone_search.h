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
// chosen, or -1. REQUIRES: j indexes otherList.
template <typename Distance>
int FindNearestPhoneBy(Distance&& distance, PhoneId phone,
                       const PhoneIds& otherList, size_t j,
                       int32_t& currentDistance) {
  currentDistance = -1;
  int nearestPhoneIndex = NO_NEAREST_PHONE;
  int32_t best = UNRELATED_DISTANCE;
  const size_t first = j == 0 ? 0 : j - 1;
  const size_t last = j + 1 < otherList.size() ? j + 1 : j;
  for (size_t k = first; k <= last; ++k) {
    const int32_t d = distance(phone, otherList[k]);
    if (d == UNRELATED_DISTANCE) continue;
    // On a tie the phone at j beats its neighbours, and the one before j
    // beats the one after it (which can only win by being strictly nearer).
    if (d < best || (k == j && d == best)) {
      best = d;
      currentDistance = d;
      nearestPhoneIndex = static_cast<int>(k) - static_cast<int>(j);
    }
  }
  return nearestPhoneIndex;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_NEAREST_PHONE_SEARCH_H_
