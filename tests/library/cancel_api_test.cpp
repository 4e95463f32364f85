// Stopping a dedupe or a link through the product interface's cancel
// callback: a callback that says stop ends the call with MF_CANCELLED and
// no result, soon after it first answers, on any thread count; one that
// never says stop changes nothing in the results; and it is asked often
// enough that no stretch of work goes unpolled.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "lists_c_api.h"
#include "name_variants.h"

namespace marrowfield::lists::testing {
namespace {

// Counts the questions and says stop from the |stopAt|-th on (never when
// it is 0). Several worker threads may ask at once.
struct CancelAfter {
  explicit CancelAfter(unsigned long stopAt) : stopAt(stopAt) {}
  static int Ask(void* state) {
    auto* self = static_cast<CancelAfter*>(state);
    const unsigned long asked = ++self->asked;
    return self->stopAt != 0 && asked >= self->stopAt ? 1 : 0;
  }
  const unsigned long stopAt;
  std::atomic<unsigned long> asked{0};
};

std::vector<std::string> DistinctCorpusValues() {
  std::vector<std::string> values =
      ReadCorpusValues(MARROWFIELD_NAMES_DIR "/names.tsv");
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  return values;
}

std::vector<const char*> PointersTo(const std::vector<std::string>& values) {
  std::vector<const char*> pointers;
  for (const std::string& value : values) pointers.push_back(value.c_str());
  return pointers;
}

enum class Call { kDedupe, kLink };

// Runs a dedupe of |values|, or a link of its first half against all of
// it, under |options|; the status, with the pair count when it succeeded.
struct Outcome {
  int status = -1;
  size_t pairs = 0;
  std::string message;
  bool resultWritten = false;
};

Outcome RunCall(Call call, const mf_options_t* options,
                const std::vector<const char*>& values) {
  Outcome outcome;
  Error error;
  if (call == Call::kDedupe) {
    Groups groups;
    outcome.status = mf_dedupe(options, values.data(), nullptr, values.size(),
                               groups.out(), error.out());
    outcome.resultWritten = groups.get() != nullptr;
    outcome.pairs = mf_groups_pair_count(groups.get());
  } else {
    Links links;
    outcome.status =
        mf_link(options, values.data(), values.size() / 2, values.data(),
                values.size(), links.out(), error.out());
    outcome.resultWritten = links.get() != nullptr;
    for (size_t a = 0; a < values.size() / 2; ++a)
      outcome.pairs += mf_links_match_count(links.get(), a);
  }
  outcome.message = error.text();
  return outcome;
}

TEST(CancelApi, SayingStop_EndsTheCallWithCancelledAndNoResult_SoonAfter) {
  const std::vector<std::string> values = DistinctCorpusValues();
  const std::vector<const char*> pointers = PointersTo(values);
  struct Case {
    Call call;
    int threads;
    unsigned long stopAt;  // early in the keying, or among the scoring
  };
  // Every value is asked about once as it is keyed and once as its
  // candidates are scored: these stop half way through the scoring.
  const unsigned long n = values.size();
  const unsigned long dedupeScoring = n + n / 2;
  const unsigned long linkScoring = n / 2 + n + n / 4;
  const Case cases[] = {
      {Call::kDedupe, 1, 10},        {Call::kDedupe, 1, dedupeScoring},
      {Call::kDedupe, 4, 10},        {Call::kDedupe, 4, dedupeScoring},
      {Call::kLink, 1, 10},          {Call::kLink, 1, linkScoring},
      {Call::kLink, 4, linkScoring},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "link " << (c.call == Call::kLink) << ", threads "
                 << c.threads << ", stop at " << c.stopAt);
    CancelAfter cancel(c.stopAt);
    Options options;
    mf_options_set_threads(options.get(), c.threads);
    mf_options_set_cancel(options.get(), &CancelAfter::Ask, &cancel);
    const Outcome outcome = RunCall(c.call, options.get(), pointers);
    EXPECT_EQ(outcome.status, MF_CANCELLED);
    EXPECT_EQ(outcome.message, "cancelled");
    EXPECT_FALSE(outcome.resultWritten);
    // Each thread asks at most once more after the first stop.
    EXPECT_GE(cancel.asked.load(), c.stopAt);
    EXPECT_LE(cancel.asked.load(),
              c.stopAt + static_cast<unsigned long>(c.threads));
  }
}

TEST(CancelApi, NeverSayingStop_GivesTheSameResultsAsNoCallback) {
  const std::vector<std::string> values = DistinctCorpusValues();
  const std::vector<const char*> pointers = PointersTo(values);
  for (const Call call : {Call::kDedupe, Call::kLink}) {
    for (const int threads : {1, 3}) {
      Options plain;
      mf_options_set_threads(plain.get(), threads);
      CancelAfter never(0);
      Options asked;
      mf_options_set_threads(asked.get(), threads);
      mf_options_set_cancel(asked.get(), &CancelAfter::Ask, &never);
      const Outcome expected = RunCall(call, plain.get(), pointers);
      const Outcome outcome = RunCall(call, asked.get(), pointers);
      ASSERT_EQ(expected.status, MF_OK);
      EXPECT_EQ(outcome.status, MF_OK);
      EXPECT_GT(expected.pairs, 0u);
      EXPECT_EQ(outcome.pairs, expected.pairs);
      EXPECT_GE(never.asked.load(), values.size());
    }
  }
}

TEST(CancelApi, UnpolledWork_IsNeverMoreThanAFewHundredPairs) {
  // Below the keys' accuracy every pair is scored, a value's candidates
  // being every other value: the questions must come from inside that
  // loop, not only between values (twice per value would be too few).
  const std::vector<std::string> all = DistinctCorpusValues();
  const std::vector<std::string> values(all.begin(), all.begin() + 1500);
  const std::vector<const char*> pointers = PointersTo(values);
  Options options;
  ASSERT_LT(10, mf_keys_min_accuracy());
  mf_options_set_accuracy(options.get(), 10);
  mf_options_set_threads(options.get(), 1);
  CancelAfter never(0);
  mf_options_set_cancel(options.get(), &CancelAfter::Ask, &never);
  ASSERT_EQ(RunCall(Call::kDedupe, options.get(), pointers).status, MF_OK);
  const unsigned long pairs = values.size() * (values.size() - 1) / 2;
  EXPECT_GE(never.asked.load(), pairs / 256);
}

TEST(CancelApi, NullOptions_AreIgnoredBySetCancel) {
  mf_options_set_cancel(nullptr, &CancelAfter::Ask, nullptr);
  Options options;
  mf_options_set_cancel(options.get(), nullptr, nullptr);
  const char* values[] = {"Smith", "Smyth"};
  Groups groups;
  EXPECT_EQ(mf_dedupe(options.get(), values, nullptr, 2, groups.out(), nullptr),
            MF_OK);
  EXPECT_EQ(mf_groups_count(groups.get()), 1u);
}

}  // namespace
}  // namespace marrowfield::lists::testing
