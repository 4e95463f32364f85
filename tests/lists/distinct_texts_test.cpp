// Distinct texts of a long list: numbered in the order first met, equal
// only when byte for byte equal, and the same for every thread count.

#include "distinct_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lists_fixture.h"

namespace marrowfield::lists::testing {
namespace {

// The numbering one pass with a map gives.
DistinctTexts Reference(const std::vector<std::string_view>& items) {
  DistinctTexts distinct;
  std::unordered_map<std::string_view, uint32_t> seen;
  for (uint32_t i = 0; i < items.size(); ++i) {
    const auto [it, added] = seen.emplace(
        items[i], static_cast<uint32_t>(distinct.firstItem.size()));
    if (added) distinct.firstItem.push_back(i);
    distinct.ofItem.push_back(it->second);
  }
  return distinct;
}

TEST(DistinctTextsTest, SmallList_NumberedInOrderFirstMet) {
  using namespace std::string_view_literals;
  const std::vector<std::string_view> items = {
      "b", "a", "b", "", "a", "c", "B", "a\0b"sv, "a\0c"sv, "a\0b"sv, ""};
  for (unsigned threads : {1u, 2u, 7u}) {
    const DistinctTexts distinct = NumberDistinctTexts(items, threads);
    const DistinctTexts expected = Reference(items);
    EXPECT_EQ(distinct.ofItem, expected.ofItem) << threads << " threads";
    EXPECT_EQ(distinct.firstItem, expected.firstItem) << threads << " threads";
  }
  EXPECT_TRUE(NumberDistinctTexts({}, 2).firstItem.empty());
}

TEST(DistinctTextsTest, LongListOfRepeats_SameAsOnePassForEveryThreadCount) {
  // Names repeated unevenly over many chunks of work, and texts that share
  // long prefixes, as a large column holds them.
  const std::vector<std::string> names = SingleNames();
  ASSERT_FALSE(names.empty());
  std::vector<std::string> cells;
  NameRandom random(11);
  for (size_t k = 0; k < 120000; ++k) {
    const size_t pick = random.Below(names.size());
    cells.push_back(k % 7 == 0 ? names[pick] + " " + names[pick / 2]
                               : names[pick * pick % names.size()]);
  }
  const std::vector<std::string_view> items(cells.begin(), cells.end());
  const DistinctTexts expected = Reference(items);
  ASSERT_GT(expected.firstItem.size(), 100u);
  ASSERT_LT(expected.firstItem.size(), items.size() / 2);
  for (unsigned threads : {1u, 2u, 7u}) {
    const DistinctTexts distinct = NumberDistinctTexts(items, threads);
    EXPECT_EQ(distinct.ofItem, expected.ofItem) << threads << " threads";
    EXPECT_EQ(distinct.firstItem, expected.firstItem) << threads << " threads";
  }
}

}  // namespace
}  // namespace marrowfield::lists::testing
