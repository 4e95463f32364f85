// The corpus generator itself: names with letters of several bytes
// ("schröder", "jesús") must come out as UTF-8 whatever slip they get, or
// every file made from them is read as Windows-1252.

#include "name_variants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marrowfield/unicode_text.h"

namespace marrowfield::lists::testing {
namespace {

const std::vector<std::string> kAccented = {"schröder", "jesús", "rené",
                                            "krüger", "öhman", "zoë"};

TEST(NameVariantsTest, MisspellingsOfAccentedNamesStayUtf8) {
  NameRandom random(1);
  size_t changed = 0;
  for (int k = 0; k < 5000; ++k) {
    const std::string& name = kAccented[static_cast<size_t>(k) % kAccented.size()];
    const std::string slip = MisspellName(name, random);
    EXPECT_TRUE(IsValidUtf8(slip)) << name << " -> " << slip;
    changed += slip != name;
  }
  // The names are still misspelt, not merely left alone.
  EXPECT_GT(changed, 2500u);
}

TEST(NameVariantsTest, VariantsAndFullNamesStayUtf8) {
  std::vector<std::string> names = kAccented;
  names.insert(names.end(), {"smith", "jones", "miller"});
  const std::vector<std::vector<std::string>> lists = {
      NameVariants(names, 400, 2), FullNames(names, 2000, 3)};
  for (const auto& list : lists) {
    EXPECT_GT(list.size(), 300u);
    for (const std::string& value : list)
      EXPECT_TRUE(IsValidUtf8(value)) << value;
  }
  // An initial of an accented first name is its whole first letter.
  const std::vector<std::string> full = FullNames({"öhman", "jones"}, 40, 4);
  bool sawInitial = false;
  for (const std::string& value : full) {
    if (value.rfind("ö. ", 0) == 0) sawInitial = true;
  }
  EXPECT_TRUE(sawInitial);
}

}  // namespace
}  // namespace marrowfield::lists::testing
