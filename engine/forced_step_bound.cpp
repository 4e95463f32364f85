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

// The bits set in |x|, without the library call a build for any x86-64
// makes of the builtin.
size_t CountBits(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ull);
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0full;
  return static_cast<size_t>((x * 0x0101010101010101ull) >> 56);
}

// One column of the subsequence: |v|'s zero bits (below the pattern's
// length) count the longest common subsequence of the pattern and the
// phones scanned so far; |match| marks the pattern's phones alike to the
// next phone.
uint64_t Advance(uint64_t v, uint64_t match) {
  const uint64_t u = v & match;
  return (v + u) | (v - u);
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
    if (!wild(phone)) classOf[phone] = Root(parent, static_cast<uint8_t>(phone));
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
    query.firstTwo[k] = static_cast<uint8_t>(
        classOf[phones[k]] | (solid[phones[k]] ? kSolid : 0));
  }
  query.firstSolid = !phones.empty() && solid[phones[0]] ? 1 : 0;
  query.allBits = (uint64_t{1} << phones.size()) - 1;
  query.solidBits = (uint64_t{1} << solidCount) - 1;
  // Every phone is alike to a phone near all.
  query.allMasks[kNearAll] = query.allBits;
  query.solidMasks[kNearAll] = query.solidBits;
  query.size = static_cast<uint8_t>(phones.size());
}

bool ForcedStepBound::FirstStepForced(uint8_t first, const uint8_t* other,
                                      size_t otherSize) {
  const uint8_t c = first & static_cast<uint8_t>(~kSolid);
  const auto near = [c](uint8_t phone) {
    const uint8_t d = phone & static_cast<uint8_t>(~kSolid);
    return c == kNearAll || d == c || d == kNearAll;
  };
  if (near(other[0])) return false;
  // Paired with the other's second phone, the walk passes over the first,
  // which a solid phone allows only as a forced step.
  return otherSize < 2 || !near(other[1]) || (other[0] & kSolid) != 0;
}

bool ForcedStepBound::WalkGivesUp(const Query& query, const Phones& other) {
  if (query.size == 0 || other.size == 0) return false;
  // The walk's own allowance, for its walked (shorter) list.
  const size_t allowance =
      ForcedStepTolerance(std::min(query.size, other.size)).left;
  // Subsequences in one pass over |other|: the query's solid phones
  // against all of other's, and all of the query's phones against other's
  // solid phones (a subsequence is the same read from either list); and
  // the same without the first phone of the query and of other.
  const uint8_t shift = query.firstSolid;
  uint64_t querySolid = ~uint64_t{0};
  uint64_t queryAll = ~uint64_t{0};
  uint64_t queryRestSolid = ~uint64_t{0};
  uint64_t queryAllOtherRest = ~uint64_t{0};
  size_t otherSolid = 0;
  for (size_t k = 0; k < other.size; ++k) {
    const uint8_t phone = other.phones[k];
    const uint8_t c = phone & static_cast<uint8_t>(~kSolid);
    const uint64_t solidMatch = query.solidMasks[c] | query.nearAllSolid;
    querySolid = Advance(querySolid, solidMatch);
    queryRestSolid = Advance(queryRestSolid, solidMatch >> shift);
    // Zero for a phone that can be blank, which then changes nothing.
    const uint64_t isSolid = uint64_t{0} - (phone >> 7);
    otherSolid += phone >> 7;
    const uint64_t allMatch = (query.allMasks[c] | query.nearAll) & isSolid;
    queryAll = Advance(queryAll, allMatch);
    // Other's first phone is left out of the second pair.
    queryAllOtherRest =
        k == 0 ? queryAllOtherRest : Advance(queryAllOtherRest, allMatch);
  }
  // A one bit below the length is a phone outside the subsequence.
  if (CountBits(querySolid & query.solidBits) > allowance) return true;
  const size_t common = query.size - CountBits(queryAll & query.allBits);
  if (otherSolid - common > allowance) return true;
  // The first step, from whichever list walks; two lists of one length
  // walk in the order they are given, so both must be proven then.
  const bool queryWalks = query.size <= other.size;
  const bool otherWalks = other.size <= query.size;
  bool proven = true;
  if (queryWalks) {
    proven = FirstStepForced(query.firstTwo[0], other.phones, other.size) &&
             1 + CountBits(queryRestSolid & (query.solidBits >> shift)) >
                 allowance;
  }
  if (proven && otherWalks) {
    const size_t otherRestSolid = otherSolid - (other.phones[0] >> 7);
    const size_t restCommon =
        query.size - CountBits(queryAllOtherRest & query.allBits);
    proven = FirstStepForced(other.phones[0], query.firstTwo, query.size) &&
             1 + otherRestSolid - restCommon > allowance;
  }
  return proven;
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
      v = Advance(v, query.solidMasks[c] | query.nearAllSolid);
    }
    most = std::max(most, CountBits(v & query.solidBits));
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
