// Word comparison in a chosen scoring mode, for the engine's C++ users (the
// pair finding layer and the explanation). In kStrict every function here
// gives exactly what the engine's own comparison gives: compare_words'
// percentage, GetDistanceForWords' distance.

#ifndef MARROWFIELD_ENGINE_MODE_COMPARISON_H_
#define MARROWFIELD_ENGINE_MODE_COMPARISON_H_

#include <cstdint>
#include <string>
#include <vector>

#include "phonetic_matcher.h"
#include "scoring_mode.h"

namespace marrowfield {

// Aligns |string1| (the shorter list; the first one on a tie) against
// |string2| in |mode|, appending to the two outputs as AlignPhones does,
// which it is for kStrict. Returns 0, or -1 when they cannot be aligned.
// For callers that score many pairs and keep their buffers.
// REQUIRES: PhoneTablesReady().
int AlignPhonesInMode(const PhoneticMatcher& matcher, const PhoneIds& string1,
                      const PhoneIds& string2, std::vector<int32_t>& simValues,
                      std::vector<int32_t>& currentMismatchedPositions,
                      ScoringMode mode);

// The word distance of the two phone lists of |pair| in |mode|: 0.0 for no
// difference, larger for less alike, -1.0 for lists that cannot be
// compared. kStrict is matcher.GetDistanceForWords(pair). kTolerant
// compares these phones alone; the tolerant score of two words also
// compares their respelled readings (TolerantDistanceOfReadings).
// REQUIRES: PhoneTablesReady().
double GetDistanceInMode(const PhoneticMatcher& matcher,
                         const PhoneListPair& pair, ScoringMode mode);

// The one comparison of two words' prepared readings, which every scoring
// path runs: in kStrict the written phones (|written1| against
// |written2|, as GetDistanceForWords), in kTolerant the better of the
// words as written and as respelled (TolerantDistanceOfReadings; an empty
// respelling stands for the written phones). Who walks is OrderOfWalk's.
// |simValues| and |positions| are scratch buffers. 0.0 for no difference,
// larger for less alike, -1.0 for lists that cannot be compared.
// REQUIRES: PhoneTablesReady().
double DistanceOfReadings(const PhoneticMatcher& matcher, ScoringMode mode,
                          const PhoneIds& written1, const PhoneIds& respelled1,
                          const PhoneIds& written2, const PhoneIds& respelled2,
                          std::vector<int32_t>& simValues,
                          std::vector<int32_t>& positions);

// The word distance of two words in |mode|, both transcribed through the
// lexicon (and the transcription cache), in kTolerant as written and as
// respelled; -1.0 when either has no phones.
// kStrict is matcher.CompareWords(word1, word2).
// REQUIRES: PhoneTablesReady().
double CompareWordsInMode(const PhoneticMatcher& matcher, std::string word1,
                          std::string word2, ScoringMode mode);

// The similarity percentage 0-100 of two words in |mode|, with the engine's
// own lexicon; for kStrict it equals compare_words(word1, word2). Returns 0
// when the engine is not initialized. Safe on any number of threads, but
// not while initialize() or un_initialize() runs.
int ComparePercentage(const std::string& word1, const std::string& word2,
                      ScoringMode mode);

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_MODE_COMPARISON_H_
