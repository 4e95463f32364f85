// Word transcription: folds case, turns every non-letter into a space and
// asks Flite's lexicon (or its letter-to-sound rules alone) for the phones.

#include <cstring>
#include <memory>
#include <utility>

#include "phone_inventory.h"
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

namespace {

// Flite's answers. A word too long for Flite, or a lexicon not yet set up,
// gives no answer.
FliteValue LookUpByRules(const cst_lexicon* lexicon, const std::string& word) {
  if (lexicon == nullptr || word.size() > kMaxFliteWordLength) return nullptr;
  if (lexicon->lts_rule_set != nullptr) {
    return FliteValue(lts_apply(word.c_str(), "", lexicon->lts_rule_set));
  }
  if (lexicon->lts_function != nullptr) {
    return FliteValue(
        lexicon->lts_function(lexicon, word.c_str(), "", nullptr));
  }
  return nullptr;
}

// A NUL inside the string ends the word for Flite, as it would for a C
// caller; nothing past it is looked at.
FliteValue LookUpInLexicon(const cst_lexicon* lexicon,
                           const std::string& word) {
  if (lexicon == nullptr || word.size() > kMaxFliteWordLength) return nullptr;
  return FliteValue(lex_lookup(lexicon, word.c_str(), nullptr, nullptr));
}

// Cache keys name the kind of lookup, then the exact string Flite gets.
constexpr char kLexiconKey = 'L';
constexpr char kRulesKey = 'R';

TranscriptionPtr Remember(const std::string& key, FliteValue answer) {
  auto transcription = std::make_shared<Transcription>();
  PhoneIds& ids = transcription->ids;
  std::vector<std::string>& names = transcription->names;
  // One allocation of the right size instead of a vector grown phone by
  // phone: this runs for every word the cache has not seen.
  size_t count = 0;
  for (const cst_val* cell = answer.get();
       cell != nullptr && cst_val_consp(cell); cell = val_cdr(cell)) {
    ++count;
  }
  ids.reserve(count);
  WalkFliteAnswer(answer.get(), [&](const char* phone, size_t length) {
    const PhoneId id = PhoneIdOf(phone, length);
    if (id == kUnknownPhone && names.empty()) {
      // From the first phone the ids cannot name, keep every name.
      for (PhoneId known : ids) {
        names.emplace_back(kPhoneInventory[known].phone);
      }
    }
    if (id == kUnknownPhone || !names.empty())
      names.emplace_back(phone, length);
    ids.push_back(id);
  });
  TranscriptionPtr result = std::move(transcription);
  CacheTranscription(key, result);
  return result;
}

}  // namespace

PhoneList PhoneticMatcher::GetPhonesByRules(const std::string& word) const {
  return ConvertFliteAnswer(LookUpByRules(lexicon, word));
}

PhoneList PhoneticMatcher::GetPhonesFromLexicon(const std::string& word) const {
  return ConvertFliteAnswer(LookUpInLexicon(lexicon, word));
}

TranscriptionPtr PhoneticMatcher::TranscribeByRules(
    const std::string& word) const {
  const std::string key = kRulesKey + word;
  if (TranscriptionPtr hit = FindCachedTranscription(key)) return hit;
  return Remember(key, LookUpByRules(lexicon, word));
}

TranscriptionPtr PhoneticMatcher::TranscribeFromLexicon(
    const std::string& word) const {
  const std::string key = kLexiconKey + word;
  if (TranscriptionPtr hit = FindCachedTranscription(key)) return hit;
  return Remember(key, LookUpInLexicon(lexicon, word));
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
