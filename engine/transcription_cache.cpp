// The set-associative table behind the transcription cache.
//
// Why not a hash map with an LRU list: a miss is the common case of a cold
// cache, and filling a node-based map costs a key copy, two nodes and a
// shared value per word. Those allocations, and the memory they scatter,
// slowed Flite's own lookups beside them by about a tenth. Here a fill
// writes one 64-byte slot and one tag, and a find reads one tag block and
// one slot, which share a page.

#include "transcription_cache.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>

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

// The tags of a set's slots (0 for an empty slot) and its CLOCK state: a
// bit per slot used since the hand last passed, and the hand.
struct SetTags {
  uint16_t tags[kCacheWays];
  uint8_t referenced;
  uint8_t hand;
};

// A set's tags and slots lie together, mostly on one page: a miss then
// costs one page walk, not two (a walk is dear under virtualisation).
struct alignas(kCacheSlotBytes) Set {
  SetTags tags;
  Slot slots[kCacheWays];
};
static_assert(sizeof(Set) == kCacheSetBytes, "tags line plus the slots");

struct FreeDeleter {
  void operator()(void* memory) const { std::free(memory); }
};

uint16_t TagOf(uint64_t hash) {
  const auto tag = static_cast<uint16_t>(hash >> 48);
  return tag == 0 ? 1 : tag;
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
    if (sets_ == nullptr) return false;
    SetTags& set = sets_[SetOf(key)].tags;
    const Slot* slots = sets_[SetOf(key)].slots;
    const uint16_t tag = TagOf(key.hash);
    for (size_t way = 0; way < kCacheWays; ++way) {
      if (set.tags[way] != tag || !Holds(slots[way], key)) continue;
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
    if (const Set* sets = published_.load(std::memory_order_relaxed)) {
      __builtin_prefetch(&sets[SetOf(key)]);
    }
  }

  void Insert(const TranscriptionKey& key, const Transcription& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (sets_ == nullptr && !Allocate()) return;
    SetTags& set = sets_[SetOf(key)].tags;
    Slot* slots = sets_[SetOf(key)].slots;
    const uint16_t tag = TagOf(key.hash);
    size_t way = kCacheWays;
    for (size_t w = 0; w < kCacheWays; ++w) {
      // Another thread may have transcribed the same word meanwhile.
      if (set.tags[w] == tag && Holds(slots[w], key)) return;
      if (set.tags[w] == 0 && way == kCacheWays) way = w;
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
    set.tags[way] = tag;
    // A new entry starts unused: a word seen once then goes before the
    // words that are looked up again, such as a search text.
    set.referenced = static_cast<uint8_t>(set.referenced & ~(1u << way));
  }

  void Clear(bool release) {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_ = 0;
    if (release) {
      published_.store(nullptr, std::memory_order_relaxed);
      sets_ = nullptr;
      memory_.reset();
    } else if (sets_ != nullptr) {
      // The slots need no wiping: a zero tag marks them empty.
      for (size_t k = 0; k < kCacheSetsPerShard; ++k) sets_[k].tags = {};
    }
  }

  std::pair<size_t, size_t> Size() {
    std::lock_guard<std::mutex> lock(mutex_);
    return {sets_ != nullptr ? kCacheSetsPerShard * sizeof(Set) : 0, entries_};
  }

 private:
  static size_t SetOf(const TranscriptionKey& key) {
    return (key.hash / kCacheShards) % kCacheSetsPerShard;
  }

  bool Allocate() {
    // calloc, not new[]: the system hands back zeroed pages that cost
    // nothing until a set on them is written, so a small workload stays
    // small. The spare line aligns the sets to cache lines.
    constexpr size_t kBytes = kCacheSetsPerShard * sizeof(Set) + alignof(Set);
    memory_.reset(static_cast<char*>(std::calloc(kBytes, 1)));
    // Out of memory: the cache stays empty and every word is looked up.
    if (memory_ == nullptr) return false;
    void* aligned = memory_.get();
    size_t space = kBytes;
    sets_ = static_cast<Set*>(std::align(
        alignof(Set), kCacheSetsPerShard * sizeof(Set), aligned, space));
    published_.store(sets_, std::memory_order_relaxed);
    return true;
  }

  // The slot Insert would take if nothing changes meanwhile.
  static size_t LikelyVictim(const SetTags& set) {
    for (size_t way = 0; way < kCacheWays; ++way) {
      if (set.tags[way] == 0) return way;
    }
    for (size_t k = 0; k < kCacheWays; ++k) {
      const size_t way = (set.hand + k) % kCacheWays;
      if (!(set.referenced & (1u << way))) return way;
    }
    return set.hand;
  }

  // CLOCK: the hand passes over slots used since its last visit, clearing
  // their bit, and takes the first slot not used since.
  static size_t Victim(SetTags& set) {
    while (set.referenced & (1u << set.hand)) {
      set.referenced = static_cast<uint8_t>(set.referenced & ~(1u << set.hand));
      set.hand = static_cast<uint8_t>((set.hand + 1) % kCacheWays);
    }
    const size_t victim = set.hand;
    set.hand = static_cast<uint8_t>((set.hand + 1) % kCacheWays);
    return victim;
  }

  std::mutex mutex_;
  std::unique_ptr<char[], FreeDeleter> memory_;
  Set* sets_ = nullptr;  // in memory_
  // sets_ for Prefetch, which reads it without the lock.
  std::atomic<const Set*> published_{nullptr};
  size_t entries_ = 0;
};

Shard g_shards[kCacheShards];
std::atomic<bool> g_enabled{true};

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
  for (Shard& shard : g_shards) shard.Clear(false);
}

void ReleaseTranscriptionCache() {
  for (Shard& shard : g_shards) shard.Clear(true);
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
