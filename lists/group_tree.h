// One group of duplicates, built from its members and the found pairs
// between them: each member hangs from the member it is most alike (a
// maximum spanning tree grown from the canonical value), so that a chain
// such as Smith - Smyth - Smythe shows as a chain, with Smythe's own score
// against Smith beside it, rather than vanishing into one flat list.

#ifndef MARROWFIELD_LISTS_GROUP_TREE_H_
#define MARROWFIELD_LISTS_GROUP_TREE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pair_finder.h"

namespace marrowfield::lists {

// A found pair seen from one of its values: the other value and the score.
struct Edge {
  size_t to;
  int score;
};

// The group of |members| (indexes, ascending): the canonical value (the
// highest count, then the highest |pairScore|, then the lowest index) and
// the members in the order the spanning tree takes them, each with the
// member it hangs from; scores to the canonical are left 0 (100 for the
// canonical itself). Value v's edges are edges[edgeBegin[v], edgeBegin[v+1]).
// Ties between links into the tree go to the lower member, then to the
// lower member it hangs from.
// |marks| has an entry per value; the members' entries must be as
// constructed on entry, and are left used: groups that share no value may
// be built at once with one |marks|.
struct TreeMark {
  int score = 0;             // the best link into the tree seen so far
  size_t via = SIZE_MAX;     // its member in the tree; SIZE_MAX: none yet
  bool inTree = false;
};
Group SpanningGroup(const std::vector<size_t>& members,
                    const std::vector<Edge>& edges,
                    const std::vector<size_t>& edgeBegin,
                    const std::vector<long long>& pairScore,
                    const std::vector<size_t>& counts,
                    std::vector<TreeMark>& marks);

// The canonical first, then by score to it (descending), count
// (descending), then index.
void SortMembers(Group& group);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_GROUP_TREE_H_
