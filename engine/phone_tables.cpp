// Builds, checks, frees and reads the engine-wide phone tables.

#include "phone_tables.h"

#include <cstdio>
#include <iostream>
#include <memory>

#include "phone_inventory.h"

namespace marrowfield {
namespace {

// A hint, not a limit: the inventory has 41 phones.
constexpr size_t kBucketHint = 100;

std::unique_ptr<PhoneTables> g_phoneTables;

int32_t TableDistance(const std::string& a, const std::string& b) {
  if (a == b) return 0;
  for (const PhonePairDistance& pair : kPhonePairDistances) {
    if ((a == pair.a && b == pair.b) || (a == pair.b && b == pair.a)) {
      return pair.distance;
    }
  }
  bool bothVowels = false;
  for (const PhoneInfo& infoA : kPhoneInventory) {
    if (a != infoA.phone) continue;
    for (const PhoneInfo& infoB : kPhoneInventory) {
      if (b == infoB.phone) bothVowels = infoA.isVowel && infoB.isVowel;
    }
  }
  return bothVowels ? kVowelPairDistance : UNRELATED_DISTANCE;
}

}  // namespace

size_t PhoneKeyHash::operator()(const std::string& key) const {
  uint32_t sum = 0;
  for (char c : key) sum += static_cast<uint32_t>(static_cast<signed char>(c));
  return sum;
}

int BuildPhoneTables() {
  auto tables = std::make_unique<PhoneTables>();
  tables->phoneDistance.reserve(kBucketHint);
  tables->canBeBlank.reserve(kBucketHint);
  tables->isVowel.reserve(kBucketHint);
  tables->phoneType.reserve(kBucketHint);
  tables->phoneCode.reserve(kBucketHint);

  for (const PhoneInfo& info : kPhoneInventory) {
    tables->phoneList.emplace_back(info.phone);
  }
  for (const PhoneInfo& info : kPhoneInventory) {
    tables->canBeBlank[info.phone] = info.canBeBlank;
    tables->isVowel[info.phone] = info.isVowel;
    tables->phoneType[info.phone] = info.phoneType;
    tables->phoneCode[info.phone] = info.phoneCode;
  }
  for (const std::string& a : tables->phoneList) {
    PhoneMap<int32_t>& row = tables->phoneDistance[a];
    row.reserve(kBucketHint);
    for (const std::string& b : tables->phoneList) row[b] = TableDistance(a, b);
  }

  // Replacing the pointer releases a set left by an earlier initialize().
  g_phoneTables = std::move(tables);
  if (CheckForConsistency() < 0) {
    std::cerr << "Some problem with the list of phones" << std::endl;
    return -1;
  }
  return 0;
}

void FreePhoneTables() { g_phoneTables.reset(); }

bool PhoneTablesReady() { return g_phoneTables != nullptr; }

PhoneTables& CurrentPhoneTables() { return *g_phoneTables; }

bool IsVowel(const std::string& phone) {
  return g_phoneTables->isVowel[phone];
}

bool CanBeBlank(const std::string& phone) {
  return g_phoneTables->canBeBlank[phone];
}

int32_t GetPhoneType(const std::string& phone) {
  return g_phoneTables->phoneType[phone];
}

int32_t GetPhoneCode(const std::string& phone) {
  return g_phoneTables->phoneCode[phone];
}

int32_t GetPhoneDistance(const std::string& a, const std::string& b) {
  return g_phoneTables->phoneDistance[a][b];
}

int CheckForConsistency() {
  const std::vector<std::string>& phones = g_phoneTables->phoneList;
  for (const std::string& a : phones) {
    for (const std::string& b : phones) {
      int32_t there = GetPhoneDistance(a, b);
      int32_t back = GetPhoneDistance(b, a);
      if (there != back) {
        std::cout << "[CheckForConsistency] Mismatch with the pair (" << a
                  << ", " << b << ")    : " << there << " : " << back
                  << std::endl;
        return -1;
      }
    }
  }
  return 0;
}

}  // namespace marrowfield
