// What the list, record and Find duplicates benchmarks share: the names
// their corpora are made of, the skewed column of cells made from them,
// the size a smoke run shrinks them to, and how recall is reported.

#ifndef MARROWFIELD_BENCH_BENCH_CORPUS_H_
#define MARROWFIELD_BENCH_BENCH_CORPUS_H_

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
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

// A column as a user would have it: every one of |distinct| at least once,
// |cellsPerDistinct| cells a name on average, a few names very often and
// most rarely, in no order; the same for the same |seed|.
inline std::vector<std::string> SkewedColumn(
    const std::vector<std::string>& distinct, size_t cellsPerDistinct,
    uint64_t seed) {
  // A prime that divides no count of names the benchmarks are run with.
  constexpr size_t kSpreadPrime = 2654435761u;
  std::vector<std::string> cells = distinct;
  testing::NameRandom random(seed);
  const size_t n = distinct.size();
  for (size_t k = n; k < cellsPerDistinct * n; ++k) {
    // Cubing a uniform draw crowds the draws at the front: a few names
    // take many cells.
    const double u = static_cast<double>(random.Below(1u << 30)) / (1u << 30);
    const size_t rank = static_cast<size_t>(u * u * u * static_cast<double>(n));
    // Ranks spread over the sorted names by a multiplier prime to n, so
    // that the frequent names are not all at the front of the alphabet.
    cells.push_back(distinct[(rank * kSpreadPrime) % n]);
  }
  for (size_t k = cells.size(); k > 1; --k) {
    std::swap(cells[k - 1], cells[random.Below(k)]);
  }
  return cells;
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
