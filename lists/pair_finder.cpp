// Pair finding: transcribe and key every value once, index one side by
// key, then for each value of the other side score exactly the values it
// shares a key with. The strict score never separates values whose
// skeletons differ (blocking_keys.cpp), so it needs the skeleton keys
// alone; the tolerant score adds the skeletons' neighbours. Below
// kBlockingKeysMinAccuracy the keys prove nothing and every pair is scored.
// Values that read alike are searched for and scored once together, and
// tolerant candidates whose every walk provably gives up (most of a short
// name's) are passed over unscored (give_up_filter.h).

#include "pair_finder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numeric>
#include <string>
#include <unordered_map>

#include "candidate_index.h"
#include "give_up_filter.h"
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
// Values are searched for by group when there are fewer groups than
// (n - 1) / n of the values, for this n.
constexpr size_t kGroupingPaysAt = 10;
// How many candidates ahead their words are fetched (and half as many
// ahead, what the words point to).
constexpr size_t kPrefetchAhead = 8;

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
    std::unique_ptr<GiveUpFilter::Query> query;
    uint32_t sincePoll = 0;
  };
  std::vector<Scratch> scratch(workers);
  const uint32_t targetCount = static_cast<uint32_t>(targets.values.size());
  // Tolerant candidates that provably score 0 are passed over unscored.
  std::unique_ptr<GiveUpFilter> filter;
  if (options.scoring == ScoringMode::kTolerant && accuracy > 0)
    filter = std::make_unique<GiveUpFilter>(targets.values);
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
          s.query = std::make_unique<GiveUpFilter::Query>();
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
          if (filter) filter->Prepare(queries.values[q], *s.query);
          const size_t first = out.size();
          for (uint32_t t : s.candidates) {
            if (self && t <= q) continue;
            if (blocked && (*queryBlocks)[q] != (*targetBlocks)[t]) continue;
            if (++s.sincePoll == kPairsPerCancelPoll) {
              s.sincePoll = 0;
              StopIfCancelled(options.cancel);
            }
            if (filter && filter->Walks(*s.query, t).All()) continue;
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

// Values whose words are the same words (value_scorer.h's word ids, and
// the same initials) have the same keys and score alike against every
// value. On lists of single names many values read alike (Cayden and
// Kayden), so candidates are found and scored once per group of such
// values, and the pairs then spread over the group's values.
struct ValueGroups {
  static constexpr uint32_t kNone = UINT32_MAX;
  std::vector<uint32_t> ofValue;      // each value's group, or kNone
  std::vector<uint32_t> memberBegin;  // group g's members: [memberBegin[g],
  std::vector<uint32_t> members;      // memberBegin[g + 1]), ascending
  uint32_t First(uint32_t group) const { return members[memberBegin[group]]; }
  uint32_t Last(uint32_t group) const {
    return members[memberBegin[group + 1] - 1];
  }
  size_t Count() const { return memberBegin.size() - 1; }
};

// What makes two values alike: each word's id, initial flag and letter. A
// value with a word that has no id is alike only to itself. A value
// without words has no keys and no pairs, and no group.
bool AppendSignature(const PreparedValue& value, size_t index,
                     std::string& signature) {
  signature.clear();
  for (const PreparedWord& word : value.words) {
    uint32_t id = word.id;
    if (word.initial) {
      id = kNoWordId;
    } else if (id == kNoWordId) {
      // Its own group: a byte no word writes, then the value's index.
      signature.assign(1, '!');
      signature.append(reinterpret_cast<const char*>(&index), sizeof index);
      return true;
    }
    signature.append(reinterpret_cast<const char*>(&id), sizeof id);
    signature.push_back(word.letter);
    signature.push_back(word.initial ? 'i' : 'w');
  }
  return !value.words.empty();
}

// Groups the values of |list|, groups numbered in the order of their first
// values.
ValueGroups GroupAlikeValues(const PreparedList& list) {
  ValueGroups groups;
  const size_t n = list.values.size();
  groups.ofValue.assign(n, ValueGroups::kNone);
  std::unordered_map<std::string, uint32_t> groupOf;
  std::vector<uint32_t> sizes;
  std::string signature;
  for (size_t v = 0; v < n; ++v) {
    if (!AppendSignature(list.values[v], v, signature)) continue;
    const auto found =
        groupOf.emplace(signature, static_cast<uint32_t>(sizes.size()));
    if (found.second) sizes.push_back(0);
    groups.ofValue[v] = found.first->second;
    ++sizes[found.first->second];
  }
  groups.memberBegin.assign(sizes.size() + 1, 0);
  for (size_t g = 0; g < sizes.size(); ++g)
    groups.memberBegin[g + 1] = groups.memberBegin[g] + sizes[g];
  groups.members.resize(groups.memberBegin.back());
  std::vector<uint32_t> next(groups.memberBegin.begin(),
                             groups.memberBegin.end() - 1);
  for (size_t v = 0; v < n; ++v) {
    if (groups.ofValue[v] != ValueGroups::kNone)
      groups.members[next[groups.ofValue[v]]++] = static_cast<uint32_t>(v);
  }
  return groups;
}

// The groups of |groups| in the order of their values' phones (word by
// word, then the group number): alike values lie side by side, so that a
// value's candidates, which share its keys, lie close together in memory
// and the next value meets most of them again.
std::vector<uint32_t> GroupsInPhoneOrder(const PreparedList& list,
                                         const ValueGroups& groups) {
  std::vector<uint32_t> order(groups.Count());
  std::iota(order.begin(), order.end(), uint32_t{0});
  const auto before = [&](uint32_t x, uint32_t y) {
    const std::vector<PreparedWord>& a = list.values[groups.First(x)].words;
    const std::vector<PreparedWord>& b = list.values[groups.First(y)].words;
    for (size_t w = 0; w < a.size() && w < b.size(); ++w) {
      if (a[w].phones != b[w].phones) return a[w].phones < b[w].phones;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return x < y;
  };
  std::sort(order.begin(), order.end(), before);
  return order;
}

// A copy of |value| that owns memory of its own, taken in the order the
// search reads values: values prepared on the threads lie scattered among
// the memory their transcription used.
PreparedValue CompactCopy(const PreparedValue& value) {
  PreparedValue copy = value;
  for (PreparedWord& word : copy.words) {
    if (word.skeletons)
      word.skeletons =
          std::make_shared<const ReadingSkeletons>(*word.skeletons);
  }
  return copy;
}

// ScoreCandidates with an index, group by group (ValueGroups): the same
// pairs in the same order.
// |targets| gives up its first values' keys to the search (in one list,
// |queries| is |targets|).
std::vector<ValuePair> ScoreCandidatesByGroup(const PreparedList& queries,
                                             const ValueGroups& queryGroups,
                                             PreparedList& targets,
                                             const ValueGroups& targetGroups,
                                             bool self,
                                             const PairOptions& options,
                                             int accuracy, unsigned workers,
                                             Progress& progress) {
  // Target groups are searched by their place in phone order (a slot),
  // each slot's keys and value side by side.
  const std::vector<uint32_t> groupOfSlot =
      GroupsInPhoneOrder(targets, targetGroups);
  const size_t slotCount = groupOfSlot.size();
  std::vector<std::vector<ValueKey>> targetKeys(slotCount);
  std::vector<PreparedValue> targetValues(slotCount);
  std::vector<uint32_t> lastOfTarget(slotCount);
  for (size_t t = 0; t < slotCount; ++t) {
    const uint32_t first = targetGroups.First(groupOfSlot[t]);
    targetKeys[t] = std::move(targets.keys[first]);
    targetValues[t] = CompactCopy(targets.values[first]);
    lastOfTarget[t] = targetGroups.Last(groupOfSlot[t]);
  }
  // Queries go in phone order too; in one list a query's slot is its
  // target slot.
  const std::vector<uint32_t> queryOrder =
      self ? groupOfSlot : GroupsInPhoneOrder(queries, queryGroups);
  const auto queryKeys = [&](size_t at) -> const std::vector<ValueKey>& {
    return self ? targetKeys[at]
                : queries.keys[queryGroups.First(queryOrder[at])];
  };
  const auto queryValue = [&](size_t at) -> const PreparedValue& {
    return self ? targetValues[at]
                : queries.values[queryGroups.First(queryOrder[at])];
  };
  const CandidateIndex index(targetKeys, workers);
  const uint32_t targetCount = static_cast<uint32_t>(slotCount);
  // Tolerant candidates that provably score 0 are passed over unscored.
  std::unique_ptr<GiveUpFilter> filter;
  if (options.scoring == ScoringMode::kTolerant && accuracy > 0)
    filter = std::make_unique<GiveUpFilter>(targetValues);

  // Each query group's target groups at or above the accuracy, with the
  // score (the query first, as for their values).
  struct GroupHit {
    uint32_t group;
    int score;
  };
  const size_t queryCount = queryGroups.Count();
  std::vector<std::vector<GroupHit>> hits(queryCount);
  struct Scratch {
    std::unique_ptr<ValueScorer> scorer;
    std::vector<uint32_t> seen;
    std::vector<uint32_t> candidates;
    std::vector<WalksGivingUp> givingUp;
    std::unique_ptr<GiveUpFilter::Query> query;
    uint32_t sincePoll = 0;
  };
  std::vector<Scratch> scratch(workers);
  RunChunks(
      queryCount, kChunkSize, workers,
      [&](unsigned worker, size_t, size_t begin, size_t end) {
        Scratch& s = scratch[worker];
        if (!s.scorer) {
          s.scorer =
              std::make_unique<ValueScorer>(options.wholeCell, options.scoring);
          s.seen.assign(targetCount, 0);
          s.query = std::make_unique<GiveUpFilter::Query>();
        }
        size_t valuesDone = 0;
        for (size_t at = begin; at < end; ++at) {
          StopIfCancelled(options.cancel);
          const uint32_t g = queryOrder[at];
          const uint32_t q = queryGroups.First(g);
          const PreparedValue& value = queryValue(at);
          s.candidates.clear();
          index.Candidates(queryKeys(at), s.seen,
                           static_cast<uint32_t>(at + 1), s.candidates);
          // Kept in place without a branch per candidate, which would be
          // mispredicted at every other one. In one list a pair is taken
          // from its earlier value: none of this query's values may come
          // before all of the target's.
          size_t count = 0;
          if (self) {
            for (const uint32_t t : s.candidates) {
              s.candidates[count] = t;
              count += q < lastOfTarget[t];
            }
          } else {
            count = s.candidates.size();
          }
          // What the replay tells of each candidate's walks: those that
          // all give up are dropped, the rest skip the walks that do.
          s.givingUp.assign(count, WalksGivingUp{});
          if (filter) {
            filter->Prepare(value, *s.query);
            size_t kept = 0;
            for (size_t k = 0; k < count; ++k) {
              const uint32_t t = s.candidates[k];
              if (k + kPrefetchAhead < count)
                filter->Prefetch(s.candidates[k + kPrefetchAhead]);
              const WalksGivingUp proven = filter->Walks(*s.query, t);
              s.candidates[kept] = t;
              s.givingUp[kept] = proven;
              kept += !proven.All();
            }
            count = kept;
          }
          for (size_t k = 0; k < count; ++k) {
            const uint32_t t = s.candidates[k];
            // The words of a candidate a few ahead start on their way from
            // memory while this one is scored, and, once they are there,
            // the phones and skeletons of a single word's.
            if (k + kPrefetchAhead < count) {
              __builtin_prefetch(
                  targetValues[s.candidates[k + kPrefetchAhead]].words.data());
            }
            if (k + kPrefetchAhead / 2 < count) {
              const std::vector<PreparedWord>& soon =
                  targetValues[s.candidates[k + kPrefetchAhead / 2]].words;
              if (soon.size() == 1) {
                __builtin_prefetch(soon[0].phones.data());
                __builtin_prefetch(soon[0].skeletons.get());
              }
            }
            if (++s.sincePoll == kPairsPerCancelPoll) {
              s.sincePoll = 0;
              StopIfCancelled(options.cancel);
            }
            const int score =
                s.scorer->ScoreOnce(value, targetValues[t], s.givingUp[k]);
            if (score >= accuracy) hits[g].push_back({groupOfSlot[t], score});
          }
          valuesDone += queryGroups.memberBegin[g + 1] -
                        queryGroups.memberBegin[g];
        }
        progress.Advance(valuesDone);
      });
  // The values of no group: no keys, no pairs.
  progress.Advance(queries.values.size() - queryGroups.members.size());

  const size_t chunks = (queries.values.size() + kChunkSize - 1) / kChunkSize;
  std::vector<std::vector<ValuePair>> found(chunks);
  RunChunks(queries.values.size(), kChunkSize, workers,
            [&](unsigned, size_t chunk, size_t begin, size_t end) {
              std::vector<ValuePair>& out = found[chunk];
              for (size_t q = begin; q < end; ++q) {
                const uint32_t group = queryGroups.ofValue[q];
                if (group == ValueGroups::kNone) continue;
                const size_t first = out.size();
                for (const GroupHit& hit : hits[group]) {
                  const uint32_t* member =
                      &targetGroups.members[targetGroups.memberBegin[hit.group]];
                  const uint32_t* last =
                      &targetGroups.members[0] +
                      targetGroups.memberBegin[hit.group + 1];
                  // Members ascend: in one list, only those after q.
                  if (self) member = std::upper_bound(member, last,
                                                      static_cast<uint32_t>(q));
                  for (; member != last; ++member)
                    out.push_back({q, *member, hit.score});
                }
                std::sort(out.begin() + static_cast<ptrdiff_t>(first),
                          out.end(),
                          [](const ValuePair& x, const ValuePair& y) {
                            return x.second < y.second;
                          });
              }
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
  PreparedList& targets = b != nullptr ? otherList : queries;

  const bool blocked = aBlocks != nullptr || bBlocks != nullptr;
  if (accuracy >= kBlockingKeysMinAccuracy && !blocked) {
    const bool self = b == nullptr;
    const ValueGroups queryGroups = GroupAlikeValues(queries);
    const ValueGroups targetGroups =
        self ? ValueGroups{} : GroupAlikeValues(targets);
    const ValueGroups& groupsOfTargets = self ? queryGroups : targetGroups;
    // Worth it when values read alike often enough to pay for the groups
    // (lists of single names); lists of full names seldom repeat a value's
    // words and keep to the search value by value.
    if (queryGroups.Count() * kGroupingPaysAt <
            queries.values.size() * (kGroupingPaysAt - 1) ||
        groupsOfTargets.Count() * kGroupingPaysAt <
            targets.values.size() * (kGroupingPaysAt - 1)) {
      return ScoreCandidatesByGroup(queries, queryGroups, targets,
                                    groupsOfTargets, self, options, accuracy,
                                    workers, progress);
    }
  }
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
