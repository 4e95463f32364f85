// The exported operations through the real lexicon: word comparison, list
// search, phonetic codes and phrase search.

#include "library_api.h"

namespace marrowfield {
namespace {

class ApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(api.initialize(), 0);
    api.set_threshold(50);
  }
  const LibraryApi& api = Library();

  std::vector<std::string> Similar(const char* word,
                                   std::vector<const char*> list) {
    return api.Drain(api.get_similar_words_from_list(
        word, list.data(), static_cast<unsigned int>(list.size())));
  }
};

TEST_F(ApiTest, CompareWordsOfWordWithItselfIs100) {
  for (const char* word :
       {"smith", "Catherine", "O'Neil", "Jean-Luc", "a", "Przybylski", "x"}) {
    EXPECT_EQ(api.compare_words(word, word), 100) << word;
  }
}

TEST_F(ApiTest, CompareWordsAgainstNoLettersIsZeroInEitherOrder) {
  for (const char* none : {"", "123", "---", "'", " "}) {
    EXPECT_EQ(api.compare_words("smith", none), 0) << none;
    EXPECT_EQ(api.compare_words(none, "smith"), 0) << none;
    EXPECT_EQ(api.compare_words(none, none), 0) << none;
  }
}

TEST_F(ApiTest, CompareWordsKnownPairs) {
  // Same phones: 100. One vowel apart in four phones: 25*0.15/15.
  EXPECT_EQ(api.compare_words("knight", "night"), 100);
  EXPECT_EQ(api.compare_words("Smith", "smyth"), 75);
  // Equal lengths align differently in the two orders.
  EXPECT_EQ(api.compare_words("catherine", "katherine"), 91);
  EXPECT_EQ(api.compare_words("katherine", "catherine"), 75);
  // Nothing near: refused.
  EXPECT_EQ(api.compare_words("smith", "jones"), 0);
}

TEST_F(ApiTest, PhonemesInBothModes) {
  EXPECT_EQ(api.Drain(api.get_phonemes("Hello", MODE_LEXICON)),
            (std::vector<std::string>{"hh", "ax", "l", "ow"}));
  EXPECT_EQ(api.Drain(api.get_phonemes("Hello", MODE_LTS_ONLY)),
            (std::vector<std::string>{"hh", "eh", "l", "ow"}));
  EXPECT_TRUE(api.Drain(api.get_phonemes("123", MODE_LEXICON)).empty());
}

TEST_F(ApiTest, SimilarWordsOrderTiesAndDuplicates) {
  api.set_threshold(0);
  // Spellings with the same phones tie: descending byte order, a word
  // before its own prefix.
  EXPECT_EQ(Similar("smith", {"Smith", "smith", "smithh"}),
            (std::vector<std::string>{"smithh", "smith", "Smith"}));
  EXPECT_EQ(Similar("smit", {"smit", "smitt"}),
            (std::vector<std::string>{"smitt", "smit"}));
  // Smaller distance first: smithe (th-dh 2) before smit (th-t 6).
  EXPECT_EQ(Similar("smith", {"smit", "smithe", "smith"}),
            (std::vector<std::string>{"smith", "smithe", "smit"}));
  EXPECT_EQ(Similar("smith", {"smyth", "Smith", "smyth"}),
            (std::vector<std::string>{"Smith", "smyth", "smyth"}));
  EXPECT_TRUE(Similar("smith", {}).empty());
}

TEST_F(ApiTest, SimilarWordsFollowsThreshold) {
  const std::vector<const char*> list = {"smyth", "smith", "jones", "123"};
  api.set_threshold(100);  // distance 0 only
  EXPECT_EQ(Similar("smith", list), std::vector<std::string>{"smith"});
  api.set_threshold(50);
  EXPECT_EQ(Similar("smith", list),
            (std::vector<std::string>{"smith", "smyth"}));
  api.set_threshold(101);  // ignored
  EXPECT_EQ(Similar("smith", list),
            (std::vector<std::string>{"smith", "smyth"}));
  api.set_threshold(0);
  EXPECT_EQ(Similar("smith", list),
            (std::vector<std::string>{"smith", "smyth"}));
  EXPECT_TRUE(Similar("123", list).empty());
}

