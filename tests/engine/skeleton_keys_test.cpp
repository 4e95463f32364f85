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

// The kinds themselves: the plain key list is the kinded one without them.
TEST_F(SkeletonKeysTest, KindedKeysArePhoneKeysWithKinds) {
  for (const char* phones :
       {"", "ah", "k ae t", "n ih k s ax n ax", "k r ih s t iy ae n s ax n",
        "b aa b ax b"}) {
    SCOPED_TRACE(phones);
    std::vector<std::string> texts;
    size_t skeletons = 0;
    for (const KindedKey& key : KindedPhoneKeys(Phones(phones))) {
      texts.push_back(key.text);
      if (key.kind == KeyKind::kSkeleton) {
        ++skeletons;
      } else {
        // Neighbours are a long or a short reading's, by its phones.
        EXPECT_EQ(key.kind == KeyKind::kNeighbour,
                  Phones(phones).size() >= kMinPhonesForSubstitution)
            << key.text;
      }
    }
    EXPECT_EQ(texts, PhoneKeys(Phones(phones), KeySet::kWithNeighbours));
    // The skeleton, and a stem for a long enough one.
    if (!texts.empty()) {
      EXPECT_GE(skeletons, 1u);
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
          // A substitution relates long readings only.
          {"n ih k s", "", "p ih k s", "", false},
          {"n ih k s", "", "p ih k s ax", "", false},
          {"n ih k s ax", "", "p ih k s ax", "", true},
          {"n ih k s ax n ax", "n ih k s", "p ih k s", "", false},
          {"n ih k s ax n ax", "n ih k", "p ih k s ax n ax", "", true},
          // A short reading's neighbour still meets a skeleton.
          {"n ih k s", "", "n ih k s t", "", true},
          {"s t ae n l iy", "", "s t ae n", "", true},      // stem
          {"s t ae n l iy k", "", "s t ae n d", "", true},  // stem vs neighbour
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
    (expected ? shared : apart)++;
  }
  // Both answers were exercised often.
  EXPECT_GT(shared, 5000);
  EXPECT_GT(apart, 5000);
}

}  // namespace
}  // namespace marrowfield
