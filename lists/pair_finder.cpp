// Pair finding: transcribe and key every value once, index one side by
// key, then for each value of the other side score exactly the values it
// shares a key with. The strict score never separates values whose
// skeletons differ (blocking_keys.cpp), so it needs the skeleton keys
// alone; the tolerant score adds the skeletons' neighbours. Below
// kBlockingKeysMinAccuracy the keys prove nothing and every pair is scored.

#include "pair_finder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "candidate_index.h"
#include "parallel_chunks.h"
#include "value_keys.h"
#include "value_scorer.h"

namespace marrowfield::lists {
namespace {

// Values per chunk of work: small enough to balance two threads over
// lists of a few thousand, large enough to keep hand-out costs invisible.
constexpr size_t kChunkSize = 256;
// Pairs scored between two questions to the cancel callback: a few hundred
// microseconds of work, so that a caller is answered well within a
// second even where one value has thousands of candidates (or, below the
// keys' accuracy, every value is one).
constexpr uint32_t kPairsPerCancelPoll = 256;

KeySet KeySetFor(ScoringMode mode) {
  return mode == ScoringMode::kStrict ? KeySet::kExactSkeleton
                                      : KeySet::kWithNeighbours;
}

struct PreparedList {
  std::vector<PreparedValue> values;
  std::vector<std::vector<ValueKey>> keys;
  // Each value's block; null when every value is in one block.
  const std::vector<size_t>* blocks = nullptr;
};

// A key filed within one block: the block mixed into the key's hash, so
// that values of different blocks share no key (a collision only adds a
// candidate, which the block check then drops).
uint64_t BlockHash(uint64_t hash, size_t block) {
  uint64_t mixed = hash ^ (static_cast<uint64_t>(block) +
                           0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2));
  mixed ^= mixed >> 33;
  mixed *= 0xFF51AFD7ED558CCDull;
  mixed ^= mixed >> 33;
  return mixed;
}

void FileInBlock(std::vector<ValueKey>& keys, size_t block) {
  if (block == kNoBlock) {
    keys.clear();
    return;
  }
  for (ValueKey& key : keys) key.hash = BlockHash(key.hash, block);
  std::sort(keys.begin(), keys.end());
}

// Transcribes and keys |values| in parallel, each value's keys filed in
// its block when there are |blocks|.
PreparedList PrepareList(const std::vector<std::string>& values,
                         const std::vector<size_t>* blocks,
                         const PairOptions& options, unsigned workers,
                         Progress& progress) {
  PreparedList list;
  list.values.resize(values.size());
  list.keys.resize(values.size());
  list.blocks = blocks;
  const ValueScorer scorer(options.wholeCell, options.scoring);
  const KeySet set = KeySetFor(options.scoring);
  RunChunks(values.size(), kChunkSize, workers,
            [&](unsigned, size_t, size_t begin, size_t end) {
              for (size_t v = begin; v < end; ++v) {
                StopIfCancelled(options.cancel);
                list.values[v] = scorer.Prepare(values[v]);
                list.keys[v] = ValueKeys(list.values[v], set);
                if (blocks != nullptr) FileInBlock(list.keys[v], (*blocks)[v]);
              }
              progress.Advance(end - begin);
            });
  return list;
}

// Numbers the words of both lists together, so that a word of one list
// and the same word of the other share an id.
void NumberWords(PreparedList& a, PreparedList* b, unsigned workers) {
  std::vector<PreparedValue*> values;
  for (PreparedValue& v : a.values) values.push_back(&v);
  if (b != nullptr) {
    for (PreparedValue& v : b->values) values.push_back(&v);
  }
  ValueScorer::NumberWords(values, workers);
}

// Scores the candidates of every value of |queries| among |targets|
// (every target when |index| is null); with |self|, queries and targets
// are the same list and only targets after the query are taken.
std::vector<ValuePair> ScoreCandidates(const PreparedList& queries,
                                       const PreparedList& targets,
                                       const CandidateIndex* index, bool self,
                                       const PairOptions& options, int accuracy,
                                       unsigned workers, Progress& progress) {
  const size_t chunks = (queries.values.size() + kChunkSize - 1) / kChunkSize;
  std::vector<std::vector<ValuePair>> found(chunks);
  struct Scratch {
    std::unique_ptr<ValueScorer> scorer;
    std::vector<uint32_t> seen;
    std::vector<uint32_t> candidates;
    uint32_t sincePoll = 0;
  };
  std::vector<Scratch> scratch(workers);
  const uint32_t targetCount = static_cast<uint32_t>(targets.values.size());
  const std::vector<size_t>* queryBlocks = queries.blocks;
  const std::vector<size_t>* targetBlocks = targets.blocks;
  const bool blocked = queryBlocks != nullptr && targetBlocks != nullptr;
  // Without an index, a blocked query still only meets its own block.
  std::unordered_map<size_t, std::vector<uint32_t>> blockMembers;
  if (blocked && index == nullptr) {
    for (uint32_t t = 0; t < targetCount; ++t) {
      if ((*targetBlocks)[t] != kNoBlock)
        blockMembers[(*targetBlocks)[t]].push_back(t);
    }
  }

  RunChunks(
      queries.values.size(), kChunkSize, workers,
      [&](unsigned worker, size_t chunk, size_t begin, size_t end) {
        Scratch& s = scratch[worker];
        if (!s.scorer) {
          s.scorer =
              std::make_unique<ValueScorer>(options.wholeCell, options.scoring);
          if (index != nullptr) s.seen.assign(targetCount, 0);
        }
        std::vector<ValuePair>& out = found[chunk];
        for (size_t q = begin; q < end; ++q) {
          StopIfCancelled(options.cancel);
          s.candidates.clear();
          if (index != nullptr && self) {
            index->CandidatesOfIndexed(static_cast<uint32_t>(q), s.seen,
                                       static_cast<uint32_t>(q + 1),
                                       s.candidates);
          } else if (index != nullptr) {
            index->Candidates(queries.keys[q], s.seen,
                              static_cast<uint32_t>(q + 1), s.candidates);
          } else if (blocked) {
            const auto members = blockMembers.find((*queryBlocks)[q]);
            if (members != blockMembers.end()) s.candidates = members->second;
          } else {
            for (uint32_t t = 0; t < targetCount; ++t)
              s.candidates.push_back(t);
          }
          const size_t first = out.size();
          for (uint32_t t : s.candidates) {
            if (self && t <= q) continue;
            if (blocked && (*queryBlocks)[q] != (*targetBlocks)[t]) continue;
            if (++s.sincePoll == kPairsPerCancelPoll) {
              s.sincePoll = 0;
              StopIfCancelled(options.cancel);
            }
            const int score =
                s.scorer->Score(queries.values[q], targets.values[t]);
            if (score >= accuracy) out.push_back({q, t, score});
          }
          // Candidates come in key order; the answer is in index order.
          std::sort(out.begin() + static_cast<ptrdiff_t>(first), out.end(),
                    [](const ValuePair& x, const ValuePair& y) {
                      return x.second < y.second;
                    });
        }
        progress.Advance(end - begin);
      });

  std::vector<ValuePair> pairs;
  size_t total = 0;
  for (const auto& f : found) total += f.size();
  pairs.reserve(total);
  for (auto& f : found) pairs.insert(pairs.end(), f.begin(), f.end());
  return pairs;
}

std::vector<ValuePair> FindPairs(const std::vector<std::string>& a,
                                 const std::vector<size_t>* aBlocks,
                                 const std::vector<std::string>* b,
                                 const std::vector<size_t>* bBlocks,
                                 const PairOptions& options) {
  const int accuracy = std::max(0, options.accuracy);
  // Without the phone tables nothing can be scored (compare_words then
  // says 0 to everything), so nothing reaches an accuracy above 0.
  if (!PhoneTablesReady()) return {};
  if (accuracy > 100 || a.empty() || (b != nullptr && b->empty())) return {};
  const size_t preparing = a.size() + (b != nullptr ? b->size() : 0);
  Progress progress(options.progress, preparing + a.size());
  const unsigned workers = WorkerCount(options.threads, preparing);

  PreparedList queries = PrepareList(a, aBlocks, options, workers, progress);
  PreparedList otherList;
  if (b != nullptr) {
    otherList = PrepareList(*b, bBlocks, options, workers, progress);
  }
  NumberWords(queries, b != nullptr ? &otherList : nullptr, workers);
  const PreparedList& targets = b != nullptr ? otherList : queries;

  std::unique_ptr<CandidateIndex> index;
  if (accuracy >= kBlockingKeysMinAccuracy) {
    index = std::make_unique<CandidateIndex>(targets.keys, workers,
                                             b == nullptr);
  }
  return ScoreCandidates(queries, targets, index.get(), b == nullptr, options,
                         accuracy, workers, progress);
}

}  // namespace

