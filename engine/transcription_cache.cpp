// The sharded LRU behind the transcription cache.

#include "transcription_cache.h"

#include <atomic>
#include <functional>
#include <list>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "phone_inventory.h"

namespace marrowfield {
namespace {

// A fixed account of one entry's bookkeeping: list node, map node, shared
// control block, the vectors' headers and the allocator's own overhead.
// Measured: with it, the process grows by about the budget when the cache
// fills.
constexpr size_t kEntryOverheadBytes = 256;

size_t EntryCost(const std::string& key, const Transcription& value) {
  size_t cost = kEntryOverheadBytes + key.capacity() + value.ids.capacity();
  for (const std::string& phone : value.names) {
    cost += sizeof(std::string) + (phone.size() > 15 ? phone.capacity() : 0);
  }
  return cost;
}

class Shard {
 public:
  TranscriptionPtr Find(const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return it->second->value;
  }

  void Insert(const std::string& key, TranscriptionPtr value) {
    const size_t cost = EntryCost(key, *value);
    std::lock_guard<std::mutex> lock(mutex_);
    auto [slot, fresh] = index_.try_emplace(key);
    // Another thread may have transcribed the same word meanwhile.
    if (!fresh) return;
    order_.push_front(Entry{key, std::move(value), cost});
    slot->second = order_.begin();
    bytes_ += cost;
    while (bytes_ > kTranscriptionCacheBudgetBytes / kCacheShards &&
           !order_.empty()) {
      const Entry& oldest = order_.back();
      bytes_ -= oldest.cost;
      index_.erase(oldest.key);
      order_.pop_back();
    }
  }

  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    index_.clear();
    order_.clear();
    bytes_ = 0;
  }

  std::pair<size_t, size_t> Size() {
    std::lock_guard<std::mutex> lock(mutex_);
    return {bytes_, index_.size()};
  }

 private:
  struct Entry {
    std::string key;
    TranscriptionPtr value;
    size_t cost;
  };

  std::mutex mutex_;
  std::list<Entry> order_;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
  size_t bytes_ = 0;
};

Shard g_shards[kCacheShards];
std::atomic<bool> g_enabled{true};

Shard& ShardFor(const std::string& key) {
  return g_shards[std::hash<std::string>()(key) % kCacheShards];
}

}  // namespace

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

TranscriptionPtr FindCachedTranscription(const std::string& key) {
  if (!g_enabled.load(std::memory_order_relaxed)) return nullptr;
  return ShardFor(key).Find(key);
}

void CacheTranscription(const std::string& key, TranscriptionPtr value) {
  if (!g_enabled.load(std::memory_order_relaxed)) return;
  if (key.size() > kMaxCachedWordLength) return;
  ShardFor(key).Insert(key, std::move(value));
}

void ClearTranscriptionCache() {
  for (Shard& shard : g_shards) shard.Clear();
}

void SetTranscriptionCacheEnabled(bool enabled) {
  g_enabled.store(enabled);
  if (!enabled) ClearTranscriptionCache();
}

size_t TranscriptionCacheBytes() {
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
