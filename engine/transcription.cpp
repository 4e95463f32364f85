// Word transcription: folds case, turns every non-letter into a space and
// asks Flite's lexicon (or its letter-to-sound rules alone) for the phones.

#include <cstring>

#include "phonetic_matcher.h"

extern "C" {
#include <flite/cst_lts.h>
}

namespace marrowfield {

void PhoneticMatcher::LowerCaseWord(std::string& word) const {
  // Plain ASCII folding: the engine never depends on a locale.
  for (char& c : word) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

void PhoneticMatcher::MapWordCharacters(std::string& word) const {
  std::string mapped;
  mapped.reserve(word.size());
  for (char c : word) {
    // O'Neil should sound like Oneil, not like "o neil".
    if (c == '\'') continue;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    mapped.push_back(c >= 'a' && c <= 'z' ? c : ' ');
  }
  word.swap(mapped);
}

void PhoneticMatcher::CleanWord(std::string& word) const {
  LowerCaseWord(word);
  MapWordCharacters(word);
}

PhoneList PhoneticMatcher::GetPhonesByRules(const std::string& word) const {
  if (lexicon == nullptr) return {};
  FliteValue answer;
  if (lexicon->lts_rule_set != nullptr) {
    answer.reset(lts_apply(word.c_str(), "", lexicon->lts_rule_set));
  } else if (lexicon->lts_function != nullptr) {
    answer.reset(lexicon->lts_function(lexicon, word.c_str(), "", nullptr));
  }
  return ConvertFliteAnswer(std::move(answer));
}

PhoneList PhoneticMatcher::GetPhonesFromLexicon(const std::string& word) const {
  if (lexicon == nullptr) return {};
  // A NUL inside the string ends the word for Flite, as it would for a C
  // caller; nothing past it is looked at.
  FliteValue answer(lex_lookup(lexicon, word.c_str(), nullptr, nullptr));
  return ConvertFliteAnswer(std::move(answer));
}

PhoneList PhoneticMatcher::GetPhones(const char* word, int mode) const {
  std::string cleaned(word);
  CleanWord(cleaned);
  if (mode == kModeLtsOnly) return GetPhonesByRules(cleaned);
  return GetPhonesFromLexicon(cleaned);
}

int PhoneticMatcher::GetPhonesForPair(std::string& word1, std::string& word2,
                                      PhoneList& phones1,
                                      PhoneList& phones2) const {
  LowerCaseWord(word1);
  MapWordCharacters(word1);
  phones1 = GetPhonesFromLexicon(word1);
  if (phones1.empty()) return -1;
  LowerCaseWord(word2);
  MapWordCharacters(word2);
  phones2 = GetPhonesFromLexicon(word2);
  if (phones2.empty()) return -1;
  return 0;
}

}  // namespace marrowfield
