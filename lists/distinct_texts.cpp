// Distinct texts by sharded hashing. Every item is hashed once, in
// parallel; items are then sorted into shards by their hash's top bits
// (a counting sort that keeps each shard in item order), and each shard
// finds its repeats in a table of its own, on whichever thread takes it.
// Within a shard items come in ascending order, so the first of equal
// texts is the one a single pass would have met first; the numbering in
// first-met order is one cheap sequential pass at the end.

#include "distinct_texts.h"

#include <functional>
#include <stdexcept>

#include "run_chunks.h"

namespace marrowfield::lists {
namespace {

constexpr unsigned kShardBits = 6;
constexpr size_t kShards = size_t{1} << kShardBits;
// Items per chunk of hashing and scattering.
constexpr size_t kItemsPerChunk = size_t{1} << 14;
constexpr uint32_t kEmpty = UINT32_MAX;

// The hash is mixed once more so that a 32-bit hash spreads over the
// shards as well.
size_t ShardOf(size_t hash) {
  return static_cast<size_t>(
      (static_cast<uint64_t>(hash) * 0x9e3779b97f4a7c15ull) >>
      (64 - kShardBits));
}

}  // namespace

DistinctTexts NumberDistinctTexts(const std::vector<std::string_view>& items,
                                  unsigned threads) {
  const size_t n = items.size();
  if (n >= UINT32_MAX) throw std::length_error("too many texts");
  const unsigned workers = WorkerCount(threads, n / kItemsPerChunk + 1);
  const size_t chunks = (n + kItemsPerChunk - 1) / kItemsPerChunk;

  std::vector<size_t> hashes(n);
  std::vector<size_t> inShard(chunks * kShards, 0);
  RunChunks(n, kItemsPerChunk, workers,
            [&](unsigned, size_t chunk, size_t begin, size_t end) {
              size_t* counts = &inShard[chunk * kShards];
              for (size_t i = begin; i < end; ++i) {
                hashes[i] = std::hash<std::string_view>()(items[i]);
                ++counts[ShardOf(hashes[i])];
              }
            });

  const std::vector<size_t> shardBegin =
      PlaceByBucket(inShard, chunks, kShards);
  std::vector<uint32_t> order(n);
  RunChunks(n, kItemsPerChunk, workers,
            [&](unsigned, size_t chunk, size_t begin, size_t end) {
              size_t* next = &inShard[chunk * kShards];
              for (size_t i = begin; i < end; ++i)
                order[next[ShardOf(hashes[i])]++] = static_cast<uint32_t>(i);
            });

  // The first item of each item's text, shard by shard.
  std::vector<uint32_t> first(n);
  std::vector<std::vector<uint32_t>> tables(workers);
  RunChunks(kShards, 1, workers,
            [&](unsigned worker, size_t shard, size_t, size_t) {
              const size_t begin = shardBegin[shard];
              const size_t end = shardBegin[shard + 1];
              size_t slots = 16;
              while (slots < 2 * (end - begin)) slots *= 2;
              std::vector<uint32_t>& table = tables[worker];
              table.assign(slots, kEmpty);
              for (size_t k = begin; k < end; ++k) {
                const uint32_t i = order[k];
                const size_t hash = hashes[i];
                for (size_t slot = hash & (slots - 1);;
                     slot = (slot + 1) & (slots - 1)) {
                  const uint32_t j = table[slot];
                  if (j == kEmpty) {
                    table[slot] = i;
                    first[i] = i;
                    break;
                  }
                  if (hashes[j] == hash && items[j] == items[i]) {
                    first[i] = j;
                    break;
                  }
                }
              }
            });

  DistinctTexts distinct;
  distinct.ofItem.resize(n);
  for (uint32_t i = 0; i < n; ++i) {
    if (first[i] == i) {
      distinct.ofItem[i] = static_cast<uint32_t>(distinct.firstItem.size());
      distinct.firstItem.push_back(i);
    } else {
      distinct.ofItem[i] = distinct.ofItem[first[i]];
    }
  }
  return distinct;
}

}  // namespace marrowfield::lists
