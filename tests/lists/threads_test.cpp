// Results do not depend on the number of threads: 1, 2 and 7 threads give
// the same pairs, scores and groups, for duplicates and links, with keys
// and on the every-pair path, and a second run gives the same again.

#include <string>
#include <vector>

#include "lists_fixture.h"

namespace marrowfield::lists::testing {
namespace {

// Every group and member alike, field by field.
void ExpectSameGroups(const std::vector<Group>& again,
                      const std::vector<Group>& groups, unsigned threads) {
  ASSERT_EQ(again.size(), groups.size()) << threads << " threads";
  for (size_t g = 0; g < groups.size(); ++g) {
    ASSERT_EQ(again[g].canonical, groups[g].canonical);
    ASSERT_EQ(again[g].totalCount, groups[g].totalCount);
    ASSERT_EQ(again[g].members.size(), groups[g].members.size());
    for (size_t m = 0; m < groups[g].members.size(); ++m) {
      EXPECT_EQ(again[g].members[m].value, groups[g].members[m].value);
      EXPECT_EQ(again[g].members[m].score, groups[g].members[m].score);
      EXPECT_EQ(again[g].members[m].via, groups[g].members[m].via);
      EXPECT_EQ(again[g].members[m].viaScore, groups[g].members[m].viaScore);
    }
  }
}

class ThreadsTest : public ListsTest,
                    public ::testing::WithParamInterface<bool> {};

TEST_P(ThreadsTest, DuplicatePairsAndGroups_SameForEveryThreadCount) {
  const bool wholeCell = GetParam();
  const std::vector<std::string> values = FullNameSample();
  const auto one = FindDuplicatePairs(values, Options(70, 1, wholeCell));
  ASSERT_FALSE(one.empty());
  const auto groups =
      GroupDuplicates(values, {}, one, Options(70, 1, wholeCell));
  for (unsigned threads : {2u, 7u, 7u}) {
    const auto many =
        FindDuplicatePairs(values, Options(70, threads, wholeCell));
    EXPECT_EQ(many, one) << threads << " threads";
    ExpectSameGroups(
        GroupDuplicates(values, {}, many, Options(70, threads, wholeCell)),
        groups, threads);
  }
}

TEST_P(ThreadsTest, LinkPairs_SameForEveryThreadCount) {
  const bool wholeCell = GetParam();
  const std::vector<std::string> a = SingleNames();
  const std::vector<std::string> b = FullNameSample();
  const std::vector<std::string> firstHalf(a.begin(), a.begin() + a.size() / 2);
  const std::vector<std::string> secondHalf(a.begin() + a.size() / 2, a.end());
  const auto one =
      FindLinkPairs(firstHalf, secondHalf, Options(60, 1, wholeCell));
  ASSERT_FALSE(one.empty());
  for (unsigned threads : {2u, 7u}) {
    EXPECT_EQ(
        FindLinkPairs(firstHalf, secondHalf, Options(60, threads, wholeCell)),
        one);
  }
}

TEST_P(ThreadsTest, EveryPairPath_SameForEveryThreadCount) {
  const bool wholeCell = GetParam();
  std::vector<std::string> values = SingleNames();
  values.resize(600);
  const auto one = FindDuplicatePairs(values, Options(40, 1, wholeCell));
  ASSERT_FALSE(one.empty());
  for (unsigned threads : {2u, 7u}) {
    EXPECT_EQ(FindDuplicatePairs(values, Options(40, threads, wholeCell)), one);
  }
}

// Enough values that every parallel step (word numbering, the key index,
// the search for initials, the groups) cuts its work into several chunks.
TEST_F(ListsTest, LargeList_SamePairsAndGroupsForEveryThreadCount) {
  const std::vector<std::string> values =
      FullNames(SingleNames(), 12000, 3);
  std::vector<size_t> counts;
  for (size_t v = 0; v < values.size(); ++v) counts.push_back(1 + v % 5);
  const auto one = FindDuplicatePairs(values, Options(60, 1));
  ASSERT_GT(one.size(), values.size() / 10);
  const auto groups = GroupDuplicates(values, counts, one, Options(60, 1));
  ASSERT_GT(groups.size(), 100u);
  for (unsigned threads : {2u, 7u}) {
    const auto many = FindDuplicatePairs(values, Options(60, threads));
    EXPECT_EQ(many, one) << threads << " threads";
    ExpectSameGroups(
        GroupDuplicates(values, counts, many, Options(60, threads)), groups,
        threads);
  }
}

TEST_F(ListsTest, Progress_ReachesTheTotalAndNeverGoesBack) {
  std::vector<std::string> values = SingleNames();
  PairOptions options = Options(70, 7);
  size_t last = 0;
  size_t lastTotal = 0;
  bool backwards = false;
  options.progress = [&](size_t done, size_t total) {
    backwards = backwards || done < last || done > total;
    last = done;
    lastTotal = total;
  };
  FindDuplicatePairs(values, options);
  EXPECT_FALSE(backwards);
  EXPECT_GT(lastTotal, 0u);
  EXPECT_EQ(last, lastTotal);
}

INSTANTIATE_TEST_SUITE_P(WordByWordAndWholeCell, ThreadsTest,
                         ::testing::Bool());

}  // namespace
}  // namespace marrowfield::lists::testing
