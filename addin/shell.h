// Shell: the port through which the add-in has the user's default programs
// open web pages and mail links, and tells the user when that fails; and
// OpenWebPage, the one way the add-in opens an address.

#ifndef MARROWFIELD_ADDIN_SHELL_H_
#define MARROWFIELD_ADDIN_SHELL_H_

#include <cstdint>
#include <string>

namespace marrowfield {

class Shell {
 public:
  virtual ~Shell() = default;

  // Asks the shell to open |address| with the verb "Open", no parameters,
  // no working directory, shown normally, with no owner window. Returns the
  // shell's answer: greater than 32 when the address was opened.
  virtual intptr_t OpenAddress(const std::string& address) = 0;

  // Shows |text| in a message box captioned "Marrowfield" with the
  // information icon and an OK button, owned by no window; returns when the
  // user closes it.
  virtual void ShowNotice(const std::string& text) = 0;
};

// Opens |address| through |shell|. When the shell cannot, tells the user
// which address to type into a browser instead.
void OpenWebPage(Shell& shell, const std::string& address);

// The text OpenWebPage shows when |address| could not be opened.
std::string OpenFailureMessage(const std::string& address);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SHELL_H_
