// The nearest-phone search and the rule for skippable phones.

#include "engine_fixture.h"

namespace marrowfield {
namespace {

using NearestPhoneTest = EngineTest;
using SkipRulesTest = EngineTest;

TEST_F(NearestPhoneTest, ChoosesNearestInWindowWithTiesToJThenBefore) {
  struct Case {
    const char* phone;
    const char* list;
    size_t j;
    int offset;
    int distance;
  };
  const Case cases[] = {
      {"k", "g k g", 1, 0, 0},
      {"k", "g t g", 1, -1, 10},  // the g before j beats the equal g after
      {"k", "t t t", 1, NO_NEAREST_PHONE, -1},
      {"t", "d th d", 1, 0, 6},
      {"t", "th d th", 1, -1, 6},  // d at 15 is farther than th at 6
      {"k", "t g", 0, 1, 10},      // at j = 0 the window is 0..1
      {"k", "k g k", 0, 0, 0},
      {"k", "g t k", 2, 0, 0},  // at the last index the window is j-1..j
      {"k", "g t", 1, -1, 10},
      {"k", "g", 0, 0, 10},
      {"k", "m", 0, NO_NEAREST_PHONE, -1},
      {"zz", "k g t", 1, 0, 0},  // unknown phones are at 0 from all
      {"aa", "ae ax aa", 1, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.phone) + " in " + c.list);
    int32_t distance = 12345;
    EXPECT_EQ(matcher.FindNearestPhone(PhoneIdOf(c.phone), Phones(c.list), c.j,
                                       distance),
              c.offset);
    EXPECT_EQ(distance, c.distance);
  }
}

// Phone lists with the asked position in brackets.
bool Skippable(const PhoneticMatcher& matcher, const std::string& text) {
  PhoneList phones;
  size_t position = 0;
  for (std::string phone : Names(text)) {
    if (phone.front() == '[') {
      position = phones.size();
      phone = phone.substr(1, phone.size() - 2);
    }
    phones.push_back(phone);
  }
  return matcher.CanBeSkipped(PhoneIdsOf(phones), position);
}

TEST_F(SkipRulesTest, RulesForYaralavaAspirateAndOthers) {
  const std::pair<const char*, bool> cases[] = {
      {"k aa [r] d", true},   {"k aa [r]", true},  {"k aa [r] iy", false},
      {"k aa [r] l z", true}, {"[r] aa", false},   {"t [r] aa", false},
      {"aa r [r]", false},    {"l [r] aa", false}, {"aa [r] hh", false},
      {"aa [w] $", false},    {"t [hh] aa", true}, {"r [hh] aa", true},
      {"aa [hh]", false},     {"[hh] aa", true},   {"hh [hh]", false},
      {"$ [hh]", false},      {"[k] aa", true},    {"k [ah]", true},
      {"aa [t]", true},       {"s [t]", false},    {"y [r] t", true},
      {"k [y]", true},        {"aa [$]", true},    {"aa [r] $", false},
      {"aa [l] v", true},     {"ow [v]", true},    {"zz [t]", false},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(Skippable(matcher, text), expected) << text;
  }
}

}  // namespace
}  // namespace marrowfield
