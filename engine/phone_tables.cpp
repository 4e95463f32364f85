// Builds, checks, frees and reads the engine-wide phone tables.

#include "phone_tables.h"

#include <iostream>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

#include "phone_inventory.h"

namespace marrowfield {
namespace internal {
PhoneTables* g_tables = nullptr;
}  // namespace internal

namespace {

static_assert(kPhoneCount == kInventorySize, "ids cover the inventory");

std::unique_ptr<PhoneTables> g_ownedTables;

// Every phone name is one or two bytes, so a name's id is found in a table
// indexed by its two bytes (the second 0 for one-letter names). Built once,
// only read afterwards.
struct PhoneNameIndex {
  PhoneId ids[128][128];
  PhoneNameIndex() {
    for (auto& row : ids) {
      for (PhoneId& id : row) id = kUnknownPhone;
    }
    for (int id = 0; id < kPhoneCount; ++id) {
      const char* name = kPhoneInventory[id].phone;
      ids[static_cast<int>(name[0])][static_cast<int>(name[1])] =
          static_cast<PhoneId>(id);
    }
  }
};

const PhoneNameIndex& NameIndex() {
  static const PhoneNameIndex index;
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

}  // namespace

PhoneId PhoneIdOf(const char* name, size_t length) {
  if (length == 0 || length > 2) return kUnknownPhone;
  const unsigned char first = static_cast<unsigned char>(name[0]);
  const unsigned char second =
      length == 2 ? static_cast<unsigned char>(name[1]) : 0;
  // A NUL inside would make a one-letter name look like a two-letter one.
  if (first >= 128 || second >= 128 || (length == 2 && second == 0)) {
    return kUnknownPhone;
  }
  return NameIndex().ids[first][second];
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
  }
  for (int a = 0; a < kPhoneCount; ++a) {
    for (int b = 0; b < kPhoneCount; ++b) {
      const bool vowels =
          kPhoneInventory[a].isVowel && kPhoneInventory[b].isVowel;
      tables->phoneDistance[a][b] = a == b   ? 0
                                    : vowels ? kVowelPairDistance
                                             : UNRELATED_DISTANCE;
    }
  }
  for (const PhonePairDistance& pair : kPhonePairDistances) {
    const PhoneId a = PhoneIdOf(pair.a);
    const PhoneId b = PhoneIdOf(pair.b);
    tables->phoneDistance[a][b] = pair.distance;
    tables->phoneDistance[b][a] = pair.distance;
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
