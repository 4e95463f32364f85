// The forced step bound (see forced_step_bound.h): classes of phones from
// the tables, and the longest common subsequence over them computed a bit
// per phone of one list, as Hyyrö's bit-parallel algorithm does for
// letters (its recurrence holds for any relation of "alike", not only for
// equal letters).

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
    read.phones[k] = static_cast<uint8_t>(classOf[phones[k]] |
                                          (solid[phones[k]] ? kSolid : 0));
  }
  read.size = static_cast<uint8_t>(phones.size());
  return read;
}

void ForcedStepBound::Prepare(const PhoneIds& phones, Query& query) const {
  query = Query{};
  if (!ready || phones.size() > kMaxPhones) return;
  size_t solidCount = 0;
  for (size_t k = 0; k < phones.size(); ++k) {
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
  for (size_t k = 0; k < 2 && k < phones.size(); ++k) {
    query.firstTwo[k] = static_cast<uint8_t>(classOf[phones[k]] |
                                             (solid[phones[k]] ? kSolid : 0));
  }
  query.firstSolid = !phones.empty() && solid[phones[0]] ? 1 : 0;
  query.allBits = (uint64_t{1} << phones.size()) - 1;
  query.solidBits = (uint64_t{1} << solidCount) - 1;
  // Every phone is alike to a phone near all.
  query.allMasks[kNearAll] = query.allBits;
  query.solidMasks[kNearAll] = query.solidBits;
  query.size = static_cast<uint8_t>(phones.size());
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
