// The forced step bound (see forced_step_bound.h): classes of phones from
// the tables, and the longest common subsequence over them computed a bit
// per phone of one list, as Hyyrö's bit-parallel algorithm does for
// letters (its recurrence holds for any relation of "alike", not only for
// equal letters); and the walk's first steps, followed with the tables'
// own nearness.

#include "forced_step_bound.h"

#include <algorithm>
#include <numeric>

#include "alignment_walk.h"

namespace marrowfield {
namespace {

uint8_t Root(uint8_t (&parent)[kInventorySize], uint8_t phone) {
  while (parent[phone] != phone) phone = parent[phone];
  return phone;
}

}  // namespace

ForcedStepBound::ForcedStepBound() {
  std::fill(std::begin(classOf), std::end(classOf), kNearAll);
  std::fill(std::begin(solid), std::end(solid), true);
  if (!PhoneTablesReady()) return;
  ready = true;
  const PhoneTables& tables = CurrentPhoneTables();
  // A phone of no type (the inventory's "$") is near phones of several
  // groups (l, r, w, y and vowels) and would join them all into one
  // class; it stays near everything instead, which keeps the others apart.
  const auto wild = [&tables](int phone) {
    return tables.phoneType[phone] == NO_TYPE;
  };
  uint8_t parent[kInventorySize];
  std::iota(std::begin(parent), std::end(parent), uint8_t{0});
  for (int a = 0; a < kInventorySize; ++a) {
    for (int b = a + 1; b < kInventorySize; ++b) {
      if (wild(a) || wild(b)) continue;
      // The strict distance is never smaller, so its near phones are
      // joined too.
      if (TolerantPhoneDistance(tables, static_cast<PhoneId>(a),
                                static_cast<PhoneId>(b)) < UNRELATED_DISTANCE) {
        parent[Root(parent, static_cast<uint8_t>(a))] =
            Root(parent, static_cast<uint8_t>(b));
      }
    }
  }
  for (int a = 0; a < kPhoneIdCount; ++a) {
    for (int b = 0; b < kPhoneIdCount; ++b) {
      nearPhones[a][b] =
          TolerantPhoneDistance(tables, static_cast<PhoneId>(a),
                                static_cast<PhoneId>(b)) < UNRELATED_DISTANCE;
    }
  }
  // Phones outside the inventory (kUnknownPhone) stay near every phone and
  // solid, as the tables have them.
  for (int phone = 0; phone < kInventorySize; ++phone) {
    solid[phone] = !tables.canBeBlank[phone];
    if (!wild(phone))
      classOf[phone] = Root(parent, static_cast<uint8_t>(phone));
  }
}

ForcedStepBound::Phones ForcedStepBound::Read(const PhoneIds& phones) const {
  Phones read;
  if (!ready || phones.size() > kMaxPhones) return read;
  for (size_t k = 0; k < phones.size(); ++k) {
    // No walk reads the tables beyond their phones.
    if (phones[k] >= kPhoneIdCount) return Phones{};
    read.phones[k] = static_cast<uint8_t>(classOf[phones[k]] |
                                          (solid[phones[k]] ? kSolid : 0));
    read.ids[k] = phones[k];
  }
  read.size = static_cast<uint8_t>(phones.size());
  return read;
}

void ForcedStepBound::Prepare(const PhoneIds& phones, Query& query) const {
  query = Query{};
  query.phones = Read(phones);
  if (query.phones.size != phones.size() || phones.empty()) return;
  query.bound = this;
  size_t solidCount = 0;
  for (size_t k = 0; k < phones.size(); ++k) {
    query.solidBefore[k] = static_cast<uint8_t>(solidCount);
    const uint8_t c = classOf[phones[k]];
    const uint64_t bit = uint64_t{1} << k;
    query.allMasks[c] |= bit;
    if (c == kNearAll) query.nearAll |= bit;
    if (solid[phones[k]]) {
      const uint64_t solidBit = uint64_t{1} << solidCount++;
      query.solidMasks[c] |= solidBit;
      if (c == kNearAll) query.nearAllSolid |= solidBit;
    }
  }
  query.solidBefore[phones.size()] = static_cast<uint8_t>(solidCount);
  query.allBits = (uint64_t{1} << phones.size()) - 1;
  query.solidBits = (uint64_t{1} << solidCount) - 1;
  // Every phone is alike to a phone near all.
  query.allMasks[kNearAll] = query.allBits;
  query.solidMasks[kNearAll] = query.solidBits;
  query.size = static_cast<uint8_t>(phones.size());
}

size_t ForcedStepBound::UnpairedFrom(const Query& query, const Phones& other,
                                     bool queryWalks, size_t from) {
  uint64_t v = ~uint64_t{0};
  if (queryWalks) {
    // The query's solid phones from |from| on: the pattern's bits shifted.
    const uint8_t shift = query.solidBefore[from];
    for (size_t k = 0; k < other.size; ++k) {
      const uint8_t c = other.phones[k] & kClassBits;
      v = Advance(v, (query.solidMasks[c] | query.nearAllSolid) >> shift);
    }
    return CountBits(v & (query.solidBits >> shift));
  }
  size_t solidRest = 0;
  for (size_t k = from; k < other.size; ++k) {
    const uint8_t phone = other.phones[k];
    if ((phone & kSolid) == 0) continue;
    ++solidRest;
    const uint8_t c = phone & kClassBits;
    v = Advance(v, query.allMasks[c] | query.nearAll);
  }
  return solidRest - (query.size - CountBits(v & query.allBits));
}

size_t ForcedStepBound::FollowedForcedSteps(const Query& query,
                                            const Phones& other,
                                            bool queryWalks, size_t allowance) {
  const Phones& walked = queryWalks ? query.phones : other;
  const Phones& against = queryWalks ? other : query.phones;
  const auto& nearPhones = query.bound->nearPhones;
  const auto solidAt = [](const Phones& list, size_t k) -> size_t {
    return (list.phones[k] & kSolid) != 0;
  };
  size_t spent = 0;
  size_t i = 0;
  size_t j = 0;
  while (i < walked.size && j < against.size) {
    const PhoneId phone = walked.ids[i];
    const bool before = j > 0 && nearPhones[phone][against.ids[j - 1]];
    const bool here = nearPhones[phone][against.ids[j]];
    const bool after =
        j + 1 < against.size && nearPhones[phone][against.ids[j + 1]];
    const int nearCount = before + here + after;
    if (nearCount == 0) {
      // A forced step: a pass when the next phone pairs with this same
      // phone of the other list, else a pair.
      if (++spent > allowance) return spent;
      if (i + 1 == walked.size ||
          !nearPhones[walked.ids[i + 1]][against.ids[j]]) {
        ++i;
        ++j;
        continue;
      }
      const PhoneId next = walked.ids[i + 1];
      const bool alone =
          !(j > 0 && nearPhones[next][against.ids[j - 1]]) &&
          !(j + 1 < against.size && nearPhones[next][against.ids[j + 1]]);
      // Which of the next phone's near ones is nearest, the distances
      // decide.
      if (!alone) return spent + UnpairedFrom(query, other, queryWalks, i + 1);
      // Passed over; the next phone pairs with this one of the other list.
      i += 2;
      ++j;
      continue;
    }
    // Which one is nearest, the distances decide.
    if (nearCount > 1) return spent + UnpairedFrom(query, other, queryWalks, i);
    if (here) {
      ++j;
    } else if (after) {
      spent += solidAt(against, j);
      j += 2;
    } else {
      // Passes over this phone or the one before, as the distances decide.
      spent += solidAt(walked, i) & solidAt(walked, i - 1);
    }
    ++i;
  }
  // Left over at the end: solid phones only by forced steps.
  for (; i < walked.size; ++i) spent += solidAt(walked, i);
  for (; j < against.size; ++j) spent += solidAt(against, j);
  return spent;
}

size_t ForcedStepBound::FewestForcedSteps(const PhoneIds& first,
                                          const PhoneIds& second) const {
  if (!ready || first.size() > kMaxPhones || second.size() > kMaxPhones)
    return 0;
  // The same passes as WalkGivesUp, without the allowance: at most the
  // larger of each list's unpaired solid phones.
  size_t most = 0;
  for (int turn = 0; turn < 2; ++turn) {
    const PhoneIds& pattern = turn == 0 ? first : second;
    const PhoneIds& scanned = turn == 0 ? second : first;
    Query query;
    Prepare(pattern, query);
    uint64_t v = ~uint64_t{0};
    for (PhoneId phone : scanned) {
      const uint8_t c = classOf[phone];
      v = ForcedStepBound::Advance(v, query.solidMasks[c] | query.nearAllSolid);
    }
    most = std::max(most, ForcedStepBound::CountBits(v & query.solidBits));
  }
  return most;
}

bool ForcedStepBound::WalkGivesUp(const PhoneIds& first,
                                  const PhoneIds& second) const {
  Query query;
  Prepare(first, query);
  return WalkGivesUp(query, Read(second));
}

}  // namespace marrowfield
