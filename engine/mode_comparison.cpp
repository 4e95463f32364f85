// Word comparison in a scoring mode. kStrict goes straight to the engine's
// own operations; kTolerant runs the same alignment walk with the forced
// step allowance of alignment_walk.h and scores it the same way.

#include "mode_comparison.h"

#include "alignment_walk.h"
#include "flite_lexicon.h"
#include "phone_tables.h"

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

double CompareWordsInMode(const PhoneticMatcher& matcher, std::string word1,
                          std::string word2, ScoringMode mode) {
  if (mode == ScoringMode::kStrict) return matcher.CompareWords(word1, word2);
  PhoneListPair pair;
  if (matcher.GetPhonesForPair(word1, word2, pair.first, pair.second) < 0) {
    return kFailureDistance;
  }
  return GetDistanceInMode(matcher, pair, mode);
}

int ComparePercentage(const std::string& word1, const std::string& word2,
                      ScoringMode mode) {
  if (!PhoneTablesReady()) return 0;
  const PhoneticMatcher matcher(CurrentLexicon());
  return DistanceToPercentage(CompareWordsInMode(matcher, word1, word2, mode));
}

}  // namespace marrowfield
