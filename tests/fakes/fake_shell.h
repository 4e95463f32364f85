// FakeShell: the shell as far as the add-in can tell. It answers each open
// with a code of the tests' choosing (above 32: opened) and records the
// addresses it was asked to open and the notices it showed.

#ifndef MARROWFIELD_TESTS_FAKES_FAKE_SHELL_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_SHELL_H_

#include <cstdint>
#include <string>
#include <vector>

#include "shell.h"

namespace marrowfield {

class FakeShell : public Shell {
 public:
  intptr_t OpenAddress(const std::string& address) override;
  void ShowNotice(const std::string& text) override;

  // 42: a browser opened it. 31 is the shell's "no association".
  intptr_t answer = 42;
  std::vector<std::string> opened;
  std::vector<std::string> notices;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_FAKE_SHELL_H_
