// A bounded, thread-safe cache of transcriptions. Flite's lookup dominates
// the cost of every comparison, and the same words come back again and
// again (a search text against every cell, a surname in many rows), so the
// phones of a lookup are kept, keyed by exactly what the lookup received.
//
// The cache is a fixed table of 64-byte slots, set-associative with CLOCK
// eviction in each set, split into kCacheShards independently locked
// shards. A miss that is then filled costs no allocation, and the table
// never grows past its bound (kTranscriptionCacheBytes unless set lower).
// Its address range is reserved at the first entry; pages are taken from
// the system as entries land on them.
// Words longer than kMaxCachedWordLength bytes, transcriptions of more than
// kMaxCachedPhones phones and transcriptions holding a phone outside the
// inventory are not kept; they are looked up again each time.

#ifndef MARROWFIELD_ENGINE_TRANSCRIPTION_CACHE_H_
#define MARROWFIELD_ENGINE_TRANSCRIPTION_CACHE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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

// What a lookup received: the kind of lookup (a letter per mode) and the
// exact word handed to Flite. Hashed once, used for the find and the fill.
struct TranscriptionKey {
  TranscriptionKey(char kind, std::string_view word);
  char kind;
  std::string_view word;  // not owned
  uint64_t hash;
};

constexpr size_t kCacheShards = 16;
constexpr size_t kCacheSetsPerShard = 2048;
constexpr size_t kCacheWays = 8;
constexpr size_t kCacheSlotBytes = 64;
constexpr size_t kCacheIndexEntryBytes = 16;
constexpr size_t kMaxCachedWordLength = 29;
constexpr size_t kMaxCachedPhones = 32;
// A shard in use: its index and its slots.
constexpr size_t kCacheShardBytes =
    kCacheSetsPerShard * (kCacheIndexEntryBytes + kCacheWays * kCacheSlotBytes);

// By default, and at most, this many entries, in this many bytes once
// every shard is in use: 262 144 entries in 16.5 MiB.
constexpr size_t kTranscriptionCacheCapacity =
    kCacheShards * kCacheSetsPerShard * kCacheWays;
constexpr size_t kTranscriptionCacheBytes = kCacheShards * kCacheShardBytes;
// The table grows and shrinks by one set in every shard at a time.
constexpr size_t kCacheSetBytes =
    kCacheShards * (kCacheIndexEntryBytes + kCacheWays * kCacheSlotBytes);

// Fills |out| with the transcription cached under |key| and returns true,
// or returns false and leaves |out| alone.
bool FindCachedTranscription(const TranscriptionKey& key, Transcription* out);

// Starts fetching the memory a find of |key| will read, without waiting
// for it and without taking a lock.
void PrefetchCachedTranscription(const TranscriptionKey& key);

// Keeps |value| under |key|, unless the cache is off or the entry is one
// the cache does not keep (see above). An older entry of the same set may
// be evicted.
void CacheTranscription(const TranscriptionKey& key,
                        const Transcription& value);

// Forgets every entry but keeps the table's memory for the next ones.
void ClearTranscriptionCache();

// Forgets every entry and gives the memory back.
void ReleaseTranscriptionCache();

// Turns the cache on (the default) or off; off, Find finds nothing and
// nothing is kept. For comparisons and benchmarks of the two paths.
void SetTranscriptionCacheEnabled(bool enabled);

// Bounds the table to at most |bytes|, rounded down to whole sets (a
// multiple of kCacheSetBytes) and lowered to kTranscriptionCacheBytes;
// below kCacheSetBytes the cache keeps nothing. Forgets every entry and
// gives the memory back. Returns the bound now in force. A process that
// runs many engines side by side (a database server's backends) keeps
// each one's cache small this way; results never depend on the size.
size_t SetTranscriptionCacheBytes(size_t bytes);

// The bound in force and the entries it holds at most
// (kTranscriptionCacheBytes and kTranscriptionCacheCapacity until
// SetTranscriptionCacheBytes is called).
size_t TranscriptionCacheBytes();
size_t TranscriptionCacheCapacity();

// The bytes of table now held and the entries now kept, over all shards.
size_t TranscriptionCacheMemory();
size_t TranscriptionCacheEntries();

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_TRANSCRIPTION_CACHE_H_
