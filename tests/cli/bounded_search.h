// Runs "marrowfield search" on a hostile file with its memory and processor
// time bounded, and states what a refusal must look like.
#ifndef MARROWFIELD_TESTS_CLI_BOUNDED_SEARCH_H_
#define MARROWFIELD_TESTS_CLI_BOUNDED_SEARCH_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_runner.h"

namespace marrowfield {

// Searches |file| for "Smith", with |more| arguments, in a bounded run.
inline ProgramRun SearchBounded(const std::string& file,
                                const std::vector<std::string>& more = {}) {
  std::vector<std::string> args = {"search", "Smith", file};
  args.insert(args.end(), more.begin(), more.end());
  RunOptions options;
  options.bounded = true;
  return RunMarrowfield(args, options);
}

// A refusal: exit status 2, nothing on standard output, and exactly one line
// on standard error naming |file| and |reason|.
inline void ExpectRefused(const ProgramRun& run, const std::string& file,
                          const std::string& reason) {
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "marrowfield: " + file + ": " + reason + "\n");
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_CLI_BOUNDED_SEARCH_H_
