// The product interface's word functions (phones, codes, folding, phrase
// match, list search, the skeleton key) and its promise that any function
// may run on many threads at once: each held against the engine's fixed
// interface, which promises the same answers.

#include <gtest/gtest.h>

#include <string>
#include <functional>
#include <thread>
#include <vector>

#include "lists_c_api.h"
#include "marrowfield.h"
#include "name_variants.h"

namespace marrowfield::lists::testing {
namespace {

class WordsApi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(initialize(), 0); }
  static void TearDownTestSuite() { un_initialize(); }
};

std::vector<std::string> Items(const mf_strings_t* strings) {
  std::vector<std::string> items;
  for (size_t i = 0; i < mf_strings_count(strings); ++i)
    items.emplace_back(mf_strings_item(strings, i));
  return items;
}

std::vector<std::string> Drain(ResultIterator* list) {
  std::vector<std::string> items;
  for (int i = 0; i < get_result_size(list); ++i)
    items.emplace_back(get_result_item(list, i));
  close_result_iterator(list);
  return items;
}

std::vector<std::string> Similar(const mf_options_t* options, const char* word,
                                 const std::vector<const char*>& list) {
  Strings found;
  EXPECT_EQ(mf_similar(options, word, list.data(), list.size(), found.out(),
                       nullptr),
            MF_OK);
  return Items(found.get());
}

TEST_F(WordsApi, Similar_WholeCellStrict_IsTheEnginesListSearch) {
  const std::vector<std::string> names =
      ReadCorpusValues(MARROWFIELD_NAMES_DIR "/names.tsv");
  std::vector<const char*> list;
  for (size_t i = 0; i < names.size() && list.size() < 300; i += 7)
    list.push_back(names[i].c_str());
  list.push_back(nullptr);  // skipped by both
  Options options;
  mf_options_set_whole_cell(options.get(), 1);
  for (const unsigned level : {0u, 50u, 60u, 75u, 100u}) {
    mf_options_set_accuracy(options.get(), static_cast<int>(level));
    set_threshold(level);
    for (const char* word : {"Smith", "Catherine", "Thompson", "12"}) {
      EXPECT_EQ(Similar(options.get(), word, list),
                Drain(get_similar_words_from_list(
                    word, list.data(), static_cast<unsigned>(list.size()))))
          << word << " at " << level;
    }
  }
  set_threshold(50);
}

TEST_F(WordsApi, Similar_FoldsAndScoresByMode_ButAnswersEntriesAsGiven) {
  const std::vector<const char*> list = {"Jos\xc3\xa9", "Thomson", "Jones"};
  Options options;
  mf_options_set_whole_cell(options.get(), 1);
  EXPECT_EQ(Similar(options.get(), "Jose", list),
            std::vector<std::string>{});
  mf_options_set_fold(options.get(), MF_FOLD_UTF8);
  EXPECT_EQ(Similar(options.get(), "Jose", list),
            std::vector<std::string>{"Jos\xc3\xa9"});
  EXPECT_EQ(Similar(options.get(), "Thompson", list),
            std::vector<std::string>{});
  mf_options_set_scoring(options.get(), MF_SCORING_TOLERANT);
  EXPECT_EQ(Similar(options.get(), "Thompson", list),
            std::vector<std::string>{"Thomson"});
}

TEST_F(WordsApi, Fold_AsEveryLayerFolds_AndRefusesAnUnknownFolding) {
  struct Case {
    const char* text;
    int fold;
    const char* folded;
  };
  const Case cases[] = {
      {"Jos\xc3\xa9", MF_FOLD_UTF8, "Jose"},
      {"Stra\xc3\x9f" "e", MF_FOLD_UTF8, "Strasse"},
      {"Jos\xe9", MF_FOLD_WINDOWS1252, "Jose"},
      {"Jos\xc3\xa9", MF_FOLD_NONE, "Jos\xc3\xa9"},
      {"plain", MF_FOLD_UTF8, "plain"},
  };
  for (const Case& c : cases) {
    char* folded = nullptr;
    ASSERT_EQ(mf_fold(c.text, c.fold, &folded, nullptr), MF_OK);
    EXPECT_STREQ(folded, c.folded);
    mf_free(folded);
  }
  char* folded = nullptr;
  Error error;
  EXPECT_EQ(mf_fold("x", 7, &folded, error.out()), MF_INVALID_ARGUMENT);
  EXPECT_EQ(folded, nullptr);
  EXPECT_FALSE(error.text().empty());
}

