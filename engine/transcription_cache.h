// A bounded, thread-safe cache of transcriptions. Flite's lookup dominates
// the cost of every comparison, and the same words come back again and
// again (a search text against every cell, a surname in many rows), so the
// phones of a lookup are kept, keyed by exactly what the lookup received.
//
// Bounded by kTranscriptionCacheBudgetBytes of accounted memory (key,
// phone names, ids and bookkeeping) with least-recently-used eviction in
// each of kCacheShards independently locked shards. Words longer than
// kMaxCachedWordLength are never cached, so one entry's cost is bounded.

#ifndef MARROWFIELD_ENGINE_TRANSCRIPTION_CACHE_H_
#define MARROWFIELD_ENGINE_TRANSCRIPTION_CACHE_H_

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "phone_tables.h"

namespace marrowfield {

// One lookup's answer as phone ids. The names are kept only when some
// phone lies outside the inventory, since its id cannot name it.
struct Transcription {
  PhoneIds ids;
  std::vector<std::string> names;
};

// The phone names of a transcription, stress removed, in spoken order.
std::vector<std::string> PhoneNames(const Transcription& transcription);
using TranscriptionPtr = std::shared_ptr<const Transcription>;

constexpr size_t kTranscriptionCacheBudgetBytes = 32u << 20;
constexpr size_t kCacheShards = 16;
constexpr size_t kMaxCachedWordLength = 256;

// The cached transcription under |key|, or null.
TranscriptionPtr FindCachedTranscription(const std::string& key);

// Keeps |value| under |key| unless the cache is off or the key too long.
void CacheTranscription(const std::string& key, TranscriptionPtr value);

// Forgets every entry.
void ClearTranscriptionCache();

// Turns the cache on (the default) or off; off, Find finds nothing and
// nothing is kept. For comparisons and benchmarks of the two paths.
void SetTranscriptionCacheEnabled(bool enabled);

// The accounted bytes and entries now held, summed over the shards.
size_t TranscriptionCacheBytes();
size_t TranscriptionCacheEntries();

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_TRANSCRIPTION_CACHE_H_
