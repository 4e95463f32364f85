// Many threads calling the exported interface at once must get exactly the
// results of a single-threaded run. Run under ThreadSanitizer in CI.

#include <thread>

#include "library_api.h"
#include "word_samples.h"

namespace marrowfield {
namespace {

struct CallResult {
  int compared;
  std::vector<std::string> phones;
  std::vector<std::string> similar;
  int codeLength;
  std::string code;
  int phrase;
  int start;
  int length;
  bool operator==(const CallResult& o) const {
    return compared == o.compared && phones == o.phones &&
           similar == o.similar && codeLength == o.codeLength &&
           code == o.code && phrase == o.phrase && start == o.start &&
           length == o.length;
  }
};

CallResult RunCall(const LibraryApi& api, const std::vector<std::string>& words,
                   size_t k) {
  const std::string& a = words[k % words.size()];
  const std::string& b = words[(k * 7 + 3) % words.size()];
  CallResult r{};
  r.compared = api.compare_words(a.c_str(), b.c_str());
  r.phones = api.Drain(api.get_phonemes(a.c_str(), static_cast<int>(k % 2)));
  std::vector<const char*> list;
  for (size_t n = 0; n < 12; ++n) {
    list.push_back(words[(k + n * 13) % words.size()].c_str());
  }
  r.similar = api.Drain(api.get_similar_words_from_list(
      a.c_str(), list.data(), static_cast<unsigned>(list.size())));
  char buffer[64] = "";
  r.codeLength = api.get_codes_for_word(a.c_str(), buffer, sizeof buffer);
  r.code = buffer;
  const std::string text = b + " " + a + " " + list[3];
  r.phrase = api.match_sub_string_phonetically(
      b.c_str(), text.c_str(), &r.start, &r.length, static_cast<int>(k % 2));
  return r;
}

TEST(ApiThreadsTest, ConcurrentCallsMatchSingleThreadedRun) {
  const LibraryApi& api = Library();
  ASSERT_EQ(api.initialize(), 0);
  api.set_threshold(40);
  const std::vector<std::string> words = SampleWords(300);
  constexpr size_t kCalls = 400;

  std::vector<CallResult> expected;
  for (size_t k = 0; k < kCalls; ++k)
    expected.push_back(RunCall(api, words, k));

  constexpr size_t kThreads = 6;
  std::vector<std::vector<CallResult>> got(kThreads);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Each thread walks the calls from its own starting point, so that
      // different calls overlap.
      got[t].resize(kCalls);
      for (size_t n = 0; n < kCalls; ++n) {
        const size_t k = (n + t * 61) % kCalls;
        got[t][k] = RunCall(api, words, k);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  for (size_t t = 0; t < kThreads; ++t) {
    for (size_t k = 0; k < kCalls; ++k) {
      EXPECT_TRUE(got[t][k] == expected[k]) << "thread " << t << " call " << k;
    }
  }
  api.set_threshold(50);
}

TEST(ApiThreadsTest, ReinitialisingWhileOthersCompareIsSafe) {
  const LibraryApi& api = Library();
  ASSERT_EQ(api.initialize(), 0);
  const int expected = api.compare_words("catherine", "katherine");
  std::vector<std::thread> threads;
  std::vector<int> bad(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int n = 0; n < 300; ++n) {
        const int score = api.compare_words("catherine", "katherine");
        // Between un_initialize and initialize a call answers 0.
        if (score != expected && score != 0) ++bad[t];
      }
    });
  }
  for (int n = 0; n < 50; ++n) {
    api.un_initialize();
    api.initialize();
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(bad[t], 0);
  EXPECT_EQ(api.compare_words("catherine", "katherine"), expected);
}

}  // namespace
}  // namespace marrowfield
