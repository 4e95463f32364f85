// Word comparison in a scoring mode. kStrict goes straight to the engine's
// own operations; kTolerant runs the same alignment walk with the forced
// step allowance of alignment_walk.h, scores it the same way, and does so
// for the words as written and as respelled (tolerant_reading.h).

#include "mode_comparison.h"

#include "alignment_walk.h"
#include "flite_lexicon.h"
#include "per_thread.h"
#include "phone_tables.h"
#include "tolerant_reading.h"
#include "transcription_cache.h"

namespace marrowfield {

int AlignPhonesInMode(const PhoneticMatcher& matcher, const PhoneIds& string1,
                      const PhoneIds& string2, std::vector<int32_t>& simValues,
                      std::vector<int32_t>& currentMismatchedPositions,
                      ScoringMode mode) {
  if (mode == ScoringMode::kStrict) {
    return matcher.AlignPhones(string1, string2, simValues,
                               currentMismatchedPositions);
  }
  NoStepRecord none;
  return WalkAlignment<ForcedStepTolerance>(
      matcher, string1, string2, simValues, currentMismatchedPositions, none);
}

double GetDistanceInMode(const PhoneticMatcher& matcher,
                         const PhoneListPair& pair, ScoringMode mode) {
  if (mode == ScoringMode::kStrict) return matcher.GetDistanceForWords(pair);
  return WalkDistance<ForcedStepTolerance>(matcher, pair);
}

double DistanceOfReadings(const PhoneticMatcher& matcher, ScoringMode mode,
                          const PhoneIds& written1, const PhoneIds& respelled1,
                          const PhoneIds& written2, const PhoneIds& respelled2,
                          std::vector<int32_t>& simValues,
                          std::vector<int32_t>& positions) {
  if (mode == ScoringMode::kStrict) {
    return WalkDistance<StrictTolerance>(matcher, written1, written2,
                                         simValues, positions);
  }
  return TolerantDistanceOfReadings(matcher, written1, respelled1, written2,
                                    respelled2);
}

double CompareWordsInMode(const PhoneticMatcher& matcher, std::string word1,
                          std::string word2, ScoringMode mode) {
  if (mode == ScoringMode::kStrict) return matcher.CompareWords(word1, word2);
  // As GetPhonesForPair: both cache entries are fetched before either is
  // read, so that their memory arrives together.
  matcher.CleanWord(word1);
  const TranscriptionKey key1 = TolerantReadingsKey(word1);
  PrefetchCachedTranscription(key1);
  matcher.CleanWord(word2);
  const TranscriptionKey key2 = TolerantReadingsKey(word2);
  PrefetchCachedTranscription(key2);
  // Kept per thread: a warm comparison then allocates nothing for them.
  MARROWFIELD_PER_THREAD TolerantReadings first;
  MARROWFIELD_PER_THREAD TolerantReadings second;
  ReadTolerantly(matcher, word1, key1, first);
  if (first.written.empty()) return kFailureDistance;
  ReadTolerantly(matcher, word2, key2, second);
  if (second.written.empty()) return kFailureDistance;
  return TolerantDistanceOfReadings(matcher, first.written, first.respelled,
                                    second.written, second.respelled);
}

int ComparePercentage(const std::string& word1, const std::string& word2,
                      ScoringMode mode) {
  if (!PhoneTablesReady()) return 0;
  const PhoneticMatcher matcher(CurrentLexicon());
  return DistanceToPercentage(CompareWordsInMode(matcher, word1, word2, mode));
}

}  // namespace marrowfield
