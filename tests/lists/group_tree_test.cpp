// The spanning tree of a group against the plainest Prim's algorithm: a
// heap of every found pair met, taken best score first, ties to the lower
// member and then the lower member it hangs from.

#include "group_tree.h"

#include <gtest/gtest.h>

#include <queue>
#include <random>
#include <tuple>
#include <vector>

namespace marrowfield::lists {
namespace {

struct Graph {
  std::vector<size_t> members;
  std::vector<Edge> edges;
  std::vector<size_t> edgeBegin;
  std::vector<long long> pairScore;
  std::vector<size_t> counts;
};

// Pairs among |n| values, each value joined to a random earlier one so the
// group is connected, and more pairs at random, some of them repeated;
// scores from a few values, so that ties are everywhere.
Graph RandomGroup(std::mt19937& random, size_t n) {
  std::vector<std::tuple<size_t, size_t, int>> pairs;
  const int scores[] = {60, 75, 75, 90, 100};
  auto score = [&] { return scores[random() % 5]; };
  for (size_t v = 1; v < n; ++v) pairs.emplace_back(random() % v, v, score());
  for (size_t k = 0; k < 2 * n; ++k) {
    const size_t a = random() % n;
    const size_t b = random() % n;
    if (a != b) pairs.emplace_back(a, b, score());
  }
  Graph g;
  for (size_t v = 0; v < n; ++v) g.members.push_back(v);
  g.edgeBegin.assign(n + 1, 0);
  g.pairScore.assign(n, 0);
  for (const auto& [a, b, s] : pairs) {
    ++g.edgeBegin[a + 1];
    ++g.edgeBegin[b + 1];
    g.pairScore[a] += s;
    g.pairScore[b] += s;
  }
  for (size_t v = 0; v < n; ++v) g.edgeBegin[v + 1] += g.edgeBegin[v];
  g.edges.resize(g.edgeBegin[n]);
  std::vector<size_t> next(g.edgeBegin.begin(), g.edgeBegin.end() - 1);
  for (const auto& [a, b, s] : pairs) {
    g.edges[next[a]++] = Edge{b, s};
    g.edges[next[b]++] = Edge{a, s};
  }
  for (size_t v = 0; v < n; ++v) g.counts.push_back(1 + random() % 3);
  return g;
}

// The members in the order the tree takes them, each with its via and
// score, growing from |canonical|.
std::vector<std::tuple<size_t, size_t, int>> ReferenceTree(const Graph& g,
                                                           size_t canonical) {
  using Entry = std::tuple<int, size_t, size_t>;  // score, to, via
  auto worse = [](const Entry& x, const Entry& y) {
    if (std::get<0>(x) != std::get<0>(y))
      return std::get<0>(x) < std::get<0>(y);
    if (std::get<1>(x) != std::get<1>(y))
      return std::get<1>(x) > std::get<1>(y);
    return std::get<2>(x) > std::get<2>(y);
  };
  std::priority_queue<Entry, std::vector<Entry>, decltype(worse)> frontier(
      worse);
  std::vector<char> inTree(g.members.size(), 0);
  std::vector<std::tuple<size_t, size_t, int>> order;
  frontier.emplace(100, canonical, canonical);
  while (!frontier.empty()) {
    const auto [score, v, via] = frontier.top();
    frontier.pop();
    if (inTree[v]) continue;
    inTree[v] = 1;
    order.emplace_back(v, via, score);
    for (size_t e = g.edgeBegin[v]; e < g.edgeBegin[v + 1]; ++e) {
      if (!inTree[g.edges[e].to])
        frontier.emplace(g.edges[e].score, g.edges[e].to, v);
    }
  }
  return order;
}

TEST(SpanningGroupTest, TakesMembersAsPlainPrimDoes) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const size_t n = 2 + random() % (round < 250 ? 12 : 400);
    const Graph g = RandomGroup(random, n);
    std::vector<TreeMark> marks(n);
    const Group group = SpanningGroup(g.members, g.edges, g.edgeBegin,
                                      g.pairScore, g.counts, marks);
    const auto expected = ReferenceTree(g, group.canonical);
    ASSERT_EQ(group.members.size(), expected.size()) << "round " << round;
    size_t total = 0;
    for (size_t k = 0; k < expected.size(); ++k) {
      const GroupMember& m = group.members[k];
      EXPECT_EQ(std::make_tuple(m.value, m.via, m.viaScore), expected[k])
          << "round " << round << ", member " << k;
      EXPECT_EQ(m.score, k == 0 ? 100 : 0);
      total += g.counts[m.value];
    }
    EXPECT_EQ(group.totalCount, total);
  }
}

}  // namespace
}  // namespace marrowfield::lists
