// Runs the built marrowfield program as a user would, capturing its exit
// status, standard output and standard error.
#ifndef MARROWFIELD_TESTS_CLI_PROGRAM_RUNNER_H_
#define MARROWFIELD_TESTS_CLI_PROGRAM_RUNNER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace marrowfield {

struct ProgramRun {
  int exitCode = -1;  // the exit status; 128 + signal when killed
  std::string out;
  std::string err;
};

// What a bounded run may use. A file that makes the program exhaust memory
// or spin then fails its test with an exit status of 128 + a signal, or with
// "out of memory", instead of taking the machine down.
constexpr uint64_t kBoundedRunMemoryBytes = uint64_t{1} << 30;
constexpr unsigned kBoundedRunCpuSeconds = 120;

struct RunOptions {
  std::string input;              // standard input
  bool stderrOnTerminal = false;  // standard error is a pseudo-terminal
  // Limits the program's address space (under AddressSanitizer, which
  // reserves terabytes of it: its resident memory) and its processor time.
  bool bounded = false;
};

// Runs the marrowfield program with |args| (without the program name).
ProgramRun RunMarrowfield(const std::vector<std::string>& args,
                          const RunOptions& options = {});

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_CLI_PROGRAM_RUNNER_H_
