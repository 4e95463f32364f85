// Groups of duplicates: the values connected through found pairs. Inside a
// group each member hangs from the member it is most alike (a maximum
// spanning tree grown from the canonical value), so that a chain such as
// Smith - Smyth - Smythe shows as a chain, with Smythe's own score against
// Smith beside it, rather than vanishing into one flat list.

#include <algorithm>
#include <numeric>
#include <queue>
#include <tuple>

#include "pair_finder.h"
#include "phone_tables.h"
#include "value_scorer.h"

namespace marrowfield::lists {
namespace {

class DisjointSets {
 public:
  explicit DisjointSets(size_t n) : parent(n) {
    std::iota(parent.begin(), parent.end(), size_t{0});
  }
  size_t Find(size_t x) {
    while (parent[x] != x) {
      parent[x] = parent[parent[x]];
      x = parent[x];
    }
    return x;
  }
  // The smaller root wins, so that roots do not depend on pair order.
  void Join(size_t a, size_t b) {
    a = Find(a);
    b = Find(b);
    if (a == b) return;
    if (b < a) std::swap(a, b);
    parent[b] = a;
  }

 private:
  std::vector<size_t> parent;
};

struct Edge {
  size_t to;
  int score;
};

}  // namespace

std::vector<Group> GroupDuplicates(const std::vector<std::string>& values,
                                   const std::vector<size_t>& counts,
                                   const std::vector<ValuePair>& pairs,
                                   const PairOptions& options) {
  const size_t n = values.size();
  auto countOf = [&](size_t v) { return counts.empty() ? size_t{1} : counts[v]; };
  std::vector<std::vector<Edge>> edges(n);
  std::vector<long long> pairScore(n, 0);
  DisjointSets sets(n);
  for (const ValuePair& p : pairs) {
    if (p.first >= n || p.second >= n || p.first == p.second) continue;
    edges[p.first].push_back({p.second, p.score});
    edges[p.second].push_back({p.first, p.score});
    pairScore[p.first] += p.score;
    pairScore[p.second] += p.score;
    sets.Join(p.first, p.second);
  }

  // Members of each group, in index order, keyed by the group's root.
  std::vector<std::vector<size_t>> byRoot(n);
  for (size_t v = 0; v < n; ++v) {
    if (!edges[v].empty()) byRoot[sets.Find(v)].push_back(v);
  }

  ValueScorer scorer(options.wholeCell, options.scoring);
  const bool canScore = PhoneTablesReady();
  std::vector<Group> groups;
  std::vector<char> inTree(n, 0);
  for (const std::vector<size_t>& members : byRoot) {
    if (members.empty()) continue;
    Group group;
    group.canonical = *std::min_element(
        members.begin(), members.end(), [&](size_t x, size_t y) {
          if (countOf(x) != countOf(y)) return countOf(x) > countOf(y);
          if (pairScore[x] != pairScore[y]) return pairScore[x] > pairScore[y];
          return x < y;
        });
    const PreparedValue canonical = scorer.Prepare(values[group.canonical]);

    // Prim's algorithm from the canonical value: the best-scoring link
    // into the tree first; ties go to the lower indexes.
    using Entry = std::tuple<int, size_t, size_t>;  // score, -to, -via
    auto worse = [](const Entry& x, const Entry& y) {
      if (std::get<0>(x) != std::get<0>(y)) return std::get<0>(x) < std::get<0>(y);
      if (std::get<1>(x) != std::get<1>(y)) return std::get<1>(x) > std::get<1>(y);
      return std::get<2>(x) > std::get<2>(y);
    };
    std::priority_queue<Entry, std::vector<Entry>, decltype(worse)> frontier(worse);
    frontier.emplace(100, group.canonical, group.canonical);
    while (!frontier.empty()) {
      const auto [viaScore, v, via] = frontier.top();
      frontier.pop();
      if (inTree[v]) continue;
      inTree[v] = 1;
      GroupMember member;
      member.value = v;
      member.count = countOf(v);
      member.via = via;
      member.viaScore = viaScore;
      member.score = v == group.canonical || !canScore
                         ? (v == group.canonical ? 100 : 0)
                         : scorer.Score(canonical, scorer.Prepare(values[v]));
      group.totalCount += member.count;
      group.members.push_back(member);
      for (const Edge& e : edges[v]) {
        if (!inTree[e.to]) frontier.emplace(e.score, e.to, v);
      }
    }
    std::sort(group.members.begin() + 1, group.members.end(),
              [](const GroupMember& x, const GroupMember& y) {
                if (x.score != y.score) return x.score > y.score;
                if (x.count != y.count) return x.count > y.count;
                return x.value < y.value;
              });
    groups.push_back(std::move(group));
  }
  std::sort(groups.begin(), groups.end(), [](const Group& x, const Group& y) {
    if (x.totalCount != y.totalCount) return x.totalCount > y.totalCount;
    if (x.members.size() != y.members.size())
      return x.members.size() > y.members.size();
    return x.canonical < y.canonical;
  });
  return groups;
}

}  // namespace marrowfield::lists
