// RunProgram: starts a console program under the test, as a user would
// from a command prompt, and collects what it printed and its exit status.

#ifndef MARROWFIELD_TESTS_WIN_WIN32_SETUP_RUN_H_
#define MARROWFIELD_TESTS_WIN_WIN32_SETUP_RUN_H_

#include <string>
#include <vector>

namespace marrowfield {

struct ProgramRun {
  bool started = false;
  unsigned long status = 0;
  std::string output;  // standard output, byte for byte
};

// Runs |program| with |arguments|, each quoted on the command line, and
// waits for it to end.
ProgramRun RunProgram(const std::string& program,
                      const std::vector<std::string>& arguments);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_SETUP_RUN_H_
