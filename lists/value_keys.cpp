// Filing prepared values under keys: single words under their blocking
// keys, values of several words under pairs of word keys.

#include "value_keys.h"

#include <algorithm>
#include <string>

namespace marrowfield::lists {
namespace {

// Word keys of values of several words; letter keys start with a byte that
// no skeleton key starts with.
constexpr char kLetterPrefix = '#';
constexpr char kPairSeparator = '|';

struct WordKey {
  std::string text;
  bool letter = false;       // a letter key rather than a phone key
  bool fromInitial = false;  // a letter key of an initial
  bool neighbour = false;    // a skeleton's neighbour, not the skeleton
};

std::vector<WordKey> WordKeys(const PreparedWord& word, KeySet set) {
  std::vector<WordKey> keys;
  keys.push_back({std::string{kLetterPrefix, word.letter}, true, word.initial});
  if (!word.initial) {
    for (const PhoneIds* reading : {&word.phones, &word.respelled}) {
      if (reading->empty()) continue;
      const std::vector<std::string> exact =
          PhoneKeys(*reading, KeySet::kExactSkeleton);
      for (std::string& key : PhoneKeys(*reading, set)) {
        const bool neighbour = exact.empty() || key != exact[0];
        keys.push_back({std::move(key), false, false, neighbour});
      }
    }
  }
  return keys;
}

ValueKeyKind KindOf(KeyKind kind) {
  switch (kind) {
    case KeyKind::kNeighbour:
      return ValueKeyKind::kNeighbour;
    case KeyKind::kShortSkeleton:
      return ValueKeyKind::kShortSkeleton;
    case KeyKind::kSkeleton:
    case KeyKind::kPlacedNeighbour:
      break;
  }
  return ValueKeyKind::kFull;
}

}  // namespace

uint64_t HashKey(std::string_view key) {
  uint64_t hash = 14695981039346656037ull;
  for (char c : key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::vector<ValueKey> ValueKeys(const PreparedValue& value, KeySet set) {
  std::vector<ValueKey> keys;
  const auto& words = value.words;
  if (words.size() == 1) {
    if (!words[0].initial) {
      // The tolerant score compares both readings of a word, so a value is
      // filed under the keys of each (the respelled one is empty in the
      // strict mode).
      for (const PhoneIds* reading : {&words[0].phones, &words[0].respelled}) {
        if (set == KeySet::kExactSkeleton) {
          for (const std::string& key : PhoneKeys(*reading, set))
            keys.push_back({HashKey(key), ValueKeyKind::kFull});
          continue;
        }
        for (const KindedKey& key : KindedPhoneKeys(*reading))
          keys.push_back({HashKey(key.text), KindOf(key.kind)});
      }
    }
  } else {
    std::vector<std::vector<WordKey>> wordKeys;
    wordKeys.reserve(words.size());
    for (const PreparedWord& word : words)
      wordKeys.push_back(WordKeys(word, set));
    for (size_t p = 0; p < words.size(); ++p) {
      for (size_t q = p + 1; q < words.size(); ++q) {
        for (const WordKey& k1 : wordKeys[p]) {
          for (const WordKey& k2 : wordKeys[q]) {
            // Two letters alone never make a match (initials do not).
            if (k1.letter && k2.letter) continue;
            // Two neighbours together gather unrelated names in large
            // numbers; one word of a pair keeps its own skeleton.
            if (k1.neighbour && k2.neighbour) continue;
            const WordKey& letter = k1.letter ? k1 : k2;
            const bool indexOnly =
                (k1.letter || k2.letter) && !letter.fromInitial;
            const bool ordered = k1.text < k2.text;
            const std::string text = (ordered ? k1.text : k2.text) +
                                     kPairSeparator +
                                     (ordered ? k2.text : k1.text);
            keys.push_back({HashKey(text), indexOnly ? ValueKeyKind::kIndexOnly
                                                     : ValueKeyKind::kFull});
          }
        }
      }
    }
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  // One text may be a neighbour in one reading and the skeleton in the
  // other: the kind that meets the most keys is the one kept.
  if (words.size() == 1) {
    keys.erase(std::unique(keys.begin(), keys.end(),
                           [](const ValueKey& a, const ValueKey& b) {
                             return a.hash == b.hash;
                           }),
               keys.end());
  }
  return keys;
}

}  // namespace marrowfield::lists
