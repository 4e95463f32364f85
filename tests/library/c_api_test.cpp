// The pair finding library's C interface as its users reach it: options and
// their errors, scores held against the engine library's compare_words,
// many pairs at once on any number of threads, groups, links, keys, and
// explanations whose percentage is the engine's own.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lists_c_api.h"
#include "marrowfield.h"
#include "name_variants.h"

namespace marrowfield::lists::testing {
namespace {

class ListsCApi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(initialize(), 0); }
  static void TearDownTestSuite() { un_initialize(); }
};

// Distinct values of the committed single-name corpus.
std::vector<std::string> CorpusValues() {
  std::vector<std::string> values =
      ReadCorpusValues(MARROWFIELD_NAMES_DIR "/names.tsv");
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  return values;
}

// Pairs of corpus values: neighbours (mostly variants of one name) and
// values far apart (mostly unrelated), both orders.
std::vector<std::pair<std::string, std::string>> CorpusPairs() {
  const std::vector<std::string> values = CorpusValues();
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 1 < values.size(); ++i) {
    pairs.emplace_back(values[i], values[i + 1]);
    pairs.emplace_back(values[i + 1], values[i]);
    pairs.emplace_back(values[i], values[(i * 7919) % values.size()]);
  }
  return pairs;
}

TEST_F(ListsCApi, BadOptions_FailWithInvalidArgumentAndAMessage) {
  struct Case {
    const char* name;
    void (*set)(mf_options_t*);
  };
  const Case cases[] = {
      {"accuracy", [](mf_options_t* o) { mf_options_set_accuracy(o, 101); }},
      {"accuracy", [](mf_options_t* o) { mf_options_set_accuracy(o, -1); }},
      {"threads", [](mf_options_t* o) { mf_options_set_threads(o, -2); }},
      {"scoring", [](mf_options_t* o) { mf_options_set_scoring(o, 7); }},
  };
  for (const Case& c : cases) {
    Options options;
    c.set(options.get());
    Error error;
    int score = -1;
    EXPECT_EQ(mf_compare(options.get(), "a", "b", &score, error.out()),
              MF_INVALID_ARGUMENT)
        << c.name;
    EXPECT_NE(error.text().find(c.name), std::string::npos) << error.text();
    EXPECT_EQ(score, -1);
  }
}

TEST_F(ListsCApi, ErrorMessage_IsReplacedNotLeaked_AndNullErrptrIsAccepted) {
  Options options;
  Error error;
  EXPECT_EQ(mf_compare(options.get(), nullptr, "b", nullptr, error.out()),
            MF_INVALID_ARGUMENT);
  const std::string first = error.text();
  EXPECT_FALSE(first.empty());
  mf_options_set_accuracy(options.get(), 500);
  mf_groups_t* groups = nullptr;
  EXPECT_EQ(
      mf_dedupe(options.get(), nullptr, nullptr, 0, &groups, error.out()),
      MF_INVALID_ARGUMENT);
  EXPECT_NE(error.text(), first);
  EXPECT_EQ(groups, nullptr);
  EXPECT_EQ(mf_dedupe(nullptr, nullptr, nullptr, 0, &groups, nullptr),
            MF_INVALID_ARGUMENT);
}

TEST_F(ListsCApi, NullValues_AreRefusedNamingTheEntry) {
  Options options;
  const char* values[] = {"Smith", nullptr, "Smyth"};
  mf_groups_t* groups = nullptr;
  Error error;
  EXPECT_EQ(mf_dedupe(options.get(), values, nullptr, 3, &groups, error.out()),
            MF_INVALID_ARGUMENT);
  EXPECT_NE(error.text().find("[1]"), std::string::npos) << error.text();
  mf_links_t* links = nullptr;
  EXPECT_EQ(mf_link(options.get(), values, 1, nullptr, 2, &links, error.out()),
            MF_INVALID_ARGUMENT);
  const char* first[] = {"a", "b"};
  const char* second[] = {"c", nullptr};
  int scores[2];
  EXPECT_EQ(
      mf_compare_many(options.get(), first, second, 2, scores, error.out()),
      MF_INVALID_ARGUMENT);
}

TEST_F(ListsCApi, WholeCellStrictCompare_IsCompareWords) {
  Options options;
  mf_options_set_whole_cell(options.get(), 1);
  for (const auto& [a, b] : CorpusPairs()) {
    int score = -1;
    ASSERT_EQ(mf_compare(options.get(), a.c_str(), b.c_str(), &score, nullptr),
              MF_OK);
    ASSERT_EQ(score, compare_words(a.c_str(), b.c_str())) << a << " " << b;
  }
}

