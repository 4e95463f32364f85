// The engine-wide phone tables: the 41-phone inventory, the four property
// tables (vowel, can-be-blank, type, articulation code) and the symmetric
// phone-to-phone distance table. initialize() builds them once; every
// matcher reads them. Lookups are find-or-insert: a phone the tables do not
// know is added with the default value, which is returned.

#ifndef MARROWFIELD_ENGINE_PHONE_TABLES_H_
#define MARROWFIELD_ENGINE_PHONE_TABLES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
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

// The sum of the key's characters taken as signed bytes. The container
// reduces it modulo its bucket count.
struct PhoneKeyHash {
  size_t operator()(const std::string& key) const;
};

template <typename T>
using PhoneMap = std::unordered_map<std::string, T, PhoneKeyHash>;

struct PhoneTables {
  PhoneMap<PhoneMap<int32_t>> phoneDistance;
  std::vector<std::string> phoneList;
  PhoneMap<bool> canBeBlank;
  PhoneMap<bool> isVowel;
  PhoneMap<int32_t> phoneType;
  PhoneMap<int32_t> phoneCode;
};

// Builds every table (releasing a previous set) and checks the distance
// table for symmetry. Returns 0, or -1 after writing "Some problem with the
// list of phones" to standard error; the tables then stay as built.
int BuildPhoneTables();

// Destroys the tables. Harmless when they do not exist.
void FreePhoneTables();

// True between BuildPhoneTables() and FreePhoneTables().
bool PhoneTablesReady();

// The current tables. REQUIRES: PhoneTablesReady().
PhoneTables& CurrentPhoneTables();

// Property lookups. REQUIRES: PhoneTablesReady().
bool IsVowel(const std::string& phone);
bool CanBeBlank(const std::string& phone);
int32_t GetPhoneType(const std::string& phone);
int32_t GetPhoneCode(const std::string& phone);

// The distance from a to b, 0..50; 0 for a phone outside the inventory.
// REQUIRES: PhoneTablesReady().
int32_t GetPhoneDistance(const std::string& a, const std::string& b);

// Returns 0 when the distance table is symmetric over the inventory, or -1
// after writing one line to standard output naming the first pair (in
// row-major order) whose two directions differ.
int CheckForConsistency();

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_PHONE_TABLES_H_
