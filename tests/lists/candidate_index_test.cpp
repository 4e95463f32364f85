// The key index against the rule it stands for: a value's candidates are
// every indexed value sharing a key with it (under the kinds' rule of
// value_keys.h), each once. Checked against a
// plain scan over lists of many sizes, so that indexes of every
// directory size are built, and with hashes that all share their top
// bits, which the index cannot spread; and a value's candidates among
// the values indexed with it.

#include "candidate_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "name_variants.h"

namespace marrowfield::lists::testing {
namespace {

// The kinds' rule, written out: a full key meets every key, a short
// reading's skeleton another such skeleton too, the rest full keys only.
bool KindsMeet(ValueKeyKind a, ValueKeyKind b) {
  return a == ValueKeyKind::kFull || b == ValueKeyKind::kFull ||
         (a == ValueKeyKind::kShortSkeleton &&
          b == ValueKeyKind::kShortSkeleton);
}

std::vector<uint32_t> ScannedCandidates(
    const std::vector<std::vector<ValueKey>>& keys,
    const std::vector<ValueKey>& query) {
  std::vector<uint32_t> out;
  for (uint32_t v = 0; v < keys.size(); ++v) {
    const bool shares = std::any_of(
        query.begin(), query.end(), [&](const ValueKey& q) {
          return std::any_of(keys[v].begin(), keys[v].end(),
                             [&](const ValueKey& k) {
                               return k.hash == q.hash &&
                                      KindsMeet(q.kind, k.kind);
                             });
        });
    if (shares) out.push_back(v);
  }
  return out;
}

struct IndexCase {
  size_t values;
  uint64_t spread;  // distinct hashes drawn from; small: crowded keys
  bool sameTopBits;   // hashes all sharing their top bits
};

class CandidateIndexTest : public ::testing::TestWithParam<IndexCase> {};

TEST_P(CandidateIndexTest, FindsWhatAScanFinds) {
  const IndexCase c = GetParam();
  NameRandom random(c.values * 31 + c.spread);
  const auto hashOf = [&](uint64_t k) {
    return c.sameTopBits ? k << 20 : k * 0x9E3779B97F4A7C15ull;
  };
  std::vector<std::vector<ValueKey>> keys(c.values);
  for (auto& list : keys) {
    const size_t n = random.Below(4);
    for (size_t k = 0; k < n; ++k)
      list.push_back({hashOf(random.Below(c.spread)),
                      static_cast<ValueKeyKind>(random.Below(4))});
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
  }
  for (const unsigned threads : {1u, 2u}) {
    const CandidateIndex index(keys, threads, true);
    std::vector<uint32_t> seen(keys.size(), 0);
    std::vector<uint32_t> seenOfIndexed(keys.size(), 0);
    for (uint32_t q = 0; q < keys.size(); q += 1 + keys.size() / 300) {
      std::vector<uint32_t> found;
      index.Candidates(keys[q], seen, q + 1, found);
      std::sort(found.begin(), found.end());
      const std::vector<uint32_t> scanned = ScannedCandidates(keys, keys[q]);
      EXPECT_EQ(found, scanned) << "value " << q << " of " << c.values << ", "
                                << threads << " threads";
      // An indexed value's own candidates, without looking its keys up:
      // the same, but for the value itself.
      std::vector<uint32_t> ofIndexed;
      index.CandidatesOfIndexed(q, seenOfIndexed, q + 1, ofIndexed);
      std::sort(ofIndexed.begin(), ofIndexed.end());
      ofIndexed.erase(std::remove(ofIndexed.begin(), ofIndexed.end(), q),
                      ofIndexed.end());
      std::vector<uint32_t> others = scanned;
      others.erase(std::remove(others.begin(), others.end(), q), others.end());
      EXPECT_EQ(ofIndexed, others) << "value " << q << " of " << c.values;
    }
    // A key no value has finds nothing.
    std::vector<uint32_t> none;
    index.Candidates({{hashOf(c.spread + 7), ValueKeyKind::kFull}}, seen,
                     UINT32_MAX, none);
    EXPECT_TRUE(none.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, CandidateIndexTest,
    ::testing::Values(IndexCase{0, 5, false}, IndexCase{1, 5, false},
                      IndexCase{3, 2, false}, IndexCase{17, 40, false},
                      IndexCase{600, 1000, false}, IndexCase{600, 9, false},
                      IndexCase{5000, 20000, false},
                      IndexCase{5000, 20000, true}),
    [](const ::testing::TestParamInfo<IndexCase>& info) {
      return std::to_string(info.param.values) + "Values" +
             std::to_string(info.param.spread) + "Keys" +
             (info.param.sameTopBits ? "SameTopBits" : "");
    });

}  // namespace
}  // namespace marrowfield::lists::testing
