// The alignment of two phone lists: one greedy pass over the shorter list
// (string1), pairing each phone with the nearest of three phones around the
// same place in string2, passing over phones that can be silent. It records
// a value per step in simValues and the positions of mismatches and skips
// in currentMismatchedPositions; the scoring turns them into a distance.
// The walk itself lives in alignment_walk.h, shared with the tolerant mode
// and the explanation; here it runs strictly and records no steps.

#include "alignment_walk.h"
#include "phonetic_matcher.h"

namespace marrowfield {

int PhoneticMatcher::AlignPhones(
    const PhoneIds& string1, const PhoneIds& string2,
    std::vector<int32_t>& simValues,
    std::vector<int32_t>& currentMismatchedPositions) const {
  NoStepRecord none;
  return WalkAlignment<StrictTolerance>(*this, string1, string2, simValues,
                                        currentMismatchedPositions, none);
}

int PhoneticMatcher::AlignRemainingPhones(
    const PhoneIds& string1, const PhoneIds& string2, size_t i, size_t j,
    std::vector<int32_t>& currentMismatchedPositions,
    std::vector<int32_t>& simValues) const {
  StrictTolerance strict(string1.size());
  NoStepRecord none;
  return WalkRemainingPhones(*this, string1, string2, i, j,
                             currentMismatchedPositions, simValues, strict,
                             none);
}

}  // namespace marrowfield
