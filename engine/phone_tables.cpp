// Builds, checks, frees and reads the engine-wide phone tables.

#include "phone_tables.h"

#include <iostream>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>
#include <utility>

#include "phone_inventory.h"

namespace marrowfield {
namespace internal {
PhoneTables* g_tables = nullptr;
}  // namespace internal

namespace {

static_assert(kPhoneCount == kInventorySize, "ids cover the inventory");

std::unique_ptr<PhoneTables> g_ownedTables;

// The names of the inventory, for turning Flite's phone strings into ids.
// Fixed at start-up and only read afterwards.
using PhoneIndexMap = std::unordered_map<std::string, PhoneId, PhoneKeyHash>;

const PhoneIndexMap& PhoneIndex() {
  static const PhoneIndexMap index = [] {
    PhoneIndexMap map(100);
    for (int id = 0; id < kPhoneCount; ++id) {
      map.emplace(kPhoneInventory[id].phone, static_cast<PhoneId>(id));
    }
    return map;
  }();
  return index;
}

// Names outside the inventory that lookups by name have asked for, per
// table. Guarded, so that a lookup never writes the shared tables.
std::mutex g_sideMutex;
std::set<std::pair<PhoneTable, std::string>> g_sideKeys;

PhoneId LookUp(PhoneTable table, const std::string& phone) {
  const PhoneId id = PhoneIdOf(phone);
  if (id == kUnknownPhone) {
    std::lock_guard<std::mutex> lock(g_sideMutex);
    g_sideKeys.emplace(table, phone);
  }
  return id;
}

int32_t TableDistance(const PhoneInfo& a, const PhoneInfo& b) {
  const std::string nameA = a.phone;
  const std::string nameB = b.phone;
  if (nameA == nameB) return 0;
  for (const PhonePairDistance& pair : kPhonePairDistances) {
    if ((nameA == pair.a && nameB == pair.b) ||
        (nameA == pair.b && nameB == pair.a)) {
      return pair.distance;
    }
  }
  return a.isVowel && b.isVowel ? kVowelPairDistance : UNRELATED_DISTANCE;
}

}  // namespace

size_t PhoneKeyHash::operator()(const std::string& key) const {
  uint32_t sum = 0;
  for (char c : key) sum += static_cast<uint32_t>(static_cast<signed char>(c));
  return sum;
}

PhoneId PhoneIdOf(const std::string& phone) {
  const auto& index = PhoneIndex();
  auto it = index.find(phone);
  return it == index.end() ? kUnknownPhone : it->second;
}

PhoneIds PhoneIdsOf(const std::vector<std::string>& phones) {
  PhoneIds ids;
  ids.reserve(phones.size());
  for (const std::string& phone : phones) ids.push_back(PhoneIdOf(phone));
  return ids;
}

int BuildPhoneTables() {
  auto tables = std::make_unique<PhoneTables>();
  for (const PhoneInfo& info : kPhoneInventory) {
    tables->phoneList.emplace_back(info.phone);
  }
  for (int id = 0; id < kPhoneCount; ++id) {
    const PhoneInfo& info = kPhoneInventory[id];
    tables->canBeBlank[id] = info.canBeBlank;
    tables->isVowel[id] = info.isVowel;
    tables->phoneType[id] = info.phoneType;
    tables->phoneCode[id] = info.phoneCode;
    for (int other = 0; other < kPhoneCount; ++other) {
      tables->phoneDistance[id][other] =
          TableDistance(info, kPhoneInventory[other]);
    }
  }
  // Every phone outside the inventory answers with the defaults.
  tables->canBeBlank[kUnknownPhone] = false;
  tables->isVowel[kUnknownPhone] = false;
  tables->phoneType[kUnknownPhone] = NO_TYPE;
  tables->phoneCode[kUnknownPhone] = 0;
  for (int other = 0; other < kPhoneIdCount; ++other) {
    tables->phoneDistance[kUnknownPhone][other] = 0;
    tables->phoneDistance[other][kUnknownPhone] = 0;
  }

  // Replacing the owner releases a set left by an earlier initialize().
  g_ownedTables = std::move(tables);
  internal::g_tables = g_ownedTables.get();
  if (CheckForConsistency() < 0) {
    std::cerr << "Some problem with the list of phones" << std::endl;
    return -1;
  }
  return 0;
}

void FreePhoneTables() {
  internal::g_tables = nullptr;
  g_ownedTables.reset();
  std::lock_guard<std::mutex> lock(g_sideMutex);
  g_sideKeys.clear();
}

bool PhoneTablesReady() { return internal::g_tables != nullptr; }

PhoneTables& CurrentPhoneTables() { return *internal::g_tables; }

bool IsVowel(const std::string& phone) {
  return IsVowel(LookUp(PhoneTable::kIsVowel, phone));
}

bool CanBeBlank(const std::string& phone) {
  return CanBeBlank(LookUp(PhoneTable::kCanBeBlank, phone));
}

int32_t GetPhoneType(const std::string& phone) {
  return GetPhoneType(LookUp(PhoneTable::kPhoneType, phone));
}

int32_t GetPhoneCode(const std::string& phone) {
  return GetPhoneCode(LookUp(PhoneTable::kPhoneCode, phone));
}

int32_t GetPhoneDistance(const std::string& a, const std::string& b) {
  return GetPhoneDistance(LookUp(PhoneTable::kPhoneDistance, a),
                          LookUp(PhoneTable::kPhoneDistance, b));
}

bool IsKeyOf(PhoneTable table, const std::string& phone) {
  if (PhoneIdOf(phone) != kUnknownPhone) return true;
  std::lock_guard<std::mutex> lock(g_sideMutex);
  return g_sideKeys.count({table, phone}) > 0;
}

int CheckForConsistency() {
  const PhoneTables& tables = *internal::g_tables;
  for (int i = 0; i < kPhoneCount; ++i) {
    for (int j = 0; j < kPhoneCount; ++j) {
      const int32_t there = tables.phoneDistance[i][j];
      const int32_t back = tables.phoneDistance[j][i];
      if (there != back) {
        std::cout << "[CheckForConsistency] Mismatch with the pair ("
                  << tables.phoneList[i] << ", " << tables.phoneList[j]
                  << ")    : " << there << " : " << back << std::endl;
        return -1;
      }
    }
  }
  return 0;
}

}  // namespace marrowfield
