// The phone inventory, its properties, the distance table and its
// consistency check.

#include <map>
#include <sstream>
#include <tuple>

#include "engine_fixture.h"

namespace marrowfield {
namespace {

using PhoneTablesTest = EngineTest;

const char* const kInventoryOrder =
    "aa ae ah ax ao er ih iy uh uw eh y ey ay oy ow aw k g ng ch z jh zh t th "
    "dh n p f b m r l w v s sh hh d $";

TEST_F(PhoneTablesTest, InventoryHolds41PhonesInOrder) {
  EXPECT_EQ(CurrentPhoneTables().phoneList, Names(kInventoryOrder));
}

TEST_F(PhoneTablesTest, PropertiesOfEveryPhone) {
  // phone, vowel, blank, type, code
  const std::vector<std::tuple<std::string, bool, bool, int, int>> cases = {
      {"aa", true, false, LONG_VOWEL, 0}, {"ah", true, true, SHORT_VOWEL, 0},
      {"er", true, false, LONG_VOWEL, 0}, {"y", true, true, SHORT_VOWEL, 0},
      {"aw", true, false, LONG_VOWEL, 0}, {"ng", false, false, CONSONANT, 1},
      {"zh", false, false, CONSONANT, 2}, {"s", false, false, CONSONANT, 2},
      {"dh", false, false, CONSONANT, 3}, {"d", false, false, CONSONANT, 3},
      {"n", false, false, CONSONANT, 4},  {"b", false, false, CONSONANT, 5},
      {"m", false, false, CONSONANT, 6},  {"r", false, true, YARALAVA, 7},
      {"l", false, false, YARALAVA, 8},   {"w", false, true, YARALAVA, 9},
      {"v", false, true, YARALAVA, 9},    {"hh", false, true, ASPIRATE, 10},
      {"$", false, false, NO_TYPE, 11},
  };
  for (const auto& [phone, vowel, blank, type, code] : cases) {
    SCOPED_TRACE(phone);
    EXPECT_EQ(IsVowel(phone), vowel);
    EXPECT_EQ(CanBeBlank(phone), blank);
    EXPECT_EQ(GetPhoneType(phone), type);
    EXPECT_EQ(GetPhoneCode(phone), code);
  }
}

TEST_F(PhoneTablesTest, VowelsAreExactlyTheVowelTypesAndTenPhonesCanBeBlank) {
  std::string blank;
  int vowels = 0;
  for (const std::string& phone : CurrentPhoneTables().phoneList) {
    const int type = GetPhoneType(phone);
    EXPECT_EQ(IsVowel(phone), type == LONG_VOWEL || type == SHORT_VOWEL)
        << phone;
    vowels += IsVowel(phone);
    if (CanBeBlank(phone)) blank += phone + " ";
  }
  EXPECT_EQ(vowels, 17);
  EXPECT_EQ(blank, "ah ax ih uh eh y r w v hh ");
}

TEST_F(PhoneTablesTest, UnknownPhoneReadsAsDefaultsAndIsRecorded) {
  EXPECT_FALSE(IsKeyOf(PhoneTable::kIsVowel, "zz"));
  EXPECT_FALSE(IsVowel("zz"));
  EXPECT_FALSE(CanBeBlank("zz"));
  EXPECT_EQ(GetPhoneType("zz"), NO_TYPE);
  EXPECT_EQ(GetPhoneCode("zz"), 0);
  EXPECT_EQ(GetPhoneDistance("zz", "aa"), 0);
  EXPECT_EQ(GetPhoneDistance("k", "zz"), 0);
  EXPECT_TRUE(IsKeyOf(PhoneTable::kIsVowel, "zz"));
  EXPECT_TRUE(IsKeyOf(PhoneTable::kPhoneType, "zz"));
  EXPECT_TRUE(IsKeyOf(PhoneTable::kPhoneDistance, "zz"));
  EXPECT_FALSE(IsKeyOf(PhoneTable::kPhoneCode, "qq"));
  EXPECT_EQ(GetPhoneDistance("zz", "qq"), 0);
  EXPECT_EQ(GetPhoneDistance("zz", "zz"), 0);
  // The shared tables themselves are unchanged.
  EXPECT_EQ(PhoneIdOf("zz"), kUnknownPhone);
  EXPECT_EQ(CurrentPhoneTables().phoneList.size(), 41u);
}

// The non-default distances, written as "distance: pairs".
const char* const kDistanceLines[] = {
    "0: w-v",
    "1: z-jh zh-sh s-sh",
    "2: aa-ae aa-ax aa-aw ah-ax ah-er ao-ow er-r er-$ ih-iy uh-uw eh-y eh-ey "
    "y-ey y-ay y-oy y-$ ey-ay ey-oy ey-$ ay-oy z-zh jh-zh th-dh r-$ l-$ w-$ "
    "v-$",
    "3: g-ng ch-z ch-jh ch-zh",
    "4: aa-ah aa-ao aa-oy ax-ao ao-uh ao-aw ih-eh iy-y oy-aw ow-aw dh-d",
    "5: ih-y",
    "6: aa-ow aa-w aa-v ae-ah ae-ax ao-uw iy-eh iy-ey uh-ow uw-ow uw-aw "
    "oy-ow t-th t-dh",
    "8: aa-er ax-er ax-uh aw-w aw-v p-f",
    "10: k-g z-s p-b",
    "12: ch-s",
    "15: t-d",
};

TEST_F(PhoneTablesTest, EveryPairHasItsDistanceInBothDirections) {
  std::map<std::pair<std::string, std::string>, int> listed;
  for (const char* line : kDistanceLines) {
    std::istringstream in(line);
    int distance;
    char colon;
    in >> distance >> colon;
    for (std::string pair; in >> pair;) {
      const size_t dash = pair.find('-');
      listed[{pair.substr(0, dash), pair.substr(dash + 1)}] = distance;
      listed[{pair.substr(dash + 1), pair.substr(0, dash)}] = distance;
    }
  }
  EXPECT_EQ(listed.size(), 2u * 72u);
  const PhoneList phones = CurrentPhoneTables().phoneList;
  for (const std::string& a : phones) {
    for (const std::string& b : phones) {
      int expected = IsVowel(a) && IsVowel(b) ? 25 : 50;
      if (a == b) expected = 0;
      auto it = listed.find({a, b});
      if (it != listed.end()) expected = it->second;
      EXPECT_EQ(GetPhoneDistance(a, b), expected) << a << "-" << b;
    }
  }
}

TEST_F(PhoneTablesTest, ConsistencyCheckPassesSilently) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(CheckForConsistency(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(PhoneTablesTest, ConsistencyCheckReportsFirstAsymmetricPairOnce) {
  PhoneTables& tables = CurrentPhoneTables();
  tables.phoneDistance[PhoneIdOf("aa")][PhoneIdOf("k")] = 7;
  tables.phoneDistance[PhoneIdOf("ch")][PhoneIdOf("m")] = 3;
  testing::internal::CaptureStdout();
  EXPECT_EQ(CheckForConsistency(), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "[CheckForConsistency] Mismatch with the pair (aa, k)    : 7 : "
            "50\n");
}

TEST(PhoneTablesLifecycleTest, FreeWithoutBuildAndRebuildAreHarmless) {
  FreePhoneTables();
  EXPECT_FALSE(PhoneTablesReady());
  FreePhoneTables();
  testing::internal::CaptureStderr();
  EXPECT_EQ(BuildPhoneTables(), 0);
  EXPECT_EQ(BuildPhoneTables(), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(CurrentPhoneTables().phoneList.size(), 41u);
  FreePhoneTables();
}

TEST(PhoneIdTest, NamesMapToInventoryIndexesAndOthersToUnknown) {
  const PhoneList inventory = Names(kInventoryOrder);
  for (size_t id = 0; id < inventory.size(); ++id) {
    EXPECT_EQ(PhoneIdOf(inventory[id]), id) << inventory[id];
  }
  const std::string others[] = {
      "", "a", "aaa", "zz", "AA", "ey1", std::string("a\0", 2), "\xff"};
  for (const std::string& name : others) {
    EXPECT_EQ(PhoneIdOf(name), kUnknownPhone) << name;
  }
}

}  // namespace
}  // namespace marrowfield
