// An inverted index from keys to the values filed under them, and the
// lookup of a value's candidates: every indexed value that shares a key
// with it under the kinds of value_keys.h. A key's hash standing
// for its text only ever adds candidates (on a collision), never loses
// one, and candidates are scored exactly afterwards.

#ifndef MARROWFIELD_LISTS_CANDIDATE_INDEX_H_
#define MARROWFIELD_LISTS_CANDIDATE_INDEX_H_

#include <cstdint>
#include <vector>

#include "value_keys.h"

namespace marrowfield::lists {

class CandidateIndex {
 public:
  // Indexes value k under keys[k], on |threads| threads (0: every core);
  // the index is the same for every count. |ofItself|: the index will be
  // asked for the candidates of its own values (CandidatesOfIndexed).
  CandidateIndex(const std::vector<std::vector<ValueKey>>& keys,
                 unsigned threads, bool ofItself = false);

  // Appends to |out| every value that shares a key with |query|, at most
  // once each, in no particular order. |seen| is the caller's scratch of
  // indexed-value count entries (all different from |stamp| on the first
  // call with this stamp); |stamp| must differ between queries.
  // REQUIRES: seen.size() == the number of indexed values.
  void Candidates(const std::vector<ValueKey>& query,
                  std::vector<uint32_t>& seen, uint32_t stamp,
                  std::vector<uint32_t>& out) const;

  // Candidates(keys[value], ...) for an indexed value of an index built
  // |ofItself|, except that |value| itself may be left out. Nothing is
  // looked up: most keys of a list are its values' alone, and the
  // postings a value shares are listed with it when the index is built.
  void CandidatesOfIndexed(uint32_t value, std::vector<uint32_t>& seen,
                           uint32_t stamp, std::vector<uint32_t>& out) const;

 private:
  // The postings of one hash, grouped by kind in ValueKeyKind's order:
  // ends[k] is where the postings of kind k end, the first kind's starting
  // at begin.
  static constexpr size_t kKinds = 4;
  struct Block {
    uint64_t hash;
    uint32_t begin;
    uint32_t ends[kKinds];
  };
  const Block* Find(uint64_t hash) const;
  size_t DirectoryEntry(uint64_t hash) const;

  std::vector<Block> blocks;     // sorted by hash
  std::vector<uint32_t> values;  // postings, grouped by block
  // directory[t] is the first block whose hash's top |directoryBits| bits
  // are at least t: hashes are spread evenly, so a lookup reads one or two
  // blocks instead of searching millions (a binary search there missed
  // the processor's caches at almost every step).
  std::vector<uint32_t> directory;
  unsigned directoryBits = 0;
  // Built |ofItself|: for value v, shared[sharedBegin[v] .. sharedBegin[v +
  // 1]) are the posting ranges each of its keys meets, for the keys whose
  // block holds other postings too.
  struct Range {
    uint32_t begin;
    uint32_t end;
  };
  std::vector<size_t> sharedBegin;
  std::vector<Range> shared;
};

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_CANDIDATE_INDEX_H_
