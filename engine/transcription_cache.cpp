// The set-associative table behind the transcription cache.
//
// Why not a hash map with an LRU list: a miss is the common case of a cold
// cache, and filling a node-based map costs a key copy, two nodes and a
// shared value per word. Those allocations, and the memory they scatter,
// slowed Flite's own lookups beside them by about a tenth.
//
// Here each shard has a small index (a 16-byte entry per set: a one-byte
// fingerprint per slot and the set's CLOCK state) beside its slots. The
// index, 512 KiB in all, mostly stays in the processor's caches, so a miss
// is usually known without touching the slots: only the slot the fill will
// take is fetched, and that happens while Flite looks the word up. Index
// and slots of all shards lie in one CacheMemory, so that they can sit in
// huge pages.

#include "transcription_cache.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>

#include "cache_memory.h"
#include "phone_inventory.h"

namespace marrowfield {
namespace {

struct Slot {
  uint8_t wordLength;
  uint8_t phoneCount;
  char kind;
  char word[kMaxCachedWordLength];
  PhoneId ids[kMaxCachedPhones];
};
static_assert(sizeof(Slot) == kCacheSlotBytes, "a slot is one cache line");

// A set's entry in the index: a fingerprint of each slot's key (0 for an
// empty slot) and its CLOCK state, a bit per slot used since the hand last
// passed and the hand. A set whose generation is not its shard's predates
// the last Clear and counts as empty, so that Clear need not touch the
// table.
struct SetIndex {
  uint8_t fingerprints[kCacheWays];
  uint8_t referenced;
  uint8_t hand;
  uint32_t generation;
};
static_assert(sizeof(SetIndex) == kCacheIndexEntryBytes, "four per line");

static_assert(kCacheShards * sizeof(SetIndex) % kCacheSlotBytes == 0,
              "slots start on a line whatever the number of sets");

// The whole table, taken once at its largest and kept: the index of every
// shard, then the slots of every shard, packed for the number of sets in
// force, so that a smaller bound touches only the start. Released, its
// pages go back to the system but its addresses stay valid, and it reads
// as zero: an all-zero index entry is an empty set.
CacheMemory& TableMemory() {
  static CacheMemory memory(kTranscriptionCacheBytes);
  return memory;
}

// Sets per shard. Changed only while every shard is locked, so a reader
// holding one shard's lock sees a steady value; Prefetch reads it without.
std::atomic<size_t> g_setsPerShard{kCacheSetsPerShard};

size_t SetsPerShard() { return g_setsPerShard.load(std::memory_order_relaxed); }

uint8_t FingerprintOf(uint64_t hash) {
  const auto fingerprint = static_cast<uint8_t>(hash >> 56);
  return fingerprint == 0 ? 1 : fingerprint;
}

bool Holds(const Slot& slot, const TranscriptionKey& key) {
  return slot.kind == key.kind && slot.wordLength == key.word.size() &&
         (key.word.empty() ||
          std::memcmp(slot.word, key.word.data(), key.word.size()) == 0);
}

// memcpy that accepts the null data() of an empty source.
void CopyBytes(void* to, const void* from, size_t size) {
  if (size > 0) std::memcpy(to, from, size);
}

class alignas(64) Shard {
 public:
  bool Find(const TranscriptionKey& key, Transcription* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index_ == nullptr) return false;
    SetIndex& set = IndexOf(SetOf(key));
    const Slot* slots = &slots_[SetOf(key) * kCacheWays];
    const uint8_t fingerprint = FingerprintOf(key.hash);
    for (size_t way = 0; way < kCacheWays; ++way) {
      if (set.fingerprints[way] != fingerprint || !Holds(slots[way], key)) {
        continue;
      }
      set.referenced = static_cast<uint8_t>(set.referenced | (1u << way));
      out->ids.assign(slots[way].ids, slots[way].ids + slots[way].phoneCount);
      out->names.clear();
      return true;
    }
    // A miss is about to be looked up and filled. Fetching the slot the
    // fill will most likely take now lets it arrive during Flite's lookup
    // instead of stalling the fill.
    __builtin_prefetch(&slots[LikelyVictim(set)], 1);
    return false;
  }

  void Prefetch(const TranscriptionKey& key) const {
    // A table released meanwhile is harmless: a prefetch never faults.
    // So is one whose number of sets changes meanwhile.
    const SetIndex* index = published_.load(std::memory_order_relaxed);
    if (index != nullptr && SetsPerShard() > 0) {
      __builtin_prefetch(&index[SetOf(key)]);
    }
  }

