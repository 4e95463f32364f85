// mf_group_pairs, the grouping of pairs found elsewhere (as marrowfield.dask
// finds them on its workers): handed the pairs mf_dedupe finds, in any
// order and either way round, it gives mf_dedupe's groups; what it cannot
// group it refuses without handing out a handle.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "lists_c_api.h"
#include "marrowfield.h"
#include "name_variants.h"

namespace marrowfield::lists::testing {
namespace {

class GroupPairs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(initialize(), 0); }
  static void TearDownTestSuite() { un_initialize(); }
};

// The distinct values of a committed corpus, in file order.
std::vector<std::string> Distinct(const char* path) {
  std::vector<std::string> values;
  std::set<std::string> seen;
  for (const std::string& value : ReadCorpusValues(path)) {
    if (seen.insert(value).second) values.push_back(value);
  }
  return values;
}

struct Pair {
  size_t first;
  size_t second;
  int score;
};

std::vector<Pair> PairsOf(const mf_groups_t* groups) {
  std::vector<Pair> pairs(mf_groups_pair_count(groups));
  for (size_t k = 0; k < pairs.size(); ++k) {
    EXPECT_EQ(mf_groups_pair(groups, k, &pairs[k].first, &pairs[k].second,
                             &pairs[k].score),
              1);
  }
  return pairs;
}

// Everything the groups handle tells, in one comparable value.
using Member = std::tuple<size_t, int, size_t, int>;
using Described = std::pair<std::vector<std::pair<size_t, std::vector<Member>>>,
                            std::vector<std::tuple<size_t, size_t, int>>>;

Described Describe(const mf_groups_t* groups) {
  Described described;
  for (size_t g = 0; g < mf_groups_count(groups); ++g) {
    std::vector<Member> members;
    for (size_t m = 0; m < mf_groups_member_count(groups, g); ++m) {
      members.emplace_back(mf_groups_member_value(groups, g, m),
                           mf_groups_member_score(groups, g, m),
                           mf_groups_member_via(groups, g, m),
                           mf_groups_member_via_score(groups, g, m));
    }
    described.first.emplace_back(mf_groups_canonical(groups, g), members);
  }
  for (const Pair& p : PairsOf(groups))
    described.second.emplace_back(p.first, p.second, p.score);
  return described;
}

struct Case {
  const char* corpus;
  bool wholeCell;
  int scoring;
  int accuracy;
};

