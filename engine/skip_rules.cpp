// Whether a phone may be passed over, judged from its type and its
// neighbours in its own word: silent r/l/w/v after vowels, an h after a
// consonant, and in general any first phone, any vowel, or a consonant that
// follows a vowel.

#include "phone_tables.h"
#include "phonetic_matcher.h"

namespace marrowfield {
namespace {

constexpr int32_t kNoPreviousPhone = -1;

bool IsVowelType(int32_t type) {
  return type == LONG_VOWEL || type == SHORT_VOWEL;
}

}  // namespace

bool PhoneticMatcher::CanBeSkipped(const PhoneIds& phones,
                                   size_t position) const {
  const PhoneId cur = phones[position];
  const bool isLast = position + 1 == phones.size();
  const int32_t prevType =
      position > 0 ? GetPhoneType(phones[position - 1]) : kNoPreviousPhone;
  const int32_t curType = GetPhoneType(cur);

  if (curType == YARALAVA) {
    if (position == 0) return false;
    if (prevType == CONSONANT) return false;
    // A doubled r (or l, w, v) is pronounced; neither copy is dropped.
    if (phones[position - 1] == cur) return false;
    if (IsVowelType(prevType)) {
      if (isLast) return true;
      const int32_t nextType = GetPhoneType(phones[position + 1]);
      if (nextType == CONSONANT) return true;
      if (IsVowelType(nextType)) return false;
      if (nextType == YARALAVA) return true;
      return false;
    }
    return false;
  }

  if (curType == ASPIRATE) {
    if (prevType == CONSONANT || prevType == YARALAVA) return true;
    if (IsVowelType(prevType)) return false;
    // Otherwise the general rule decides.
  }

  if (position == 0) return true;
  if (IsVowel(cur)) return true;
  return IsVowel(phones[position - 1]);
}

}  // namespace marrowfield
