// WebPageOpener: the port through which the installer has the shell open
// the product's web page. On Windows it is ShellExecuteA; the tests record
// the address instead.

#ifndef MARROWFIELD_SETUP_WEB_PAGE_OPENER_H_
#define MARROWFIELD_SETUP_WEB_PAGE_OPENER_H_

#include <string>

namespace marrowfield {

class WebPageOpener {
 public:
  virtual ~WebPageOpener() = default;

  // Asks the shell to open |address| with the verb "Open" and SW_SHOW, no
  // owner window. Whether it opened is not the installer's concern, so
  // nothing is answered.
  virtual void Open(const std::string& address) noexcept = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_WEB_PAGE_OPENER_H_