TEST_F(WordsApi, PhonesCodesAndPhrases_AreTheFixedInterfacesAnswers) {
  for (const char* word : {"Knight", "smith", "O'Neil", "42", ""}) {
    for (const int mode : {MODE_LEXICON, MODE_LTS_ONLY}) {
      Strings phones;
      ASSERT_EQ(mf_phones(word, mode, phones.out(), nullptr), MF_OK);
      EXPECT_EQ(Items(phones.get()), Drain(get_phonemes(word, mode))) << word;
    }
    char* code = nullptr;
    ASSERT_EQ(mf_code(word, &code, nullptr), MF_OK);
    char buffer[64];
    ASSERT_EQ(get_codes_for_word(word, buffer, sizeof buffer),
              static_cast<int>(std::string(code).size()));
    EXPECT_STREQ(code, std::string(code).empty() ? "" : buffer) << word;
    mf_free(code);
    int score = 0, start = 0, length = 0, start2 = 0, length2 = 0;
    ASSERT_EQ(mf_match(word, "the quick fox and a knight", MF_PHONES_LEXICON,
                       &score, &start, &length, nullptr),
              MF_OK);
    const int expected = match_sub_string_phonetically(
        word, "the quick fox and a knight", &start2, &length2, MODE_LEXICON);
    EXPECT_EQ(score, expected) << word;
    if (expected >= 0) {
      EXPECT_EQ(start, start2) << word;
      EXPECT_EQ(length, length2) << word;
    }
  }
}

TEST_F(WordsApi, SkeletonKey_IsSharedByEveryStrictlyRelatedPair) {
  const std::vector<std::string> names =
      ReadCorpusValues(MARROWFIELD_NAMES_DIR "/names.tsv");
  auto key = [](const std::string& value) {
    Strings keys;
    EXPECT_EQ(mf_skeleton_key(nullptr, value.c_str(), keys.out(), nullptr),
              MF_OK);
    return Items(keys.get());
  };
  size_t related = 0;
  for (size_t i = 0; i + 1 < names.size(); ++i) {
    if (compare_words(names[i].c_str(), names[i + 1].c_str()) == 0) continue;
    ++related;
    ASSERT_EQ(key(names[i]), key(names[i + 1])) << names[i] << names[i + 1];
  }
  EXPECT_GT(related, 100u);
  EXPECT_TRUE(key("1234").empty());
}

// Four threads at once, each its own options, give the answers of one.
TEST_F(WordsApi, ManyThreads_GiveTheAnswersOfOne) {
  const std::vector<std::string> names =
      ReadCorpusValues(MARROWFIELD_NAMES_DIR "/names.tsv");
  auto work = [&names](int scoring, std::vector<int>& scores) {
    Options options;
    mf_options_set_scoring(options.get(), scoring);
    mf_options_set_threads(options.get(), 1);
    for (size_t i = 0; i + 1 < names.size(); i += 3) {
      int score = -1;
      if (mf_compare(options.get(), names[i].c_str(), names[i + 1].c_str(),
                     &score, nullptr) != MF_OK) {
        score = -1;
      }
      scores.push_back(score);
    }
  };
  std::vector<int> alone[2];
  work(MF_SCORING_STRICT, alone[0]);
  work(MF_SCORING_TOLERANT, alone[1]);
  std::vector<std::vector<int>> together(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back(work, t % 2, std::ref(together[t]));
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(together[t], alone[t % 2]) << t;
}

}  // namespace
}  // namespace marrowfield::lists::testing
