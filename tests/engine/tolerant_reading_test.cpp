// The respelled reading of the tolerant mode: which spellings it writes
// plainly, that the tolerant score takes the better reading (so spellings that Flite's rules misread
// now match), that unrelated names stay apart, and that the explanation
// shows the reading it compared.

#include <string>
#include <vector>

#include "engine_fixture.h"
#include "explanation.h"
#include "mode_comparison.h"
#include "tolerant_reading.h"

namespace marrowfield {
namespace {

using TolerantReadingTest = EngineTest;

struct Respelling {
  const char* word;
  const char* respelled;
};

TEST(RespellForTolerantReadingTest, WritesMisreadSpellingsPlainly) {
  const Respelling cases[] = {
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
  };
  for (const Respelling& c : cases) {
    EXPECT_EQ(RespellForTolerantReading(c.word), c.respelled) << c.word;
  }
}

TEST(RespellForTolerantReadingTest, NeverEmptiesAWord) {
  for (const char* word : {"s", "ss", "bb", "ie", "ys", "pph", "ckck"}) {
    EXPECT_FALSE(RespellForTolerantReading(word).empty()) << word;
  }
}

struct WordPair {
  const char* word1;
  const char* word2;
};

TEST_F(TolerantReadingTest, SpellingsTheRulesMisreadNowMatch) {
  // Each of these scores 0 strictly and, read as written, far from 60.
  const WordPair pairs[] = {
      {"Joddy", "Jodie"},     {"Lacie", "Lacy"},       {"Wolfph", "Wolf"},
      {"Mychell", "Michelle"}, {"Johnsons", "Johnson"}, {"Grifphin", "Griffin"},
      {"Brodd", "Brod"},      {"Phoebbe", "Phoebe"},   {"Maeggann", "Megan"},
  };
  for (const WordPair& p : pairs) {
    SCOPED_TRACE(std::string(p.word1) + " / " + p.word2);
    EXPECT_LT(ComparePercentage(p.word1, p.word2, ScoringMode::kStrict), 60);
    EXPECT_GE(ComparePercentage(p.word1, p.word2, ScoringMode::kTolerant), 60);
  }
}

TEST_F(TolerantReadingTest, UnrelatedNamesStayLowWhenRespelled) {
  // Each word here has a respelled reading (a plural, a doubled letter, an
  // ending), and still the pairs are different names.
  const WordPair pairs[] = {
      {"Roberts", "Robin"},   {"Williams", "Wilma"}, {"Stevens", "Stella"},
      {"Richards", "Richie"}, {"Adams", "Adele"},    {"Lacey", "Lucas"},
      {"Abbott", "Albert"},   {"Gibbons", "Gideon"}, {"Edwards", "Edna"},
      {"Higgins", "Hugo"},    {"Dennis", "Doris"},
  };
  for (const WordPair& p : pairs) {
    SCOPED_TRACE(std::string(p.word1) + " / " + p.word2);
    EXPECT_LT(ComparePercentage(p.word1, p.word2, ScoringMode::kTolerant), 60);
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