TEST_F(ListsCApi, CompareMany_EqualsOneCompareEach_ForAnyThreadCount) {
  const auto pairs = CorpusPairs();
  std::vector<const char*> first;
  std::vector<const char*> second;
  for (const auto& [a, b] : pairs) {
    first.push_back(a.c_str());
    second.push_back(b.c_str());
  }
  for (const int scoring : {MF_SCORING_STRICT, MF_SCORING_TOLERANT}) {
    for (const unsigned char wholeCell : {0, 1}) {
      Options options;
      mf_options_set_scoring(options.get(), scoring);
      mf_options_set_whole_cell(options.get(), wholeCell);
      std::vector<int> expected(pairs.size());
      for (size_t i = 0; i < pairs.size(); ++i) {
        ASSERT_EQ(mf_compare(options.get(), first[i], second[i], &expected[i],
                              nullptr),
                  MF_OK);
      }
      for (const int threads : {1, 2, 7}) {
        mf_options_set_threads(options.get(), threads);
        std::vector<int> scores(pairs.size(), -1);
        ASSERT_EQ(mf_compare_many(options.get(), first.data(), second.data(),
                                   pairs.size(), scores.data(), nullptr),
                  MF_OK);
        EXPECT_EQ(scores, expected)
            << "scoring " << scoring << ", whole cell " << int{wholeCell}
            << ", threads " << threads;
      }
    }
  }
}

TEST_F(ListsCApi, ExplanationPercentage_IsTheScore_InBothModes) {
  const auto pairs = CorpusPairs();
  ASSERT_GT(pairs.size(), 3000u);
  for (const int scoring : {MF_SCORING_STRICT, MF_SCORING_TOLERANT}) {
    Options options;
    mf_options_set_scoring(options.get(), scoring);
    mf_options_set_whole_cell(options.get(), 1);
    for (const auto& [a, b] : pairs) {
      Explanation explanation;
      ASSERT_EQ(mf_explain(options.get(), a.c_str(), b.c_str(),
                            explanation.out(), nullptr),
                MF_OK);
      int score = -1;
      ASSERT_EQ(
          mf_compare(options.get(), a.c_str(), b.c_str(), &score, nullptr),
          MF_OK);
      ASSERT_EQ(mf_explanation_percentage(explanation.get()), score)
          << a << " " << b << " scoring " << scoring;
      if (scoring == MF_SCORING_STRICT) {
        ASSERT_EQ(score, compare_words(a.c_str(), b.c_str()));
      }
      // The text ends with the percentage it explains.
      const std::string text = mf_explanation_text(explanation.get());
      const std::string last = "percentage: " + std::to_string(score) + "\n";
      ASSERT_GE(text.size(), last.size());
      ASSERT_EQ(text.substr(text.size() - last.size()), last) << text;
    }
  }
}

// Tolerant scoring may set two unlike phones against each other; the text
// names both, not just the walked word's phone as if it were passed over.
TEST_F(ListsCApi, ExplanationText_NamesBothPhonesOfAForcedPairing) {
  struct Case {
    const char* first;
    const char* second;
    const char* line;
  };
  const Case cases[] = {
      {"Martin", "Marvin", "paired t with v at a cost, distance 50"},
      {"Dalton", "Walton", "paired d with w at a cost, distance 50"},
      {"Gordon", "Morton", "paired g with m at a cost, distance 50"},
  };
  Options options;
  mf_options_set_scoring(options.get(), MF_SCORING_TOLERANT);
  for (const Case& c : cases) {
    Explanation explanation;
    ASSERT_EQ(mf_explain(options.get(), c.first, c.second, explanation.out(),
                         nullptr),
              MF_OK);
    const std::string text = mf_explanation_text(explanation.get());
    EXPECT_NE(text.find(c.line), std::string::npos) << text;
    EXPECT_EQ(text.find("passed over"), std::string::npos) << text;
  }
}

TEST_F(ListsCApi, ExplanationPhones_AreTheEnginesPhones) {
  Options options;
  Explanation explanation;
  ASSERT_EQ(
      mf_explain(options.get(), "Knight", "42", explanation.out(), nullptr),
      MF_OK);
  ResultIterator* phones = get_phonemes("Knight", MODE_LEXICON);
  std::string expected;
  for (int i = 0; i < get_result_size(phones); ++i) {
    if (i > 0) expected += " ";
    expected += get_result_item(phones, i);
  }
  close_result_iterator(phones);
  EXPECT_EQ(mf_explanation_phones(explanation.get(), 1), expected);
  EXPECT_STREQ(mf_explanation_phones(explanation.get(), 2), "");
  EXPECT_STREQ(mf_explanation_phones(explanation.get(), 3), "");
  EXPECT_EQ(mf_explanation_percentage(explanation.get()), 0);
  EXPECT_EQ(mf_explanation_distance(explanation.get()), -1.0);
}

