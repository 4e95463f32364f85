// What the list and record benchmarks share: the names their corpora are
// made of, and the size a smoke run shrinks them to.

#ifndef MARROWFIELD_BENCH_BENCH_CORPUS_H_
#define MARROWFIELD_BENCH_BENCH_CORPUS_H_

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

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_BENCH_BENCH_CORPUS_H_
