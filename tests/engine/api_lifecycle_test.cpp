// The exported interface's lifecycle and its answers to bad input: calls
// before initialize, after un_initialize, null pointers, indexes out of
// range, high bytes and very long words.

#include "library_api.h"

namespace marrowfield {
namespace {

// Runs first (gtest keeps declaration order within a file) so that the
// library is still in its freshly loaded state.
TEST(ApiLifecycleTest, BeforeInitializeEverythingReturnsFailureValues) {
  const LibraryApi& api = Library();
  EXPECT_EQ(api.compare_words("smith", "smith"), 0);
  EXPECT_TRUE(api.Drain(api.get_phonemes("smith", 0)).empty());
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(api.get_codes_for_word("knight", buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "xxxxxxx");
  const char* list[] = {"smith"};
  EXPECT_TRUE(
      api.Drain(api.get_similar_words_from_list("smith", list, 1)).empty());
  int start = 7, length = 7;
  EXPECT_EQ(api.match_sub_string_phonetically("fox", "fox", &start, &length, 0),
            -1);
  EXPECT_EQ(start, 7);
  api.un_initialize();  // harmless before initialize
}

TEST(ApiLifecycleTest, InitializeTwiceThenReleaseKeepsTranscription) {
  const LibraryApi& api = Library();
  EXPECT_EQ(api.initialize(), 0);
  EXPECT_EQ(api.initialize(), 0);
  EXPECT_EQ(api.compare_words("smith", "smith"), 100);
  api.un_initialize();
  api.un_initialize();
  EXPECT_EQ(api.compare_words("smith", "smith"), 0);
  EXPECT_EQ(api.Drain(api.get_phonemes("smith", 0)),
            (std::vector<std::string>{"s", "m", "ih", "th"}));
  EXPECT_EQ(api.initialize(), 0);
  EXPECT_EQ(api.compare_words("smith", "smith"), 100);
}

TEST(ApiLifecycleTest, NullPointersAndBadIndexesNeverCrash) {
  const LibraryApi& api = Library();
  ASSERT_EQ(api.initialize(), 0);
  EXPECT_EQ(api.compare_words(nullptr, "smith"), 0);
  EXPECT_EQ(api.compare_words("smith", nullptr), 0);
  EXPECT_TRUE(api.Drain(api.get_phonemes(nullptr, 0)).empty());
  EXPECT_EQ(api.get_result_size(nullptr), 0);
  EXPECT_EQ(api.get_result_item(nullptr, 0), nullptr);
  api.close_result_iterator(nullptr);

  ResultIterator* handle = api.get_phonemes("knight", 0);
  ASSERT_EQ(api.get_result_size(handle), 3);
  EXPECT_EQ(api.get_result_item(handle, -1), nullptr);
  EXPECT_EQ(api.get_result_item(handle, 3), nullptr);
  EXPECT_STREQ(api.get_result_item(handle, 2), "t");
  api.close_result_iterator(handle);

  EXPECT_EQ(api.get_codes_for_word(nullptr, nullptr, 10), 0);
  EXPECT_EQ(api.get_codes_for_word("knight", nullptr, 10), 2);
  EXPECT_TRUE(
      api.Drain(api.get_similar_words_from_list(nullptr, nullptr, 3)).empty());
  const char* list[] = {nullptr, "smith", nullptr};
  EXPECT_EQ(api.Drain(api.get_similar_words_from_list("smith", list, 3)),
            std::vector<std::string>{"smith"});
  int start = 0, length = 0;
  EXPECT_EQ(api.match_sub_string_phonetically(nullptr, "a", &start, &length, 0),
            -1);
  EXPECT_EQ(api.match_sub_string_phonetically("a", nullptr, &start, &length, 0),
            -1);
  EXPECT_EQ(
      api.match_sub_string_phonetically("fox", "fox", nullptr, &length, 0), -1);
  EXPECT_EQ(api.match_sub_string_phonetically("fox", "fox", &start, nullptr, 0),
            -1);
}

TEST(ApiLifecycleTest, HighBytesAndVeryLongWordsAreHandled) {
  const LibraryApi& api = Library();
  ASSERT_EQ(api.initialize(), 0);
  std::string high;
  for (int c = 0x80; c <= 0xff; ++c) high.push_back(static_cast<char>(c));
  EXPECT_EQ(api.compare_words(high.c_str(), "smith"), 0);
  EXPECT_TRUE(api.Drain(api.get_phonemes(high.c_str(), 1)).empty());
  char buffer[4];
  EXPECT_EQ(api.get_codes_for_word(high.c_str(), buffer, sizeof buffer), 0);
  // High bytes separate like spaces.
  EXPECT_EQ(
      api.compare_words(("sm" + high + "ith").c_str(), "smith"),
      api.compare_words(("sm" + std::string(high.size(), ' ') + "ith").c_str(),
                        "smith"));

  const std::string longWord(100000, 'a');
  const std::string longName = [] {
    std::string s;
    while (s.size() < 100000) s += "smithson";
    return s;
  }();
  const int score = api.compare_words(longName.c_str(), longWord.c_str());
  EXPECT_GE(score, 0);
  EXPECT_LE(score, 100);
  EXPECT_EQ(api.compare_words(longName.c_str(), longName.c_str()), 100);
  EXPECT_FALSE(api.Drain(api.get_phonemes(longName.c_str(), 0)).empty());
}

TEST(ApiLifecycleTest, ThresholdIgnoresValuesAbove100) {
  const LibraryApi& api = Library();
  ASSERT_EQ(api.initialize(), 0);
  // smith/smyth are at distance 0.25 in both orders.
  const char* list[] = {"smyth"};
  api.set_threshold(80);  // distance 0.2
  EXPECT_TRUE(
      api.Drain(api.get_similar_words_from_list("smith", list, 1)).empty());
  api.set_threshold(101);
  api.set_threshold(static_cast<unsigned int>(-1));
  EXPECT_TRUE(
      api.Drain(api.get_similar_words_from_list("smith", list, 1)).empty());
  api.set_threshold(75);  // distance 0.25, accepted at equality
  EXPECT_EQ(api.Drain(api.get_similar_words_from_list("smith", list, 1)),
            std::vector<std::string>{"smyth"});
  api.set_threshold(50);
}

}  // namespace
}  // namespace marrowfield