TEST_F(ListsCApi, Groups_HoldEachValueOnce_CanonicalFirst_ScoresAsCompared) {
  const std::vector<std::string> values = CorpusValues();
  std::vector<const char*> pointers;
  std::vector<uint64_t> counts;
  for (size_t i = 0; i < values.size(); ++i) {
    pointers.push_back(values[i].c_str());
    counts.push_back(1 + i % 3);
  }
  Options options;
  mf_options_set_accuracy(options.get(), 80);
  Groups groups;
  ASSERT_EQ(mf_dedupe(options.get(), pointers.data(), counts.data(),
                       pointers.size(), groups.out(), nullptr),
            MF_OK);
  ASSERT_GT(mf_groups_count(groups.get()), 0u);
  std::vector<int> seen(values.size(), 0);
  uint64_t previousTotal = UINT64_MAX;
  for (size_t g = 0; g < mf_groups_count(groups.get()); ++g) {
    const size_t canonical = mf_groups_canonical(groups.get(), g);
    const size_t members = mf_groups_member_count(groups.get(), g);
    ASSERT_GE(members, 2u);
    EXPECT_EQ(mf_groups_member_value(groups.get(), g, 0), canonical);
    uint64_t total = 0;
    for (size_t m = 0; m < members; ++m) {
      const size_t value = mf_groups_member_value(groups.get(), g, m);
      ASSERT_LT(value, values.size());
      ++seen[value];
      total += counts[value];
      EXPECT_LE(counts[value], counts[canonical]);
      int score = -1;
      ASSERT_EQ(mf_compare(options.get(), pointers[canonical], pointers[value],
                            &score, nullptr),
                MF_OK);
      EXPECT_EQ(mf_groups_member_score(groups.get(), g, m), score);
      EXPECT_LT(mf_groups_member_via(groups.get(), g, m), values.size());
    }
    EXPECT_LE(total, previousTotal) << "groups are biggest first";
    previousTotal = total;
  }
  for (size_t i = 0; i < values.size(); ++i) ASSERT_LE(seen[i], 1) << values[i];
  for (size_t p = 0; p < mf_groups_pair_count(groups.get()); ++p) {
    size_t first = 0;
    size_t second = 0;
    int score = 0;
    ASSERT_EQ(mf_groups_pair(groups.get(), p, &first, &second, &score), 1);
    EXPECT_LT(first, second);
    EXPECT_GE(score, 80);
    EXPECT_EQ(seen[first], 1);
    EXPECT_EQ(seen[second], 1);
  }
}

