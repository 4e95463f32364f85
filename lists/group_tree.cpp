// Growing each group's spanning tree (Prim's algorithm from the canonical
// value, the best-scoring link into the tree first) and ordering its
// members. Every step depends on the group alone, so groups are built on
// any thread in any order.

#include "group_tree.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <queue>
#include <utility>

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
                    std::vector<TreeMark>& marks) {
  Group group;
  group.canonical = *std::min_element(
      members.begin(), members.end(), [&](size_t x, size_t y) {
        if (CountOf(counts, x) != CountOf(counts, y))
          return CountOf(counts, x) > CountOf(counts, y);
        if (pairScore[x] != pairScore[y]) return pairScore[x] > pairScore[y];
        return x < y;
      });

  // Prim's algorithm from the canonical value: the best-scoring link into
  // the tree first. Each member outside the tree keeps its best link so
  // far, so the frontier holds a member once per improvement rather than
  // once per found pair: tolerant scoring chains most of a list of single
  // names into one group of a million pairs. Frontier entries order by
  // score (descending), then member; a member's tie between links of one
  // score goes to the lower |via|, kept in its mark.
  const auto keyOf = [](int score, size_t v) {
    const uint64_t rank = static_cast<uint64_t>(
        static_cast<int64_t>(INT32_MAX) - static_cast<int64_t>(score));
    return std::make_pair(rank, v);
  };
  using Entry = std::pair<uint64_t, size_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> frontier;
  marks[group.canonical].score = 100;
  marks[group.canonical].via = group.canonical;
  frontier.push(keyOf(100, group.canonical));
  while (!frontier.empty()) {
    const size_t v = frontier.top().second;
    frontier.pop();
    TreeMark& mark = marks[v];
    // A member met again through a link it has since bettered.
    if (mark.inTree) continue;
    mark.inTree = true;
    GroupMember member;
    member.value = v;
    member.count = CountOf(counts, v);
    member.via = mark.via;
    member.viaScore = mark.score;
    member.score = v == group.canonical ? 100 : 0;
    group.totalCount += member.count;
    group.members.push_back(member);
    for (size_t e = edgeBegin[v]; e < edgeBegin[v + 1]; ++e) {
      TreeMark& to = marks[edges[e].to];
      if (to.inTree) continue;
      const int score = edges[e].score;
      if (to.via == SIZE_MAX || score > to.score) {
        to.score = score;
        to.via = v;
        frontier.push(keyOf(score, edges[e].to));
      } else if (score == to.score && v < to.via) {
        to.via = v;
      }
    }
  }
  return group;
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
