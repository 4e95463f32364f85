// The nearest-phone search: which of the (at most) three phones around
// position j of the other word sounds most like a given phone, by the
// phone distance table.

#include "nearest_phone_search.h"
#include "phone_tables.h"
#include "phonetic_matcher.h"

namespace marrowfield {

int PhoneticMatcher::FindNearestPhone(PhoneId phone, const PhoneIds& otherList,
                                      size_t j,
                                      int32_t& currentDistance) const {
  const auto tableDistance = [](PhoneId a, PhoneId b) {
    return GetPhoneDistance(a, b);
  };
  return FindNearestPhoneBy(tableDistance, phone, otherList, j,
                            currentDistance);
}

}  // namespace marrowfield
