// Blocking keys: short strings derived from a value's phones such that two
// values that sound alike share at least one of them. Pair finding groups
// values by key and scores only values that share one, instead of every
// pair; a database index stores exactly these keys for the same purpose.
//
// The keys do not depend on the accuracy asked for, nor on the scoring
// mode: two values whose score, strict or tolerant, is above 0 share a key
// (skeleton_keys.h says why, for both scores). Below
// kBlockingKeysMinAccuracy, pair finding compares every pair all the same:
// the word-by-word score of values of several words is filed under pairs
// of word keys that only serve it from there.

#ifndef MARROWFIELD_LISTS_BLOCKING_KEYS_H_
#define MARROWFIELD_LISTS_BLOCKING_KEYS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "phone_tables.h"
#include "skeleton_keys.h"

namespace marrowfield::lists {

// The lowest accuracy the keys serve; below it, scan every pair.
constexpr int kBlockingKeysMinAccuracy = 60;

// The skeleton keys of one phone list (skeleton_keys.h).
using marrowfield::KeySet;
using marrowfield::PhoneKeys;

// The keys of |value| transcribed as compare_words transcribes it (the
// whole value as one word, through the lexicon), and of its tolerant
// respelled reading (tolerant_reading.h): sorted, without
// duplicates, printable ASCII. A value without phones has no keys (it
// scores 0 against everything). Values longer than the engine's word limit
// have no phones and so no keys.
// REQUIRES: the engine is initialized (lexicon set up, phone tables built).
std::vector<std::string> BlockingKeys(std::string_view value);

// The one key of |value| (transcribed as BlockingKeys transcribes it)
// that every pair with a strict whole-cell score above 0 shares: its
// skeleton. None for a value without phones.
// REQUIRES: the engine is initialized.
std::vector<std::string> SkeletonKey(std::string_view value);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_BLOCKING_KEYS_H_