  void Insert(const TranscriptionKey& key, const Transcription& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (SetsPerShard() == 0) return;
    if (index_ == nullptr && !Allocate()) return;
    SetIndex& set = IndexOf(SetOf(key));
    Slot* slots = &slots_[SetOf(key) * kCacheWays];
    const uint8_t fingerprint = FingerprintOf(key.hash);
    size_t way = kCacheWays;
    for (size_t w = 0; w < kCacheWays; ++w) {
      // Another thread may have transcribed the same word meanwhile.
      if (set.fingerprints[w] == fingerprint && Holds(slots[w], key)) return;
      if (set.fingerprints[w] == 0 && way == kCacheWays) way = w;
    }
    if (way == kCacheWays) {
      way = Victim(set);
    } else {
      ++entries_;
    }
    Slot& slot = slots[way];
    slot.kind = key.kind;
    slot.wordLength = static_cast<uint8_t>(key.word.size());
    CopyBytes(slot.word, key.word.data(), key.word.size());
    slot.phoneCount = static_cast<uint8_t>(value.ids.size());
    CopyBytes(slot.ids, value.ids.data(), value.ids.size());
    set.fingerprints[way] = fingerprint;
    // A new entry starts unused: a word seen once then goes before the
    // words that are looked up again, such as a search text.
    set.referenced = static_cast<uint8_t>(set.referenced & ~(1u << way));
  }

  // Forgets every entry. Sets are emptied as they are next used. After
  // 2^32 clears a set untouched all along would come back, and would still
  // be right: a transcription depends on its key alone.
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_ = 0;
    ++generation_;
  }

  // Forgets every entry and lets go of the table; the caller then discards
  // the table's memory. REQUIRES: mutex() held.
  void ReleaseLocked() {
    entries_ = 0;
    published_.store(nullptr, std::memory_order_relaxed);
    index_ = nullptr;
    slots_ = nullptr;
  }

  std::mutex& mutex() { return mutex_; }

  std::pair<size_t, size_t> Size() {
    std::lock_guard<std::mutex> lock(mutex_);
    return {
        index_ != nullptr ? kCacheSetBytes / kCacheShards * SetsPerShard() : 0,
        entries_};
  }

 private:
  static size_t SetOf(const TranscriptionKey& key) {
    return (key.hash / kCacheShards) % SetsPerShard();
  }

  // The index entry of |set|, emptied first if the set predates the last
  // Clear.
  SetIndex& IndexOf(size_t set) {
    SetIndex& entry = index_[set];
    if (entry.generation != generation_) {
      entry = SetIndex{{}, 0, 0, generation_};
    }
    return entry;
  }

  // Points the shard at its part of the table. Without the table (the
  // system refused it) the cache stays empty and every word is looked up.
  // Defined below, where the shards are.
  bool Allocate();

  // The slot Insert would take if nothing changes meanwhile.
  static size_t LikelyVictim(const SetIndex& set) {
    for (size_t way = 0; way < kCacheWays; ++way) {
      if (set.fingerprints[way] == 0) return way;
    }
    for (size_t k = 0; k < kCacheWays; ++k) {
      const size_t way = (set.hand + k) % kCacheWays;
      if (!(set.referenced & (1u << way))) return way;
    }
    return set.hand;
  }

  // CLOCK: the hand passes over slots used since its last visit, clearing
  // their bit, and takes the first slot not used since.
  static size_t Victim(SetIndex& set) {
    while (set.referenced & (1u << set.hand)) {
      set.referenced = static_cast<uint8_t>(set.referenced & ~(1u << set.hand));
      set.hand = static_cast<uint8_t>((set.hand + 1) % kCacheWays);
    }
    const size_t victim = set.hand;
    set.hand = static_cast<uint8_t>((set.hand + 1) % kCacheWays);
    return victim;
  }

  std::mutex mutex_;
  SetIndex* index_ = nullptr;  // in TableMemory()
  Slot* slots_ = nullptr;      // in TableMemory()
  // index_ for Prefetch, which reads it without the lock.
  std::atomic<const SetIndex*> published_{nullptr};
  uint32_t generation_ = 0;
  size_t entries_ = 0;
};

