// Blocking keys: short strings derived from a value's phones such that two
// values that sound alike share at least one of them. Pair finding groups
// values by key and scores only values that share one, instead of every
// pair; a database index stores exactly these keys for the same purpose.
//
// The keys do not depend on the accuracy asked for, nor on the scoring
// mode: two values whose score, strict or tolerant, reaches
// kBlockingKeysMinAccuracy share a key (a recall of at least 99.5 % on
// name variants; the strict score is covered without exception, see
// blocking_keys.cpp). Below that accuracy callers must compare every pair.

#ifndef MARROWFIELD_LISTS_BLOCKING_KEYS_H_
#define MARROWFIELD_LISTS_BLOCKING_KEYS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "phone_tables.h"

namespace marrowfield::lists {

// The lowest accuracy the keys serve; below it, scan every pair.
constexpr int kBlockingKeysMinAccuracy = 60;

// The longest skeleton (in consonant symbols) that is given its neighbour
// keys. Each neighbour is nearly as long as the skeleton, so their bytes
// grow with its square: a 100 000-letter cell would ask for gigabytes. No
// name comes near this many consonants; a longer skeleton is its value's
// only key (per reading), which still serves the strict score. Every user
// of keys (pair finding, the database index, the C interface) gets them
// from here, so they agree for every text.
constexpr size_t kMaxNeighbourSkeleton = 63;

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

// The keys of one phone list, as above. kExactSkeleton keys alone already
// serve the strict score; kWithNeighbours adds the keys that keep the
// tolerant score's pairs (one phone more or less, or two more at the end)
// together, for skeletons of up to kMaxNeighbourSkeleton symbols (longer
// ones keep their skeleton alone). The tolerant score also compares respelled
// readings: a value is filed under the keys of each of its readings.
enum class KeySet { kExactSkeleton, kWithNeighbours };
std::vector<std::string> PhoneKeys(const PhoneIds& phones, KeySet set);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_BLOCKING_KEYS_H_
