// Blocking keys of values: the skeleton keys (skeleton_keys.h) of a
// value's phones, and of its respelled reading, which the tolerant score
// also compares.

#include "blocking_keys.h"

#include <algorithm>
#include <string>

#include "flite_lexicon.h"
#include "phone_tables.h"
#include "phonetic_matcher.h"
#include "tolerant_reading.h"

namespace marrowfield::lists {

std::vector<std::string> SkeletonKey(std::string_view value) {
  const PhoneticMatcher matcher(CurrentLexicon());
  std::string word(value);
  matcher.CleanWord(word);
  if (!PhoneTablesReady()) return {};
  return PhoneKeys(matcher.TranscribeFromLexicon(word).ids,
                   KeySet::kExactSkeleton);
}

std::vector<std::string> BlockingKeys(std::string_view value) {
  const PhoneticMatcher matcher(CurrentLexicon());
  std::string word(value);
  matcher.CleanWord(word);
  if (!PhoneTablesReady()) return {};
  // The keys serve the tolerant score too, which also compares the words'
  // respelled readings: the keys of both readings.
  const TolerantReadings readings = ReadTolerantly(matcher, word);
  std::vector<std::string> keys =
      PhoneKeys(readings.written, KeySet::kWithNeighbours);
  if (readings.respelled.empty()) return keys;
  for (std::string& key :
       PhoneKeys(readings.respelled, KeySet::kWithNeighbours)) {
    keys.push_back(std::move(key));
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

}  // namespace marrowfield::lists
