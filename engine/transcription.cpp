// Word transcription: folds case, turns every non-letter into a space,
// drops the spaces at the two ends and asks Flite's lexicon (or its letter-to-sound rules alone) for the phones.

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
  // In place: dropping apostrophes only ever moves bytes toward the front.
  size_t kept = 0;
  for (char c : word) {
    // O'Neil should sound like Oneil, not like "o neil".
    if (c == '\'') continue;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    word[kept++] = c >= 'a' && c <= 'z' ? c : ' ';
  }
  word.resize(kept);
}

void PhoneticMatcher::CleanWord(std::string& word) const {
  // Mapping folds case on its way; the separate folding is for callers
  // that want case folded and nothing else.
  MapWordCharacters(word);
  // The letter-to-sound rules read a leading or trailing space as context:
  // " John" would sound like "y aa n", and "Smythe." would not sound like
  // "Smythe". Cells pasted from other systems carry such spaces, so those
  // at the two ends go; spaces inside the word stay where they are.
  TrimSpaces(word);
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

Transcription Remember(const TranscriptionKey& key, FliteValue answer) {
  Transcription transcription = TranscriptionOf(answer.get());
  CacheTranscription(key, transcription);
  return transcription;
}

}  // namespace

Transcription TranscriptionOf(const cst_val* answer) {
  Transcription transcription;
  std::vector<std::string>& names = transcription.names;
  // Ids gather on the stack first, so that the list is allocated once at
  // its final size: this runs for every word the cache has not seen.
  PhoneId buffer[kMaxCachedPhones];
  size_t count = 0;
  PhoneIds& ids = transcription.ids;
  WalkFliteAnswer(answer, [&](const char* phone, size_t length) {
    const PhoneId id = PhoneIdOf(phone, length);
    if (id == kUnknownPhone && names.empty()) {
      // From the first phone the ids cannot name, keep every name: those
      // already spilled to the list, then those still in the buffer.
      for (PhoneId known : ids) {
        names.emplace_back(kPhoneInventory[known].phone);
      }
      for (size_t k = 0; k < count; ++k) {
        names.emplace_back(kPhoneInventory[buffer[k]].phone);
      }
    }
    if (id == kUnknownPhone || !names.empty())
      names.emplace_back(phone, length);
    if (count == kMaxCachedPhones) {
      // A long answer spills the buffer into the list and goes on there.
      ids.insert(ids.end(), buffer, buffer + count);
      count = 0;
    }
    buffer[count++] = id;
  });
  ids.insert(ids.end(), buffer, buffer + count);
  return transcription;
}

PhoneList PhoneticMatcher::GetPhonesByRules(const std::string& word) const {
  return ConvertFliteAnswer(LookUpByRules(lexicon, word));
}

PhoneList PhoneticMatcher::GetPhonesFromLexicon(const std::string& word) const {
  return ConvertFliteAnswer(LookUpInLexicon(lexicon, word));
}

Transcription PhoneticMatcher::TranscribeByRules(
    const std::string& word) const {
  const TranscriptionKey key(kRulesKey, word);
  Transcription hit;
  if (FindCachedTranscription(key, &hit)) return hit;
  return Remember(key, LookUpByRules(lexicon, word));
}

Transcription PhoneticMatcher::TranscribeFromLexicon(
    const std::string& word) const {
  return TranscribeFromLexicon(word, TranscriptionKey(kLexiconKey, word));
}

Transcription PhoneticMatcher::TranscribeFromLexicon(
    const std::string& word, const TranscriptionKey& key) const {
  Transcription hit;
  if (FindCachedTranscription(key, &hit)) return hit;
  return Remember(key, LookUpInLexicon(lexicon, word));
}

Transcription PhoneticMatcher::GetPhones(const char* word, int mode) const {
  std::string cleaned(word);
  CleanWord(cleaned);
  if (mode == kModeLtsOnly) return TranscribeByRules(cleaned);
  return TranscribeFromLexicon(cleaned);
}

int PhoneticMatcher::GetPhonesForPair(std::string& word1, std::string& word2,
                                      PhoneIds& phones1,
                                      PhoneIds& phones2) const {
  // Both words' cache entries are fetched before either is needed: the
  // first's while the second is cleaned, the second's while Flite looks up
  // the first. The second word is cleaned aside and handed back only when
  // the first has phones.
  CleanWord(word1);
  const TranscriptionKey key1(kLexiconKey, word1);
  PrefetchCachedTranscription(key1);
  std::string cleaned2 = word2;
  CleanWord(cleaned2);
  const TranscriptionKey key2(kLexiconKey, cleaned2);
  PrefetchCachedTranscription(key2);
  phones1 = TranscribeFromLexicon(word1, key1).ids;
  if (phones1.empty()) return -1;
  phones2 = TranscribeFromLexicon(cleaned2, key2).ids;
  word2.swap(cleaned2);
  if (phones2.empty()) return -1;
  return 0;
}

}  // namespace marrowfield
