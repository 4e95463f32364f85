// The alignment of two phone lists: one greedy pass over the shorter list
// (string1), pairing each phone with the nearest of three phones around the
// same place in string2, passing over phones that can be silent. It records
// a value per step in simValues and the positions of mismatches and skips
// in currentMismatchedPositions; the scoring turns them into a distance.

#include <cstddef>

#include "phone_tables.h"
#include "phonetic_matcher.h"

namespace marrowfield {
namespace {

const int32_t kSkipValue = static_cast<int32_t>(SKIP_DISTANCE);

// Passing over the very first phone of string2 costs double: a word that
// starts differently sounds less alike than one that differs inside.
const int32_t kFirstPhoneSkipValue = 2 * kSkipValue;

// Never compared before the first step sets it: the first step cannot
// answer -1 because its window starts at j = 0.
constexpr int32_t kNoPreviousDistance = -99999;

}  // namespace

int PhoneticMatcher::AlignPhones(
    const PhoneIds& string1, const PhoneIds& string2,
    std::vector<int32_t>& simValues,
    std::vector<int32_t>& currentMismatchedPositions) const {
  auto passable = [this](const PhoneIds& list, size_t position) {
    return CanBeBlank(list[position]) && CanBeSkipped(list, position);
  };

  size_t i = 0;
  size_t j = 0;
  int32_t previousDistance = kNoPreviousDistance;
  int32_t currentDistance = -1;

  while (i < string1.size() && j < string2.size()) {
    const int32_t position = static_cast<int32_t>(i);
    const int nearestPhoneIndex =
        FindNearestPhone(string1[i], string2, j, currentDistance);
    switch (nearestPhoneIndex) {
      case 0:
        simValues.push_back(currentDistance);
        if (currentDistance != 0)
          currentMismatchedPositions.push_back(position);
        previousDistance = currentDistance;
        break;

      case 1:
        if (!passable(string2, j)) return -1;
        simValues.push_back(j == 0 ? kFirstPhoneSkipValue : kSkipValue);
        currentMismatchedPositions.push_back(position);
        simValues.push_back(currentDistance);
        currentMismatchedPositions.push_back(position);
        previousDistance = currentDistance;
        if (currentDistance != 0)
          currentMismatchedPositions.push_back(position);
        break;

      case -1:
        // string2[j-1] is nearest, but the previous phone already took it:
        // the phone that fits it worse is passed over.
        if (previousDistance < currentDistance) {
          if (!passable(string1, i)) return -1;
          simValues.push_back(kSkipValue);
          currentMismatchedPositions.push_back(position);
        } else {
          if (!passable(string1, i - 1)) return -1;
          // Never empty here: the previous step recorded at least one value.
          if (!simValues.empty()) simValues.pop_back();
          simValues.push_back(kSkipValue);
          simValues.push_back(currentDistance);
          previousDistance = currentDistance;
          currentMismatchedPositions.push_back(position - 1);
          currentMismatchedPositions.push_back(position - 1);
          if (IsVowel(string1[i - 1]) && i > 1 && IsVowel(string1[i - 2])) {
            simValues.push_back(kSkipValue);
            currentMismatchedPositions.push_back(position - 1);
          }
        }
        break;

      default:
        return -1;
    }
    // j moves past the phone taken (0 or +1), or stays (-1).
    j = static_cast<size_t>(static_cast<ptrdiff_t>(j) + nearestPhoneIndex + 1);
    ++i;
  }
  return AlignRemainingPhones(string1, string2, i, j,
                              currentMismatchedPositions, simValues);
}

int PhoneticMatcher::AlignRemainingPhones(
    const PhoneIds& string1, const PhoneIds& string2, size_t i, size_t j,
    std::vector<int32_t>& currentMismatchedPositions,
    std::vector<int32_t>& simValues) const {
  if (i == string1.size() && j == string2.size()) return 0;
  const PhoneIds& rest = i < string1.size() ? string1 : string2;
  const size_t start = i < string1.size() ? i : j;
  for (size_t k = start; k < rest.size(); ++k) {
    if (!CanBeBlank(rest[k]) || !CanBeSkipped(rest, k)) return -1;
    // The position itself is recorded, so leftover phones late in a long
    // word weigh more than an ordinary skip.
    simValues.push_back(static_cast<int32_t>(k));
    currentMismatchedPositions.push_back(static_cast<int32_t>(k));
  }
  return 0;
}

}  // namespace marrowfield
