// The blocking keys of whole values, as a database index stores them:
// well-formed, none for values without sound, and shared by every pair of
// values that either score relates.

#include "blocking_keys.h"

#include <algorithm>
#include <string>
#include <vector>

#include "lists_fixture.h"
#include "mode_comparison.h"

namespace marrowfield::lists::testing {
namespace {

class BlockingKeysTest : public ListsTest {
 protected:
  static bool ShareAKey(const std::vector<std::string>& a,
                        const std::vector<std::string>& b) {
    std::vector<std::string> common;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(),
                          std::back_inserter(common));
    return !common.empty();
  }
};

TEST_F(BlockingKeysTest, ValuesWithoutSound_HaveNoKeys) {
  for (const char* value : {"", "123", "  --  ", "'"}) {
    EXPECT_TRUE(BlockingKeys(value).empty()) << value;
  }
}

TEST_F(BlockingKeysTest, Keys_SortedDistinctPrintable) {
  for (const std::string& value : FullNameSample()) {
    const std::vector<std::string> keys = BlockingKeys(value);
    ASSERT_FALSE(keys.empty()) << value;
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << value;
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end())
        << value;
    for (const std::string& key : keys) {
      for (char c : key) EXPECT_TRUE(c > ' ' && c < 127) << value;
    }
  }
}

TEST_F(BlockingKeysTest, CaseAndPunctuation_DoNotChangeTheKeys) {
  EXPECT_EQ(BlockingKeys("O'Neil"), BlockingKeys("oneil"));
  EXPECT_EQ(BlockingKeys("SMITH"), BlockingKeys("smith"));
}

TEST_F(BlockingKeysTest, LongWord_KeepsItsSkeletonAlone) {
  // One 100 000-letter word: its neighbours would take gigabytes. It has
  // a skeleton for each of its two readings (its respelling reads the
  // double s of "jonessmith" as one) and nothing else.
  std::string word;
  while (word.size() < 100000) word += "smithjones";
  const std::vector<std::string> keys = BlockingKeys(word);
  ASSERT_EQ(keys.size(), 2u);
  for (const std::string& key : keys) EXPECT_GT(key.size(), 64u);
  EXPECT_EQ(BlockingKeys("smithjones").size() > 1, true);
}

// Both scores relate only values that share a key: the strict score by
// the skeleton, the tolerant one because it scores strictly whatever shares
// none. So pair finding can be complete in either mode.
TEST_F(BlockingKeysTest, RelatedValues_ShareAKeyInBothModes) {
  const std::vector<std::string> values = SingleNames();
  std::vector<std::vector<std::string>> keys;
  for (const std::string& v : values) keys.push_back(BlockingKeys(v));
  size_t strictPairs = 0;
  size_t tolerantPairs = 0;
  // Every eighth value against every value.
  for (size_t i = 0; i < values.size(); i += 8) {
    for (size_t j = 0; j < values.size(); ++j) {
      if (i == j) continue;
      const bool shared = ShareAKey(keys[i], keys[j]);
      if (compare_words(values[i].c_str(), values[j].c_str()) > 0) {
        ++strictPairs;
        ASSERT_TRUE(shared) << values[i] << " / " << values[j];
      }
      if (ComparePercentage(values[i], values[j], ScoringMode::kTolerant) >
          0) {
        ++tolerantPairs;
        ASSERT_TRUE(shared) << values[i] << " / " << values[j];
      }
    }
  }
  ASSERT_GT(strictPairs, 100u);
  ASSERT_GT(tolerantPairs, strictPairs);
}

// Words that share only an ending used to score 61 to 65 tolerantly
// (strict 0): they sound nothing alike, share no key, and now score as
// the strict score does; true variants keep their tolerant score.
TEST_F(BlockingKeysTest, TolerantScore_SharedEndingAloneRelatesNothing) {
  struct Case {
    const char* first;
    const char* second;
    bool related;
  };
  const Case cases[] = {
      {"Communism", "Lutheranism", false},
      {"Australians", "Unitarians", false},
      {"Ramanujan", "Ergentinians", false},
      {"Colombians", "Caribbeans", false},
      {"Eucharistic", "Hallenistic", false},
      {"Thompson", "Thomson", true},
      {"Catherine", "Kathryn", true},
      {"Jody", "Joddy", true},
  };
  for (const Case& c : cases) {
    const int tolerant =
        ComparePercentage(c.first, c.second, ScoringMode::kTolerant);
    EXPECT_EQ(ShareAKey(BlockingKeys(c.first), BlockingKeys(c.second)),
              c.related)
        << c.first << " / " << c.second;
    if (c.related) {
      EXPECT_GE(tolerant, kBlockingKeysMinAccuracy) << c.first;
    } else {
      EXPECT_EQ(tolerant, compare_words(c.first, c.second)) << c.first;
    }
  }
}

}  // namespace
}  // namespace marrowfield::lists::testing
