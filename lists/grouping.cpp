// Groups of duplicates: the values connected through found pairs, except
// that a value with an initial joins only the group of its best partner,
// since "J. Smith" may stand for John Smith and Jane Smith alike and would
// otherwise chain every Smith with a J into one group. Inside a
// group each member hangs from the member it is most alike (a maximum
// spanning tree grown from the canonical value), so that a chain such as
// Smith - Smyth - Smythe shows as a chain, with Smythe's own score against
// Smith beside it, rather than vanishing into one flat list.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <queue>
#include <tuple>

#include "pair_finder.h"
#include "parallel_chunks.h"
#include "phone_tables.h"
#include "value_scorer.h"
#include "value_words.h"

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

// Groups per chunk of scoring work: most groups are small.
constexpr size_t kGroupsPerChunk = 64;

bool HasInitial(const std::string& value) {
  for (const ValueWord& word : SplitValueWords(value)) {
    if (word.initial) return true;
  }
  return false;
}

}  // namespace

std::vector<Group> GroupDuplicates(const std::vector<std::string>& values,
                                   const std::vector<size_t>& counts,
                                   const std::vector<ValuePair>& pairs,
                                   const PairOptions& options) {
  const size_t n = values.size();
  // A value without a count (counts empty, or too short) counts once.
  auto countOf = [&](size_t v) {
    return v < counts.size() ? counts[v] : size_t{1};
  };
  // Word by word, a value with an initial ("J. Smith") can stand for many
  // people (John Smith, Jane Smith): it must not join their groups into
  // one. Such values go with the group of their best partner instead.
  std::vector<char> abbreviated(n, 0);
  if (!options.wholeCell) {
    for (const ValuePair& p : pairs) {
      for (size_t v : {p.first, p.second}) {
        if (v < n && !abbreviated[v])
          abbreviated[v] = HasInitial(values[v]) ? 1 : 2;
      }
    }
    for (char& a : abbreviated) a = a == 1;
  }

  DisjointSets sets(n);
  std::vector<char> paired(n, 0);
  // The best partner of each abbreviated value, preferring full values.
  struct Best {
    size_t partner = SIZE_MAX;
    int score = -1;
    bool full = false;
  };
  std::vector<Best> best(n);
  auto offer = [&](size_t v, size_t partner, int score) {
    Best& b = best[v];
    const bool full = !abbreviated[partner];
    if (std::make_tuple(full, score, SIZE_MAX - partner) >
        std::make_tuple(b.full, b.score, SIZE_MAX - b.partner)) {
      b = Best{partner, score, full};
    }
  };
  for (const ValuePair& p : pairs) {
    if (p.first >= n || p.second >= n || p.first == p.second) continue;
    paired[p.first] = paired[p.second] = 1;
    if (!abbreviated[p.first] && !abbreviated[p.second]) {
      sets.Join(p.first, p.second);
    } else {
      if (abbreviated[p.first]) offer(p.first, p.second, p.score);
      if (abbreviated[p.second]) offer(p.second, p.first, p.score);
    }
  }
  // Abbreviated values whose partners are all abbreviated group among
  // themselves; the others hang from their best full partner's group.
  for (size_t v = 0; v < n; ++v) {
    if (abbreviated[v] && !best[v].full && best[v].partner != SIZE_MAX)
      sets.Join(v, best[v].partner);
  }
  for (size_t v = 0; v < n; ++v) {
    if (abbreviated[v] && best[v].full) sets.Join(v, best[v].partner);
  }

  // Found pairs inside each group: the edges of its spanning tree.
  std::vector<std::vector<Edge>> edges(n);
  std::vector<long long> pairScore(n, 0);
  for (const ValuePair& p : pairs) {
    if (p.first >= n || p.second >= n || p.first == p.second) continue;
    if (sets.Find(p.first) != sets.Find(p.second)) continue;
    edges[p.first].push_back({p.second, p.score});
    edges[p.second].push_back({p.first, p.score});
    pairScore[p.first] += p.score;
    pairScore[p.second] += p.score;
  }

  // Members of each group, in index order, keyed by the group's root.
  std::vector<std::vector<size_t>> byRoot(n);
  for (size_t v = 0; v < n; ++v) {
    if (paired[v]) byRoot[sets.Find(v)].push_back(v);
  }

  std::vector<Group> groups;
  std::vector<char> inTree(n, 0);
  for (const std::vector<size_t>& members : byRoot) {
    // A value whose only partners went to other groups stands alone: no
    // group of one.
    if (members.size() < 2) continue;
    Group group;
    group.canonical = *std::min_element(members.begin(), members.end(),
                                        [&](size_t x, size_t y) {
                                          if (countOf(x) != countOf(y))
                                            return countOf(x) > countOf(y);
                                          if (pairScore[x] != pairScore[y])
                                            return pairScore[x] > pairScore[y];
                                          return x < y;
                                        });

    // Prim's algorithm from the canonical value: the best-scoring link
    // into the tree first; ties go to the lower indexes.
    using Entry = std::tuple<int, size_t, size_t>;  // score, -to, -via
    auto worse = [](const Entry& x, const Entry& y) {
      if (std::get<0>(x) != std::get<0>(y))
        return std::get<0>(x) < std::get<0>(y);
      if (std::get<1>(x) != std::get<1>(y))
        return std::get<1>(x) > std::get<1>(y);
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
      member.count = countOf(v);
      member.via = via;
      member.viaScore = viaScore;
      member.score = v == group.canonical ? 100 : 0;
      group.totalCount += member.count;
      group.members.push_back(member);
      for (const Edge& e : edges[v]) {
        if (!inTree[e.to]) frontier.emplace(e.score, e.to, v);
      }
    }
    groups.push_back(std::move(group));
  }

  // Scores against the canonical, group by group on the worker threads.
  if (PhoneTablesReady()) {
    const unsigned workers = WorkerCount(options.threads, groups.size());
    std::vector<std::unique_ptr<ValueScorer>> scorers(workers);
    RunChunks(groups.size(), kGroupsPerChunk, workers,
              [&](unsigned worker, size_t, size_t begin, size_t end) {
                auto& scorer = scorers[worker];
                if (!scorer) {
                  scorer = std::make_unique<ValueScorer>(options.wholeCell,
                                                         options.scoring);
                }
                for (size_t g = begin; g < end; ++g) {
                  Group& group = groups[g];
                  const PreparedValue canonical =
                      scorer->Prepare(values[group.canonical]);
                  for (size_t m = 1; m < group.members.size(); ++m) {
                    GroupMember& member = group.members[m];
                    member.score = scorer->Score(
                        canonical, scorer->Prepare(values[member.value]));
                  }
                }
              });
  }
  for (Group& group : groups) {
    std::sort(group.members.begin() + 1, group.members.end(),
              [](const GroupMember& x, const GroupMember& y) {
                if (x.score != y.score) return x.score > y.score;
                if (x.count != y.count) return x.count > y.count;
                return x.value < y.value;
              });
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
