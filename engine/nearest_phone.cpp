// The nearest-phone search: which of the (at most) three phones around
// position j of the other word sounds most like a given phone.

#include "phone_tables.h"
#include "phonetic_matcher.h"

namespace marrowfield {

int PhoneticMatcher::FindNearestPhone(PhoneId phone, const PhoneIds& otherList,
                                      size_t j,
                                      int32_t& currentDistance) const {
  currentDistance = -1;
  int nearestPhoneIndex = NO_NEAREST_PHONE;
  int32_t best = UNRELATED_DISTANCE;
  const size_t first = j == 0 ? 0 : j - 1;
  const size_t last = j + 1 < otherList.size() ? j + 1 : j;
  for (size_t k = first; k <= last; ++k) {
    const int32_t d = GetPhoneDistance(phone, otherList[k]);
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
