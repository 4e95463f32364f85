// Groups of duplicates: the values connected through found pairs, except
// that a value with an initial joins only the group of its best partner,
// since "J. Smith" may stand for John Smith and Jane Smith alike and would
// otherwise chain every Smith with a J into one group. Inside a group each
// member hangs from the member it is most alike (group_tree.h).

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <numeric>
#include <tuple>
#include <utility>

#include "group_tree.h"
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

// Groups per chunk of work: most groups are small.
constexpr size_t kGroupsPerChunk = 64;
// Values per chunk when looking for initials.
constexpr size_t kValuesPerChunk = 4096;
// Members per chunk when scoring them to their canonicals.
constexpr size_t kMembersPerChunk = 1024;

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
  // Word by word, a value with an initial ("J. Smith") can stand for many
  // people (John Smith, Jane Smith): it must not join their groups into
  // one. Such values go with the group of their best partner instead.
  const unsigned workers = WorkerCount(options.threads, n / kValuesPerChunk + 1);
  std::vector<char> abbreviated(n, 0);
  if (!options.wholeCell) {
    for (const ValuePair& p : pairs) {
      if (p.first < n) abbreviated[p.first] = 1;
      if (p.second < n) abbreviated[p.second] = 1;
    }
    RunChunks(n, kValuesPerChunk, workers,
              [&](unsigned, size_t, size_t begin, size_t end) {
                for (size_t v = begin; v < end; ++v) {
                  if (abbreviated[v]) abbreviated[v] = HasInitial(values[v]);
                }
              });
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

  // Found pairs inside each group: the edges of its spanning tree, laid
  // out value by value (each value's edges in the order of |pairs|).
  std::vector<size_t> edgeBegin(n + 1, 0);
  std::vector<long long> pairScore(n, 0);
  auto inGroup = [&](const ValuePair& p) {
    return p.first < n && p.second < n && p.first != p.second &&
           sets.Find(p.first) == sets.Find(p.second);
  };
  std::vector<char> pairInGroup(pairs.size(), 0);
  for (size_t k = 0; k < pairs.size(); ++k) {
    const ValuePair& p = pairs[k];
    if (!inGroup(p)) continue;
    pairInGroup[k] = 1;
    ++edgeBegin[p.first + 1];
    ++edgeBegin[p.second + 1];
    pairScore[p.first] += p.score;
    pairScore[p.second] += p.score;
  }
  for (size_t v = 0; v < n; ++v) edgeBegin[v + 1] += edgeBegin[v];
  std::vector<Edge> edges(edgeBegin[n]);
  {
    std::vector<size_t> next(edgeBegin.begin(), edgeBegin.end() - 1);
    for (size_t k = 0; k < pairs.size(); ++k) {
      if (!pairInGroup[k]) continue;
      const ValuePair& p = pairs[k];
      edges[next[p.first]++] = Edge{p.second, p.score};
      edges[next[p.second]++] = Edge{p.first, p.score};
    }
  }

  // Members of each group, in index order, keyed by the group's root; a
  // value whose only partners went to other groups stands alone: no group
  // of one.
  std::vector<std::vector<size_t>> byRoot(n);
  for (size_t v = 0; v < n; ++v) {
    if (paired[v]) byRoot[sets.Find(v)].push_back(v);
  }
  std::vector<const std::vector<size_t>*> memberLists;
  for (const std::vector<size_t>& members : byRoot) {
    if (members.size() >= 2) memberLists.push_back(&members);
  }

  // Each group's tree on its own, on the worker threads: groups share no
  // value, so the marks of the spanning trees never meet.
  std::vector<Group> groups(memberLists.size());
  std::vector<TreeMark> marks(n);
  const unsigned groupWorkers = WorkerCount(options.threads, groups.size());
  RunChunks(groups.size(), kGroupsPerChunk, groupWorkers,
            [&](unsigned, size_t, size_t begin, size_t end) {
              for (size_t g = begin; g < end; ++g) {
                groups[g] = SpanningGroup(*memberLists[g], edges, edgeBegin,
                                          pairScore, counts, marks);
              }
            });
  // Then every member's score to its canonical, member by member rather
  // than group by group: tolerant scoring chains most of a list of single
  // names into one group, which would leave one thread scoring it alone.
  if (PhoneTablesReady()) {
    std::vector<std::pair<size_t, size_t>> scored;  // group, member
    for (size_t g = 0; g < groups.size(); ++g) {
      for (size_t m = 1; m < groups[g].members.size(); ++m)
        scored.emplace_back(g, m);
    }
    const unsigned scoreWorkers =
        WorkerCount(options.threads, scored.size() / kMembersPerChunk + 1);
    std::vector<std::unique_ptr<ValueScorer>> scorers(scoreWorkers);
    std::vector<std::unique_ptr<PreparedValue>> canonicals(groups.size());
    std::vector<std::once_flag> canonicalReady(groups.size());
    RunChunks(scored.size(), kMembersPerChunk, scoreWorkers,
              [&](unsigned worker, size_t, size_t begin, size_t end) {
                auto& scorer = scorers[worker];
                if (!scorer) {
                  scorer = std::make_unique<ValueScorer>(options.wholeCell,
                                                         options.scoring);
                }
                for (size_t k = begin; k < end; ++k) {
                  const size_t g = scored[k].first;
                  const size_t m = scored[k].second;
                  std::call_once(canonicalReady[g], [&] {
                    canonicals[g] = std::make_unique<PreparedValue>(
                        scorer->Prepare(values[groups[g].canonical]));
                  });
                  GroupMember& member = groups[g].members[m];
                  member.score = scorer->Score(
                      *canonicals[g], scorer->Prepare(values[member.value]));
                }
              });
  }
  RunChunks(groups.size(), kGroupsPerChunk, groupWorkers,
            [&](unsigned, size_t, size_t begin, size_t end) {
              for (size_t g = begin; g < end; ++g) SortMembers(groups[g]);
            });
  std::sort(groups.begin(), groups.end(), [](const Group& x, const Group& y) {
    if (x.totalCount != y.totalCount) return x.totalCount > y.totalCount;
    if (x.members.size() != y.members.size())
      return x.members.size() > y.members.size();
    return x.canonical < y.canonical;
  });
  return groups;
}

}  // namespace marrowfield::lists
