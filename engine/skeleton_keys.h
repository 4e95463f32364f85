// Skeleton keys: short strings derived from a word's phones such that two
// words the engine relates share at least one of them. The strict
// alignment pairs every phone that cannot be silent with a related phone,
// in order, and related consonants always share an articulation group; so
// the sequence of groups of a word's consonants that cannot be silent (its
// skeleton; r, w, v, hh and vowels left out) is the same in two words
// whenever their strict score is above 0. The tolerant score may pass over
// or force one phone the other word lacks, so the skeletons with one
// symbol deleted are keys too (a deletion neighbourhood: one phone more,
// fewer or different still meets on a shared key), and so is the skeleton
// without its last two symbols (an ending of two consonants more). The
// tolerant score relates only words that share one of these keys (in
// either reading), which is what makes pair finding complete for it.
//
// Neighbours relate words only where both readings are long
// (kMinPhonesForNeighbours): a short name has a short skeleton, which
// shares its neighbours with thousands of unrelated names, and there one
// consonant more, fewer or different carries a pairing through a shared
// ending or a shared vowel as often as a misspelling. A short reading's
// skeleton therefore meets skeletons and stems only. And a neighbour of
// each word relates the two only when the same symbol was deleted from
// both (one consonant for another, in place): the same neighbour reached
// from two places is a consonant moved, which the score would have to
// force twice.
// So a key has a kind, and two keys of one text meet when their kinds do
// (KindsMeet). A plain key list (PhoneKeys) leaves the kinds out: it is a
// wider net that still holds every pair the score relates.

#ifndef MARROWFIELD_ENGINE_SKELETON_KEYS_H_
#define MARROWFIELD_ENGINE_SKELETON_KEYS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "phone_tables.h"

namespace marrowfield {

// The longest skeleton (in consonant symbols) that is given its neighbour
// keys. Each neighbour is nearly as long as the skeleton, so their bytes
// grow with its square: a 100 000-letter cell would ask for gigabytes. No
// name comes near this many consonants; a longer skeleton is its word's
// only key (per reading), which still serves the strict score. Every user
// of keys (the tolerant score, pair finding, the database index, the C
// interface) gets them from here, so they agree for every text.
constexpr size_t kMaxNeighbourSkeleton = 63;

// A skeleton of at least this many symbols plus two also has the key of
// itself without its last two (Christiana/Christianson).
constexpr size_t kMinStemSymbols = 3;

// A reading of at least this many phones has neighbours; a shorter one's
// skeleton is KeyKind::kShortSkeleton. Chosen on the names corpus (seeds 2
// and 5): from five phones, a list of single names has 60% more candidate
// pairs, and more than half of the pairs that brings to 60 are different
// names (Jameson/Jason); from seven, true variants of six phones are lost
// (Spencer/Spencor, Aditya/Aditia).
constexpr size_t kMinPhonesForNeighbours = 6;

// kExactSkeleton: the skeleton alone, which serves the strict score.
// kWithNeighbours: also its neighbours and stem as above, which serve the
// tolerant score.
enum class KeySet { kExactSkeleton, kWithNeighbours };

// The keys of one phone list: sorted, without duplicates, printable ASCII,
// each starting with '.'. None for no phones.
std::vector<std::string> PhoneKeys(const PhoneIds& phones, KeySet set);

// How a key meets another of the same text. kSkeleton: a long reading's
// skeleton, or any reading's stem; it meets every key but a placed
// neighbour. kShortSkeleton: a short reading's skeleton; it meets
// skeletons and stems. kNeighbour: a long reading's skeleton with one
// symbol deleted; it meets a long reading's skeleton and stems.
// kPlacedNeighbour: the same neighbour with the deleted symbol's place
// written into its text, so that it meets only the same neighbour of
// another long reading with the same place; these texts are the kinded
// list's own (PhoneKeys has the neighbour without its place).
enum class KeyKind { kSkeleton, kShortSkeleton, kNeighbour, kPlacedNeighbour };

// Whether keys of kinds |a| and |b| and the same text meet.
constexpr bool KindsMeet(KeyKind a, KeyKind b) {
  if (a == KeyKind::kPlacedNeighbour || b == KeyKind::kPlacedNeighbour)
    return a == b;
  return a == KeyKind::kSkeleton || b == KeyKind::kSkeleton ||
         (a == KeyKind::kShortSkeleton && b == KeyKind::kShortSkeleton);
}

struct KindedKey {
  std::string text;
  KeyKind kind;
};

// The tolerant keys of one phone list with their kinds, sorted by text,
// without duplicates (a text has one kind in one reading): its skeleton,
// stem, and for a long reading its neighbours, unplaced and placed. Every
// text but the placed neighbours' is in PhoneKeys(phones,
// KeySet::kWithNeighbours).
std::vector<KindedKey> KindedPhoneKeys(const PhoneIds& phones);

// Whether a word of readings |written1| / |respelled1| and one of
// |written2| / |respelled2| share a kinded key (KindedPhoneKeys) whose
// kinds meet (an empty respelling has none). REQUIRES: PhoneTablesReady().
bool ReadingsShareKey(const PhoneIds& written1, const PhoneIds& respelled1,
                      const PhoneIds& written2, const PhoneIds& respelled2);

// The skeletons of a word's two readings, kept by a caller that asks
// ReadingsShareKey about the word many times.
struct ReadingSkeletons {
  std::string written;
  std::string respelled;
  size_t writtenPhones = 0;    // 0: the reading has no keys
  size_t respelledPhones = 0;
};
ReadingSkeletons SkeletonsOfReadings(const PhoneIds& written,
                                     const PhoneIds& respelled);

// ReadingsShareKey of the words whose readings' skeletons these are.
bool ReadingsShareKey(const ReadingSkeletons& first,
                      const ReadingSkeletons& second);

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_SKELETON_KEYS_H_
