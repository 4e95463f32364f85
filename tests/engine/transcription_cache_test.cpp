// The transcription cache must never change a result, must stay within its
// budget, and must be cleared on demand.

#include <cstring>
#include <random>

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
                                          static_cast<unsigned>(list.size()));
    }
    o.code = matcher.GetCodes(matcher.TranscribeFromLexicon(a)->ids);
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

TEST_F(TranscriptionCacheTest, StaysWithinBudgetAndClears) {
  std::string word = "a";
  for (int n = 0; n < 200000; ++n) {
    word = std::to_string(n);
    for (char& c : word) c = static_cast<char>('a' + (c - '0'));
    CacheTranscription("L" + word + "xyzzy", matcher.TranscribeByRules("ab"));
  }
  EXPECT_LE(TranscriptionCacheBytes(), kTranscriptionCacheBudgetBytes);
  EXPECT_GT(TranscriptionCacheEntries(), 1000u);
  ClearTranscriptionCache();
  EXPECT_EQ(TranscriptionCacheEntries(), 0u);
  EXPECT_EQ(TranscriptionCacheBytes(), 0u);
}

TEST_F(TranscriptionCacheTest, LongWordsAreNotKept) {
  const std::string longWord(kMaxCachedWordLength + 1, 'a');
  matcher.TranscribeFromLexicon(longWord);
  EXPECT_EQ(FindCachedTranscription("L" + longWord), nullptr);
  matcher.TranscribeFromLexicon("smith");
  ASSERT_NE(FindCachedTranscription("Lsmith"), nullptr);
  EXPECT_EQ(PhoneNames(*FindCachedTranscription("Lsmith")), Names("s m ih th"));
}

}  // namespace
}  // namespace marrowfield
