// The keys under which pair finding files a prepared value. A value of one
// word (or a whole cell) is filed under its blocking keys. A value of
// several words can only reach kBlockingKeysMinAccuracy against another
// value of several words, and then at least two of its words score above
// 0 against two words of the other (see the word-by-word rule in
// pair_finder.h); so it is filed under pairs of its words' keys, where an
// initial's key is its letter. A full word's first letter is a key too,
// but only to be found by a value whose initial has that letter: such
// keys are marked kIndexOnly and never pair two values by themselves.
// With the tolerant keys, a pair key joins at most one skeleton neighbour
// with a skeleton: two neighbours together would file unrelated names
// together by the thousand, and names misspelt in both words at once are
// rare (the recall test measures what this costs).

#ifndef MARROWFIELD_LISTS_VALUE_KEYS_H_
#define MARROWFIELD_LISTS_VALUE_KEYS_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "blocking_keys.h"
#include "value_scorer.h"

namespace marrowfield::lists {

// How a filed key meets another of the same hash, in the order the index
// keeps them, each kind meeting the kinds up to one (KindsMeet of
// skeleton_keys.h): kFull meets every key; kShortSkeleton, a single word's
// short reading's skeleton, meets kFull and kShortSkeleton; kNeighbour, a
// single word's long reading's neighbour, and kIndexOnly meet kFull only.
// A placed neighbour is kFull: its text is no other kind's.
enum class ValueKeyKind : uint8_t {
  kFull,
  kShortSkeleton,
  kNeighbour,
  kIndexOnly,
};

struct ValueKey {
  uint64_t hash = 0;  // the key's text, hashed
  ValueKeyKind kind = ValueKeyKind::kFull;
  bool operator<(const ValueKey& o) const {
    return hash != o.hash ? hash < o.hash : kind < o.kind;
  }
  bool operator==(const ValueKey& o) const {
    return hash == o.hash && kind == o.kind;
  }
};

// The keys of |value|, sorted, without duplicates.
std::vector<ValueKey> ValueKeys(const PreparedValue& value, KeySet set);

// A stable 64-bit hash of a key's text (FNV-1a).
uint64_t HashKey(std::string_view key);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_VALUE_KEYS_H_
