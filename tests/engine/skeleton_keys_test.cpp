// The direct shared-key check of two words against its definition: a text
// in the key lists of both (KindedPhoneKeys) whose kinds meet.

#include "skeleton_keys.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <tuple>

#include "engine_fixture.h"

namespace marrowfield {
namespace {

using SkeletonKeysTest = EngineTest;

bool ReadingsShareByDefinition(const PhoneIds& x, const PhoneIds& y) {
  for (const KindedKey& a : KindedPhoneKeys(x)) {
    for (const KindedKey& b : KindedPhoneKeys(y)) {
      if (a.text == b.text && KindsMeet(a.kind, b.kind)) return true;
    }
  }
  return false;
}

bool ShareByDefinition(const PhoneIds& w1, const PhoneIds& r1,
                       const PhoneIds& w2, const PhoneIds& r2) {
  for (const PhoneIds* x : {&w1, &r1}) {
    for (const PhoneIds* y : {&w2, &r2}) {
      if (ReadingsShareByDefinition(*x, *y)) return true;
    }
  }
  return false;
}

// The kinds themselves: the plain key list is the kinded one without
// them and without the places, and a short reading's neighbours.
TEST_F(SkeletonKeysTest, KindedKeysArePhoneKeysWithKinds) {
  for (const char* phones :
       {"", "ah", "k ae t", "n ih k s ax", "n ih k s ax n ax",
        "k r ih s t iy ae n s ax n", "b aa b ax b ax", "b aa b ax b"}) {
    SCOPED_TRACE(phones);
    const PhoneIds ids = Phones(phones);
    const bool longReading = ids.size() >= kMinPhonesForNeighbours;
    const std::vector<std::string> plain =
        PhoneKeys(ids, KeySet::kWithNeighbours);
    const std::vector<std::string> exact =
        PhoneKeys(ids, KeySet::kExactSkeleton);
    std::vector<std::string> unplaced;
    size_t placed = 0;
    for (const KindedKey& key : KindedPhoneKeys(ids)) {
      const bool hasPlace = key.text.find('@') != std::string::npos;
      EXPECT_EQ(hasPlace, key.kind == KeyKind::kPlacedNeighbour) << key.text;
      if (hasPlace) {
        ++placed;
        continue;
      }
      unplaced.push_back(key.text);
      if (key.text == exact[0]) {
        EXPECT_EQ(key.kind, longReading ? KeyKind::kSkeleton
                                        : KeyKind::kShortSkeleton);
      } else if (key.kind == KeyKind::kNeighbour) {
        EXPECT_TRUE(longReading) << key.text;
      }
    }
    if (longReading) {
      EXPECT_EQ(unplaced, plain);
      // One placed neighbour per symbol, doubled symbols too.
      EXPECT_EQ(placed, exact[0].size() - 1);
    } else {
      EXPECT_EQ(placed, 0u);
      for (const std::string& text : unplaced) {
        EXPECT_TRUE(std::binary_search(plain.begin(), plain.end(), text))
            << text;
      }
      if (!ids.empty()) {
        EXPECT_EQ(unplaced.front(), exact[0]);
      }
    }
  }
}

TEST_F(SkeletonKeysTest, NamedCasesAgreeWithTheKeyLists) {
  // word 1 written | respelled, word 2 written | respelled, shared
  const std::vector<
      std::tuple<std::string, std::string, std::string, std::string, bool>>
      cases = {
          {"t aa m s ax n", "", "t aa m p s ax n", "", true},  // one more
          {"k ax m y uw n ih z ax m", "", "l uw th er ax n ih z ax m", "",
           false},  // endings
          {"k r ih s t iy ae n ax", "", "k r ih s t iy ae n s ax n", "", true},
          {"s m ih th", "", "s m ay dh", "", true},  // same groups
          {"ah", "", "hh ah", "", true},             // no symbols
          {"", "", "ah", "", false},                 // no phones
          {"b aa b", "", "p aa p", "", true},
          {"b aa b", "", "m aa m", "", false},
          {"k ae t", "s ae t", "s ae t", "", true},  // respelling
          {"k ae t", "", "k ae t", "s ae t", true},
          {"n ih k", "", "m ae p", "", false},
          // Neighbours relate long readings only.
          {"n ih k s", "", "p ih k s", "", false},
          {"n ih k s ax", "", "p ih k s ax", "", false},
          {"n ih k s ax", "", "p ih k s ax n", "", false},
          {"n ih k s ax n", "", "p ih k s ax n", "", true},
          {"n ih k s ax n ax", "n ih k s", "p ih k s", "", false},
          {"n ih k s ax n ax", "n ih k", "p ih k s ax n ax", "", true},
          {"n ih k s", "", "n ih k s t", "", false},
          {"s t ae n l iy", "", "s t ae n", "", false},
          {"n ih k s ax n", "", "n ih k s t ax n", "", true},
          // A consonant moved is two places, not one.
          {"k ae s t ax n ax", "", "k ae t s ax n ax", "", false},
          {"k ae s t ax n ax", "", "k ae s k ax n ax", "", true},
          // Stems meet short readings' skeletons and long ones' neighbours.
          {"s t ae n l iy k s", "", "s t ae n l", "", true},
          {"s t ae n l iy k", "", "s t ae n d", "", false},
          {"s t ae n l iy k", "", "s t ae n d ax", "", true},
      };
  for (const auto& [w1, r1, w2, r2, shared] : cases) {
    SCOPED_TRACE(w1 + " / " + w2);
    EXPECT_EQ(ShareByDefinition(Phones(w1), Phones(r1), Phones(w2), Phones(r2)),
              shared);
    EXPECT_EQ(ReadingsShareKey(Phones(w1), Phones(r1), Phones(w2), Phones(r2)),
              shared);
    EXPECT_EQ(ReadingsShareKey(SkeletonsOfReadings(Phones(w1), Phones(r1)),
                               SkeletonsOfReadings(Phones(w2), Phones(r2))),
              shared);
  }
}

// Random words over a few phones of distinct groups and silent phones,
// many of them a small edit of another, so that both answers are common;
// some longer than the longest skeleton given neighbours.
TEST_F(SkeletonKeysTest, RandomWordsAgreeWithTheKeyLists) {
  const PhoneIds alphabet = Phones("k t s n p m l b d ah r w");
  std::mt19937 random(20261210);
  auto word = [&](size_t most) {
    PhoneIds phones(std::uniform_int_distribution<size_t>(0, most)(random));
    for (PhoneId& phone : phones) phone = alphabet[random() % alphabet.size()];
    return phones;
  };
  auto edit = [&](PhoneIds phones) {
    const int edits = static_cast<int>(random() % 3);
    for (int e = 0; e < edits; ++e) {
      const size_t at = phones.empty() ? 0 : random() % (phones.size() + 1);
      switch (random() % 4) {
        case 0:
          if (at < phones.size()) phones.erase(phones.begin() + at);
          break;
        case 1:
          phones.insert(phones.begin() + at,
                        alphabet[random() % alphabet.size()]);
          break;
        case 2:
          if (at < phones.size())
            phones[at] = alphabet[random() % alphabet.size()];
          break;
        default:
          phones.resize(phones.size() >= 2 ? phones.size() - 2 : 0);
      }
    }
    return phones;
  };
  int shared = 0;
  int apart = 0;
  for (int trial = 0; trial < 40000; ++trial) {
    const size_t most = trial % 50 == 0 ? 80 : 9;
    const PhoneIds w1 = word(most);
    const PhoneIds r1 = trial % 3 == 0 ? edit(w1) : PhoneIds{};
    const PhoneIds w2 = trial % 5 == 0 ? word(most) : edit(w1);
    const PhoneIds r2 = trial % 4 == 0 ? edit(w2) : PhoneIds{};
    const bool expected = ShareByDefinition(w1, r1, w2, r2);
    ASSERT_EQ(ReadingsShareKey(w1, r1, w2, r2), expected) << "trial " << trial;
    ASSERT_EQ(ReadingsShareKey(w2, r2, w1, r1), expected) << "trial " << trial;
    // The same from skeletons kept beforehand.
    ASSERT_EQ(ReadingsShareKey(SkeletonsOfReadings(w1, r1),
                               SkeletonsOfReadings(w2, r2)),
              expected)
        << "trial " << trial;
    // The plain key lists are a wider net.
    if (expected) {
      bool plainShared = false;
      for (const PhoneIds* x : {&w1, &r1}) {
        for (const PhoneIds* y : {&w2, &r2}) {
          const auto k1 = PhoneKeys(*x, KeySet::kWithNeighbours);
          const auto k2 = PhoneKeys(*y, KeySet::kWithNeighbours);
          std::vector<std::string> common;
          std::set_intersection(k1.begin(), k1.end(), k2.begin(), k2.end(),
                                std::back_inserter(common));
          plainShared = plainShared || !common.empty();
        }
      }
      ASSERT_TRUE(plainShared) << "trial " << trial;
    }
    (expected ? shared : apart)++;
  }
  // Both answers were exercised often.
  EXPECT_GT(shared, 5000);
  EXPECT_GT(apart, 5000);
}

}  // namespace
}  // namespace marrowfield
