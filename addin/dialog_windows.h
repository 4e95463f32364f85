// DialogWindows: the port that makes the dialogs' windows. Each call makes
// the window from its template, owned by the window active at the call,
// hands the dialog's logic a view of it, runs it modally and returns when
// it closes.

#ifndef MARROWFIELD_ADDIN_DIALOG_WINDOWS_H_
#define MARROWFIELD_ADDIN_DIALOG_WINDOWS_H_

#include <string>

namespace marrowfield {

class AboutDialog;
class DuplicatesDialog;
class SearchDialog;

class DialogWindows {
 public:
  virtual ~DialogWindows() = default;

  // Shows the search dialog's window for |dialog|, whose caption names
  // |versionText|. Calls dialog.Initialise() when the window is made and
  // dialog.Detach() before returning. Must not throw.
  virtual void RunSearchWindow(SearchDialog& dialog,
                               const std::string& versionText) noexcept = 0;

  // Shows the About dialog's window for |dialog|. Must not throw.
  virtual void RunAboutWindow(AboutDialog& dialog) noexcept = 0;

  // Shows the Find duplicates window for |dialog|. Calls
  // dialog.Initialise() when the window is made and dialog.Detach() before
  // returning. Must not throw.
  virtual void RunDuplicatesWindow(DuplicatesDialog& dialog) noexcept = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_DIALOG_WINDOWS_H_
