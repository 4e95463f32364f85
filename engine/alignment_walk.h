// The greedy alignment walk itself, as a template shared by the engine's
// strict alignment, the tolerant scoring mode and the explanation of a
// comparison. A Tolerance says whether a phone that cannot be silent may
// be passed over at a cost; a StepRecord hears of every step the walk
// takes. The strict engine instantiates it with neither, so that its code
// is what it always was: the record's empty methods vanish when inlined,
// and the tolerant branches are discarded at compile time.

#ifndef MARROWFIELD_ENGINE_ALIGNMENT_WALK_H_
#define MARROWFIELD_ENGINE_ALIGNMENT_WALK_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "nearest_phone_search.h"
#include "phone_tables.h"
#include "phonetic_matcher.h"
#include "walk_order.h"

namespace marrowfield {

// Which list of the walk a phone belongs to: string1 (the walked, shorter
// list) or string2.
enum class WalkSide { kFirst, kSecond };

// What a step of the walk did, as a StepRecord hears it.
enum class WalkStep {
  kPaired,      // string1[i] against string2[j] at their distance
  kSkipped,     // a silent-capable phone passed over
  kLeftOver,    // a silent-capable phone left at the end
  kForcedPass,  // tolerant: a phone that cannot be silent passed over
  kForcedPair,  // tolerant: two unlike phones set against each other
  kRefused,     // the walk gives up here
};

// The record the strict engine uses: it hears nothing.
struct NoStepRecord {
  void Step(WalkStep, WalkSide, size_t, size_t, int32_t) {}
  void AttachToEarlier() {}
  void Withdraw() {}
};

// The strict rule: a phone is passed over only when it can be silent.
struct StrictTolerance {
  static constexpr bool kTolerant = false;
  explicit StrictTolerance(size_t) {}
  bool Spend() { return false; }
  static int Nearest(const PhoneticMatcher& matcher, PhoneId phone,
                     const PhoneIds& otherList, size_t j,
                     int32_t& currentDistance) {
    return matcher.FindNearestPhone(phone, otherList, j, currentDistance);
  }
};

// The tolerant mode. The strict walk gives up at the first phone it can
// neither pair nor pass over as silent, so one extra or missing consonant
// (Philip/Philips, Thompson/Thomson) scores 0. The tolerant walk takes the
// same steps wherever the strict one can, and where it would give up it
// takes a forced step instead: the phone the strict walk wanted to pass
// over is passed over at a cost, or, where no phone of the window
// is near at all, the phone is either passed over (when the next one fits
// the other list's phone) or paired with it at kForcedPairValue. The score
// is then the engine's usual arithmetic over the recorded values.
//
// A forced pass over a consonant costs seven ordinary skips: a missing
// consonant is heard, but a name that differs by one phone is still that
// name. Measured on the names corpus, with the respelled readings of
// tolerant_reading.h taking over the plurals and doubled letters that once
// needed a cheap pass, seven keeps more unrelated names apart than three
// and loses few variants. A forced pair costs what unrelated phones are
// apart, the most any pairing records.
constexpr int32_t kForcedPassValue = 7 * static_cast<int32_t>(SKIP_DISTANCE);
constexpr int32_t kForcedPairValue = UNRELATED_DISTANCE;

// A vowel that cannot be silent costs a little under two ordinary skips
// instead: the letter-to-sound rules often sound a vowel letter that a
// speaker would not (Louisa/Loiza), and a vowel more or less changes a
// name less than a consonant does. Measured on the names corpus, 8 finds
// a few more variants than 10 and, with the dearer first phone below,
// no more unrelated names.
constexpr int32_t kForcedVowelPassValue = 8;

// A forced pass over the first phone of either list costs this many times
// its value, more than a silent skip of string2's first phone (double):
// names that start with a different sound (Obie/Robbey, Erven/Merven,
// Edit/Dewet) are seldom one name, while the same phone missing inside a
// name often is.
constexpr int32_t kFirstPhoneForcedFactor = 3;

// The value a forced pass over |phone| records.
inline int32_t ForcedPassValueOf(PhoneId phone) {
  return IsVowel(phone) ? kForcedVowelPassValue : kForcedPassValue;
}

// Forced steps are allowed once per kPhonesPerForcedStep phones of the
// walked list, and at least once. The allowance is what keeps unrelated
// names apart: they need a forced step at almost every phone, run out, and
// are refused as in the strict walk. Measured on the names corpus, four
// phones per step finds a few more variants but lets in more unrelated
// names than three.
constexpr size_t kPhonesPerForcedStep = 3;

// Two vowels are at most this far apart in the tolerant walk (25 in the
// phone table). The vowels are where spellings of one name differ most
// (Isabel/Isobel, Christine/Christene), and where the letter-to-sound rules
// guess least reliably: an unstressed vowel sounds the same whatever letter
// spells it, but the rules read the letter. Consonants keep their
// distances, so names with different consonants stay apart.
constexpr int32_t kVowelDistanceCap = 10;

// The distance of two phones in the tolerant search: the table's, with
// vowels capped at kVowelDistanceCap; never more than the table's.
inline int32_t TolerantPhoneDistance(const PhoneTables& tables, PhoneId a,
                                     PhoneId b) {
  const int32_t d = tables.phoneDistance[a][b];
  // No two vowels are unrelated in the table, so the unrelated pairs
  // that most phones of unlike names form need no vowel lookups.
  if (d <= kVowelDistanceCap || d == UNRELATED_DISTANCE) return d;
  return tables.isVowel[a] && tables.isVowel[b] ? kVowelDistanceCap : d;
}

// The tolerant rule above: the forced step allowance and the nearest-phone
// search by TolerantPhoneDistance.
struct ForcedStepTolerance {
  static constexpr bool kTolerant = true;
  explicit ForcedStepTolerance(size_t walkedLength)
      : left(walkedLength / kPhonesPerForcedStep > 0
                 ? walkedLength / kPhonesPerForcedStep
                 : 1) {}
  static int Nearest(const PhoneticMatcher&, PhoneId phone,
                     const PhoneIds& otherList, size_t j,
                     int32_t& currentDistance) {
    // The tables once per search rather than once per phone pair.
    const PhoneTables& tables = *internal::g_tables;
    const auto distance = [&tables](PhoneId a, PhoneId b) {
      return TolerantPhoneDistance(tables, a, b);
    };
    return FindNearestPhoneBy(distance, phone, otherList, j, currentDistance);
  }
  // Takes one forced step from the allowance; false when none is left.
  bool Spend() {
    if (left == 0) return false;
    --left;
    return true;
  }
  size_t left;
};

// The phones left over at the end of the walk, from position i of string1
// or j of string2 (whichever is not used up). Each silent one records its
// own position, so leftovers late in a long word weigh more; a tolerant
// forced one records its forced pass value, or its position when that is
// more.
template <typename Tolerance, typename StepRecord>
int WalkRemainingPhones(const PhoneticMatcher& matcher, const PhoneIds& string1,
                        const PhoneIds& string2, size_t i, size_t j,
                        std::vector<int32_t>& currentMismatchedPositions,
                        std::vector<int32_t>& simValues, Tolerance& tolerance,
                        StepRecord& record) {
  if (i == string1.size() && j == string2.size()) return 0;
  const bool firstLeft = i < string1.size();
  const PhoneIds& rest = firstLeft ? string1 : string2;
  const WalkSide side = firstLeft ? WalkSide::kFirst : WalkSide::kSecond;
  for (size_t k = firstLeft ? i : j; k < rest.size(); ++k) {
    const int32_t position = static_cast<int32_t>(k);
    if (CanBeBlank(rest[k]) && matcher.CanBeSkipped(rest, k)) {
      simValues.push_back(position);
      currentMismatchedPositions.push_back(position);
      record.Step(WalkStep::kLeftOver, side, k, k, position);
      continue;
    }
    if constexpr (Tolerance::kTolerant) {
      if (tolerance.Spend()) {
        // A forced pass, but never cheaper than a silent leftover at the
        // same place.
        const int32_t forced = ForcedPassValueOf(rest[k]);
        simValues.push_back(position > forced ? position : forced);
        currentMismatchedPositions.push_back(position);
        record.Step(WalkStep::kForcedPass, side, k, k, -1);
        continue;
      }
    }
    record.Step(WalkStep::kRefused, side, k, k, -1);
    return -1;
  }
  return 0;
}

// Aligns string1 (the shorter list) against string2, appending to the two
// outputs. Returns 0, or -1 when they cannot be aligned.
template <typename Tolerance, typename StepRecord>
int WalkAlignment(const PhoneticMatcher& matcher, const PhoneIds& string1,
                  const PhoneIds& string2, std::vector<int32_t>& simValues,
                  std::vector<int32_t>& currentMismatchedPositions,
                  StepRecord& record) {
  const int32_t skipValue = static_cast<int32_t>(SKIP_DISTANCE);
  // Passing over the very first phone of string2 costs double: a word that
  // starts differently sounds less alike than one that differs inside.
  const int32_t firstPhoneSkipValue = 2 * skipValue;
  // Never compared before the first step sets it: the first step cannot
  // answer -1 because its window starts at j = 0.
  int32_t previousDistance = -99999;
  int32_t currentDistance = -1;
  Tolerance tolerance(string1.size());

  auto passable = [&matcher](const PhoneIds& list, size_t position) {
    return CanBeBlank(list[position]) && matcher.CanBeSkipped(list, position);
  };
  // In the tolerant mode a phone that cannot be silent is passed over all
  // the same while the allowance lasts; the step is then a forced pass.
  auto passKind = [&](const PhoneIds& list, size_t position) {
    if (passable(list, position)) return WalkStep::kSkipped;
    if constexpr (Tolerance::kTolerant) {
      if (tolerance.Spend()) return WalkStep::kForcedPass;
    }
    return WalkStep::kRefused;
  };
  auto passValue = [](WalkStep kind, int32_t silentValue, PhoneId phone) {
    return kind == WalkStep::kSkipped ? silentValue : ForcedPassValueOf(phone);
  };

  size_t i = 0;
  size_t j = 0;
  // Tolerant: the distance at which string1[i] is already known to pair
  // with string2[j] (a forced pass looked one phone ahead), or -1.
  [[maybe_unused]] int32_t knownPairDistance = -1;
  while (i < string1.size() && j < string2.size()) {
    const int32_t position = static_cast<int32_t>(i);
    int nearestPhoneIndex;
    if constexpr (Tolerance::kTolerant) {
      if (knownPairDistance >= 0) {
        // The same search with the same arguments: its answer, not again.
        nearestPhoneIndex = 0;
        currentDistance = knownPairDistance;
        knownPairDistance = -1;
      } else {
        nearestPhoneIndex = Tolerance::Nearest(matcher, string1[i], string2,
                                               j, currentDistance);
      }
    } else {
      nearestPhoneIndex =
          Tolerance::Nearest(matcher, string1[i], string2, j, currentDistance);
    }
    switch (nearestPhoneIndex) {
      case 0:
        simValues.push_back(currentDistance);
        if (currentDistance != 0)
          currentMismatchedPositions.push_back(position);
        previousDistance = currentDistance;
        record.Step(WalkStep::kPaired, WalkSide::kFirst, i, j, currentDistance);
        break;

      case 1: {
        const WalkStep kind = passKind(string2, j);
        if (kind == WalkStep::kRefused) {
          record.Step(kind, WalkSide::kSecond, i, j, -1);
          return -1;
        }
        int32_t value = passValue(
            kind, j == 0 ? firstPhoneSkipValue : skipValue, string2[j]);
        if constexpr (Tolerance::kTolerant) {
          if (kind == WalkStep::kForcedPass && j == 0)
            value *= kFirstPhoneForcedFactor;
        }
        simValues.push_back(value);
        currentMismatchedPositions.push_back(position);
        record.Step(kind, WalkSide::kSecond, i, j, -1);
        simValues.push_back(currentDistance);
        currentMismatchedPositions.push_back(position);
        previousDistance = currentDistance;
        if (currentDistance != 0)
          currentMismatchedPositions.push_back(position);
        record.Step(WalkStep::kPaired, WalkSide::kFirst, i, j + 1,
                    currentDistance);
        break;
      }

      case -1:
        // string2[j-1] is nearest, but the previous phone already took it:
        // the phone that fits it worse is passed over.
        if (previousDistance < currentDistance) {
          const WalkStep kind = passKind(string1, i);
          if (kind == WalkStep::kRefused) {
            record.Step(kind, WalkSide::kFirst, i, j, -1);
            return -1;
          }
          simValues.push_back(passValue(kind, skipValue, string1[i]));
          currentMismatchedPositions.push_back(position);
          record.Step(kind, WalkSide::kFirst, i, j, -1);
        } else {
          const WalkStep kind = passKind(string1, i - 1);
          if (kind == WalkStep::kRefused) {
            record.Step(kind, WalkSide::kFirst, i - 1, j - 1, -1);
            return -1;
          }
          // Never empty here: the previous step recorded at least one value.
          if (!simValues.empty()) simValues.pop_back();
          record.Withdraw();
          simValues.push_back(passValue(kind, skipValue, string1[i - 1]));
          currentMismatchedPositions.push_back(position - 1);
          record.Step(kind, WalkSide::kFirst, i - 1, j - 1, -1);
          simValues.push_back(currentDistance);
          currentMismatchedPositions.push_back(position - 1);
          record.Step(WalkStep::kPaired, WalkSide::kFirst, i, j - 1,
                      currentDistance);
          previousDistance = currentDistance;
          if (IsVowel(string1[i - 1]) && i > 1 && IsVowel(string1[i - 2])) {
            simValues.push_back(skipValue);
            currentMismatchedPositions.push_back(position - 1);
            record.AttachToEarlier();
          }
        }
        break;

      default:
        if constexpr (Tolerance::kTolerant) {
          // Nothing near string1[i] in the window. When its next phone
          // fits string2[j], string1[i] is an extra phone: pass over it;
          // otherwise the two stand for each other: pair them.
          if (tolerance.Spend()) {
            int32_t nextDistance = -1;
            if (i + 1 < string1.size() &&
                Tolerance::Nearest(matcher, string1[i + 1], string2, j,
                                   nextDistance) == 0) {
              simValues.push_back(ForcedPassValueOf(string1[i]) *
                                  (i == 0 ? kFirstPhoneForcedFactor : 1));
              currentMismatchedPositions.push_back(position);
              record.Step(WalkStep::kForcedPass, WalkSide::kFirst, i, j, -1);
              nearestPhoneIndex = -1;
              // The next step searches for string1[i + 1] at this j.
              knownPairDistance = nextDistance;
            } else {
              simValues.push_back(kForcedPairValue);
              currentMismatchedPositions.push_back(position);
              // A pairing worse than any other: the next phone may take
              // string2[j] back from it.
              previousDistance = kForcedPairValue;
              record.Step(WalkStep::kForcedPair, WalkSide::kFirst, i, j,
                          kForcedPairValue);
              nearestPhoneIndex = 0;
            }
            break;
          }
        }
        record.Step(WalkStep::kRefused, WalkSide::kFirst, i, j, -1);
        return -1;
    }
    // j moves past the phone taken (0 or +1), or stays (-1).
    j = static_cast<size_t>(static_cast<ptrdiff_t>(j) + nearestPhoneIndex + 1);
    ++i;
  }
  return WalkRemainingPhones(matcher, string1, string2, i, j,
                             currentMismatchedPositions, simValues, tolerance,
                             record);
}

// The word distance of |first| and |second| under |Tolerance|: the list
// OrderOfWalk names walks, and the walk's values are scored. -1.0 when the lists cannot be aligned. |simValues| and
// |currentMismatchedPositions| are scratch buffers; their contents are
// replaced.
template <typename Tolerance>
double WalkDistance(const PhoneticMatcher& matcher, const PhoneIds& first,
                    const PhoneIds& second, std::vector<int32_t>& simValues,
                    std::vector<int32_t>& currentMismatchedPositions) {
  const WalkOrder order = OrderOfWalk(first, second);
  const PhoneIds& string1 = order.walked;
  const PhoneIds& string2 = order.other;
  simValues.clear();
  currentMismatchedPositions.clear();
  // At most three values and three positions per phone, once each.
  simValues.reserve(2 * string2.size() + 2);
  currentMismatchedPositions.reserve(3 * string2.size() + 2);
  NoStepRecord none;
  if (WalkAlignment<Tolerance>(matcher, string1, string2, simValues,
                               currentMismatchedPositions, none) < 0) {
    return kFailureDistance;
  }
  return ScoreAlignment(simValues, currentMismatchedPositions, string1.size());
}

// The same with buffers of its own.
template <typename Tolerance>
double WalkDistance(const PhoneticMatcher& matcher, const PhoneIds& first,
                    const PhoneIds& second) {
  std::vector<int32_t> simValues;
  std::vector<int32_t> currentMismatchedPositions;
  return WalkDistance<Tolerance>(matcher, first, second, simValues,
                                 currentMismatchedPositions);
}

// The same for the two lists of |pair|.
template <typename Tolerance>
double WalkDistance(const PhoneticMatcher& matcher, const PhoneListPair& pair) {
  return WalkDistance<Tolerance>(matcher, pair.first, pair.second);
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_ALIGNMENT_WALK_H_