TEST_F(ListsCApi, Accessors_OutOfRange_GiveTheirFailureValues) {
  Options options;
  const char* values[] = {"Smith", "Smyth", "Jones"};
  Groups groups;
  ASSERT_EQ(
      mf_dedupe(options.get(), values, nullptr, 3, groups.out(), nullptr),
      MF_OK);
  const size_t count = mf_groups_count(groups.get());
  EXPECT_EQ(mf_groups_canonical(groups.get(), count), SIZE_MAX);
  EXPECT_EQ(mf_groups_member_count(groups.get(), count), 0u);
  EXPECT_EQ(mf_groups_member_value(groups.get(), 0, 99), SIZE_MAX);
  EXPECT_EQ(mf_groups_member_score(groups.get(), count, 0), 0);
  EXPECT_EQ(mf_groups_pair(groups.get(), 99, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(mf_groups_count(nullptr), 0u);
  EXPECT_EQ(mf_links_match_count(nullptr, 0), 0u);
  EXPECT_EQ(mf_links_match_value(nullptr, 0, 0), SIZE_MAX);
  EXPECT_EQ(mf_strings_item(nullptr, 0), nullptr);
  EXPECT_STREQ(mf_explanation_text(nullptr), "");
  mf_groups_destroy(nullptr);
  mf_links_destroy(nullptr);
  mf_strings_destroy(nullptr);
  mf_explanation_destroy(nullptr);
  mf_options_destroy(nullptr);
}

TEST_F(ListsCApi, NoValues_GiveNoGroupsAndNoLinks) {
  Options options;
  Groups groups;
  ASSERT_EQ(
      mf_dedupe(options.get(), nullptr, nullptr, 0, groups.out(), nullptr),
      MF_OK);
  EXPECT_EQ(mf_groups_count(groups.get()), 0u);
  const char* a[] = {"Smith"};
  Links links;
  ASSERT_EQ(mf_link(options.get(), a, 1, nullptr, 0, links.out(), nullptr),
            MF_OK);
  EXPECT_EQ(mf_links_match_count(links.get(), 0), 0u);
}

TEST_F(ListsCApi, Links_AreBestFirst_AndBestOnlyKeepsEveryTie) {
  const std::vector<std::string> values = CorpusValues();
  std::vector<const char*> pointers;
  for (const std::string& value : values) pointers.push_back(value.c_str());
  const size_t half = pointers.size() / 2;
  for (const unsigned char bestOnly : {0, 1}) {
    Options options;
    mf_options_set_accuracy(options.get(), 70);
    mf_options_set_best_only(options.get(), bestOnly);
    Links links;
    ASSERT_EQ(
        mf_link(options.get(), pointers.data(), half, pointers.data() + half,
                 pointers.size() - half, links.out(), nullptr),
        MF_OK);
    size_t linked = 0;
    for (size_t a = 0; a < half; ++a) {
      const size_t matches = mf_links_match_count(links.get(), a);
      linked += matches > 0;
      for (size_t k = 0; k < matches; ++k) {
        const size_t b = mf_links_match_value(links.get(), a, k);
        const int score = mf_links_match_score(links.get(), a, k);
        int expected = -1;
        ASSERT_EQ(mf_compare(options.get(), pointers[a], pointers[half + b],
                              &expected, nullptr),
                  MF_OK);
        EXPECT_EQ(score, expected);
        EXPECT_GE(score, 70);
        if (k > 0) {
          EXPECT_LE(score, mf_links_match_score(links.get(), a, k - 1));
        }
        if (bestOnly) {
          EXPECT_EQ(score, mf_links_match_score(links.get(), a, 0));
        }
      }
    }
    EXPECT_GT(linked, 0u);
  }
}

TEST_F(ListsCApi, Progress_ReportsNoMoreThanTheTotal) {
  struct Seen {
    int calls = 0;
    bool overTotal = false;
  } seen;
  const std::vector<std::string> values = CorpusValues();
  std::vector<const char*> pointers;
  for (const std::string& value : values) pointers.push_back(value.c_str());
  Options options;
  mf_options_set_progress(
      options.get(),
      [](void* state, uint64_t done, uint64_t total) {
        auto* s = static_cast<Seen*>(state);
        ++s->calls;
        if (done > total) s->overTotal = true;
      },
      &seen);
  Groups groups;
  ASSERT_EQ(mf_dedupe(options.get(), pointers.data(), nullptr, pointers.size(),
                       groups.out(), nullptr),
            MF_OK);
  EXPECT_GT(seen.calls, 0);
  EXPECT_FALSE(seen.overTotal);
}

TEST_F(ListsCApi, Keys_AreSortedDistinctPrintable_AndNoneWithoutLetters) {
  for (const char* value : {"Smith", "Thompson", "Catherine", "O'Neill"}) {
    Strings keys;
    ASSERT_EQ(mf_keys(nullptr, value, keys.out(), nullptr), MF_OK);
    ASSERT_GT(mf_strings_count(keys.get()), 0u) << value;
    std::string previous;
    for (size_t i = 0; i < mf_strings_count(keys.get()); ++i) {
      const std::string key = mf_strings_item(keys.get(), i);
      EXPECT_TRUE(i == 0 || previous < key) << value;
      for (const char c : key) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << value;
      previous = key;
    }
  }
  Strings none;
  ASSERT_EQ(mf_keys(nullptr, "12 34", none.out(), nullptr), MF_OK);
  EXPECT_EQ(mf_strings_count(none.get()), 0u);
  EXPECT_EQ(mf_keys(nullptr, nullptr, none.out(), nullptr), MF_INVALID_ARGUMENT);
}

TEST_F(ListsCApi, Keys_OfValuesScoringAtTheKeysAccuracy_Meet) {
  Options options;
  mf_options_set_whole_cell(options.get(), 1);
  size_t pairs = 0;
  size_t sharing = 0;
  for (const auto& [a, b] : CorpusPairs()) {
    int score = 0;
    ASSERT_EQ(mf_compare(options.get(), a.c_str(), b.c_str(), &score, nullptr),
              MF_OK);
    if (score < mf_keys_min_accuracy()) continue;
    Strings keysA;
    Strings keysB;
    ASSERT_EQ(mf_keys(nullptr, a.c_str(), keysA.out(), nullptr), MF_OK);
    ASSERT_EQ(mf_keys(nullptr, b.c_str(), keysB.out(), nullptr), MF_OK);
    std::vector<std::string> setA;
    for (size_t i = 0; i < mf_strings_count(keysA.get()); ++i) {
      setA.emplace_back(mf_strings_item(keysA.get(), i));
    }
    bool shared = false;
    for (size_t i = 0; i < mf_strings_count(keysB.get()) && !shared; ++i) {
      shared =
          std::binary_search(setA.begin(), setA.end(),
                             std::string(mf_strings_item(keysB.get(), i)));
    }
    ++pairs;
    sharing += shared;
  }
  ASSERT_GT(pairs, 100u);
  EXPECT_GE(static_cast<double>(sharing) / static_cast<double>(pairs), 0.995);
}

}  // namespace
}  // namespace marrowfield::lists::testing
