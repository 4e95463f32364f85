// Growing each group's spanning tree (Prim's algorithm from the canonical
// value, the best-scoring link into the tree first) and ordering its
// members. Every step depends on the group alone, so groups are built on
// any thread in any order.

#include "group_tree.h"

#include <algorithm>
#include <queue>
#include <tuple>

namespace marrowfield::lists {

namespace {

// A value without a count (counts empty, or too short) counts once.
size_t CountOf(const std::vector<size_t>& counts, size_t v) {
  return v < counts.size() ? counts[v] : size_t{1};
}

}  // namespace

Group SpanningGroup(const std::vector<size_t>& members,
                    const std::vector<Edge>& edges,
                    const std::vector<size_t>& edgeBegin,
                    const std::vector<long long>& pairScore,
                    const std::vector<size_t>& counts,
                    std::vector<char>& inTree) {
  Group group;
  group.canonical = *std::min_element(
      members.begin(), members.end(), [&](size_t x, size_t y) {
        if (CountOf(counts, x) != CountOf(counts, y))
          return CountOf(counts, x) > CountOf(counts, y);
        if (pairScore[x] != pairScore[y]) return pairScore[x] > pairScore[y];
        return x < y;
      });

  // Prim's algorithm from the canonical value: the best-scoring link
  // into the tree first; ties go to the lower indexes.
  using Entry = std::tuple<int, size_t, size_t>;  // score, -to, -via
  auto worse = [](const Entry& x, const Entry& y) {
    if (std::get<0>(x) != std::get<0>(y)) return std::get<0>(x) < std::get<0>(y);
    if (std::get<1>(x) != std::get<1>(y)) return std::get<1>(x) > std::get<1>(y);
    return std::get<2>(x) > std::get<2>(y);
  };
  std::priority_queue<Entry, std::vector<Entry>, decltype(worse)> frontier(
      worse);
  frontier.emplace(100, group.canonical, group.canonical);
  while (!frontier.empty()) {
    const auto [viaScore, v, via] = frontier.top();
    frontier.pop();
    if (inTree[v]) continue;
    inTree[v] = 1;
    GroupMember member;
    member.value = v;
    member.count = CountOf(counts, v);
    member.via = via;
    member.viaScore = viaScore;
    member.score = v == group.canonical ? 100 : 0;
    group.totalCount += member.count;
    group.members.push_back(member);
    for (size_t e = edgeBegin[v]; e < edgeBegin[v + 1]; ++e) {
      if (!inTree[edges[e].to]) frontier.emplace(edges[e].score, edges[e].to, v);
    }
  }
  return group;
}

void ScoreToCanonical(const std::vector<std::string>& values,
                      ValueScorer& scorer, Group& group) {
  const PreparedValue canonical = scorer.Prepare(values[group.canonical]);
  for (size_t m = 1; m < group.members.size(); ++m) {
    GroupMember& member = group.members[m];
    member.score =
        scorer.Score(canonical, scorer.Prepare(values[member.value]));
  }
}

void SortMembers(Group& group) {
  std::sort(group.members.begin() + 1, group.members.end(),
            [](const GroupMember& x, const GroupMember& y) {
              if (x.score != y.score) return x.score > y.score;
              if (x.count != y.count) return x.count > y.count;
              return x.value < y.value;
            });
}

}  // namespace marrowfield::lists
