// The fake shell's records.

#include "fake_shell.h"

namespace marrowfield {

intptr_t FakeShell::OpenAddress(const std::string& address) {
  opened.push_back(address);
  return answer;
}

void FakeShell::ShowNotice(const std::string& text) { notices.push_back(text); }

}  // namespace marrowfield
