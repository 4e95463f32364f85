// Phonetic codes: a word's consonant skeleton as a string of articulation
// group numbers. Vowels vanish, an r or l that may go unpronounced is
// dropped, and an er before a vowel stands for its r.

#include "phone_tables.h"
#include "phonetic_matcher.h"

namespace marrowfield {

std::string PhoneticMatcher::GetCodes(const PhoneIds& phones) const {
  static const PhoneId er = PhoneIdOf("er");
  static const PhoneId r = PhoneIdOf("r");
  static const PhoneId l = PhoneIdOf("l");
  std::string code;
  const size_t n = phones.size();
  for (size_t i = 0; i < n; ++i) {
    const PhoneId phone = phones[i];
    if (IsVowel(phone)) {
      if (phone == er && i + 1 < n && IsVowel(phones[i + 1])) {
        code += std::to_string(GetPhoneCode(r));
      }
      continue;
    }
    if ((phone == r || phone == l) && CanBeSkipped(phones, i)) continue;
    code += std::to_string(GetPhoneCode(phone));
  }
  return code;
}

}  // namespace marrowfield