int ScoreValues(const std::string& a, const std::string& b,
                const PairOptions& options) {
  if (!PhoneTablesReady()) return 0;
  ValueScorer scorer(options.wholeCell, options.scoring);
  return scorer.Score(scorer.Prepare(a), scorer.Prepare(b));
}

std::vector<ValuePair> FindDuplicatePairs(
    const std::vector<std::string>& values, const PairOptions& options) {
  return FindPairs(values, nullptr, nullptr, nullptr, options);
}

std::vector<ValuePair> FindDuplicatePairsInBlocks(
    const std::vector<std::string>& values, const std::vector<size_t>& blocks,
    const PairOptions& options) {
  if (blocks.size() != values.size()) return {};
  return FindPairs(values, &blocks, nullptr, nullptr, options);
}

std::vector<ValuePair> FindLinkPairsInBlocks(const std::vector<std::string>& a,
                                             const std::vector<size_t>& aBlocks,
                                             const std::vector<std::string>& b,
                                             const std::vector<size_t>& bBlocks,
                                             const PairOptions& options) {
  if (aBlocks.size() != a.size() || bBlocks.size() != b.size()) return {};
  return FindPairs(a, &aBlocks, &b, &bBlocks, options);
}

std::vector<ValuePair> FindLinkPairs(const std::vector<std::string>& a,
                                     const std::vector<std::string>& b,
                                     const PairOptions& options) {
  return FindPairs(a, nullptr, &b, nullptr, options);
}

}  // namespace marrowfield::lists
