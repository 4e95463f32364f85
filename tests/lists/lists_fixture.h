// Shared set-up of the pair finding tests: the engine initialized through
// its exported interface (compiled into the test, so that compare_words is
// the very function other programs call), and the committed name corpora.

#ifndef MARROWFIELD_TESTS_LISTS_LISTS_FIXTURE_H_
#define MARROWFIELD_TESTS_LISTS_LISTS_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marrowfield.h"
#include "name_variants.h"
#include "pair_finder.h"

namespace marrowfield::lists::testing {

class ListsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(initialize(), 0); }
  static void TearDownTestSuite() { un_initialize(); }

  static PairOptions Options(int accuracy, unsigned threads = 2,
                             bool wholeCell = false) {
    PairOptions options;
    options.accuracy = accuracy;
    options.threads = threads;
    options.wholeCell = wholeCell;
    return options;
  }
};

// The sample corpora under tests/data/names/.
inline std::vector<std::string> SingleNames() {
  return ReadCorpusValues(MARROWFIELD_NAMES_DIR "/names.tsv");
}
inline std::vector<std::string> FullNameSample() {
  return ReadCorpusValues(MARROWFIELD_NAMES_DIR "/full_names.tsv");
}
// The reference name groups of the engine's tests.
inline std::vector<std::string> ReferenceNames() {
  return ReadNameGroups(MARROWFIELD_REFERENCE_NAMES);
}

}  // namespace marrowfield::lists::testing

#endif  // MARROWFIELD_TESTS_LISTS_LISTS_FIXTURE_H_
