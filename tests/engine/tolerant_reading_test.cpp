// The respelled reading of the tolerant mode: which spellings it writes
// plainly, that the cache gives back a word's readings as the lexicon
// does, and that the
// explanation shows the reading it compared. (That such spellings now
// match while unrelated names stay apart is in tolerant_scoring_test.cpp.)

#include <string>
#include <utility>
#include <vector>

#include "engine_fixture.h"
#include "explanation.h"
#include "mode_comparison.h"
#include "names_corpus.h"
#include "tolerant_reading.h"
#include "transcription_cache.h"

namespace marrowfield {
namespace {

using TolerantReadingTest = EngineTest;

TEST(RespellForTolerantReadingTest, WritesMisreadSpellingsPlainly) {
  // Each word and its respelling.
  const std::pair<const char*, const char*> cases[] = {
      {"joddy", "jody"},         // a doubled consonant as one
      {"rebecca", "rebecca"},    // but cc, which can sound k s
      {"wolfph", "wolf"},        // ph inside a word as f, then ff as f
      {"phoebe", "phoebe"},      // a leading ph is left alone
      {"jack", "jak"},           // ck as k
      {"mychell", "michel"},     // y between consonants as i
      {"maya", "maya"},          // but not before a vowel
      {"lacie", "lacy"},         // endings heard alike, written one way
      {"jamey", "jamy"},         //
      {"levi", "levy"},          //
      {"joey", "joey"},          // not after a vowel
      {"lee", "lee"},            // nor as the whole rest of the word
      {"phillips", "philip"},    // a plural read as the name
      {"mars", "mars"},          // but not a short word's s
      {"ross", "ros"},           // a double s is a double consonant
      {"smith", "smith"},        // nothing to respell
      {"mary ann", "mary an"},   // inner spaces stay where they are
      {"tom s", "tom s"},        // and never end the word
  };
  for (const auto& [word, respelled] : cases) {
    EXPECT_EQ(RespellForTolerantReading(word), respelled) << word;
  }
}

TEST(RespellForTolerantReadingTest, NeverEmptiesAWord) {
  for (const char* word : {"s", "ss", "bb", "ie", "ys", "pph", "ckck"}) {
    EXPECT_FALSE(RespellForTolerantReading(word).empty()) << word;
  }
}

TEST_F(TolerantReadingTest, ReadingsOfAWordWithoutARespellingAreOne) {
  const TolerantReadings plain = ReadTolerantly(matcher, "smith");
  EXPECT_FALSE(plain.written.empty());
  EXPECT_TRUE(plain.respelled.empty());
  // Phillips and Philip sound alike to the lexicon's ear only through the
  // respelling; its phones are Philip's.
  const TolerantReadings plural = ReadTolerantly(matcher, "phillips");
  EXPECT_EQ(plural.respelled, ReadTolerantly(matcher, "philip").written);
  EXPECT_TRUE(ReadTolerantly(matcher, "").written.empty());
}

TEST_F(TolerantReadingTest, ReadingsAreTheSameColdWarmAndUncached) {
  // The cache keeps both readings in one entry; what comes back must be
  // what the lexicon gives, and so must every tolerant score.
  const NameGroups groups =
      ReadLabelledNames(MARROWFIELD_SOURCE_DIR "/tests/data/names/names.tsv");
  ASSERT_FALSE(groups.empty()) << "the names corpus sample was not read";
  std::vector<std::string> words;
  for (const auto& group : groups) {
    for (const std::string& name : group) {
      std::string word = name;
      matcher.CleanWord(word);
      words.push_back(word);
    }
  }
  SetTranscriptionCacheEnabled(false);
  std::vector<TolerantReadings> uncached;
  for (const std::string& word : words)
    uncached.push_back(ReadTolerantly(matcher, word));
  const std::vector<NamePair> pairs = PairsWithinGroups(groups);
  std::vector<int> uncachedScores;
  for (const NamePair& p : pairs) {
    uncachedScores.push_back(
        ComparePercentage(p.first, p.second, ScoringMode::kTolerant));
  }
  SetTranscriptionCacheEnabled(true);
  ClearTranscriptionCache();
  for (int round = 0; round < 2; ++round) {  // cold, then warm
    for (size_t k = 0; k < words.size(); ++k) {
      const TolerantReadings readings = ReadTolerantly(matcher, words[k]);
      ASSERT_EQ(readings.written, uncached[k].written) << words[k];
      ASSERT_EQ(readings.respelled, uncached[k].respelled) << words[k];
    }
  }
  for (size_t k = 0; k < pairs.size(); ++k) {
    ASSERT_EQ(ComparePercentage(pairs[k].first, pairs[k].second,
                                ScoringMode::kTolerant),
              uncachedScores[k])
        << pairs[k].first << " / " << pairs[k].second;
  }
}

TEST_F(TolerantReadingTest, ExplanationShowsTheReadingItCompared) {
  const ComparisonExplanation e =
      ExplainComparison("Joddy", "Jodie", ScoringMode::kTolerant);
  EXPECT_EQ(e.reading1, "jody");
  EXPECT_TRUE(e.reading2.empty());  // Jodie is read as written
  EXPECT_EQ(e.percentage,
            ComparePercentage("Joddy", "Jodie", ScoringMode::kTolerant));
  const TolerantReadings jody = ReadTolerantly(matcher, "joddy");
  EXPECT_EQ(e.phones1.size(), jody.respelled.size());

  // The strict explanation reads the words as written, always.
  const ComparisonExplanation strict =
      ExplainComparison("Joddy", "Jodie", ScoringMode::kStrict);
  EXPECT_TRUE(strict.reading1.empty());
  EXPECT_TRUE(strict.reading2.empty());
}

}  // namespace
}  // namespace marrowfield
