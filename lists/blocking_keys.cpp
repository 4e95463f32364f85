// Blocking keys from phones. The strict alignment pairs every phone that
// cannot be silent with a related phone, in order, and related consonants
// always share an articulation group. So the sequence of groups of a word's
// consonants that cannot be silent (its skeleton; r, w, v, hh and vowels
// left out) is the same in two words whenever their strict score is above
// 0: the skeleton itself is a key that never loses a strict pair. The
// tolerant score may pass over one phone the other word lacks, so the
// skeletons with one symbol deleted are keys too (a deletion neighbourhood:
// one phone more, fewer or different still meets on a shared key), and so
// are those of a word's respelled reading, which the tolerant score also
// compares.

#include "blocking_keys.h"

#include <algorithm>
#include <string>

#include "flite_lexicon.h"
#include "phone_tables.h"
#include "phonetic_matcher.h"
#include "tolerant_reading.h"

namespace marrowfield::lists {
namespace {

// Every key starts with this, so that an empty skeleton is a key too and
// keys of single words never collide with the pair keys of pair finding.
constexpr char kSkeletonPrefix = '.';

// The skeleton symbol of a phone, or 0 for a phone that may be silent or
// is a vowel. Symbols are the articulation groups of the phone tables,
// written as letters; a phone outside the inventory (which the tables
// treat as near to every phone) gets its own symbol and so is kept apart,
// a documented loss of the guarantee that Flite's phones never cause.
char SkeletonSymbol(PhoneId phone) {
  if (phone >= kInventorySize) return '?';
  if (IsVowel(phone) || CanBeBlank(phone)) return 0;
  static const char kGroupSymbol[] = "0kstnpmrlvhx";
  const int32_t code = GetPhoneCode(phone);
  if (code < 0 || code >= static_cast<int32_t>(sizeof(kGroupSymbol) - 1))
    return '?';
  return kGroupSymbol[code];
}

}  // namespace

std::vector<std::string> PhoneKeys(const PhoneIds& phones, KeySet set) {
  std::vector<std::string> keys;
  if (phones.empty()) return keys;
  std::string skeleton(1, kSkeletonPrefix);
  for (PhoneId phone : phones) {
    if (const char symbol = SkeletonSymbol(phone)) skeleton += symbol;
  }
  keys.push_back(skeleton);
  if (set == KeySet::kExactSkeleton ||
      skeleton.size() > kMaxNeighbourSkeleton + 1)
    return keys;
  for (size_t k = 1; k < skeleton.size(); ++k) {
    // A doubled symbol gives the same neighbour twice; skip the repeat.
    if (k > 1 && skeleton[k] == skeleton[k - 1]) continue;
    std::string neighbour = skeleton;
    neighbour.erase(k, 1);
    keys.push_back(std::move(neighbour));
  }
  // A name and the same name with an ending of two consonants more
  // (Christiana/Christianson) differ by two symbols at the end, which the
  // tolerant score passes over as left-over phones: the skeleton without
  // its last two symbols meets the shorter name's own skeleton.
  constexpr size_t kMinStemSymbols = 3;
  if (skeleton.size() >= 1 + kMinStemSymbols + 2)
    keys.push_back(skeleton.substr(0, skeleton.size() - 2));
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

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