TEST_F(GroupPairs, DedupesPairs_InAnyOrder_GiveDedupesGroups) {
  const Case cases[] = {
      {MARROWFIELD_NAMES_DIR "/names.tsv", true, MF_SCORING_STRICT, 60},
      {MARROWFIELD_NAMES_DIR "/names.tsv", true, MF_SCORING_TOLERANT, 60},
      {MARROWFIELD_NAMES_DIR "/names.tsv", false, MF_SCORING_STRICT, 80},
      // Word by word, values with initials join only their best partner's
      // group: the grouping must see which values they are.
      {MARROWFIELD_NAMES_DIR "/full_names.tsv", false, MF_SCORING_STRICT, 60},
      {MARROWFIELD_NAMES_DIR "/full_names.tsv", false, MF_SCORING_TOLERANT, 70},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.corpus) + (c.wholeCell ? " whole" : " words") +
                 " scoring " + std::to_string(c.scoring) + " accuracy " +
                 std::to_string(c.accuracy));
    const std::vector<std::string> values = Distinct(c.corpus);
    std::vector<const char*> pointers;
    std::vector<uint64_t> counts;
    for (size_t i = 0; i < values.size(); ++i) {
      pointers.push_back(values[i].c_str());
      counts.push_back(1 + (i * 7) % 5);
    }
    Options options;
    mf_options_set_accuracy(options.get(), c.accuracy);
    mf_options_set_whole_cell(options.get(), c.wholeCell ? 1 : 0);
    mf_options_set_scoring(options.get(), c.scoring);
    Groups deduped;
    ASSERT_EQ(mf_dedupe(options.get(), pointers.data(), counts.data(),
                        pointers.size(), deduped.out(), nullptr),
              MF_OK);
    ASSERT_GT(mf_groups_count(deduped.get()), 10u);

    // The found pairs shuffled, every other one turned round, and pairs
    // below the accuracy mixed in, which must change nothing.
    std::vector<Pair> given = PairsOf(deduped.get());
    std::set<std::pair<size_t, size_t>> found;
    for (const Pair& p : given) found.emplace(p.first, p.second);
    for (size_t i = 0; i + 3 < values.size(); i += 97) {
      if (found.count({i, i + 3}) == 0)
        given.push_back(Pair{i + 3, i, c.accuracy - 1});
    }
    std::shuffle(given.begin(), given.end(), std::mt19937(5));
    std::vector<size_t> firsts;
    std::vector<size_t> seconds;
    std::vector<int> scores;
    for (size_t k = 0; k < given.size(); ++k) {
      const bool turn = k % 2 == 1;
      firsts.push_back(turn ? given[k].second : given[k].first);
      seconds.push_back(turn ? given[k].first : given[k].second);
      scores.push_back(given[k].score);
    }
    Groups grouped;
    ASSERT_EQ(
        mf_group_pairs(options.get(), pointers.data(), counts.data(),
                       pointers.size(), firsts.data(), seconds.data(),
                       scores.data(), given.size(), grouped.out(), nullptr),
        MF_OK);
    EXPECT_EQ(Describe(grouped.get()), Describe(deduped.get()));
  }
}

TEST_F(GroupPairs, NoPairs_GiveNoGroups) {
  Options options;
  const char* values[] = {"Smith", "Smyth"};
  Groups groups;
  ASSERT_EQ(mf_group_pairs(options.get(), values, nullptr, 2, nullptr, nullptr,
                           nullptr, 0, groups.out(), nullptr),
            MF_OK);
  EXPECT_EQ(mf_groups_count(groups.get()), 0u);
  EXPECT_EQ(mf_groups_pair_count(groups.get()), 0u);
}

TEST_F(GroupPairs, PairsItCannotGroup_AreRefusedWithoutAHandle) {
  const char* values[] = {"Smith", "Smyth", "Smithe"};
  struct Refused {
    std::vector<size_t> firsts;
    std::vector<size_t> seconds;
    std::vector<int> scores;
    const char* message;
  };
  const Refused cases[] = {
      {{0, 3}, {1, 0}, {90, 90}, "out of range"},
      {{1}, {1}, {100}, "itself"},
      {{0}, {1}, {101}, "0-100"},
      {{0}, {1}, {-1}, "0-100"},
      {{0, 1}, {1, 0}, {90, 90}, "twice"},
  };
  Options options;
  for (const Refused& c : cases) {
    SCOPED_TRACE(c.message);
    Error error;
    mf_groups_t* groups = nullptr;
    EXPECT_EQ(mf_group_pairs(options.get(), values, nullptr, 3, c.firsts.data(),
                             c.seconds.data(), c.scores.data(), c.firsts.size(),
                             &groups, error.out()),
              MF_INVALID_ARGUMENT);
    EXPECT_EQ(groups, nullptr);
    EXPECT_NE(error.text().find(c.message), std::string::npos) << error.text();
  }
  Error error;
  mf_groups_t* groups = nullptr;
  EXPECT_EQ(mf_group_pairs(options.get(), values, nullptr, 3, nullptr, nullptr,
                           nullptr, 1, &groups, error.out()),
            MF_INVALID_ARGUMENT);
  EXPECT_EQ(groups, nullptr);
  EXPECT_NE(error.text().find("NULL"), std::string::npos) << error.text();
}

}  // namespace
}  // namespace marrowfield::lists::testing
