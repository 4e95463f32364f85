// The transcription cache must never change a result, must stay within its
// bounds, must never answer for another word, and must be cleared on
// demand.

#include <cstring>
#include <random>

#include "cache_entries.h"
#include "engine_fixture.h"
#include "word_samples.h"

namespace marrowfield {
namespace {

class TranscriptionCacheTest : public EngineTest {
 protected:
  void TearDown() override {
    SetTranscriptionCacheEnabled(true);
    ClearTranscriptionCache();
    EngineTest::TearDown();
  }
};

struct Outcome {
  double distance;
  std::vector<std::string> similar;
  std::string code;
  int phrase;
  int start;
  int length;
  bool operator==(const Outcome& o) const {
    // Bit-identical distances, not merely close ones.
    return std::memcmp(&distance, &o.distance, sizeof distance) == 0 &&
           similar == o.similar && code == o.code && phrase == o.phrase &&
           start == o.start && length == o.length;
  }
};

std::vector<Outcome> RunWorkload(const PhoneticMatcher& matcher,
                                 const std::vector<std::string>& words) {
  std::vector<Outcome> outcomes;
  std::mt19937 random(7);
  std::vector<const char*> list;
  for (size_t k = 0; k < 40; ++k) list.push_back(words[k].c_str());
  for (size_t n = 0; n < 3000; ++n) {
    const std::string& a = words[random() % words.size()];
    const std::string& b = words[random() % words.size()];
    Outcome o{};
    o.distance = matcher.CompareWords(a, b);
    if (n % 20 == 0) {
      o.similar = matcher.GetSimilarWords(a.c_str(), list.data(),
                                          static_cast<unsigned>(list.size()),
                                          DistanceThresholdOfPercent(50));
    }
    o.code = matcher.GetCodes(matcher.TranscribeFromLexicon(a).ids);
    const std::string text = b + " and " + a + ", " + words[n % words.size()];
    o.phrase = matcher.MatchPhrase(a, text, static_cast<int>(n % 2), &o.start,
                                   &o.length);
    outcomes.push_back(o);
  }
  return outcomes;
}

TEST_F(TranscriptionCacheTest, ResultsAreIdenticalWithAndWithoutCache) {
  const std::vector<std::string> words = SampleWords(600);
  SetTranscriptionCacheEnabled(false);
  const std::vector<Outcome> uncached = RunWorkload(matcher, words);
  EXPECT_EQ(TranscriptionCacheEntries(), 0u);
  SetTranscriptionCacheEnabled(true);
  const std::vector<Outcome> cold = RunWorkload(matcher, words);
  EXPECT_GT(TranscriptionCacheEntries(), 0u);
  const std::vector<Outcome> warm = RunWorkload(matcher, words);
  ASSERT_EQ(uncached.size(), cold.size());
  for (size_t k = 0; k < uncached.size(); ++k) {
    EXPECT_TRUE(uncached[k] == cold[k]) << "outcome " << k;
    EXPECT_TRUE(uncached[k] == warm[k]) << "outcome " << k;
  }
}

TEST_F(TranscriptionCacheTest, StaysWithinBoundsAndNeverAnswersForAnotherKey) {
  // Twice the capacity, so that every set evicts; then every hit must be
  // the value stored under exactly that key.
  const int count = static_cast<int>(2 * kTranscriptionCacheCapacity);
  for (int n = 0; n < count; ++n) {
    const std::string word = NumberWord(n);
    CacheTranscription(TranscriptionKey('L', word), Spelled(word));
  }
  EXPECT_EQ(TranscriptionCacheMemory(), kTranscriptionCacheBytes);
  // Hashing leaves a few sets short of full even at twice the capacity.
  EXPECT_LE(TranscriptionCacheEntries(), kTranscriptionCacheCapacity);
  EXPECT_GT(TranscriptionCacheEntries(),
            kTranscriptionCacheCapacity * 99 / 100);
  int hits = 0;
  for (int n = 0; n < count; ++n) {
    const std::string word = NumberWord(n);
    Transcription found;
    if (!FindCachedTranscription(TranscriptionKey('L', word), &found)) continue;
    ++hits;
    ASSERT_EQ(found.ids, Spelled(word).ids) << word;
    // The same word under the other kind was never stored.
    EXPECT_FALSE(FindCachedTranscription(TranscriptionKey('R', word), &found));
  }
  // The most recent entries survive; CLOCK keeps most of the table busy.
  EXPECT_GT(hits, count / 4);
  EXPECT_LE(static_cast<size_t>(hits), kTranscriptionCacheCapacity);

  // Cleared, the table forgets everything, yet takes new entries at once,
  // including in sets that were full.
  ClearTranscriptionCache();
  EXPECT_EQ(TranscriptionCacheEntries(), 0u);
  Transcription found;
  const std::string last = NumberWord(count - 1);
  EXPECT_FALSE(FindCachedTranscription(TranscriptionKey('L', last), &found));
  CacheTranscription(TranscriptionKey('R', last), Spelled("again"));
  ASSERT_TRUE(FindCachedTranscription(TranscriptionKey('R', last), &found));
  EXPECT_EQ(found.ids, Spelled("again").ids);
  EXPECT_FALSE(FindCachedTranscription(TranscriptionKey('L', last), &found));
  EXPECT_EQ(TranscriptionCacheEntries(), 1u);
  // Released, it gives its memory back and starts again on the next entry.
  ReleaseTranscriptionCache();
  EXPECT_EQ(TranscriptionCacheMemory(), 0u);
  EXPECT_EQ(TranscriptionCacheEntries(), 0u);
  EXPECT_FALSE(FindCachedTranscription(TranscriptionKey('R', last), &found));
  CacheTranscription(TranscriptionKey('L', last), Spelled(last));
  ASSERT_TRUE(FindCachedTranscription(TranscriptionKey('L', last), &found));
  EXPECT_EQ(found.ids, Spelled(last).ids);
  EXPECT_EQ(TranscriptionCacheMemory(), kCacheShardBytes);
}

TEST_F(TranscriptionCacheTest, UsedEntriesOutliveFreshOnes) {
  // A word looked up again and again (the search text of a sheet search)
  // must stay while words used once stream through its set. The set is
  // chosen by the hash, so the stream is made of words that share it.
  const TranscriptionKey hot('L', "smith");
  const size_t sets = kCacheShards * kCacheSetsPerShard;
  CacheTranscription(hot, Spelled("smith"));
  Transcription found;
  int sameSet = 0;
  for (int n = 0; sameSet < 6 * static_cast<int>(kCacheWays); ++n) {
    const std::string word = NumberWord(n);
    const TranscriptionKey key('L', word);
    if (key.hash % sets != hot.hash % sets) continue;
    ++sameSet;
    CacheTranscription(key, Spelled(word));
    ASSERT_TRUE(FindCachedTranscription(hot, &found))
        << "lost after " << sameSet << " other words in its set";
    EXPECT_EQ(found.ids, Spelled("smith").ids);
  }
}

TEST_F(TranscriptionCacheTest, KeepsOnlyWhatFitsASlot) {
  Transcription found;
  const std::string longest(kMaxCachedWordLength, 'a');
  const std::string tooLong(kMaxCachedWordLength + 1, 'a');
  CacheTranscription(TranscriptionKey('L', longest), Spelled("x"));
  CacheTranscription(TranscriptionKey('L', tooLong), Spelled("x"));
  EXPECT_TRUE(FindCachedTranscription(TranscriptionKey('L', longest), &found));
  EXPECT_FALSE(FindCachedTranscription(TranscriptionKey('L', tooLong), &found));

  Transcription most;
  most.ids.assign(kMaxCachedPhones, 3);
  Transcription tooMany;
  tooMany.ids.assign(kMaxCachedPhones + 1, 3);
  CacheTranscription(TranscriptionKey('L', "most"), most);
  CacheTranscription(TranscriptionKey('L', "toomany"), tooMany);
  ASSERT_TRUE(FindCachedTranscription(TranscriptionKey('L', "most"), &found));
  EXPECT_EQ(found.ids, most.ids);
  EXPECT_FALSE(
      FindCachedTranscription(TranscriptionKey('L', "toomany"), &found));

  // A phone outside the inventory needs its name, which a slot cannot hold.
  Transcription unknown;
  unknown.ids = {kUnknownPhone};
  unknown.names = {"zz"};
  CacheTranscription(TranscriptionKey('L', "unknown"), unknown);
  EXPECT_FALSE(
      FindCachedTranscription(TranscriptionKey('L', "unknown"), &found));

  // The empty word and a word with a NUL inside are keys like any other.
  CacheTranscription(TranscriptionKey('L', ""), Transcription{});
  EXPECT_TRUE(FindCachedTranscription(TranscriptionKey('L', ""), &found));
  EXPECT_TRUE(found.ids.empty());
  const std::string withNul("ab\0cd", 5);
  CacheTranscription(TranscriptionKey('L', withNul), Spelled(withNul));
  EXPECT_FALSE(FindCachedTranscription(TranscriptionKey('L', "ab"), &found));
  ASSERT_TRUE(FindCachedTranscription(TranscriptionKey('L', withNul), &found));
  EXPECT_EQ(found.ids, Spelled(withNul).ids);
}

TEST_F(TranscriptionCacheTest, TranscriptionFillsAndReadsTheCache) {
  matcher.TranscribeFromLexicon("smith");
  Transcription found;
  ASSERT_TRUE(FindCachedTranscription(TranscriptionKey('L', "smith"), &found));
  EXPECT_EQ(PhoneNames(found), Names("s m ih th"));
  EXPECT_FALSE(FindCachedTranscription(TranscriptionKey('R', "smith"), &found));
  // A long word is transcribed every time, and still correctly.
  const std::string longWord(kMaxCachedWordLength + 1, 'a');
  const Transcription first = matcher.TranscribeFromLexicon(longWord);
  EXPECT_FALSE(
      FindCachedTranscription(TranscriptionKey('L', longWord), &found));
  EXPECT_EQ(matcher.TranscribeFromLexicon(longWord).ids, first.ids);
  EXPECT_FALSE(first.ids.empty());
}

}  // namespace
}  // namespace marrowfield
