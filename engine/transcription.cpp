// Word transcription: folds case, turns every non-letter into a space and
// asks Flite's lexicon (or its letter-to-sound rules alone) for the phones.

#include <cstring>
#include <memory>
#include <utility>

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
  if (lexicon == nullptr || word.size() > kMaxFliteWordLength) return {};
  FliteValue answer;
  if (lexicon->lts_rule_set != nullptr) {
    answer.reset(lts_apply(word.c_str(), "", lexicon->lts_rule_set));
  } else if (lexicon->lts_function != nullptr) {
    answer.reset(lexicon->lts_function(lexicon, word.c_str(), "", nullptr));
  }
  return ConvertFliteAnswer(std::move(answer));
}

PhoneList PhoneticMatcher::GetPhonesFromLexicon(const std::string& word) const {
  if (lexicon == nullptr || word.size() > kMaxFliteWordLength) return {};
  // A NUL inside the string ends the word for Flite, as it would for a C
  // caller; nothing past it is looked at.
  FliteValue answer(lex_lookup(lexicon, word.c_str(), nullptr, nullptr));
  return ConvertFliteAnswer(std::move(answer));
}

namespace {

// Cache keys name the kind of lookup, then the exact string Flite gets.
constexpr char kLexiconKey = 'L';
constexpr char kRulesKey = 'R';

TranscriptionPtr Remember(std::string key, PhoneList phones) {
  auto transcription = std::make_shared<Transcription>();
  transcription->ids = PhoneIdsOf(phones);
  transcription->phones = std::move(phones);
  TranscriptionPtr result = std::move(transcription);
  CacheTranscription(key, result);
  return result;
}

}  // namespace

TranscriptionPtr PhoneticMatcher::TranscribeByRules(
    const std::string& word) const {
  std::string key = kRulesKey + word;
  if (TranscriptionPtr hit = FindCachedTranscription(key)) return hit;
  return Remember(std::move(key), GetPhonesByRules(word));
}

TranscriptionPtr PhoneticMatcher::TranscribeFromLexicon(
    const std::string& word) const {
  std::string key = kLexiconKey + word;
  if (TranscriptionPtr hit = FindCachedTranscription(key)) return hit;
  return Remember(std::move(key), GetPhonesFromLexicon(word));
}

TranscriptionPtr PhoneticMatcher::GetPhones(const char* word, int mode) const {
  std::string cleaned(word);
  CleanWord(cleaned);
  if (mode == kModeLtsOnly) return TranscribeByRules(cleaned);
  return TranscribeFromLexicon(cleaned);
}

int PhoneticMatcher::GetPhonesForPair(std::string& word1, std::string& word2,
                                      PhoneIds& phones1,
                                      PhoneIds& phones2) const {
  LowerCaseWord(word1);
  MapWordCharacters(word1);
  phones1 = TranscribeFromLexicon(word1)->ids;
  if (phones1.empty()) return -1;
  LowerCaseWord(word2);
  MapWordCharacters(word2);
  phones2 = TranscribeFromLexicon(word2)->ids;
  if (phones2.empty()) return -1;
  return 0;
}

}  // namespace marrowfield
