// Building the key index by sorting all postings, bucket by bucket on the
// threads, and looking up a value's candidates block by block.

#include "candidate_index.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>

#include "run_chunks.h"

namespace marrowfield::lists {
namespace {

struct Posting {
  uint64_t hash;
  ValueKeyKind kind;
  uint32_t value;
  bool operator<(const Posting& o) const {
    if (hash != o.hash) return hash < o.hash;
    if (kind != o.kind) return kind < o.kind;
    return value < o.value;
  }
};

// The last kind of posting (in ValueKeyKind's order) that a query key of
// |kind| meets: every kind meets kFull, kFull meets all, a short reading's
// skeleton another such skeleton too.
ValueKeyKind LastKindMet(ValueKeyKind kind) {
  switch (kind) {
    case ValueKeyKind::kFull:
      return ValueKeyKind::kIndexOnly;
    case ValueKeyKind::kShortSkeleton:
      return ValueKeyKind::kShortSkeleton;
    case ValueKeyKind::kNeighbour:
    case ValueKeyKind::kIndexOnly:
      break;
  }
  return ValueKeyKind::kFull;
}

// Postings are sorted bucket by bucket, a bucket being the hashes that
// share their top bits.
constexpr unsigned kBucketBits = 8;
constexpr size_t kBuckets = size_t{1} << kBucketBits;
constexpr size_t kValuesPerChunk = 4096;
// The directory has an entry for about every two blocks (2 bytes a block
// beside the block's own 24), at most 2^24 entries.
constexpr unsigned kMaxDirectoryBits = 24;

size_t BucketOf(uint64_t hash) {
  return static_cast<size_t>(hash >> (64 - kBucketBits));
}

}  // namespace

CandidateIndex::CandidateIndex(const std::vector<std::vector<ValueKey>>& keys,
                               unsigned threads, bool ofItself) {
  if (keys.size() > UINT32_MAX) throw std::length_error("too many values");
  const size_t chunks = (keys.size() + kValuesPerChunk - 1) / kValuesPerChunk;
  const unsigned workers = WorkerCount(threads, chunks);

  // How many postings each chunk of values files under each bucket.
  std::vector<size_t> placeOf(chunks * kBuckets, 0);
  RunChunks(keys.size(), kValuesPerChunk, workers,
            [&](unsigned, size_t chunk, size_t begin, size_t end) {
              size_t* counts = &placeOf[chunk * kBuckets];
              for (size_t v = begin; v < end; ++v) {
                for (const ValueKey& key : keys[v]) ++counts[BucketOf(key.hash)];
              }
            });
  const std::vector<size_t> bucketBegin =
      PlaceByBucket(placeOf, chunks, kBuckets);
  const size_t total = bucketBegin[kBuckets];
  if (total > UINT32_MAX) throw std::length_error("too many keys");

  std::vector<Posting> postings(total);
  RunChunks(keys.size(), kValuesPerChunk, workers,
            [&](unsigned, size_t chunk, size_t begin, size_t end) {
              size_t* next = &placeOf[chunk * kBuckets];
              for (size_t v = begin; v < end; ++v) {
                for (const ValueKey& key : keys[v]) {
                  postings[next[BucketOf(key.hash)]++] =
                      Posting{key.hash, key.kind, static_cast<uint32_t>(v)};
                }
              }
            });

  // Each bucket sorted and cut into blocks on its own: buckets hold
  // disjoint ranges of hashes in ascending order, so together they are
  // the one sorted list.
  std::vector<std::vector<Block>> bucketBlocks(kBuckets);
  values.resize(total);
  RunChunks(kBuckets, 1, WorkerCount(threads, kBuckets),
            [&](unsigned, size_t bucket, size_t, size_t) {
              const size_t first = bucketBegin[bucket];
              const size_t last = bucketBegin[bucket + 1];
              std::sort(postings.begin() + static_cast<ptrdiff_t>(first),
                        postings.begin() + static_cast<ptrdiff_t>(last));
              std::vector<Block>& blocksHere = bucketBlocks[bucket];
              for (size_t p = first; p < last;) {
                Block block{postings[p].hash, static_cast<uint32_t>(p), {}};
                size_t q = p;
                for (size_t kind = 0; kind < kKinds; ++kind) {
                  while (q < last && postings[q].hash == block.hash &&
                         static_cast<size_t>(postings[q].kind) == kind)
                    ++q;
                  block.ends[kind] = static_cast<uint32_t>(q);
                }
                blocksHere.push_back(block);
                p = q;
              }
              for (size_t p = first; p < last; ++p)
                values[p] = postings[p].value;
            });
  size_t blockCount = 0;
  for (const auto& b : bucketBlocks) blockCount += b.size();
  blocks.reserve(blockCount);
  for (const auto& b : bucketBlocks) blocks.insert(blocks.end(), b.begin(), b.end());

  while (directoryBits < kMaxDirectoryBits &&
         (size_t{2} << directoryBits) < blocks.size())
    ++directoryBits;
  directory.assign((size_t{1} << directoryBits) + 1,
                   static_cast<uint32_t>(blocks.size()));
  for (size_t b = blocks.size(); b-- > 0;)
    directory[DirectoryEntry(blocks[b].hash)] = static_cast<uint32_t>(b);
  for (size_t t = directory.size() - 1; t-- > 0;)
    directory[t] = std::min(directory[t], directory[t + 1]);

  if (!ofItself) return;
  // What each posting's key meets, as Candidates reads a query key of the
  // posting's kind: the block's postings up to the end of the last kind
  // that kind meets.
  sharedBegin.assign(keys.size() + 1, 0);
  for (const Block& b : blocks) {
    if (b.ends[kKinds - 1] - b.begin < 2) continue;
    for (uint32_t p = b.begin; p < b.ends[kKinds - 1]; ++p)
      ++sharedBegin[values[p] + 1];
  }
  for (size_t v = 0; v < keys.size(); ++v) sharedBegin[v + 1] += sharedBegin[v];
  shared.resize(sharedBegin[keys.size()]);
  std::vector<size_t> next(sharedBegin.begin(), sharedBegin.end() - 1);
  for (const Block& b : blocks) {
    if (b.ends[kKinds - 1] - b.begin < 2) continue;
    size_t kind = 0;
    for (uint32_t p = b.begin; p < b.ends[kKinds - 1]; ++p) {
      while (p >= b.ends[kind]) ++kind;
      const size_t met =
          static_cast<size_t>(LastKindMet(static_cast<ValueKeyKind>(kind)));
      shared[next[values[p]]++] = Range{b.begin, b.ends[met]};
    }
  }
}

void CandidateIndex::CandidatesOfIndexed(uint32_t value,
                                         std::vector<uint32_t>& seen,
                                         uint32_t stamp,
                                         std::vector<uint32_t>& out) const {
  for (size_t k = sharedBegin[value]; k < sharedBegin[value + 1]; ++k) {
    for (uint32_t p = shared[k].begin; p < shared[k].end; ++p) {
      const uint32_t v = values[p];
      if (seen[v] == stamp) continue;
      seen[v] = stamp;
      out.push_back(v);
    }
  }
}

size_t CandidateIndex::DirectoryEntry(uint64_t hash) const {
  return directoryBits == 0 ? 0 : static_cast<size_t>(hash >> (64 - directoryBits));
}

const CandidateIndex::Block* CandidateIndex::Find(uint64_t hash) const {
  const size_t t = DirectoryEntry(hash);
  const auto first = blocks.begin() + directory[t];
  const auto last = blocks.begin() + directory[t + 1];
  auto it = std::lower_bound(
      first, last, hash, [](const Block& b, uint64_t h) { return b.hash < h; });
  if (it == last || it->hash != hash) return nullptr;
  return &*it;
}

void CandidateIndex::Candidates(const std::vector<ValueKey>& query,
                                std::vector<uint32_t>& seen, uint32_t stamp,
                                std::vector<uint32_t>& out) const {
  for (const ValueKey& key : query) {
    const Block* block = Find(key.hash);
    if (block == nullptr) continue;
    const uint32_t end =
        block->ends[static_cast<size_t>(LastKindMet(key.kind))];
    for (uint32_t p = block->begin; p < end; ++p) {
      const uint32_t v = values[p];
      if (seen[v] == stamp) continue;
      seen[v] = stamp;
      out.push_back(v);
    }
  }
}

}  // namespace marrowfield::lists
