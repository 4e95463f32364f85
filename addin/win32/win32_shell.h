// Win32Shell: the Shell port over ShellExecuteA and MessageBoxA.

#ifndef MARROWFIELD_ADDIN_WIN32_WIN32_SHELL_H_
#define MARROWFIELD_ADDIN_WIN32_WIN32_SHELL_H_

#include "shell.h"

namespace marrowfield {

class Win32Shell : public Shell {
 public:
  intptr_t OpenAddress(const std::string& address) override;
  void ShowNotice(const std::string& text) override;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_WIN32_SHELL_H_
