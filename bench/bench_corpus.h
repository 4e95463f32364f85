// What the list and record benchmarks share: the names their corpora are
// made of, the size a smoke run shrinks them to, and how recall is reported.

#ifndef MARROWFIELD_BENCH_BENCH_CORPUS_H_
#define MARROWFIELD_BENCH_BENCH_CORPUS_H_

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#include "name_variants.h"

namespace marrowfield::lists {

// The number in the environment variable |name|, or |otherwise| when it is
// unset or not a positive number: the test command's smoke run sets it to
// keep the benchmarks to seconds.
inline size_t SizeFromEnvironment(const char* name, size_t otherwise) {
  const char* value = std::getenv(name);
  const long n = value != nullptr ? std::atol(value) : 0;
  return n > 0 ? static_cast<size_t>(n) : otherwise;
}

// The names the corpora are made of: the reference groups' and the names
// sample's, lower case. The including target defines where both live.
inline std::vector<std::string> BaseNames() {
  std::vector<std::string> base =
      testing::ReadNameGroups(MARROWFIELD_REFERENCE_NAMES);
  for (const std::string& v :
       testing::ReadCorpusValues(MARROWFIELD_NAMES_DIR "/names.tsv")) {
    std::string lower = v;
    std::transform(
        lower.begin(), lower.end(), lower.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    base.push_back(lower);
  }
  return base;
}

// The recall counters at 60, 70, 80 and 90 from the pairs the exhaustive
// scoring expected and pair finding hit, counted by score.
inline void ReportRecall(benchmark::State& state,
                         const std::vector<size_t>& expected,
                         const std::vector<size_t>& hits) {
  for (int accuracy : {60, 70, 80, 90}) {
    size_t e = 0;
    size_t h = 0;
    for (int s = accuracy; s <= 100; ++s) {
      e += expected[static_cast<size_t>(s)];
      h += hits[static_cast<size_t>(s)];
    }
    state.counters["recall_" + std::to_string(accuracy)] =
        e == 0 ? 0.0 : static_cast<double>(h) / static_cast<double>(e);
    state.counters["expected_" + std::to_string(accuracy)] =
        static_cast<double>(e);
  }
}

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_BENCH_BENCH_CORPUS_H_