TEST_F(ApiTest, SimilarWordsAveragesBothOrdersOfEqualLengths) {
  // catherine/katherine: 8.5/99 one way, 0.25 the other, so 0.17 at most.
  api.set_threshold(83);
  EXPECT_EQ(Similar("catherine", {"katherine"}),
            std::vector<std::string>{"katherine"});
  EXPECT_EQ(Similar("katherine", {"catherine"}),
            std::vector<std::string>{"catherine"});
  api.set_threshold(84);
  EXPECT_TRUE(Similar("katherine", {"catherine"}).empty());
}

TEST_F(ApiTest, CodesOfWords) {
  const std::pair<const char*, const char*> cases[] = {
      {"knight", "43"},      {"night", "43"}, {"catherine", "1374"},
      {"katherine", "1374"}, {"park", "51"},  {"hello", "108"},
      {"KNIGHT", ""},        {"eye", ""},     {"", ""},
  };
  for (const auto& [word, code] : cases) {
    char buffer[32] = "unchanged";
    EXPECT_EQ(api.get_codes_for_word(word, buffer, sizeof buffer),
              static_cast<int>(strlen(code)))
        << word;
    EXPECT_STREQ(buffer, code) << word;
  }
}

TEST_F(ApiTest, CodesWriteOnlyWhenBufferIsLongerThanCode) {
  char buffer[5] = "abcd";
  EXPECT_EQ(api.get_codes_for_word("catherine", buffer, 4), 4);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(api.get_codes_for_word("catherine", buffer, 0), 4);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(api.get_codes_for_word("catherine", buffer, 5), 4);
  EXPECT_STREQ(buffer, "1374");
  EXPECT_EQ(api.get_codes_for_word("eye", buffer, 1), 0);
  EXPECT_STREQ(buffer, "");
}

struct PhraseCase {
  const char* phrase;
  const char* text;
  int mode;
  int score;
  int start;
  int length;
};

TEST_F(ApiTest, PhrasePositionsCountTheNormalisedText) {
  const PhraseCase cases[] = {
      {"fox", "the quick fox", 0, 100, 10, 3},
      {"fox", "the  quick fox", 0, 100, 10, 3},
      {"fox", "  ...the quick, fox!", 0, 100, 10, 3},
      {"fox", "the quick's fox", 0, 100, 11, 3},
      {"FOX", "the quick fox", 1, 100, 10, 3},
      {"smith", "smith smith", 0, 100, 0, 5},  // ties go to the first
      {"fox fox", "the fox", 0, 100, 4, 3},    // same word counts once
      {"fox jones", "the fox", 0, 0, -1, 0},   // second word nowhere
      {"...", "the fox", 0, -1, 77, 77},
      {"fox", "!!!", 0, -1, 77, 77},
  };
  for (const PhraseCase& c : cases) {
    SCOPED_TRACE(std::string(c.phrase) + " / " + c.text);
    int start = 77, length = 77;
    EXPECT_EQ(api.match_sub_string_phonetically(c.phrase, c.text, &start,
                                                &length, c.mode),
              c.score);
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(length, c.length);
  }
}

TEST_F(ApiTest, PhraseScoreIsLengthWeighted) {
  // smith/smyth is 75 over five letters; fox/fox 100 over three.
  int start = 0, length = 0;
  EXPECT_EQ(api.match_sub_string_phonetically("fox smith", "a fox and smyth",
                                              &start, &length, 0),
            (3 * 100 + 5 * 75) / 8);
  EXPECT_EQ(start, 2);
  EXPECT_EQ(length, 3);
}

}  // namespace
}  // namespace marrowfield
