// The fixed facts about single phones: the ordered inventory with each
// phone's properties, and the pairs whose distance differs from the
// defaults (0 to itself, 25 between two vowels, 50 otherwise).

#ifndef MARROWFIELD_ENGINE_PHONE_INVENTORY_H_
#define MARROWFIELD_ENGINE_PHONE_INVENTORY_H_

#include <cstdint>

#include "phone_tables.h"

namespace marrowfield {

struct PhoneInfo {
  const char* phone;
  bool isVowel;
  bool canBeBlank;
  PhoneType phoneType;
  int32_t phoneCode;
};

constexpr PhoneInfo kPhoneInventory[] = {
    {"aa", true, false, LONG_VOWEL, 0}, {"ae", true, false, LONG_VOWEL, 0},
    {"ah", true, true, SHORT_VOWEL, 0}, {"ax", true, true, SHORT_VOWEL, 0},
    {"ao", true, false, LONG_VOWEL, 0}, {"er", true, false, LONG_VOWEL, 0},
    {"ih", true, true, SHORT_VOWEL, 0}, {"iy", true, false, LONG_VOWEL, 0},
    {"uh", true, true, SHORT_VOWEL, 0}, {"uw", true, false, LONG_VOWEL, 0},
    {"eh", true, true, SHORT_VOWEL, 0}, {"y", true, true, SHORT_VOWEL, 0},
    {"ey", true, false, LONG_VOWEL, 0}, {"ay", true, false, LONG_VOWEL, 0},
    {"oy", true, false, LONG_VOWEL, 0}, {"ow", true, false, LONG_VOWEL, 0},
    {"aw", true, false, LONG_VOWEL, 0}, {"k", false, false, CONSONANT, 1},
    {"g", false, false, CONSONANT, 1},  {"ng", false, false, CONSONANT, 1},
    {"ch", false, false, CONSONANT, 2}, {"z", false, false, CONSONANT, 2},
    {"jh", false, false, CONSONANT, 2}, {"zh", false, false, CONSONANT, 2},
    {"t", false, false, CONSONANT, 3},  {"th", false, false, CONSONANT, 3},
    {"dh", false, false, CONSONANT, 3}, {"n", false, false, CONSONANT, 4},
    {"p", false, false, CONSONANT, 5},  {"f", false, false, CONSONANT, 5},
    {"b", false, false, CONSONANT, 5},  {"m", false, false, CONSONANT, 6},
    {"r", false, true, YARALAVA, 7},    {"l", false, false, YARALAVA, 8},
    {"w", false, true, YARALAVA, 9},    {"v", false, true, YARALAVA, 9},
    {"s", false, false, CONSONANT, 2},  {"sh", false, false, CONSONANT, 2},
    {"hh", false, true, ASPIRATE, 10},  {"d", false, false, CONSONANT, 3},
    {"$", false, false, NO_TYPE, 11},
};

constexpr int kPhoneCount =
    static_cast<int>(sizeof(kPhoneInventory) / sizeof(kPhoneInventory[0]));
static_assert(kPhoneCount == 41, "the inventory holds 41 phones");

// Default distances for pairs not listed in kPhonePairDistances.
constexpr int32_t kVowelPairDistance = 25;

struct PhonePairDistance {
  const char* a;
  const char* b;
  int32_t distance;
};

// The 72 unordered pairs whose distance is not the default. Both
// directions carry the value.
constexpr PhonePairDistance kPhonePairDistances[] = {
    {"w", "v", 0},   {"z", "jh", 1},  {"zh", "sh", 1}, {"s", "sh", 1},
    {"aa", "ae", 2}, {"aa", "ax", 2}, {"aa", "aw", 2}, {"ah", "ax", 2},
    {"ah", "er", 2}, {"ao", "ow", 2}, {"er", "r", 2},  {"er", "$", 2},
    {"ih", "iy", 2}, {"uh", "uw", 2}, {"eh", "y", 2},  {"eh", "ey", 2},
    {"y", "ey", 2},  {"y", "ay", 2},  {"y", "oy", 2},  {"y", "$", 2},
    {"ey", "ay", 2}, {"ey", "oy", 2}, {"ey", "$", 2},  {"ay", "oy", 2},
    {"z", "zh", 2},  {"jh", "zh", 2}, {"th", "dh", 2}, {"r", "$", 2},
    {"l", "$", 2},   {"w", "$", 2},   {"v", "$", 2},   {"g", "ng", 3},
    {"ch", "z", 3},  {"ch", "jh", 3}, {"ch", "zh", 3}, {"aa", "ah", 4},
    {"aa", "ao", 4}, {"aa", "oy", 4}, {"ax", "ao", 4}, {"ao", "uh", 4},
    {"ao", "aw", 4}, {"ih", "eh", 4}, {"iy", "y", 4},  {"oy", "aw", 4},
    {"ow", "aw", 4}, {"dh", "d", 4},  {"ih", "y", 5},  {"aa", "ow", 6},
    {"aa", "w", 6},  {"aa", "v", 6},  {"ae", "ah", 6}, {"ae", "ax", 6},
    {"ao", "uw", 6}, {"iy", "eh", 6}, {"iy", "ey", 6}, {"uh", "ow", 6},
    {"uw", "ow", 6}, {"uw", "aw", 6}, {"oy", "ow", 6}, {"t", "th", 6},
    {"t", "dh", 6},  {"aa", "er", 8}, {"ax", "er", 8}, {"ax", "uh", 8},
    {"aw", "w", 8},  {"aw", "v", 8},  {"p", "f", 8},   {"k", "g", 10},
    {"z", "s", 10},  {"p", "b", 10},  {"ch", "s", 12}, {"t", "d", 15},
};

static_assert(sizeof(kPhonePairDistances) / sizeof(kPhonePairDistances[0]) ==
                  72,
              "72 pairs differ from the default distance");

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_PHONE_INVENTORY_H_
