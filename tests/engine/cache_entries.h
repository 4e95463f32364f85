// Made-up cache entries for the cache's own tests: keys numbered as
// letters, and values that spell their key, so that an answer given for
// the wrong key cannot pass for the right one.

#ifndef MARROWFIELD_TESTS_ENGINE_CACHE_ENTRIES_H_
#define MARROWFIELD_TESTS_ENGINE_CACHE_ENTRIES_H_

#include <string>

#include "phone_tables.h"
#include "transcription_cache.h"

namespace marrowfield {

// The ids spell the word's length and its letters.
inline Transcription Spelled(const std::string& word) {
  Transcription t;
  t.ids.push_back(static_cast<PhoneId>(word.size() % kInventorySize));
  for (char c : word) t.ids.push_back(static_cast<PhoneId>(c % kInventorySize));
  return t;
}

// 0 -> "a", 12 -> "bc", ...
inline std::string NumberWord(int n) {
  std::string word = std::to_string(n);
  for (char& c : word) c = static_cast<char>('a' + (c - '0'));
  return word;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ENGINE_CACHE_ENTRIES_H_
