// The transcription cache's bound can be lowered, for processes that run
// many engines side by side: the table then stays within the new bound,
// keeps working as a cache, changes no result, and goes back to its
// default size when asked.

#include <string>
#include <vector>

#include "cache_entries.h"
#include "engine_fixture.h"
#include "word_samples.h"

namespace marrowfield {
namespace {

class CacheSizeTest : public EngineTest {
 protected:
  void TearDown() override {
    SetTranscriptionCacheBytes(kTranscriptionCacheBytes);
    EngineTest::TearDown();
  }

  // Fills the cache with twice what it can hold.
  static void Overfill() {
    const int count = static_cast<int>(2 * TranscriptionCacheCapacity()) + 64;
    for (int n = 0; n < count; ++n) {
      const std::string word = NumberWord(n);
      CacheTranscription(TranscriptionKey('L', word), Spelled(word));
    }
  }
};

TEST_F(CacheSizeTest, DefaultIsTheLargestBound) {
  EXPECT_EQ(TranscriptionCacheBytes(), kTranscriptionCacheBytes);
  EXPECT_EQ(TranscriptionCacheCapacity(), kTranscriptionCacheCapacity);
  EXPECT_EQ(SetTranscriptionCacheBytes(kTranscriptionCacheBytes * 3),
            kTranscriptionCacheBytes);
}

TEST_F(CacheSizeTest, SmallerBoundIsRoundedToSetsAndHeld) {
  struct Case {
    size_t asked;
    size_t granted;
  };
  const Case cases[] = {
      {1 << 20, (1 << 20) / kCacheSetBytes * kCacheSetBytes},
      {kCacheSetBytes, kCacheSetBytes},
      {kCacheSetBytes * 7 + 5, kCacheSetBytes * 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    ASSERT_EQ(SetTranscriptionCacheBytes(c.asked), c.granted);
    EXPECT_EQ(TranscriptionCacheMemory(), 0u);
    Overfill();
    EXPECT_LE(TranscriptionCacheMemory(), c.granted);
    EXPECT_EQ(TranscriptionCacheMemory(), c.granted);
    EXPECT_LE(TranscriptionCacheEntries(), TranscriptionCacheCapacity());
    EXPECT_EQ(TranscriptionCacheCapacity(),
              c.granted / kCacheSetBytes * kCacheShards * kCacheWays);
    // Every hit is still the value of exactly its own key.
    int hits = 0;
    const int count = static_cast<int>(2 * TranscriptionCacheCapacity()) + 64;
    for (int n = 0; n < count; ++n) {
      const std::string word = NumberWord(n);
      Transcription found;
      if (!FindCachedTranscription(TranscriptionKey('L', word), &found)) {
        continue;
      }
      ++hits;
      ASSERT_EQ(found.ids, Spelled(word).ids) << word;
    }
    EXPECT_GT(hits, 0);
  }
}

TEST_F(CacheSizeTest, BelowOneSetKeepsNothing) {
  EXPECT_EQ(SetTranscriptionCacheBytes(kCacheSetBytes - 1), 0u);
  EXPECT_EQ(TranscriptionCacheCapacity(), 0u);
  CacheTranscription(TranscriptionKey('L', "smith"), Spelled("smith"));
  Transcription found;
  EXPECT_FALSE(FindCachedTranscription(TranscriptionKey('L', "smith"), &found));
  EXPECT_EQ(TranscriptionCacheMemory(), 0u);
  // The engine works on without it.
  EXPECT_EQ(PhoneNames(matcher.TranscribeFromLexicon("smith")),
            Names("s m ih th"));
}

TEST_F(CacheSizeTest, ResultsDoNotDependOnTheBound) {
  const std::vector<std::string> words = SampleWords(400);
  std::vector<std::vector<double>> runs;
  for (size_t bytes : {kTranscriptionCacheBytes, kCacheSetBytes * 2, size_t{0},
                       kTranscriptionCacheBytes}) {
    SetTranscriptionCacheBytes(bytes);
    std::vector<double> distances;
    for (size_t n = 0; n + 1 < words.size(); ++n) {
      distances.push_back(matcher.CompareWords(words[n], words[n + 1]));
      distances.push_back(matcher.CompareWords(words[n + 1], words[0]));
    }
    runs.push_back(distances);
  }
  for (size_t run = 1; run < runs.size(); ++run) {
    EXPECT_EQ(runs[run], runs[0]) << "run " << run;
  }
  // Back at the default, every shard takes its full part again.
  for (int n = 0; n < 1000; ++n) {
    const std::string word = NumberWord(n);
    CacheTranscription(TranscriptionKey('L', word), Spelled(word));
  }
  EXPECT_EQ(TranscriptionCacheMemory(), kTranscriptionCacheBytes);
}

}  // namespace
}  // namespace marrowfield