Shard g_shards[kCacheShards];
std::atomic<bool> g_enabled{true};

bool Shard::Allocate() {
  auto* table = static_cast<char*>(TableMemory().data());
  if (table == nullptr) return false;
  const auto shard = static_cast<size_t>(this - g_shards);
  const size_t sets = SetsPerShard();
  index_ = reinterpret_cast<SetIndex*>(table) + shard * sets;
  slots_ =
      reinterpret_cast<Slot*>(table + kCacheShards * sets * sizeof(SetIndex)) +
      shard * sets * kCacheWays;
  published_.store(index_, std::memory_order_relaxed);
  return true;
}

Shard& ShardFor(const TranscriptionKey& key) {
  return g_shards[key.hash % kCacheShards];
}

}  // namespace

TranscriptionKey::TranscriptionKey(char kind, std::string_view word)
    : kind(kind), word(word) {
  // The string hash mixed with the kind, then spread so that the shard,
  // the set and the tag each take independent bits.
  uint64_t h = std::hash<std::string_view>()(word) ^
               (static_cast<uint64_t>(static_cast<unsigned char>(kind)) *
                0x9E3779B97F4A7C15ull);
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  hash = h;
}

std::vector<std::string> PhoneNames(const Transcription& transcription) {
  if (!transcription.names.empty()) return transcription.names;
  std::vector<std::string> names;
  names.reserve(transcription.ids.size());
  // The inventory, not the phone tables: transcription still works after
  // un_initialize() has freed the tables.
  for (PhoneId id : transcription.ids) {
    names.emplace_back(kPhoneInventory[id].phone);
  }
  return names;
}

bool FindCachedTranscription(const TranscriptionKey& key, Transcription* out) {
  if (!g_enabled.load(std::memory_order_relaxed)) return false;
  if (key.word.size() > kMaxCachedWordLength) return false;
  return ShardFor(key).Find(key, out);
}

void PrefetchCachedTranscription(const TranscriptionKey& key) {
  if (!g_enabled.load(std::memory_order_relaxed)) return;
  if (key.word.size() > kMaxCachedWordLength) return;
  ShardFor(key).Prefetch(key);
}

void CacheTranscription(const TranscriptionKey& key,
                        const Transcription& value) {
  if (!g_enabled.load(std::memory_order_relaxed)) return;
  if (key.word.size() > kMaxCachedWordLength ||
      value.ids.size() > kMaxCachedPhones || !value.names.empty()) {
    return;
  }
  ShardFor(key).Insert(key, value);
}

void ClearTranscriptionCache() {
  for (Shard& shard : g_shards) shard.Clear();
}

namespace {

// Releases every shard and then, with all of them still locked so that
// none can fill a slot meanwhile, lets |change| act on the table memory.
template <typename Change>
void ReleaseAll(Change&& change) {
  std::unique_lock<std::mutex> locks[kCacheShards];
  for (size_t n = 0; n < kCacheShards; ++n) {
    locks[n] = std::unique_lock<std::mutex>(g_shards[n].mutex());
    g_shards[n].ReleaseLocked();
  }
  change(TableMemory());
}

}  // namespace

void ReleaseTranscriptionCache() {
  ReleaseAll([](CacheMemory& memory) { memory.Discard(); });
}

size_t SetTranscriptionCacheBytes(size_t bytes) {
  const size_t sets = std::min(bytes / kCacheSetBytes, kCacheSetsPerShard);
  ReleaseAll([sets](CacheMemory& memory) {
    g_setsPerShard.store(sets, std::memory_order_relaxed);
    memory.Use(sets * kCacheSetBytes);
  });
  return sets * kCacheSetBytes;
}

size_t TranscriptionCacheBytes() { return SetsPerShard() * kCacheSetBytes; }

size_t TranscriptionCacheCapacity() {
  return kCacheShards * SetsPerShard() * kCacheWays;
}

void SetTranscriptionCacheEnabled(bool enabled) {
  g_enabled.store(enabled);
  if (!enabled) ClearTranscriptionCache();
}

size_t TranscriptionCacheMemory() {
  size_t total = 0;
  for (Shard& shard : g_shards) total += shard.Size().first;
  return total;
}

size_t TranscriptionCacheEntries() {
  size_t total = 0;
  for (Shard& shard : g_shards) total += shard.Size().second;
  return total;
}

}  // namespace marrowfield
