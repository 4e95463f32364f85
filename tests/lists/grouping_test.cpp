// Groups of duplicates: connected through found pairs, the most frequent
// value as the canonical spelling (ties by the scores of its pairs), each
// member's score against the canonical and the member it joined through,
// biggest groups first.

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "lists_fixture.h"

namespace marrowfield::lists::testing {
namespace {

class GroupingTest : public ListsTest {};

const GroupMember* MemberOf(const Group& g, size_t value) {
  for (const GroupMember& m : g.members)
    if (m.value == value) return &m;
  return nullptr;
}

TEST_F(GroupingTest, CanonicalIsTheMostFrequentValue) {
  const std::vector<std::string> values = {"Smith", "Smyth", "Smithe", "Brown"};
  const std::vector<size_t> counts = {2, 7, 1, 50};
  const PairOptions options = Options(60, 2, true);
  const auto pairs = FindDuplicatePairs(values, options);
  const auto groups = GroupDuplicates(values, counts, pairs, options);
  ASSERT_EQ(groups.size(), 1u);  // Brown pairs with nothing: no group
  EXPECT_EQ(groups[0].canonical, 1u);
  EXPECT_EQ(groups[0].members.front().value, 1u);
  EXPECT_EQ(groups[0].totalCount, 10u);
  for (const GroupMember& m : groups[0].members) {
    EXPECT_EQ(m.count, counts[m.value]);
    EXPECT_EQ(m.score, m.value == 1
                           ? 100
                           : ScoreValues(values[1], values[m.value], options));
  }
}

TEST_F(GroupingTest, EqualCounts_CanonicalHasTheBestPairScores) {
  // b is paired with both others, a and c only with b.
  const std::vector<std::string> values = {"Smith", "Smyth", "Smithe"};
  const std::vector<ValuePair> pairs = {{0, 1, 90}, {1, 2, 80}};
  const auto groups = GroupDuplicates(values, {}, pairs, Options(60));
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].canonical, 1u);
}

TEST_F(GroupingTest, Chain_ShowsTheMemberEachJoinedThrough) {
  const std::vector<std::string> values = {"Smith", "Smyth", "Smythe",
                                           "Smithers"};
  const std::vector<size_t> counts = {9, 1, 1, 1};
  // A chain Smith - Smyth - Smythe - Smithers, as a finder could report it.
  const std::vector<ValuePair> pairs = {{0, 1, 95}, {1, 2, 85}, {2, 3, 75}};
  const auto groups = GroupDuplicates(values, counts, pairs, Options(60));
  ASSERT_EQ(groups.size(), 1u);
  const Group& g = groups[0];
  EXPECT_EQ(g.canonical, 0u);
  ASSERT_EQ(g.members.size(), 4u);
  EXPECT_EQ(MemberOf(g, 1)->via, 0u);
  EXPECT_EQ(MemberOf(g, 2)->via, 1u);
  EXPECT_EQ(MemberOf(g, 2)->viaScore, 85);
  EXPECT_EQ(MemberOf(g, 3)->via, 2u);
  EXPECT_EQ(MemberOf(g, 3)->score,
            ScoreValues("Smith", "Smithers", Options(60)));
  // Members after the canonical by score against it, best first.
  for (size_t k = 2; k < g.members.size(); ++k) {
    EXPECT_GE(g.members[k - 1].score, g.members[k].score);
  }
}

TEST_F(GroupingTest, AbbreviatedValue_JoinsOnlyItsBestPartnersGroup) {
  // "J. Smith" matches both, but John and Jacqueline are different people.
  const std::vector<std::string> values = {"John Smith", "Jon Smith",
                                           "J. Smith", "Jacqueline Smith",
                                           "Jacquelyn Smith"};
  const PairOptions options = Options(60);
  const auto pairs = FindDuplicatePairs(values, options);
  const auto groups = GroupDuplicates(values, {}, pairs, options);
  ASSERT_EQ(groups.size(), 2u);
  for (const Group& g : groups) {
    const bool john = MemberOf(g, 0) != nullptr;
    EXPECT_EQ(MemberOf(g, 1) != nullptr, john);
    EXPECT_EQ(MemberOf(g, 3) != nullptr, !john);
    EXPECT_EQ(MemberOf(g, 4) != nullptr, !john);
  }
  // J. Smith went with one of them, and hangs from a found pair there.
  const Group& withInitial = MemberOf(groups[0], 2) ? groups[0] : groups[1];
  ASSERT_NE(MemberOf(withInitial, 2), nullptr);
  EXPECT_NE(MemberOf(withInitial, MemberOf(withInitial, 2)->via), nullptr);
}

TEST_F(GroupingTest, Groups_BiggestFirstAndDisjoint) {
  const std::vector<std::string> values = FullNameSample();
  std::vector<size_t> counts(values.size());
  NameRandom random(5);
  for (size_t& c : counts) c = 1 + random.Below(20);
  const auto pairs = FindDuplicatePairs(values, Options(70));
  const auto groups = GroupDuplicates(values, counts, pairs, Options(70));
  ASSERT_GT(groups.size(), 10u);
  std::vector<int> seen(values.size(), 0);
  for (size_t g = 0; g < groups.size(); ++g) {
    if (g > 0) {
      EXPECT_GE(groups[g - 1].totalCount, groups[g].totalCount);
    }
    size_t total = 0;
    for (const GroupMember& m : groups[g].members) {
      EXPECT_EQ(seen[m.value]++, 0) << values[m.value];
      total += m.count;
      EXPECT_LE(counts[m.value], counts[groups[g].canonical]);
    }
    EXPECT_EQ(total, groups[g].totalCount);
  }
  // Only values of found pairs are grouped, and each hangs from a member
  // of its group through a found pair.
  std::map<std::pair<size_t, size_t>, int> found;
  for (const ValuePair& p : pairs) found[{p.first, p.second}] = p.score;
  for (const Group& g : groups) {
    for (const GroupMember& m : g.members) {
      if (m.value == g.canonical) continue;
      const auto it =
          found.find({std::min(m.value, m.via), std::max(m.value, m.via)});
      ASSERT_NE(it, found.end()) << values[m.value];
      EXPECT_EQ(it->second, m.viaScore);
      EXPECT_NE(MemberOf(g, m.via), nullptr);
    }
  }
}

}  // namespace
}  // namespace marrowfield::lists::testing
