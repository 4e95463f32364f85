// Building the key index by one sort of all postings, and looking up a
// value's candidates block by block.

#include "candidate_index.h"

#include <algorithm>
#include <stdexcept>

namespace marrowfield::lists {
namespace {

struct Posting {
  uint64_t hash;
  bool indexOnly;
  uint32_t value;
  bool operator<(const Posting& o) const {
    if (hash != o.hash) return hash < o.hash;
    if (indexOnly != o.indexOnly) return indexOnly < o.indexOnly;
    return value < o.value;
  }
};

}  // namespace

CandidateIndex::CandidateIndex(const std::vector<std::vector<ValueKey>>& keys) {
  if (keys.size() > UINT32_MAX) throw std::length_error("too many values");
  std::vector<Posting> postings;
  size_t total = 0;
  for (const auto& k : keys) total += k.size();
  if (total > UINT32_MAX) throw std::length_error("too many keys");
  postings.reserve(total);
  for (uint32_t v = 0; v < keys.size(); ++v) {
    for (const ValueKey& key : keys[v])
      postings.push_back({key.hash, key.indexOnly, v});
  }
  std::sort(postings.begin(), postings.end());
  values.reserve(postings.size());
  for (size_t p = 0; p < postings.size();) {
    Block block{postings[p].hash, static_cast<uint32_t>(p), 0, 0};
    size_t q = p;
    while (q < postings.size() && postings[q].hash == block.hash &&
           !postings[q].indexOnly)
      ++q;
    block.split = static_cast<uint32_t>(q);
    while (q < postings.size() && postings[q].hash == block.hash) ++q;
    block.end = static_cast<uint32_t>(q);
    blocks.push_back(block);
    p = q;
  }
  for (const Posting& posting : postings) values.push_back(posting.value);
}

const CandidateIndex::Block* CandidateIndex::Find(uint64_t hash) const {
  auto it =
      std::lower_bound(blocks.begin(), blocks.end(), hash,
                       [](const Block& b, uint64_t h) { return b.hash < h; });
  if (it == blocks.end() || it->hash != hash) return nullptr;
  return &*it;
}

void CandidateIndex::Candidates(const std::vector<ValueKey>& query,
                                std::vector<uint32_t>& seen, uint32_t stamp,
                                std::vector<uint32_t>& out) const {
  for (const ValueKey& key : query) {
    const Block* block = Find(key.hash);
    if (block == nullptr) continue;
    // An indexOnly key meets only the postings that are not.
    const uint32_t end = key.indexOnly ? block->split : block->end;
    for (uint32_t p = block->begin; p < end; ++p) {
      const uint32_t v = values[p];
      if (seen[v] == stamp) continue;
      seen[v] = stamp;
      out.push_back(v);
    }
  }
}

}  // namespace marrowfield::lists
