// ShellExecuteA with the verb "Open", no parameters, no directory and
// SW_SHOW; its answer is not examined, as the installer has nothing to tell
// the user when no browser is registered.

#include "shell_web_page_opener.h"

#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

namespace marrowfield {

void ShellWebPageOpener::Open(const std::string& address) noexcept {
  const char* log = std::getenv(kShellLogVariable);
  if (log != nullptr && *log != '\0') {
    if (FILE* file = std::fopen(log, "ab")) {
      std::fwrite(address.data(), 1, address.size(), file);
      std::fputc('\n', file);
      std::fclose(file);
    }
    return;
  }
  ShellExecuteA(nullptr, "Open", address.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace marrowfield
