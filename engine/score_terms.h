// The terms of the word distance of an alignment, kept apart so that an
// explanation can show how the engine's own arithmetic adds up. The
// engine's ScoreAlignment is ComputeScoreTerms(...).distance.

#ifndef MARROWFIELD_ENGINE_SCORE_TERMS_H_
#define MARROWFIELD_ENGINE_SCORE_TERMS_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace marrowfield {

struct ScoreTerms {
  size_t lengthOfWord = 0;      // L: phones of the shorter (walked) list
  int64_t mismatchCount = 0;    // m: mismatch positions, duplicates counted
  int64_t denominator = 0;      // D = (L*L - m) * m
  double spreadFloor = 0.0;     // (L*L - 1) / 100, kept within 0.1 .. 0.4
  int64_t cumulativeValue = 0;  // A: the sum of the values
  double mean = 0.0;            // the value-weighted mean index of the values
  double variance = 0.0;        // the value-weighted variance of that index
  double spread = 0.0;          // sqrt(variance) + spreadFloor
  // A * spread / D; 0.0 when m is 0; -1.0 when D <= 0 or A is 0. Terms
  // after the one that decided are left at 0.
  double distance = 0.0;
};

ScoreTerms ComputeScoreTerms(
    const std::vector<int32_t>& simValues,
    const std::vector<int32_t>& currentMismatchedPositions,
    size_t LengthOfWord);

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_SCORE_TERMS_H_
