// The constants of word-by-word scoring (ValueScorer::Score, described in
// pair_finder.h), in one place beside the blocking keys' floor they must
// agree with: pair finding files a value of several words under pairs of
// its words' keys, which finds every pair of values that scores at least
// kBlockingKeysMinAccuracy only because such a pair has two full words
// alike at that level too.

#ifndef MARROWFIELD_LISTS_WORD_SCORING_H_
#define MARROWFIELD_LISTS_WORD_SCORING_H_

#include <cstddef>

#include "blocking_keys.h"

namespace marrowfield::lists {

// Words beyond this many in one value are ignored in word-by-word scoring.
constexpr size_t kMaxWordsPerValue = 16;

// The score of an initial against an initial or word of its letter.
constexpr int kInitialScore = 100;

// Two values of several words score 0 unless two of their full words (not
// initials) score at least this against each other: initials alone do not
// make two names alike.
constexpr int kMinAlikeFullWords = 60;

// In tolerant scoring a pair of full words below this counts towards its
// values' score only where the strict score relates the two words: the
// tolerant score gives unrelated words some credit, and a name would
// otherwise match another on one shared word alone.
constexpr int kMinUnrelatedWords = 60;

static_assert(kMinAlikeFullWords >= kBlockingKeysMinAccuracy,
              "values of several words are keyed by the keys of their alike "
              "full words, which the keys serve only at their floor or above");
static_assert(kMinUnrelatedWords >= kBlockingKeysMinAccuracy,
              "a counted word pair below the keys' floor must share a key, "
              "which only the strict relation guarantees");
static_assert(kMaxWordsPerValue <= 32, "words taken are kept as 32 bits");

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_WORD_SCORING_H_
