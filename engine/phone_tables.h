// The engine-wide phone tables: the 41-phone inventory, the four property
// tables (vowel, can-be-blank, type, articulation code) and the symmetric
// phone-to-phone distance table.
//
// initialize() builds them once and afterwards they are only read, so any
// number of threads may consult them. Inside the engine a phone is a small
// integer (its index in the inventory) and every table is a flat array;
// strings appear only where phones enter or leave the engine. A phone
// outside the inventory reads as the defaults (not a vowel, not blank,
// NO_TYPE, code 0, distance 0 from every phone); asking for one records it
// in a guarded side table instead of changing the shared tables.

#ifndef MARROWFIELD_ENGINE_PHONE_TABLES_H_
#define MARROWFIELD_ENGINE_PHONE_TABLES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace marrowfield {

// Values are only ever compared for equality. 3 is unused.
enum PhoneType : int32_t {
  NO_TYPE = 0,
  LONG_VOWEL = 1,
  SHORT_VOWEL = 2,
  CONSONANT = 4,
  YARALAVA = 5,
  ASPIRATE = 17,
};

// Phones at this distance are not alike; the nearest-phone search never
// chooses one.
constexpr int32_t UNRELATED_DISTANCE = 50;

// A phone inside the engine: its index in the inventory, or kUnknownPhone
// for any phone the inventory lacks (all of which behave alike).
using PhoneId = uint8_t;
using PhoneIds = std::vector<PhoneId>;
constexpr int kInventorySize = 41;
constexpr PhoneId kUnknownPhone = kInventorySize;
constexpr int kPhoneIdCount = kInventorySize + 1;

struct PhoneTables {
  std::vector<std::string> phoneList;
  bool isVowel[kPhoneIdCount];
  bool canBeBlank[kPhoneIdCount];
  int32_t phoneType[kPhoneIdCount];
  int32_t phoneCode[kPhoneIdCount];
  int32_t phoneDistance[kPhoneIdCount][kPhoneIdCount];
};

// Builds every table (releasing a previous set) and checks the distance
// table for symmetry. Returns 0, or -1 after writing "Some problem with the
// list of phones" to standard error; the tables then stay as built.
// REQUIRES: no other thread uses the tables meanwhile.
int BuildPhoneTables();

// Destroys the tables. Harmless when they do not exist.
// REQUIRES: no other thread uses the tables meanwhile.
void FreePhoneTables();

// True between BuildPhoneTables() and FreePhoneTables().
bool PhoneTablesReady();

// The current tables, for reading; tests may change an entry.
// REQUIRES: PhoneTablesReady().
PhoneTables& CurrentPhoneTables();

// The id of a phone name; kUnknownPhone for names outside the inventory.
PhoneId PhoneIdOf(const char* name, size_t length);
inline PhoneId PhoneIdOf(const std::string& phone) {
  return PhoneIdOf(phone.data(), phone.size());
}

// The ids of a list of phone names.
PhoneIds PhoneIdsOf(const std::vector<std::string>& phones);

// Property lookups by id. REQUIRES: PhoneTablesReady().
inline bool IsVowel(PhoneId phone);
inline bool CanBeBlank(PhoneId phone);
inline int32_t GetPhoneType(PhoneId phone);
inline int32_t GetPhoneCode(PhoneId phone);
inline int32_t GetPhoneDistance(PhoneId a, PhoneId b);

// The same lookups by name. A name outside the inventory gives the default
// and is recorded as a key of the table asked (see WasLookedUp).
// REQUIRES: PhoneTablesReady().
bool IsVowel(const std::string& phone);
bool CanBeBlank(const std::string& phone);
int32_t GetPhoneType(const std::string& phone);
int32_t GetPhoneCode(const std::string& phone);
int32_t GetPhoneDistance(const std::string& a, const std::string& b);

enum class PhoneTable {
  kIsVowel,
  kCanBeBlank,
  kPhoneType,
  kPhoneCode,
  kPhoneDistance
};

// Whether |phone| is a key of |table|: every inventory phone is, and so is
// every other name that a lookup by name has asked that table for.
bool IsKeyOf(PhoneTable table, const std::string& phone);

// Returns 0 when the distance table is symmetric over the inventory, or -1
// after writing one line to standard output naming the first pair (in
// row-major order) whose two directions differ.
int CheckForConsistency();

namespace internal {
extern PhoneTables* g_tables;
}  // namespace internal

inline bool IsVowel(PhoneId phone) {
  return internal::g_tables->isVowel[phone];
}
inline bool CanBeBlank(PhoneId phone) {
  return internal::g_tables->canBeBlank[phone];
}
inline int32_t GetPhoneType(PhoneId phone) {
  return internal::g_tables->phoneType[phone];
}
inline int32_t GetPhoneCode(PhoneId phone) {
  return internal::g_tables->phoneCode[phone];
}
inline int32_t GetPhoneDistance(PhoneId a, PhoneId b) {
  return internal::g_tables->phoneDistance[a][b];
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_PHONE_TABLES_H_
