// The replay of the tolerant walk's forced steps (see forced_step_replay.h),
// step for step as WalkAlignment<ForcedStepTolerance> takes them, without
// the values it records.

#include "forced_step_replay.h"

#include <algorithm>
#include <cstdint>

#include "nearest_phone_search.h"
#include "phonetic_matcher.h"

namespace marrowfield {

ForcedStepReplay::ForcedStepReplay() : distance{} {
  if (!PhoneTablesReady()) return;
  const PhoneTables& tables = CurrentPhoneTables();
  for (int a = 0; a < kPhoneIdCount; ++a) {
    for (int b = 0; b < kPhoneIdCount; ++b) {
      const int32_t d = TolerantPhoneDistance(tables, static_cast<PhoneId>(a),
                                              static_cast<PhoneId>(b));
      // Only changed tables hold distances below 0; none this far.
      if (d < INT8_MIN) return;
      distance[a][b] = static_cast<int8_t>(std::min(d, UNRELATED_DISTANCE));
    }
  }
  ready = true;
}

ForcedStepReplay::Phones ForcedStepReplay::Read(const PhoneIds& phones) const {
  Phones read;
  if (!ready || phones.size() > kMaxPhones) return read;
  // CanBeSkipped reads the tables alone, not the lexicon.
  const PhoneticMatcher matcher(nullptr);
  for (size_t k = 0; k < phones.size(); ++k) {
    // No walk reads the tables beyond their phones.
    if (phones[k] >= kPhoneIdCount) return Phones{};
    read.ids[k] = phones[k];
    if (CanBeBlank(phones[k]) && matcher.CanBeSkipped(phones, k))
      read.silent = static_cast<uint16_t>(read.silent | (1u << k));
  }
  read.count = static_cast<uint8_t>(phones.size());
  return read;
}

bool ForcedStepReplay::WalkGivesUp(const PhoneIds& first,
                                   const PhoneIds& second) const {
  return WalkGivesUp(Read(first), Read(second));
}

bool ForcedStepReplay::Replay(const Phones& walked, const Phones& other) const {
  size_t left = ForcedStepTolerance(walked.count).left;
  // A phone passed over: silently when its list allows it there, else by
  // a forced step while any is left.
  const auto pass = [&left](const Phones& list, size_t k) {
    if ((list.silent >> k) & 1u) return true;
    if (left == 0) return false;
    --left;
    return true;
  };
  const auto nearest = [this, &other](PhoneId phone, size_t j,
                                      int32_t& chosen) {
    const int8_t(&row)[kPhoneIdCount] = distance[phone];
    return FindNearestPhoneBy(
        [&row](PhoneId, PhoneId b) { return int32_t{row[b]}; }, phone, other, j,
        chosen);
  };
  int32_t previousDistance = -99999;
  int32_t currentDistance = -1;
  int32_t knownPairDistance = -1;
  size_t i = 0;
  size_t j = 0;
  while (i < walked.count && j < other.count) {
    int step;
    if (knownPairDistance >= 0) {
      step = 0;
      currentDistance = knownPairDistance;
      knownPairDistance = -1;
    } else {
      step = nearest(walked.ids[i], j, currentDistance);
    }
    switch (step) {
      case 0:
        previousDistance = currentDistance;
        break;
      case 1:
        if (!pass(other, j)) return true;
        previousDistance = currentDistance;
        break;
      case -1:
        if (previousDistance < currentDistance) {
          if (!pass(walked, i)) return true;
        } else {
          if (!pass(walked, i - 1)) return true;
          previousDistance = currentDistance;
        }
        break;
      default: {
        if (left == 0) return true;
        --left;
        int32_t nextDistance = -1;
        if (i + 1 < walked.count &&
            nearest(walked.ids[i + 1], j, nextDistance) == 0) {
          knownPairDistance = nextDistance;
          step = -1;
        } else {
          previousDistance = kForcedPairValue;
          step = 0;
        }
      }
    }
    j = static_cast<size_t>(static_cast<ptrdiff_t>(j) + step + 1);
    ++i;
  }
  // Left over at the end of either list.
  const bool walkedLeft = i < walked.count;
  const Phones& rest = walkedLeft ? walked : other;
  for (size_t k = walkedLeft ? i : j; k < rest.count; ++k) {
    if (!pass(rest, k)) return true;
  }
  return false;
}

}  // namespace marrowfield
