// From an alignment to a word distance, and from a distance to the
// similarity percentage. The distance grows with the recorded values, with
// how widely they spread over the word, and shrinks with the word's length.

#include <cmath>
#include <cstdint>

#include "alignment_walk.h"
#include "phonetic_matcher.h"
#include "score_terms.h"

namespace marrowfield {
namespace {

constexpr double kSpreadFloorMin = 0.1;
constexpr double kSpreadFloorMax = 0.4;
constexpr double kSpreadFloorScale = 0.01;
constexpr double kPercentScale = 100.0;

}  // namespace

ScoreTerms ComputeScoreTerms(
    const std::vector<int32_t>& simValues,
    const std::vector<int32_t>& currentMismatchedPositions,
    size_t LengthOfWord) {
  ScoreTerms terms;
  terms.lengthOfWord = LengthOfWord;
  const int64_t m = static_cast<int64_t>(currentMismatchedPositions.size());
  terms.mismatchCount = m;
  if (m == 0) return terms;

  // 64-bit so that very long words cannot overflow the square.
  const int64_t lengthSquared =
      static_cast<int64_t>(LengthOfWord) * static_cast<int64_t>(LengthOfWord);
  const int64_t denominator = (lengthSquared - m) * m;
  terms.denominator = denominator;
  // Checked first: it also rules out an all-zero simValues (empty string1),
  // where the mean below would divide by zero.
  if (denominator <= 0) {
    terms.distance = kFailureDistance;
    return terms;
  }

  double spreadFloor =
      static_cast<double>(lengthSquared - 1) * kSpreadFloorScale;
  if (spreadFloor < kSpreadFloorMin) {
    spreadFloor = kSpreadFloorMin;
  } else if (spreadFloor > kSpreadFloorMax) {
    spreadFloor = kSpreadFloorMax;
  }
  terms.spreadFloor = spreadFloor;

  int64_t cumulativeVal = 0;
  int64_t weightedIndexSum = 0;
  for (size_t k = 0; k < simValues.size(); ++k) {
    cumulativeVal += simValues[k];
    weightedIndexSum += static_cast<int64_t>(k) * simValues[k];
  }
  terms.cumulativeValue = cumulativeVal;
  if (cumulativeVal == 0) {
    terms.distance = kFailureDistance;
    return terms;
  }

  const double total = static_cast<double>(cumulativeVal);
  const double mean = static_cast<double>(weightedIndexSum) / total;
  double variance = 0.0;
  for (size_t k = 0; k < simValues.size(); ++k) {
    const double offset = static_cast<double>(k) - mean;
    variance += simValues[k] * (offset * offset);
  }
  variance /= total;

  const double spread = std::sqrt(variance) + spreadFloor;
  terms.mean = mean;
  terms.variance = variance;
  terms.spread = spread;
  terms.distance = total * spread / static_cast<double>(denominator);
  return terms;
}

double ScoreAlignment(const std::vector<int32_t>& simValues,
                      const std::vector<int32_t>& currentMismatchedPositions,
                      size_t LengthOfWord) {
  return ComputeScoreTerms(simValues, currentMismatchedPositions, LengthOfWord)
      .distance;
}

int DistanceToPercentage(double distance) {
  if (distance == kFailureDistance || distance > 1.0) distance = 1.0;
  return static_cast<int>(kPercentScale - kPercentScale * distance);
}

double PhoneticMatcher::GetDistanceForWords(const PhoneListPair& pair) const {
  return WalkDistance<StrictTolerance>(*this, pair);
}

double PhoneticMatcher::GetDistanceForPhoneLists(const PhoneIds& list1,
                                                 const PhoneIds& list2) const {
  PhoneListPair pair{list1, list2};
  return GetDistanceForWords(pair);
}

double PhoneticMatcher::MeasureWordPair(std::string& word1, std::string& word2,
                                        PhoneListPair& pair) const {
  if (GetPhonesForPair(word1, word2, pair.first, pair.second) < 0) {
    return kFailureDistance;
  }
  return GetDistanceForWords(pair);
}

double PhoneticMatcher::CompareWords(std::string word1,
                                     std::string word2) const {
  PhoneListPair pair;
  return MeasureWordPair(word1, word2, pair);
}

}  // namespace marrowfield
