// Names and the ways people misspell them by ear, for the pair finding
// tests and benchmark: the reference name groups of the engine's tests,
// spelling variants made from them by the common slips (doubled or
// dropped letters, ph/f, c/k/ck, ie/y/ey, vowel swaps, -son/-sen, Mc/Mac,
// silent h), and full names combined from them. Deterministic for a seed
// on every platform.

#ifndef MARROWFIELD_TESTS_LISTS_NAME_VARIANTS_H_
#define MARROWFIELD_TESTS_LISTS_NAME_VARIANTS_H_

#include <cstdint>
#include <string>
#include <vector>

namespace marrowfield::lists::testing {

// A small deterministic generator (splitmix64), the same everywhere.
class NameRandom {
 public:
  explicit NameRandom(uint64_t seed) : state(seed) {}
  uint64_t Next();
  // Uniform enough in [0, n). REQUIRES: n > 0.
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }

 private:
  uint64_t state;
};

// The names of the reference groups file (one group per line, variants
// separated by commas, # comments), lower case, in file order. Throws
// std::runtime_error when the file cannot be read.
std::vector<std::string> ReadNameGroups(const std::string& path);

// |name| misspelt by one slip chosen by |random| (sometimes two); may give
// |name| back when no slip applies.
std::string MisspellName(const std::string& name, NameRandom& random);

// The values of a labelled corpus file ("group<TAB>value" rows under a
// header row), in file order. Throws std::runtime_error when the file
// cannot be read.
std::vector<std::string> ReadCorpusValues(const std::string& path);

// "smith" -> "Smith".
std::string Capitalised(std::string name);

// |count| distinct values: each name of |names| capitalised, then
// misspellings of randomly chosen names, until |count| distinct values are
// reached (or no new value turns up for a long while). Sorted.
std::vector<std::string> NameVariants(const std::vector<std::string>& names,
                                      size_t count, uint64_t seed);

// |count| distinct full names "First Last" (some "Last, First", some with
// an initial or a title), first and last names drawn from |names| and
// misspelt now and then. Sorted.
std::vector<std::string> FullNames(const std::vector<std::string>& names,
                                   size_t count, uint64_t seed);

}  // namespace marrowfield::lists::testing

#endif  // MARROWFIELD_TESTS_LISTS_NAME_VARIANTS_H_
