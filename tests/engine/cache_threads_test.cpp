// The transcription cache under threads: finds, fills, evictions, clears
// and releases at once must never answer for the wrong key, and must leave
// ThreadSanitizer nothing to report.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "cache_entries.h"
#include "transcription_cache.h"

namespace marrowfield {
namespace {

TEST(CacheThreadsTest, ConcurrentUseNeverAnswersForAnotherKey) {
  constexpr int kThreads = 4;
  constexpr int kSteps = 40000;
  // More keys than one shard's sets hold, fewer than the table: entries
  // are both found and evicted.
  constexpr int kKeys = 60000;
  std::atomic<int> wrong{0};
  std::atomic<int> hits{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 random(static_cast<unsigned>(t + 1));
      Transcription found;
      for (int step = 0; step < kSteps; ++step) {
        const std::string word = NumberWord(static_cast<int>(random() % kKeys));
        const TranscriptionKey key(t % 2 == 0 ? 'L' : 'R', word);
        PrefetchCachedTranscription(key);
        if (FindCachedTranscription(key, &found)) {
          ++hits;
          if (found.ids != Spelled(word).ids) ++wrong;
        } else {
          CacheTranscription(key, Spelled(word));
        }
        // Now and then one thread forgets everything, another gives the
        // memory back, while the rest go on.
        if (t == 0 && step % 10000 == 9999) ClearTranscriptionCache();
        if (t == 1 && step % 15000 == 14999) ReleaseTranscriptionCache();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_GT(hits.load(), 0);
  EXPECT_LE(TranscriptionCacheEntries(), kTranscriptionCacheCapacity);
  ReleaseTranscriptionCache();
}

}  // namespace
}  // namespace marrowfield
