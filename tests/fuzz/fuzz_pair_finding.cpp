// Fuzzes pair finding against the obviously correct way: score every pair.
// Random small lists, in each scoring mode, whole cell or word by word, at
// an accuracy the blocking keys serve: every pair that the exhaustive
// scoring puts at or above the accuracy must be found, with the same
// score, and nothing else may be, for duplicates within one list and for
// links across two.

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_require.h"
#include "pair_finder.h"
#include "fuzz_input.h"

namespace marrowfield::lists {
namespace {

constexpr size_t kMaxValues = 16;
constexpr size_t kMaxValueBytes = 40;

// Every (i, j) of the two lists (j > i within one list) that scores at
// least the accuracy, as pair finding orders them.
std::vector<ValuePair> AllPairs(const std::vector<std::string>& a,
                                const std::vector<std::string>* b,
                                const PairOptions& options) {
  std::vector<ValuePair> pairs;
  const std::vector<std::string>& other = b != nullptr ? *b : a;
  for (size_t i = 0; i < a.size(); ++i) {
    for (size_t j = b != nullptr ? 0 : i + 1; j < other.size(); ++j) {
      const int score = ScoreValues(a[i], other[j], options);
      if (score >= options.accuracy) pairs.push_back({i, j, score});
    }
  }
  return pairs;
}

void RequireSame(const std::vector<ValuePair>& found,
                 const std::vector<ValuePair>& exhaustive, const char* what) {
  if (found == exhaustive) return;
  for (const ValuePair& p : exhaustive) {
    if (std::find(found.begin(), found.end(), p) == found.end())
      std::fprintf(stderr, "missed or scored differently: %zu %zu %d\n",
                   p.first, p.second, p.score);
  }
  for (const ValuePair& p : found) {
    if (std::find(exhaustive.begin(), exhaustive.end(), p) == exhaustive.end())
      std::fprintf(stderr, "reported wrongly: %zu %zu %d\n", p.first,
                   p.second, p.score);
  }
  Require(false, what);
}

}  // namespace
}  // namespace marrowfield::lists

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace marrowfield;
  using namespace marrowfield::lists;
  EnsureEngine();
  FuzzInput input(data, size);
  const uint8_t mode = input.Byte();
  PairOptions options;
  options.scoring = (mode & 1) ? ScoringMode::kTolerant : ScoringMode::kStrict;
  options.wholeCell = (mode & 2) != 0;
  options.accuracy = kBlockingKeysMinAccuracy +
                     input.Byte() % (101 - kBlockingKeysMinAccuracy);
  options.threads = 1;
  std::vector<std::string> values;
  while (!input.Done() && values.size() < kMaxValues) {
    std::string value = input.Field('\n');
    if (value.size() > kMaxValueBytes) value.resize(kMaxValueBytes);
    values.push_back(std::move(value));
  }
  RequireSame(FindDuplicatePairs(values, options),
              AllPairs(values, nullptr, options), "duplicates");
  const std::vector<std::string> a(values.begin(),
                                   values.begin() + values.size() / 2);
  const std::vector<std::string> b(values.begin() + values.size() / 2,
                                   values.end());
  RequireSame(FindLinkPairs(a, b, options), AllPairs(a, &b, options),
              "links");
  return 0;
}
