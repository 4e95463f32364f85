// ShellWebPageOpener: the installer's web page opened with ShellExecuteA.
// When MARROWFIELD_SETUP_SHELL_LOG names a file, the address is appended
// to that file as one line instead, so tests under Wine can see what would
// have been opened without starting a browser.

#ifndef MARROWFIELD_SETUP_WIN32_SHELL_WEB_PAGE_OPENER_H_
#define MARROWFIELD_SETUP_WIN32_SHELL_WEB_PAGE_OPENER_H_

#include <string>

#include "web_page_opener.h"

namespace marrowfield {

// The environment variable that turns opening into logging.
constexpr const char* kShellLogVariable = "MARROWFIELD_SETUP_SHELL_LOG";

class ShellWebPageOpener : public WebPageOpener {
 public:
  void Open(const std::string& address) noexcept override;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_WIN32_SHELL_WEB_PAGE_OPENER_H_
