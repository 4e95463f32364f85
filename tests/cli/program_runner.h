// Runs the built marrowfield program as a user would, capturing its exit
// status, standard output and standard error.
#ifndef MARROWFIELD_TESTS_CLI_PROGRAM_RUNNER_H_
#define MARROWFIELD_TESTS_CLI_PROGRAM_RUNNER_H_

#include <string>
#include <vector>

namespace marrowfield {

struct ProgramRun {
  int exitCode = -1;  // the exit status; 128 + signal when killed
  std::string out;
  std::string err;
};

struct RunOptions {
  std::string input;              // standard input
  bool stderrOnTerminal = false;  // standard error is a pseudo-terminal
};

// Runs the marrowfield program with |args| (without the program name).
ProgramRun RunMarrowfield(const std::vector<std::string>& args,
                          const RunOptions& options = {});

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_CLI_PROGRAM_RUNNER_H_
